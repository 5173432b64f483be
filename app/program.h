// The program main routine and the script mode around it.
#pragma once

#include <string>

namespace carelog::app {

// The program main routine: starts the runtime (the record store's table layer, the fatal-error
// path, the session signals, the automation peer), names the
// help file "CARELOG.HLP", runs MAIN as the program's first thread and, once MAIN and every
// thread it started have ended, disposes of the frame's window object.
// REQUIRES: the display has been started (host::StartDisplay).
void ProgramMain();

// Script mode: replays the script at `path` against the program running in ProgramMain on
// the calling thread. The script starts once the frame is up and idle; when it ends, the frame
// is asked to close. Returns the script's status (0 when every command passed); 1 as well when
// the frame did not come up, or did not close within `close_timeout_ms` after the script.
int RunProgramWithScript(const std::string& path, int close_timeout_ms = 10000);

}  // namespace carelog::app
