// The application's 65 procedures: one constant row each, the one registry through which a
// procedure is started (on a thread of its own) or called (directly, with a request).
//
// A row holds what is fixed about the procedure: its kind, the source module whose definitions
// hold its window (module identifier kProgramName "$" module), the window names that join its
// label (name "$" window), the title, the data files it opens (by prefix), the procedures that
// call it and those it calls. Name lists are single blanks between names; procedure names
// contain no blank. "started" among the callers means started on a thread from the frame's menu,
// "program" means the program start.
//
// Entry points are kept apart from the rows, in one table per pattern (procedure_entries.h), so
// that each pattern registers its own procedures with one line each. A procedure without an
// entry point is not built yet: starting it does nothing and calling it answers "cancelled", as
// when the runtime could not start its thread.
//
// Invariants (checked by the catalogue test):
//   1. 65 rows, names unique; every entry-point name has a row.
//   2. Every name among a row's callers and callees has a row, and the relation is mutual: a
//      callee's row names the caller (except "started", "program" and the reports' preview).
//   3. Every file prefix names a file of the data dictionary.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace carelog::app {

using ProcedureEntry = void (*)();

enum class ProcedureKind : uint8_t {
  kFrame,           // MAIN
  kCalendarDialog,  // CALENDAR
  kDialog,          // GETINFO
  kBrowse,          // a browse called from another browse, ranged on its parent
  kBrowseSelect,    // a browse that may also be called with ReqSelect
  kSelectBrowse,    // a browse that exists to select (SELECTPATIENTS)
  kPatientForm,     // UPDATEPATIENTS: a plain form with 14 browse boxes
  kNoteForm,
  kPlainForm,
  kReport,
  kPreview,
};

inline constexpr const char* kProgramName = "carelog.cpp";

struct CatalogueRow {
  const char* name;  // "BROWSEALL"
  ProcedureKind kind;
  const char* module;   // "carlg003"; the module identifier is "carelog.cpp$carlg003"
  const char* windows;  // window names joined to the label: "QUICKWINDOW", "REPORT PROGRESSWINDOW"
  const char* title;    // the window's title; "" where the window or report layout has its own
  const char* files;    // prefixes of the data files it opens: "PAT PRO"; "" none
  const char* callers;  // "started ADDAPPOINT"
  const char* callees;  // "UPDATEPATIENTS PRINTINFO BROWSEPRO:KEY_PATIENT_NUMBER ..."
  bool takes_default_font;  // the window's controls are shown in DisplayFont when set
};

std::span<const CatalogueRow> Catalogue();

// The row of a procedure, or nullptr for a name the application does not have.
const CatalogueRow* FindProcedure(std::string_view name);

// The names of a blank-separated list ("PAT PRO" gives "PAT", "PRO").
std::vector<std::string_view> NamesOf(const char* list);

// The window labels of a row, "BROWSEALL$QUICKWINDOW"; the module identifier,
// "carelog.cpp$carlg003".
std::vector<std::string> WindowLabelsOf(const CatalogueRow& row);
std::string ModuleIdentifierOf(const CatalogueRow& row);

// The procedure's run function from the entry-point tables; nullptr when it is not built yet
// or the name has no row.
ProcedureEntry EntryPointOf(std::string_view name);

// START on a new thread with `stack_size` (the runtime raises it to at least 20000 bytes),
// without a request: the thread number, or 0 when the procedure is not built or no thread could
// be started (the caller reports nothing either way).
int StartProcedure(std::string_view name, size_t stack_size);

// The caller's half of the request protocol by name, on this thread: sets ProcRequest to
// `request`, calls the procedure and returns the ProcResponse it left (2 when the procedure is
// not built). REQUIRES: the calling thread holds the global semaphore.
int32_t CallProcedureByName(std::string_view name, int32_t request = 0);

}  // namespace carelog::app
