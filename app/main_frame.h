// MAIN: the application frame, an MDI frame with a menu bar and a status bar, run on the
// program's first thread from start until the user quits. Its menu is a table of items and
// what each does (main_frame.cpp); the bookkeeping around its window is ProcedureFrame's.
//
// Status bar: zone 3 shows the day name, ", " and today's date (@D4), zone 4 the time (@T3);
// both are set when the frame opens and again on every EVENT:Timer. The frame's timer
// interval is forced into 1..100 hundredths of a second (100 when the definition has another).
#pragma once

#include <cstdint>
#include <string>

#include "runtime/window/window_structure.h"

namespace carelog::app {

inline constexpr const char* kFrameModule = "carelog.cpp$carelog";
inline constexpr const char* kFrameLabel = "MAIN$APPFRAME";
inline constexpr int kDateZone = 3;
inline constexpr int kTimeZone = 4;

void MAIN();

// The frame's window object: declared by MAIN, disposed of by the program main routine after
// MAIN has returned.
window::Structure& DeclareAppFrame();
void DisposeAppFrame();

// "Wednesday, December 9, 2026" for a standard date; "Friday, ..." with the name clipped.
std::string DayAndDateText(int32_t standard_date);
// The time of day in @T3.
std::string TimeText(int32_t standard_time);

}  // namespace carelog::app
