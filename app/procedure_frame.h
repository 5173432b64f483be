// The bookkeeping that every generated procedure keeps around its window, written once:
//
//   entry request     ProcRequest as it was on entry (ProcRequest and ProcResponse are then 0)
//   working request   the request the procedure acts on now; starts as the entry request, a
//                     form may change it (a delete that turns into a change) and every Call
//                     restores it to the entry request when the callee returns
//   local response    2 (cancelled) on entry; the procedure sets 1 when it completed a request
//   window opened     set once Open succeeded; the return routine closes only then
//   initialised       set the first time the window is initialised (OpenWindow or GainFocus)
//   force refresh     set on GainFocus, cleared by the refresh routine
//
// A procedure's life:
//   ProcedureFrame frame(window, takes_default_font);   // entry: codes copied and cleared,
//                                                        // a right-button key code reset
//   if (!frame.Open()) return frame.Return();
//   while (window::Accept()) {
//     if (frame.TakeWindowEvent()) continue;             // OpenWindow, GainFocus
//     ... the procedure's own events; frame.Refresh() after each application action
//   }
//   frame.Return();
//
// REQUIRES: every method runs on the procedure's thread while it holds the global semaphore.
#pragma once

#include <cstdint>
#include <string_view>

#include "runtime/window/window_structure.h"

namespace carelog::app {

class ProcedureFrame {
 public:
  // The procedure's entry: saves ProcRequest, sets the local response to 2, clears
  // ProcRequest and ProcResponse and resets a right-button key code to 0. `window` is the
  // procedure's declared window and must outlive the frame.
  ProcedureFrame(window::Structure& window, bool takes_default_font);
  ~ProcedureFrame();
  ProcedureFrame(const ProcedureFrame&) = delete;
  ProcedureFrame& operator=(const ProcedureFrame&) = delete;

  // Opens the window and sets the window-opened flag; a procedure that takes the default
  // font then shows every control in it. False when the window could not be opened.
  bool Open();

  // The window events the frame handles itself: EVENT:OpenWindow and EVENT:GainFocus.
  // True when the current event was one of them.
  bool TakeWindowEvent();

  // Unless the window is in accept-all mode, shows every control again and clears the
  // force-refresh flag.
  void Refresh();
  void InitialiseWindow();

  // The return routine: closes the window if it was opened and is still open, and leaves the
  // local response (2 when none was set) in ProcResponse. Runs once; later calls do nothing.
  void Return();

  // The caller's half of the request protocol: sets ProcRequest to `request`, calls
  // `procedure` through the catalogue on this thread and returns the callee's response (2 when
  // it is not built); the working request is then restored to the entry request. The callee's
  // response is only returned: it never becomes this procedure's own local response, so a form
  // that calls a select browse passes on only its own answer.
  int32_t Call(std::string_view procedure, int32_t request);

  int32_t entry_request() const { return entry_request_; }
  int32_t working_request = 0;
  int32_t local_response = 0;
  bool window_opened() const { return window_opened_; }
  bool window_initialised() const { return window_initialised_; }
  bool force_refresh() const { return force_refresh_; }
  window::Structure& window() { return window_; }

 private:
  window::Structure& window_;
  bool takes_default_font_;
  int32_t entry_request_ = 0;
  bool window_opened_ = false;
  bool window_initialised_ = false;
  bool force_refresh_ = false;
  bool returned_ = false;
};

// Shows every control of the thread's top window, from 0 (the window) to the highest control
// number, in DisplayFont; does nothing when DisplayFont is not set (size 6 or less).
void ApplyDisplayFont(window::Structure& window);

// Every procedure's entry step: a key code that is the right mouse button (code 2 once the
// shift bits are masked off) is reset to 0, so that a procedure started from a popup menu does
// not see the click that opened it.
void ResetRightButtonKeyCode();

}  // namespace carelog::app
