// The frame's close-down protocol over its MDI windows, and the session signals. Everything
// here but the signal plumbing runs under the global semaphore.
#include "runtime/window/close_down.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <mutex>
#include <thread>
#include <vector>

#include "runtime/host/message_queue.h"
#include "runtime/host/messages.h"
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

// The signal plumbing: the handler writes one byte per signal into a pipe; a watcher thread
// turns each byte into a message for the frame's window.
std::atomic<host::WindowId> frame_window{host::kNoWindow};
std::mutex signals_mutex;
int signal_pipe[2] = {-1, -1};
std::thread watcher;
constexpr char kStopWatcher = 'x';

void OnSignal(int number) {
  int saved = errno;
  char byte = number == SIGTERM ? 'q' : 'e';
  if (signal_pipe[1] >= 0) (void)!write(signal_pipe[1], &byte, 1);
  errno = saved;
}

void WatchSignals(int read_end) {
  char byte = 0;
  while (true) {
    ssize_t got = read(read_end, &byte, 1);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0 || byte == kStopWatcher) return;
    host::WindowId target = frame_window.load();
    if (target == host::kNoWindow) continue;
    host::PostMessage(target, byte == 'q' ? host::msg::kQueryEndSession : host::msg::kEndSession,
                      1);
  }
}

}  // namespace

void SetCloseDownAllowed(Structure& mdi_window, bool allowed) {
  if (MdiRecord* r = RecordOf(&mdi_window)) r->allowed = allowed;
}

bool InstallSessionSignals() {
  std::lock_guard<std::mutex> lock(signals_mutex);
  if (signal_pipe[0] >= 0) return true;
  if (pipe2(signal_pipe, O_CLOEXEC) != 0) return false;
  // A burst of signals must never block the handler: extra bytes are dropped.
  fcntl(signal_pipe[1], F_SETFL, fcntl(signal_pipe[1], F_GETFL) | O_NONBLOCK);
  struct sigaction action {};
  action.sa_handler = &OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);
  watcher = std::thread(&WatchSignals, signal_pipe[0]);
  return true;
}

void RemoveSessionSignals() {
  std::lock_guard<std::mutex> lock(signals_mutex);
  if (signal_pipe[0] < 0) return;
  signal(SIGTERM, SIG_DFL);
  signal(SIGHUP, SIG_DFL);
  (void)!write(signal_pipe[1], &kStopWatcher, 1);
  watcher.join();
  close(signal_pipe[0]);
  close(signal_pipe[1]);
  signal_pipe[0] = signal_pipe[1] = -1;
}

std::string ProgramBaseName() {
  char path[4096];
  ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
  std::string name = n > 0 ? std::string(path, static_cast<size_t>(n)) : std::string("program");
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
