#include "runtime/window/halt.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

namespace carelog::window {
namespace {

std::mutex& CleanupMutex() {
  static std::mutex mutex;
  return mutex;
}

std::vector<HaltCleanup>& Cleanups() {
  static std::vector<HaltCleanup> cleanups;
  return cleanups;
}

std::atomic<HaltHook> halt_hook{nullptr};

// Takes the registered cleanups out of the list, so that a cleanup that halts again (or a
// second thread halting) runs none of them twice.
std::vector<HaltCleanup> TakeCleanups() {
  std::lock_guard<std::mutex> lock(CleanupMutex());
  std::vector<HaltCleanup> taken;
  taken.swap(Cleanups());
  return taken;
}

}  // namespace

void AddHaltCleanup(HaltCleanup cleanup) {
  std::lock_guard<std::mutex> lock(CleanupMutex());
  std::vector<HaltCleanup>& cleanups = Cleanups();
  if (std::find(cleanups.begin(), cleanups.end(), cleanup) == cleanups.end()) {
    cleanups.push_back(cleanup);
  }
}

HaltHook SetHaltHook(HaltHook hook) {
  return halt_hook.exchange(hook);
}

void Halt(std::string_view text, int exit_code) {
  std::vector<HaltCleanup> cleanups = TakeCleanups();
  for (auto it = cleanups.rbegin(); it != cleanups.rend(); ++it) (*it)();
  if (!text.empty()) std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
  std::fflush(nullptr);
  if (HaltHook hook = halt_hook.load()) hook(text, exit_code);
  std::_Exit(exit_code);
}

}  // namespace carelog::window
