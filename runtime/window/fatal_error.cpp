#include "runtime/window/fatal_error.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <vector>

#include "runtime/host/display.h"
#include "runtime/host/system.h"
#include "runtime/store/internal_error.h"
#include "runtime/store/messages.h"
#include "runtime/values/locale.h"
#include "runtime/window/definition_loader.h"
#include "runtime/window/message_box.h"
#include "runtime/window/runtime_errors.h"

namespace carelog::window {
namespace {

std::mutex& LogMutex() {
  static std::mutex mutex;
  return mutex;
}
bool log_started = false;  // guarded by LogMutex
std::atomic<FatalErrorHook> hook{nullptr};

bool WriteLog(const std::string& record) {
  std::lock_guard<std::mutex> lock(LogMutex());
  FILE* file = std::fopen(kErrorLogName, log_started ? "ab" : "wb");
  if (!file) return false;
  log_started = true;
  bool ok = std::fwrite(record.data(), 1, record.size(), file) == record.size();
  return std::fclose(file) == 0 && ok;
}

void CollectTrace(uintptr_t* trace) {
  // Skip this function and the error path's own frame.
  std::vector<uintptr_t> frames = host::CallTrace(2, kTraceLines);
  for (int i = 0; i < kTraceLines; ++i) {
    trace[i] = i < static_cast<int>(frames.size()) ? frames[static_cast<size_t>(i)] : 0;
  }
}

void RealPath(int code, const std::string& message) {
  if (host::DisplayName().empty()) {
    std::fprintf(stderr, "%s\n", message.c_str());
  } else {
    ShowFatalErrorBox(code, message);
  }
  uintptr_t trace[kTraceLines];
  CollectTrace(trace);
  AppendErrorLog(message, trace);
  std::fflush(nullptr);
  std::_Exit(EXIT_FAILURE);
}

void FromLoader(int code, const char* message) {
  FatalRuntimeError(code, message);
}
void FromStore(const std::string& message) {
  FatalRuntimeError(kStoreInternalError, message);
}

}  // namespace

std::string RuntimeMessage(int code) {
  if (const std::string* text = values::MessageOverride(code)) return *text;
  std::string_view own = runtime_error::TextOf(code);
  if (!own.empty()) return std::string(own);
  std::string_view stored = store::MessageFor(code);
  if (!stored.empty()) return std::string(stored);
  return "Error " + std::to_string(code);
}

void ShowFatalErrorBox(int code, const std::string& message) {
  ShowMessageBox(code == kStoreInternalError ? "Runtime error" : "Error", message);
}

FatalErrorHook SetFatalErrorHook(FatalErrorHook new_hook) {
  return hook.exchange(new_hook);
}

void FatalRuntimeError(int code) {
  FatalRuntimeError(code, RuntimeMessage(code));
}

void FatalRuntimeError(int code, const std::string& message) {
  if (FatalErrorHook h = hook.load()) {
    h(code, message);
    return;
  }
  RealPath(code, message);
}

bool AppendErrorLog(std::string_view message, const uintptr_t* trace) {
  std::string record = "Error: ";
  record.append(message);
  record += "\r\n";
  char line[32];
  for (int i = 0; i < kTraceLines; ++i) {
    std::snprintf(line, sizeof line, "   %.8x\r\n", static_cast<unsigned>(trace[i] & 0xFFFFFFFFu));
    record += line;
  }
  record += std::string(34, '-') + "\r\n";
  return WriteLog(record);
}

bool AppendErrorLogPosition(std::string_view source, int line) {
  char text[64];
  std::snprintf(text, sizeof text, ", %d)\n", line);
  std::string record = "Error @(File,Line) (";
  record.append(source);
  record += text;
  return WriteLog(record);
}

void StartNewErrorLog() {
  std::lock_guard<std::mutex> lock(LogMutex());
  log_started = false;
}

void InstallFatalErrorPath() {
  SetFatalErrorHandler(&FromLoader);
  store::SetInternalErrorHandler(&FromStore);
}

}  // namespace carelog::window
