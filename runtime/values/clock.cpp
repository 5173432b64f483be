#include "runtime/values/clock.h"

#include <atomic>
#include <chrono>
#include <ctime>

#include "runtime/values/standard_date.h"

namespace carelog::values {
namespace {

std::atomic<bool> g_fixed{false};
std::atomic<int32_t> g_fixed_today{0};
std::atomic<int32_t> g_fixed_time{0};
std::atomic<int64_t> g_shift_seconds{0};  // added to the system clock

struct LocalNow {
  std::tm tm{};
  int hundredths = 0;
};

// Microseconds since the epoch of the system clock.
int64_t SystemMicroseconds() {
  using namespace std::chrono;
  return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
}

LocalNow Now() {
  LocalNow now;
  int64_t micros = SystemMicroseconds();
  time_t seconds = static_cast<time_t>(micros / 1000000 + g_shift_seconds.load());
  localtime_r(&seconds, &now.tm);
  now.hundredths = static_cast<int>((micros % 1000000) / 10000);
  return now;
}

}  // namespace

int32_t Today() {
  if (g_fixed.load()) return g_fixed_today.load();
  LocalNow now = Now();
  int32_t day = DayNumber(now.tm.tm_year + 1900, now.tm.tm_mon + 1, now.tm.tm_mday);
  return day < 0 ? 0 : day;
}

int32_t TimeOfDay() {
  if (g_fixed.load()) return g_fixed_time.load();
  LocalNow now = Now();
  int second = now.tm.tm_sec > 59 ? 59 : now.tm.tm_sec;  // a leap second counts as :59
  return now.tm.tm_hour * 360000 + now.tm.tm_min * 6000 + second * 100 + now.hundredths + 1;
}

void FixClock(int32_t today, int32_t time_of_day) {
  g_fixed_today.store(today);
  g_fixed_time.store(time_of_day);
  g_fixed.store(true);
}

bool RunClockFrom(int32_t today, int32_t time_of_day) {
  CalendarDate date;
  ClockTime time;
  if (!SplitDate(today, &date) || !SplitTime(time_of_day, &time)) return false;
  std::tm wanted{};
  wanted.tm_year = date.year - 1900;
  wanted.tm_mon = date.month - 1;
  wanted.tm_mday = date.day;
  wanted.tm_hour = time.hour;
  wanted.tm_min = time.minute;
  wanted.tm_sec = time.second;
  wanted.tm_isdst = -1;
  time_t target = mktime(&wanted);
  if (target == static_cast<time_t>(-1)) return false;
  g_shift_seconds.store(static_cast<int64_t>(target) - SystemMicroseconds() / 1000000);
  g_fixed.store(false);
  return true;
}

void UseSystemClock() {
  g_fixed.store(false);
  g_shift_seconds.store(0);
}

}  // namespace carelog::values
