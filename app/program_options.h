// The command line of the carelog executable:
//
//   carelog [--headless | --display=auto|sdl|headless] [--script FILE]
//           [--clock=YYYY-MM-DD[THH:MM[:SS]]] [--screen=WIDTHxHEIGHT] [--scale=N] [--help]
//
//   --headless       the headless display (no screen; for tests and scripts)
//   --display=NAME   choose the display; auto (the default) takes sdl when a screen is there
//   --script FILE    replay an automation script against the running program, then close it;
//                    the exit status is the script's (0 every command passed, 1 otherwise)
//   --clock=MOMENT   the program's clock runs from this local moment instead of now (tests
//                    and demonstrations: "--clock=2026-12-09T10:00" starts on a Wednesday)
//   --screen=WxH     the size of the headless display's screen (default 1024x768); a real
//                    display reports its own
//   --scale=N        screen pixels per logical pixel (1 to 4), instead of the display's own
//                    density (X's Xft.dpi) or CARELOG_SCALE
#pragma once

#include <cstdint>
#include <string>

#include "runtime/host/display.h"

namespace carelog::app {

struct ProgramOptions {
  host::DisplayChoice display = host::DisplayChoice::kAuto;
  std::string script;  // empty: no script
  bool clock_given = false;
  int32_t clock_date = 0;  // standard date and time of --clock
  int32_t clock_time = 0;
  bool help = false;
};

// False, with what is wrong in *error, for an unknown option, a missing or malformed value.
bool ParseProgramOptions(int argc, const char* const* argv, ProgramOptions* out,
                         std::string* error);

// "2026-12-09", "2026-12-09T10:00", "2026-12-09 10:00:30" -> standard date and time (the
// time is midnight when absent). False for anything else or an impossible date or time.
bool ParseMoment(const std::string& text, int32_t* date, int32_t* time);

const char* ProgramUsage();

}  // namespace carelog::app
