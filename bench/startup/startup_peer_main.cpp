// The peer of bench_startup: the smallest program of the platform layer that shows a window.
// It starts the display, opens one empty top-level window the size of the frame, and once
// every window thread is idle (the window painted) prints one line and ends.
//
//   startup_peer [--headless | --display=NAME]
#include <cstdio>
#include <string>
#include <thread>

#include "runtime/host/automation.h"
#include "runtime/host/display.h"
#include "runtime/host/message_queue.h"
#include "runtime/host/messages.h"
#include "runtime/host/window_system.h"

int main(int argc, char** argv) {
  using namespace carelog::host;
  DisplayChoice choice;
  std::string error;
  if (!DisplayChoiceFromArguments(argc, argv, &choice) || !StartDisplay(choice, &error)) {
    std::fprintf(stderr, "startup_peer: cannot start the display %s\n", error.c_str());
    return 1;
  }
  constexpr uint32_t kStop = msg::kFirstPrivate + 1;
  WindowSpec spec;
  spec.title = "Peer";
  spec.style = style::kVisible | style::kCaption | style::kSystemMenu | style::kSizable;
  spec.rect = Rect::FromSize(0, 0, 738, 517);
  WindowId window = CreateWindow(spec);
  ThreadId main_thread = CurrentThreadId();
  std::thread watcher([main_thread] {
    Automation automation;
    bool idle = automation.WaitIdle().ok;
    std::printf("%s\n", idle ? "painted" : "not idle");
    std::fflush(stdout);
    PostThreadMessage(main_thread, kStop);
  });
  Message m;
  while (GetMessage(&m) && m.number != kStop) {
    DispatchMessage(m);
    UpdateWindows();
  }
  watcher.join();
  DestroyWindow(window);
  StopDisplay();
  return 0;
}
