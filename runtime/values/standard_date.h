// Standard date and standard time: the integers in which the runtime holds dates and times.
//
// Standard date: a day number; day 4 is 1 January 1801 and consecutive days have consecutive
// numbers. The valid range is 1801-01-01 (4) to 2099-12-31 (109211); 0 means no date. Leap
// years are the years divisible by 4 except 1900, which is exact within the range.
//
// Standard time: hundredths of a second since midnight plus one; 1 is midnight, 8640000 is
// 23:59:59.99 and 0 means no time.
#pragma once

#include <cstdint>

namespace carelog::values {

inline constexpr int32_t kFirstDay = 4;        // 1801-01-01
inline constexpr int32_t kLastDay = 109211;    // 2099-12-31
inline constexpr int32_t kLastTime = 8640000;  // 23:59:59.99

struct CalendarDate {
  int year = 0;
  int month = 0;
  int day = 0;
};

struct ClockTime {
  int hour = 0;
  int minute = 0;
  int second = 0;
  int hundredths = 0;
};

bool IsLeapYear(int year);
// Days of `month` (1..12) in `year`; 0 for a month outside 1..12.
int DaysInMonth(int month, int year);

// The day number of a calendar date, or -1 when the date is invalid. A year below 100 has 1900
// added first.
int32_t DayNumber(int year, int month, int day);

// The application's date(month, day, year): a day beyond the end of its month spills into the
// following months and a month beyond 12 into the following years before conversion. A year
// below 100 has 1900 added. Returns -1 when the result lies outside the valid range or when the
// month or day is below 1.
int32_t BuildDate(int64_t month, int64_t day, int64_t year);

// The four-digit year meant by a typed two-digit year (0..99), seen from `this_year`: the one
// ending in those digits among the 89 years before `this_year`, `this_year` itself and the 10
// after it. In 2026, "35" is 2035 and "37" is 1937: dates of visits and plans near today and
// birth dates of the past read as meant; earlier birth years are typed with four digits.
int WindowedYear(int two_digit_year, int this_year);

// The calendar date of a day number; false (and all zeros) outside 4..109211.
bool SplitDate(int32_t day_number, CalendarDate* out);

// The parts of a standard time; false (and all zeros) outside 1..8640000.
bool SplitTime(int32_t time, ClockTime* out);

// The standard time of the parts; all zeros give 0 and a part out of range gives -1.
int32_t BuildTime(int hour, int minute, int second, int hundredths);

}  // namespace carelog::values
