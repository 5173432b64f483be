#include "runtime/store/program_clock.h"

#include <atomic>
#include <chrono>

namespace carelog::store {
namespace {

const std::chrono::steady_clock::time_point kStart = std::chrono::steady_clock::now();

int64_t RealClock() {
  const auto elapsed = std::chrono::steady_clock::now() - kStart;
  return std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count() / 10;
}

std::atomic<ClockSource> source{nullptr};

}  // namespace

int64_t ProgramClock() {
  const ClockSource replaced = source.load();
  return replaced != nullptr ? replaced() : RealClock();
}

void SetProgramClock(ClockSource replacement) {
  source.store(replacement);
}

}  // namespace carelog::store
