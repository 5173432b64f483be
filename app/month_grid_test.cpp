#include "app/month_grid.h"

#include <gtest/gtest.h>

#include "runtime/values/standard_date.h"

namespace carelog::app {
namespace {

int32_t Date(int year, int month, int day) {
  return values::DayNumber(year, month, day);
}

TEST(MonthGrid, CellsCoverExactlyTheDaysOfTheMonth) {
  // 1 June 2025 is a Sunday: the month starts in cell 1.
  MonthFill june = FillMonth(Date(2025, 6, 15), 0);
  EXPECT_EQ(june.first_column, 1);
  EXPECT_EQ(june.days, 30);
  EXPECT_EQ(june.DayOfCell(1), 1);
  EXPECT_EQ(june.DayOfCell(30), 30);
  EXPECT_EQ(june.DayOfCell(31), 0);
  EXPECT_EQ(june.heading, "June 2025");

  // March 2025: 31 days from a Saturday use cells 7 to 37, the sixth row included.
  MonthFill march = FillMonth(Date(2025, 3, 9), 0);
  EXPECT_EQ(march.first_column, 7);
  EXPECT_EQ(march.DayOfCell(6), 0);
  EXPECT_EQ(march.DayOfCell(7), 1);
  EXPECT_EQ(march.DayOfCell(37), 31);
  EXPECT_EQ(march.DayOfCell(38), 0);
  EXPECT_EQ(march.CellOfDay(9), 15);

  // A leap February and a plain one.
  EXPECT_EQ(FillMonth(Date(2024, 2, 1), 0).days, 29);
  EXPECT_EQ(FillMonth(Date(2099, 2, 1), 0).days, 28);
}

TEST(MonthGrid, LimitsFallBackToToday) {
  const int32_t today = Date(2026, 12, 9);
  for (int32_t date : {kLowestDate - 1, kHighestDate + 1, 0, -5}) {
    MonthFill fill = FillMonth(date, today);
    EXPECT_TRUE(fill.out_of_limits) << date;
    EXPECT_EQ(fill.date, today);
    EXPECT_EQ(fill.heading, kOutOfLimits);
    EXPECT_EQ(fill.month, 12);
  }
  for (int32_t date : {kLowestDate, kHighestDate}) {
    MonthFill fill = FillMonth(date, today);
    EXPECT_FALSE(fill.out_of_limits) << date;
    EXPECT_EQ(fill.date, date);
    EXPECT_EQ(fill.DayOfCell(fill.CellOfDay(fill.day)), fill.day);
  }
}

TEST(MonthGrid, MonthNamesAndMovesAcrossYearEnds) {
  EXPECT_EQ(MonthName(1), "January");
  EXPECT_EQ(MonthName(9), "September");
  EXPECT_EQ(MonthName(12), "December");
  EXPECT_EQ(MonthName(0), "");
  EXPECT_EQ(MonthName(13), "");
  EXPECT_EQ(FirstOfMonthMovedBy(2000, 1, -1), Date(1999, 12, 1));
  EXPECT_EQ(FirstOfMonthMovedBy(2026, 12, 1), Date(2027, 1, 1));
  EXPECT_EQ(FirstOfMonthMovedBy(2026, 5, -12), Date(2025, 5, 1));
  EXPECT_EQ(FillMonth(FirstOfMonthMovedBy(2000, 1, -1), 0).heading, "December 1999");
}

// Calendar facts checked against printed calendars: the weekday of the 1st and the length of
// months of 28 to 31 days, leap years by the century rules included.
TEST(MonthGrid, FirstWeekdayAndLengthOfKnownMonths) {
  struct Known {
    int year, month, first_column, days;
  };
  const Known kKnown[] = {
      {2000, 1, 7, 31}, {2000, 2, 3, 29},  {1900, 2, 5, 28},  {2024, 2, 5, 29}, {2023, 2, 4, 28},
      {2026, 4, 4, 30}, {2026, 12, 3, 31}, {1999, 12, 4, 31}, {2015, 2, 1, 28},
  };
  for (const Known& k : kKnown) {
    SCOPED_TRACE(std::to_string(k.year) + "-" + std::to_string(k.month));
    MonthFill fill = FillMonth(Date(k.year, k.month, 10), 0);
    EXPECT_EQ(fill.first_column, k.first_column);
    EXPECT_EQ(fill.days, k.days);
    EXPECT_EQ(fill.DayOfCell(fill.first_column - 1), 0);
    EXPECT_EQ(fill.DayOfCell(fill.first_column + k.days - 1), k.days);
    EXPECT_EQ(fill.DayOfCell(fill.first_column + k.days), 0);
  }
}

TEST(MonthGrid, MovesKeepTheDayWhereTheMonthHasIt) {
  MonthFill january = FillMonth(Date(2024, 1, 31), 0);
  EXPECT_EQ(MonthMovedBy(january, 31, 1), Date(2024, 2, 29));
  EXPECT_EQ(MonthMovedBy(january, 31, 13), Date(2025, 2, 28));
  EXPECT_EQ(MonthMovedBy(january, 15, -1), Date(2023, 12, 15));
  EXPECT_EQ(MonthsMovedBy(kPrevMonth), -1);
  EXPECT_EQ(MonthsMovedBy(kNextYear), 12);
  EXPECT_EQ(MonthsMovedBy(kHeading), 0);
  EXPECT_EQ(CellLabel(9, true), "9*");
  EXPECT_EQ(CellLabel(31, false), "31");
}

}  // namespace
}  // namespace carelog::app
