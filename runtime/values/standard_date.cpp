#include "runtime/values/standard_date.h"

namespace carelog::values {
namespace {

constexpr int kDaysBeforeMonth[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
constexpr int kMonthLength[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

constexpr int kFirstYear = 1801;
constexpr int kLastYear = 2099;
constexpr int kDaysPerCycle = 1461;  // four years with one leap day

// 1 March 1900 in day numbers; from here on the numbering has one day less than a plain
// four-year cycle would give, because 1900 has no 29 February.
constexpr int32_t kFirstMarch1900 = 36222;

}  // namespace

bool IsLeapYear(int year) {
  return year % 4 == 0 && year != 1900;
}

int DaysInMonth(int month, int year) {
  if (month < 1 || month > 12) return 0;
  return kMonthLength[month - 1] + (month == 2 && IsLeapYear(year));
}

int32_t DayNumber(int year, int month, int day) {
  if (year >= 0 && year < 100) year += 1900;
  if (year < kFirstYear || year > kLastYear) return -1;
  if (month < 1 || month > 12) return -1;
  if (day < 1 || day > DaysInMonth(month, year)) return -1;
  int32_t n = (year - kFirstYear) * kDaysPerCycle / 4 + kDaysBeforeMonth[month - 1] + day + 3;
  if (year > 1900) n -= 1;
  if (month > 2 && IsLeapYear(year)) n += 1;
  return n;
}

int WindowedYear(int two_digit_year, int this_year) {
  int last = this_year + 10;
  int year = last - (last % 100) + two_digit_year;
  return year > last ? year - 100 : year;
}

int32_t BuildDate(int64_t month, int64_t day, int64_t year) {
  if (month < 1 || day < 1 || year < 0) return -1;
  if (year < 100) year += 1900;
  year += (month - 1) / 12;
  month = (month - 1) % 12 + 1;
  // Each pass moves one month on, so the loop ends within the few thousand months of the range.
  while (year <= kLastYear && day > DaysInMonth(static_cast<int>(month), static_cast<int>(year))) {
    day -= DaysInMonth(static_cast<int>(month), static_cast<int>(year));
    if (++month > 12) {
      month = 1;
      ++year;
    }
  }
  if (year > kLastYear) return -1;
  return DayNumber(static_cast<int>(year), static_cast<int>(month), static_cast<int>(day));
}

bool SplitDate(int32_t day_number, CalendarDate* out) {
  *out = CalendarDate{};
  if (day_number < kFirstDay || day_number > kLastDay) return false;
  // Count in plain four-year cycles from 1 January 1801, putting back the missing 29 February
  // of 1900 for the days after it.
  int32_t d = day_number - kFirstDay + (day_number >= kFirstMarch1900 ? 1 : 0);
  int cycle = d / kDaysPerCycle;
  int rest = d % kDaysPerCycle;
  int year_in_cycle = rest / 365;
  if (year_in_cycle > 3) year_in_cycle = 3;
  int day_of_year = rest - 365 * year_in_cycle;
  int year = kFirstYear + 4 * cycle + year_in_cycle;
  bool leap = year_in_cycle == 3;  // the fourth year of each cycle has 366 days
  int month = 1;
  while (month < 12) {
    int next_start = kDaysBeforeMonth[month] + (leap && month >= 2 ? 1 : 0);
    if (day_of_year < next_start) break;
    ++month;
  }
  int month_start = kDaysBeforeMonth[month - 1] + (leap && month > 2 ? 1 : 0);
  out->year = year;
  out->month = month;
  out->day = day_of_year - month_start + 1;
  return true;
}

bool SplitTime(int32_t time, ClockTime* out) {
  *out = ClockTime{};
  if (time < 1 || time > kLastTime) return false;
  int32_t t = time - 1;
  out->hour = t / 360000;
  t %= 360000;
  out->minute = t / 6000;
  t %= 6000;
  out->second = t / 100;
  out->hundredths = t % 100;
  return true;
}

int32_t BuildTime(int hour, int minute, int second, int hundredths) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
      hundredths < 0 || hundredths > 99) {
    return -1;
  }
  if (hour == 0 && minute == 0 && second == 0 && hundredths == 0) return 0;
  return hour * 360000 + minute * 6000 + second * 100 + hundredths + 1;
}

}  // namespace carelog::values
