// The month grid shared by the date picker (CALENDAR) and the month calendar form
// (UPDATEMONTHCAL): 42 day cells, 6 rows of 7 numbered 1..42 row by row, column 1 Sunday.
// Both windows number their grid's controls alike: the cells 1..42, then kPrevMonth ..
// kNextYear and the heading kHeading.
//
// FillMonth lays one month out for a current date D. Dates outside kLowestDate..kHighestDate
// are never shown: the fill falls back to today and reports it (heading "Out of Limits!"; the
// caller sounds the beep). Invariant of a fill: the cells first_column .. first_column+days-1
// show the days 1..days and every other cell is blank.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace carelog::app {

inline constexpr int32_t kLowestDate = 50;
inline constexpr int32_t kHighestDate = 109175;
inline constexpr int kGridCells = 42;
inline constexpr int kGridColumns = 7;
inline constexpr const char* kOutOfLimits = "Out of Limits!";

// The grid's other controls, after the cells.
inline constexpr int kPrevMonth = 43;
inline constexpr int kNextMonth = 44;
inline constexpr int kPrevYear = 45;
inline constexpr int kNextYear = 46;
inline constexpr int kHeading = 47;

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

// The date `months` away from the month of `fill`, on `day` or on the new month's last day when
// it is shorter; the 1st of that month when it lies outside the calendar (so that a fill falls
// back to today).
int32_t MonthMovedBy(const MonthFill& fill, int day, int months);

// The months a grid button moves by (kPrevMonth -1, kNextMonth 1, kPrevYear -12, kNextYear 12);
// 0 for another control.
int MonthsMovedBy(int control);

// The date cell 1..42 of `fill` shows; 0 for a blank cell.
int32_t DateOfCell(const MonthFill& fill, int cell);

// The days an arrow key moves a grid's selection by: a day for Left and Right, a week for Up
// and Down; 0 for another key (a virtual key, modifiers excluded).
int DaysMovedByKey(int key);

// Makes the arrow keys alert keys of `control` (0: the window) in its alert slots from
// `first_slot` on, so that they reach the procedure instead of the control; returns the next
// free slot.
int WatchArrowKeys(int control, int first_slot);

// The label of a shown cell: its day, followed by "*" when `marked`.
std::string CellLabel(int day, bool marked);

// Shows `fill` on the calling thread's window: the heading, and every cell labelled with
// CellLabel(day, marked(cell)) and visible, or blank and hidden outside the month. Sounds the
// beep when the fill fell back from a date outside the limits.
void ShowMonth(const MonthFill& fill, const std::function<bool(int cell)>& marked);

}  // namespace carelog::app
