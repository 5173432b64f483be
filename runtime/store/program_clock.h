// The clock of the program: hundredths of a second since the program started. LOCK with a
// time-out, HOLD retries and the reader-slot choice of shared data files count on it. Tests
// replace it with a clock of their own.
#pragma once

#include <cstdint>

namespace carelog::store {

using ClockSource = int64_t (*)();

int64_t ProgramClock();

// Replaces the clock (null restores the real one).
void SetProgramClock(ClockSource source);

}  // namespace carelog::store
