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

}  // namespace
}  // namespace carelog::app
