// The frame's close-down protocol over its MDI windows, and the session signals. Everything
// here but the signal plumbing runs under the global semaphore.
#include "runtime/window/close_down.h"

#include <algorithm>
#include <atomic>
#include <vector>

#include "runtime/host/message_queue.h"
#include "runtime/host/messages.h"
#include "runtime/host/system.h"
#include "runtime/host/window_system.h"
#include "runtime/window/message_box.h"
#include "runtime/window/threads.h"
#include "runtime/window/window_runtime.h"

namespace carelog::window {
namespace {

struct MdiRecord {
  Structure* window = nullptr;
  bool allowed = true;
  bool asked = false;  // EVENT:CloseDown queued for it by the frame
};

std::vector<MdiRecord> mdi_windows;  // opening order

struct FrameClose {
  Structure* waiting_for = nullptr;
  bool refused = false;
  bool session_ending = false;
};
FrameClose frame_close;

MdiRecord* RecordOf(const Structure* window) {
  for (MdiRecord& r : mdi_windows) {
    if (r.window == window) return &r;
  }
  return nullptr;
}

void WakeFrame() {
  Structure* frame = internal::ApplicationFrame();
  if (frame && frame->is_open()) host::PostMessage(frame->handle, kWakeMessage);
}

bool CanCloseNow(const MdiRecord& r) {
  return r.allowed && r.window->is_open() && TopWindowOf(r.window->slot + 1) == r.window;
}

// The frame window that session signals are delivered to, as messages.
std::atomic<host::WindowId> frame_window{host::kNoWindow};

void DeliverSignal(host::SessionSignal signal) {
  host::WindowId target = frame_window.load();
  if (target == host::kNoWindow) return;
  bool query = signal == host::SessionSignal::kEndRequested;
  host::PostMessage(target, query ? host::msg::kQueryEndSession : host::msg::kEndSession, 1);
}

}  // namespace

void SetCloseDownAllowed(Structure& mdi_window, bool allowed) {
  if (MdiRecord* r = RecordOf(&mdi_window)) r->allowed = allowed;
}

bool InstallSessionSignals() {
  return host::WatchSessionSignals(&DeliverSignal);
}

void RemoveSessionSignals() {
  host::StopSessionSignals();
}

std::string ProgramBaseName() {
  std::string name = host::ExecutablePath();
  if (name.empty()) name = "program";
  size_t slash = name.rfind('/');
  if (slash != std::string::npos) name = name.substr(slash + 1);
  size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name = name.substr(0, dot);
  return name;
}

namespace internal {

void NoteFrameWindow(host::WindowId frame) {
  frame_window.store(frame);
}

void NoteMdiOpened(Structure* window) {
  if (!RecordOf(window)) mdi_windows.push_back(MdiRecord{window});
}

void NoteMdiClosed(Structure* window) {
  mdi_windows.erase(std::remove_if(mdi_windows.begin(), mdi_windows.end(),
                                   [window](const MdiRecord& r) { return r.window == window; }),
                    mdi_windows.end());
  if (frame_close.waiting_for == window || frame_close.session_ending) WakeFrame();
}

void NoteCloseDownAnswer(Structure& window) {
  if (frame_close.session_ending) {
    window.closing = true;
    return;
  }
  MdiRecord* r = RecordOf(&window);
  if (!r || !r->asked || !window.current || window.current->code() != event::kCloseDown) return;
  r->asked = false;
  if (!window.closing && frame_close.waiting_for == &window) {
    frame_close.refused = true;
    WakeFrame();
  }
}

bool ReadyToClose(Structure& window) {
  if (&window != ApplicationFrame()) return true;
  if (frame_close.session_ending) {
    if (!mdi_windows.empty()) return false;
    frame_close = FrameClose{};
    return true;
  }
  if (frame_close.waiting_for) {
    if (frame_close.refused) {
      frame_close = FrameClose{};
      window.closing = false;
      return false;
    }
    if (RecordOf(frame_close.waiting_for)) return false;
    frame_close.waiting_for = nullptr;
  }
  if (mdi_windows.empty()) {
    frame_close = FrameClose{};
    return true;
  }
  for (MdiRecord& r : mdi_windows) {
    if (CanCloseNow(r)) {
      r.asked = true;
      frame_close.waiting_for = r.window;
      r.window->Queue(event::kCloseDown, nullptr);
      return false;
    }
  }
  host::Beep();
  window.closing = false;
  return false;
}

bool HandleSessionMessage(Structure& frame, uint32_t number) {
  if (number == host::msg::kQueryEndSession) {
    host::BringToTop(host::TopLevelOf(frame.handle));
    Message(kSessionRefusalText, ProgramBaseName(), message_icon::kExclamation, message_button::kOk,
            0, message_style::kSystemModal);
    return true;
  }
  if (number == host::msg::kEndSession) {
    frame_close.session_ending = true;
    for (int thread = kThreadSlots; thread >= 1; --thread) {
      Structure* top = TopWindowOf(thread);
      if (top && top->is_open()) top->Queue(event::kCloseWindow, nullptr);
    }
    return true;
  }
  return false;
}

}  // namespace internal
}  // namespace carelog::window
