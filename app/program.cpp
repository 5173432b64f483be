#include "app/program.h"

#include <chrono>
#include <condition_variable>
#include <iostream>
#include <mutex>
#include <thread>

#include "app/main_frame.h"
#include "runtime/host/automation.h"
#include "runtime/host/automation_script.h"
#include "runtime/host/message_queue.h"
#include "runtime/host/messages.h"
#include "runtime/store/stored_tables.h"
#include "runtime/store/table_ops.h"
#include "runtime/window/close_down.h"
#include "runtime/window/fatal_error.h"
#include "runtime/window/properties.h"
#include "runtime/window/threads.h"
#include "runtime/window/window_runtime.h"

namespace carelog::app {
namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kFrameTimeout = std::chrono::seconds(20);

host::WindowId FrameWindow() {
  host::Automation automation;
  for (const host::WindowInfo& w : automation.Windows()) {
    if (w.kind == "frame") return w.window;
  }
  return host::kNoWindow;
}

// Waits until the program has marked itself ready, its frame exists and every window thread
// is idle (the frame has been painted).
bool WaitForFrame() {
  auto deadline = Clock::now() + kFrameTimeout;
  while (window::SystemProperty(window::prop::kKey) == 0 || FrameWindow() == host::kNoWindow) {
    if (Clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  host::Automation automation;
  return automation.WaitIdle().ok;
}

}  // namespace

void ProgramMain() {
  store::RegisterTableOps(&store::StoredTables());
  window::InstallFatalErrorPath();
  window::InstallSessionSignals();
  window::RegisterAutomation();
  window::RunProgram(&MAIN);
  window::RemoveSessionSignals();
  DisposeAppFrame();
}

int RunProgramWithScript(const std::string& path, int close_timeout_ms) {
  std::mutex mutex;
  std::condition_variable ended;
  bool program_ended = false;
  int status = 1;
  std::thread driver([&] {
    if (!WaitForFrame()) {
      std::cerr << path << ": the frame did not come up\n";
    } else {
      status = host::RunScriptFile(path, std::cout, std::cerr);
    }
    std::cout.flush();
    host::WindowId frame = FrameWindow();
    if (frame != host::kNoWindow) host::PostMessage(frame, host::msg::kClose);
    std::unique_lock<std::mutex> lock(mutex);
    if (!ended.wait_for(lock, std::chrono::milliseconds(close_timeout_ms),
                        [&] { return program_ended; })) {
      std::cerr << path << ": the program did not end after the script\n";
      std::cerr.flush();
      std::_Exit(1);
    }
  });
  ProgramMain();
  {
    std::lock_guard<std::mutex> lock(mutex);
    program_ended = true;
  }
  ended.notify_all();
  driver.join();
  return status;
}

}  // namespace carelog::app
