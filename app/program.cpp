#include "app/program.h"

#include <chrono>
#include <condition_variable>
#include <iostream>
#include <mutex>
#include <thread>

#include "app/calendar.h"
#include "app/main_frame.h"
#include "app/patterns/report_table.h"
#include "app/procedures/report_procedures.h"
#include "app/report_preview.h"
#include "app/user_guide.h"
#include "runtime/host/automation.h"
#include "runtime/host/automation_script.h"
#include "runtime/host/message_queue.h"
#include "runtime/host/messages.h"
#include "runtime/host/system.h"
#include "runtime/store/stored_tables.h"
#include "runtime/store/table_ops.h"
#include "runtime/window/close_down.h"
#include "runtime/window/fatal_error.h"
#include "runtime/window/help.h"
#include "runtime/window/properties.h"
#include "runtime/window/threads.h"
#include "runtime/window/window_runtime.h"

namespace carelog::app {
namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kFrameTimeout = std::chrono::seconds(20);
constexpr const char* kHelpFile = "CARELOG.HLP";

host::WindowId FrameWindow() {
  host::Automation automation;
  for (const host::WindowInfo& w : automation.Windows()) {
    if (w.kind == "frame") return w.window;
  }
  return host::kNoWindow;
}

// Waits until the program has marked itself ready and its frame exists (every script command
// first waits until the program is idle, so the frame is painted before the first one runs).
bool WaitForFrame() {
  auto deadline = Clock::now() + kFrameTimeout;
  while (window::SystemProperty(window::prop::kKey) == 0 || FrameWindow() == host::kNoWindow) {
    if (Clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

// The reports ask for their day in the month calendar and show their pages in the preview.
int32_t PreviewRecordedPages(const std::span<const std::string> pages) {
  return ReportPreview(report::PreviewQueue(pages.begin(), pages.end()));
}

void JoinReportsToTheirDialogs() {
  SetDayChooser(&Calendar);
  SetReportPreview(&PreviewRecordedPages);
}

}  // namespace

void ProgramMain() {
  store::RegisterTableOps(&store::StoredTables());
  window::InstallFatalErrorPath();
  window::InstallSessionSignals();
  window::RegisterAutomation();
  window::SetHelpFile(kHelpFile, UserGuidePlaces(host::ExecutablePath()));
  JoinReportsToTheirDialogs();
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
