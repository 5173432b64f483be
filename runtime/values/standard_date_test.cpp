#include "runtime/values/standard_date.h"

#include <gtest/gtest.h>

#include "runtime/values/clock.h"

namespace carelog::values {
namespace {

// Days from 1970-01-01 in the proleptic Gregorian calendar, computed independently of the code
// under test by the era method.
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

TEST(StandardDate, EveryDayOfTheRangeRoundTripsAndAgreesWithTheCalendar) {
  const int64_t origin = DaysFromCivil(1801, 1, 1) - 4;
  int32_t expected = 4;
  for (int year = 1801; year <= 2099; ++year) {
    for (int month = 1; month <= 12; ++month) {
      for (int day = 1; day <= DaysInMonth(month, year); ++day) {
        int32_t n = DayNumber(year, month, day);
        ASSERT_EQ(n, expected) << year << "-" << month << "-" << day;
        ASSERT_EQ(n, DaysFromCivil(year, month, day) - origin) << year << "-" << month;
        CalendarDate back;
        ASSERT_TRUE(SplitDate(n, &back));
        ASSERT_EQ(back.year, year);
        ASSERT_EQ(back.month, month);
        ASSERT_EQ(back.day, day);
        ++expected;
      }
    }
  }
  EXPECT_EQ(expected - 1, kLastDay);
}

TEST(StandardDate, CalendarEdges) {
  EXPECT_EQ(DayNumber(1801, 1, 1), 4);
  EXPECT_EQ(DayNumber(1900, 2, 28) + 1, DayNumber(1900, 3, 1));
  EXPECT_EQ(DayNumber(1900, 2, 29), -1);
  EXPECT_NE(DayNumber(2000, 2, 29), -1);
  EXPECT_EQ(DayNumber(2100, 1, 1), -1);
  EXPECT_EQ(DayNumber(1800, 12, 31), -1);
  EXPECT_EQ(DayNumber(97, 3, 5), DayNumber(1997, 3, 5));
  EXPECT_EQ(DayNumber(1997, 13, 1), -1);
  EXPECT_EQ(DayNumber(1997, 4, 31), -1);
  EXPECT_EQ(DayNumber(1997, 4, 0), -1);
  CalendarDate d;
  EXPECT_FALSE(SplitDate(0, &d));
  EXPECT_FALSE(SplitDate(3, &d));
  EXPECT_FALSE(SplitDate(kLastDay + 1, &d));
  EXPECT_EQ(d.year, 0);
}

TEST(StandardDate, BuildingNormalisesOverflowingDaysAndMonths) {
  EXPECT_EQ(BuildDate(3, 5, 1997), DayNumber(1997, 3, 5));
  EXPECT_EQ(BuildDate(1, 32, 1997), DayNumber(1997, 2, 1));
  EXPECT_EQ(BuildDate(2, 29, 1900), DayNumber(1900, 3, 1));
  EXPECT_EQ(BuildDate(14, 1, 97), DayNumber(1998, 2, 1));
  EXPECT_EQ(BuildDate(12, 365, 1999), DayNumber(2000, 11, 29));
  EXPECT_EQ(BuildDate(1, 1, 2100), -1);
  EXPECT_EQ(BuildDate(0, 1, 1997), -1);
  EXPECT_EQ(BuildDate(1, 0, 1997), -1);
  EXPECT_EQ(BuildDate(12, 2000000000, 2000), -1);  // ends quickly, past the range
  EXPECT_EQ(BuildDate(2000000000, 1, 2000), -1);
}

TEST(StandardTime, SplitAndBuild) {
  ClockTime t;
  ASSERT_TRUE(SplitTime(1, &t));
  EXPECT_EQ(t.hour + t.minute + t.second + t.hundredths, 0);
  ASSERT_TRUE(SplitTime(kLastTime, &t));
  EXPECT_EQ(t.hour, 23);
  EXPECT_EQ(t.minute, 59);
  EXPECT_EQ(t.second, 59);
  EXPECT_EQ(t.hundredths, 99);
  EXPECT_FALSE(SplitTime(0, &t));
  EXPECT_FALSE(SplitTime(kLastTime + 1, &t));
  EXPECT_EQ(t.hour, 0);
  EXPECT_EQ(BuildTime(13, 5, 0, 0), 13 * 360000 + 5 * 6000 + 1);
  EXPECT_EQ(BuildTime(0, 0, 0, 0), 0);
  EXPECT_EQ(BuildTime(24, 0, 0, 0), -1);
  EXPECT_EQ(BuildTime(1, 60, 0, 0), -1);
  for (int32_t v = 1; v <= kLastTime; v += 997) {
    ASSERT_TRUE(SplitTime(v, &t));
    if (v > 1) {
      ASSERT_EQ(BuildTime(t.hour, t.minute, t.second, t.hundredths), v);
    }
  }
}

TEST(Clock, CanBeFixedAndReleased) {
  FixClock(DayNumber(1997, 3, 5), BuildTime(13, 5, 0, 0));
  EXPECT_EQ(Today(), DayNumber(1997, 3, 5));
  EXPECT_EQ(TimeOfDay(), BuildTime(13, 5, 0, 0));
  UseSystemClock();
  EXPECT_GT(Today(), DayNumber(2020, 1, 1));
  EXPECT_GE(TimeOfDay(), 1);
  EXPECT_LE(TimeOfDay(), kLastTime);
}

}  // namespace
}  // namespace carelog::values
