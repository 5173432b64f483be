// The one source of "today" and the time of day for the whole runtime. By default both come
// from the system clock in local time; tests (and the automation layer) can fix them, or shift
// the running clock to another moment, so that everything built on dates and times is
// reproducible.
#pragma once

#include <cstdint>

namespace carelog::values {

// Today's standard date, or 0 outside 1801..2099.
int32_t Today();

// The standard time now (hundredths of a second since midnight plus one).
int32_t TimeOfDay();

// From now on Today() and TimeOfDay() return these values, unchanged, until UseSystemClock().
void FixClock(int32_t today, int32_t time_of_day);

// From now on the clock runs at the system clock's pace from this local moment (a program
// started "on a Wednesday at 10:00" for a test or a demonstration). False, with the clock
// unchanged, when the date or time is out of range.
bool RunClockFrom(int32_t today, int32_t time_of_day);

// Return to the system clock.
void UseSystemClock();

}  // namespace carelog::values
