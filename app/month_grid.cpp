#include "app/month_grid.h"

#include <algorithm>

#include "runtime/host/messages.h"
#include "runtime/host/window_system.h"
#include "runtime/values/standard_date.h"
#include "runtime/window/properties.h"
#include "runtime/window/window_runtime.h"

namespace carelog::app {
namespace {

constexpr size_t kMonthNameWidth = 9;

struct MonthButton {
  int control;
  int months;
};
constexpr MonthButton kMonthButtons[] = {
    {kPrevMonth, -1}, {kNextMonth, 1}, {kPrevYear, -12}, {kNextYear, 12}};

struct ArrowKey {
  int key;
  int days;
};
constexpr ArrowKey kArrowKeys[] = {{host::key::kLeft, -1},
                                   {host::key::kRight, 1},
                                   {host::key::kUp, -kGridColumns},
                                   {host::key::kDown, kGridColumns}};

}  // namespace

std::string MonthName(int month) {
  if (month < 1 || month > 12) return "";
  std::string name(kMonthNames + static_cast<size_t>(month - 1) * kMonthNameWidth, kMonthNameWidth);
  name.erase(name.find_last_not_of(' ') + 1);
  return name;
}

int MonthFill::DayOfCell(int cell) const {
  if (cell < first_column || cell > first_column + days - 1) return 0;
  return cell - first_column + 1;
}

int MonthFill::CellOfDay(int wanted) const {
  return first_column + std::clamp(wanted, 1, std::max(days, 1)) - 1;
}

MonthFill FillMonth(int32_t date, int32_t today) {
  MonthFill fill;
  if (date < kLowestDate || date > kHighestDate) {
    fill.out_of_limits = true;
    date = today;
  }
  fill.date = date;
  values::CalendarDate parts;
  values::SplitDate(date, &parts);
  fill.year = parts.year;
  fill.month = parts.month;
  fill.day = parts.day;
  int32_t first = values::DayNumber(parts.year, parts.month, 1);
  int column = first % 7;
  if (column < 0) column += 7;
  fill.first_column = column + 1;
  fill.days = values::DaysInMonth(parts.month, parts.year);
  fill.heading = fill.out_of_limits ? std::string(kOutOfLimits)
                                    : MonthName(parts.month) + " " + std::to_string(parts.year);
  return fill;
}

int32_t FirstOfMonthMovedBy(int year, int month, int months) {
  int index = year * 12 + (month - 1) + months;
  return values::DayNumber(index / 12, index % 12 + 1, 1);
}

int32_t MonthMovedBy(const MonthFill& fill, int day, int months) {
  int32_t first = FirstOfMonthMovedBy(fill.year, fill.month, months);
  values::CalendarDate parts;
  if (first < kLowestDate || first > kHighestDate || !values::SplitDate(first, &parts)) {
    return first;
  }
  return first + std::clamp(day, 1, values::DaysInMonth(parts.month, parts.year)) - 1;
}

int MonthsMovedBy(int control) {
  for (const MonthButton& button : kMonthButtons) {
    if (button.control == control) return button.months;
  }
  return 0;
}

int32_t DateOfCell(const MonthFill& fill, int cell) {
  int day = fill.DayOfCell(cell);
  return day ? values::DayNumber(fill.year, fill.month, day) : 0;
}

int DaysMovedByKey(int key) {
  for (const ArrowKey& arrow : kArrowKeys) {
    if (arrow.key == key) return arrow.days;
  }
  return 0;
}

int WatchArrowKeys(int control, int first_slot) {
  int slot = first_slot;
  for (const ArrowKey& arrow : kArrowKeys) {
    window::SetProperty(control, window::prop::kAlertKey, std::to_string(arrow.key), slot++);
  }
  return slot;
}

std::string CellLabel(int day, bool marked) {
  return std::to_string(day) + (marked ? "*" : "");
}

void ShowMonth(const MonthFill& fill, const std::function<bool(int cell)>& marked) {
  if (fill.out_of_limits) host::Beep();
  window::SetProperty(kHeading, window::prop::kText, fill.heading);
  for (int cell = 1; cell <= kGridCells; ++cell) {
    int day = fill.DayOfCell(cell);
    window::SetProperty(cell, window::prop::kText, day ? CellLabel(day, marked(cell)) : "");
    window::SetProperty(cell, window::prop::kHide, day ? "" : "1");
  }
}

}  // namespace carelog::app
