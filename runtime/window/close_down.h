// Closing the application frame over its MDI windows, and the end of the desktop session.
//
// Closing the frame: once the frame's procedure has taken EVENT:CloseWindow without refusing,
// the frame closes its MDI windows one at a time, in the order they were opened: it queues
// EVENT:CloseDown for the first one that can be closed now and waits (its loop goes on serving
// events). The MDI window's procedure takes EVENT:CloseDown and, unless it refuses with
// RefuseClose, its loop ends and it closes; the frame then goes on with the next. A refusal
// abandons the frame's close; so does finding no MDI window that can be closed now (with a
// beep). With no MDI window left the frame's loop ends.
//
// An MDI window can be closed now when its procedure allows it (SetCloseDownAllowed, on by
// default) and it is the top window of its thread (no window of its procedure is open above
// it, such as a form it is waiting for).
//
// The session: on this platform the session manager's question "may the session end?" is
// SIGTERM and the session really ending is SIGHUP. InstallSessionSignals routes both, through
// a pipe written by the signal handler, to the frame's window:
//   SIGTERM  always refused: the frame comes to the top and a system-modal exclamation box
//            says the application is still active, captioned with the program's file name
//            without path and extension; the program goes on;
//   SIGHUP   EVENT:CloseWindow is queued for the top window of every thread, slots 63 down
//            to 0, and the frame's loop ends once its MDI windows have closed.
// Without an open frame the signals are ignored.
#pragma once

#include <string>

#include "runtime/host/types.h"

namespace carelog::window {

class Structure;

inline constexpr const char* kSessionRefusalText =
    "Application still active.\n\nQuit the application before quitting Windows.";

// Whether the frame's close may close this MDI window now (on by default).
void SetCloseDownAllowed(Structure& mdi_window, bool allowed);

// Installs the SIGTERM and SIGHUP handling (idempotent); RemoveSessionSignals restores the
// default handling of both.
bool InstallSessionSignals();
void RemoveSessionSignals();

// The program file's name without path and extension ("carelog" for /usr/bin/carelog.exe).
std::string ProgramBaseName();

namespace internal {
// The frame's window as it opens and closes (kNoWindow), for the signal watcher.
void NoteFrameWindow(host::WindowId frame);
// MDI windows in opening order (called by Open and Close).
void NoteMdiOpened(Structure* window);
void NoteMdiClosed(Structure* window);
// Called by ACCEPT before it looks for the next event: an MDI window that was asked to close
// down and refused tells the frame.
void NoteCloseDownAnswer(Structure& window);
// Called by ACCEPT for a window whose close is under way: true when its loop may end now.
// For the frame this runs the protocol above and may abandon the close (closing cleared).
bool ReadyToClose(Structure& window);
// The frame window's handling of the session messages; true when `number` was one.
bool HandleSessionMessage(Structure& frame, uint32_t number);
}  // namespace internal

}  // namespace carelog::window
