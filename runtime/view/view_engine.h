// The generic view engine: reads a file's records in its reading order through a filter, and
// keeps a position that a browse can save and return to.
//
// A view object begins with a driver entry point like a file declaration, so view statements
// travel the dispatcher's path. On its first operation a view asks its primary file's driver
// (code 74) whether that driver serves views itself; when it answers 0 the generic engine
// serves the view from then on, else every operation is handed to the file's driver.
//
// Codes served on a view:
//   25 OPEN      compile the declared filter (a tree kept from an earlier compile of the same
//                text while its names are bound as then); the order is the primary file's
//                reading key
//   71           pop two strings: the first becomes the new filter (the second is discarded);
//                the order is taken again
//   24, 31       NEXT, PREVIOUS: read the primary file until a record passes the filter;
//                33 at the end; 81 when the last positioning was a REGET of the view
//   49           SKIP n records (off the end is no error)
//   61 POSITION  push the position string (empty when no reading sequence is active)
//   63 RESET, 66 REGET   from a popped position string (81 when it is short or names a key
//                beyond the key count); 16 marks the view as positioned by REGET
//   7 CLOSE      release order, filter and members
//   11, 18, 19, 30, 36, 58   passed on to the primary file
//   anything else   80
//
// Position string (little-endian):
//   u32 key number of the order (0: record order)
//   per member file: u32 length, then that many bytes of the file's position (POSITION(key)
//   when it reads by a key, else POSITION(file)); length 0 when the view has no current
//   record of it (nothing read yet, or the last read failed).
//
// Filter shortcut: when the filter's top-level conjunction fixes the leading components of the
// order ("PRO:Patient_Number = Reset:Patient_Number"), a record before that key range is
// skipped by positioning with SET(key, key) at the range's start, and a record beyond it ends
// the reading with 33, so a ranged view reads only its range. When the file was just SET on
// the order's key (nothing read since), the first read positions on the range before reading. It returns exactly the records
// of the plain filtered scan, in the same order.
//
// Failures are posted to the error state with the primary file; a filter that does not compile
// (800, 801) leaves the view without records until a valid filter is set, so a ranged view never
// shows records outside its range. Views that join further files are refused with 80.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/store/declarations.h"

namespace carelog::view {

using store::DeclaredText;
using store::DriverEntry;
using store::FileDeclaration;

struct ViewDeclaration {
  DriverEntry driver = nullptr;        // ViewEngineEntry
  FileDeclaration* primary = nullptr;  // the primary file
  DeclaredText filter = {nullptr, 0};  // the declared filter; empty for none
  uint8_t joined_files = 0;            // member files beyond the primary (none are served)
  uint8_t uses_memos = 0;              // non-zero: reads load the primary file's memos
  void* state = nullptr;               // the engine's per-view state; null in the constant
};

intptr_t ViewEngineEntry(int op, void* view, const intptr_t* args);

// View statements; each returns the operation's error code (0 on success), also posted.
int OpenView(ViewDeclaration& view);
int CloseView(ViewDeclaration& view);
int NextInView(ViewDeclaration& view);
int PreviousInView(ViewDeclaration& view);
int SkipInView(ViewDeclaration& view, int32_t count);
int SetViewFilter(ViewDeclaration& view, std::string_view filter);
std::string ViewPosition(ViewDeclaration& view);
int ResetView(ViewDeclaration& view, std::string_view position);
int RegetView(ViewDeclaration& view, std::string_view position);
int MarkViewRegot(ViewDeclaration& view);

// Records read from the primary file through this view since it was opened (passing or not);
// 0 for a view that is not open.
uint64_t ViewRecordsRead(const ViewDeclaration& view);

// Turns the filter shortcut on (the default) or off for every view; with it off a ranged view
// tests every record in the reading order. For comparisons in tests and benchmarks.
void EnableViewFilterShortcut(bool enabled);

}  // namespace carelog::view
