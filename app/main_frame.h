// MAIN: the application frame, an MDI frame with a menu bar and a status bar, run on the
// program's first thread from start until the user quits. MAIN is a table (its window and its
// menu items with what each does, main_frame.cpp) run by RunFrameProcedure; the bookkeeping
// around the window is ProcedureFrame's.
//
// Status bar: zone 3 shows the day name, ", " and today's date (@D4), zone 4 the time (@T3);
// both are set when the frame opens and again on every EVENT:Timer. The frame's timer
// interval is forced into 1..100 hundredths of a second (100 when the definition has another).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "runtime/window/window_structure.h"

namespace carelog::app {

inline constexpr const char* kFrameModule = "carelog.cpp$carelog";
inline constexpr const char* kFrameLabel = "MAIN$APPFRAME";
inline constexpr int kDateZone = 3;
inline constexpr int kTimeZone = 4;

// What a menu item of a frame does. Items with a standard action in the definition (print
// setup, exit, cut, copy, paste, tile, cascade, arrange icons, the help items) are performed by
// the window runtime and never reach the procedure.
enum class ItemAction : uint8_t {
  kDefaultFont,     // the default-font dialog
  kStartProcedure,  // START on a new thread, in an MDI child; the frame does not wait
  kCallProcedure,   // a direct call on the frame's thread
};

struct MenuItemRow {
  int item;  // the item's control number in the frame's definition
  ItemAction action;
  const char* procedure;  // catalogue name, for the procedure actions
  size_t stack_size;      // for kStartProcedure
};

struct FrameProcedureTable {
  const char* name;  // catalogue name
  const char* module;
  const char* window_label;
  std::span<const MenuItemRow> menu;
};

// Runs a frame procedure from its table: entry, the default font read from Fonts.Lds, the
// frame opened (the ready mark set just before), the timer and the date and time zones, the
// event loop, the return routine.
void RunFrameProcedure(const FrameProcedureTable& table);

void MAIN();

// The frame's window object: declared by the frame procedure, disposed of by the program main
// routine after MAIN has returned.
window::Structure& DeclareAppFrame(const char* module, const char* label);
void DisposeAppFrame();

// "Wednesday, December 9, 2026" for a standard date; "Friday, ..." with the name clipped.
std::string DayAndDateText(int32_t standard_date);
// The time of day in @T3.
std::string TimeText(int32_t standard_time);

}  // namespace carelog::app
