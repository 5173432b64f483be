// The month grid shared by the date picker (CALENDAR) and the month calendar form
// (UPDATEMONTHCAL): 42 day cells, 6 rows of 7 numbered 1..42 row by row, column 1 Sunday.
//
// FillMonth lays one month out for a current date D. Dates outside kLowestDate..kHighestDate
// are never shown: the fill falls back to today and reports it (heading "Out of Limits!"; the
// caller sounds the beep). Invariant of a fill: the cells first_column .. first_column+days-1
// show the days 1..days and every other cell is blank.
#pragma once

#include <cstdint>
#include <string>

namespace carelog::app {

inline constexpr int32_t kLowestDate = 50;
inline constexpr int32_t kHighestDate = 109175;
inline constexpr int kGridCells = 42;
inline constexpr int kGridColumns = 7;
inline constexpr const char* kOutOfLimits = "Out of Limits!";

// Twelve names of nine characters each, January first.
inline constexpr char kMonthNames[] =
    "January  February March    April    May      June     July     August   SeptemberOctober  "
    "November December ";
static_assert(sizeof(kMonthNames) - 1 == 108);

// The name of month 1..12, trailing blanks clipped; "" for another month.
std::string MonthName(int month);

struct MonthFill {
  int32_t date = 0;  // the date the grid was filled for (today after an out-of-limits date)
  bool out_of_limits = false;
  int year = 0;
  int month = 0;
  int day = 0;
  int first_column = 1;  // cell of the 1st: 1..7
  int days = 0;          // days in the month
  std::string heading;   // "December 2026", or "Out of Limits!"

  // The day shown in cell 1..42, 0 for a blank cell.
  int DayOfCell(int cell) const;
  // The cell that shows `day` of the month, clamped into the month.
  int CellOfDay(int day) const;
};

// The fill for date `date`, `today` standing in for a date outside the limits.
MonthFill FillMonth(int32_t date, int32_t today);

// The 1st of the month `months` away from (year, month), across year ends.
int32_t FirstOfMonthMovedBy(int year, int month, int months);

}  // namespace carelog::app
