// CALENDAR: the date picker over the month grid (month_grid.h). Controls 1..42 are the day
// cells, 43/44 previous/next month, 45/46 previous/next year, 47 the heading, 48 OK, 49
// Cancel. The selected cell is the last day cell that had the focus; it is always a visible
// day of the month shown. Events are dispatched through one table of (event, controls, handler).
#include <iterator>
#include <string>

#include "app/calendar.h"
#include "app/month_grid.h"
#include "app/procedure_catalogue.h"
#include "app/procedure_frame.h"
#include "app/procedure_globals.h"
#include "runtime/host/messages.h"
#include "runtime/host/window_system.h"
#include "runtime/values/clock.h"
#include "runtime/values/standard_date.h"
#include "runtime/window/events.h"
#include "runtime/window/properties.h"
#include "runtime/window/window_runtime.h"

namespace carelog::app {
namespace {

constexpr const char* kModule = "carelog.cpp$carlg001";
constexpr const char* kLabel = "CALENDAR$CALWIN";
constexpr int kPrevMonth = 43;
constexpr int kNextMonth = 44;
constexpr int kPrevYear = 45;
constexpr int kNextYear = 46;
constexpr int kHeading = 47;
constexpr int kOk = 48;
constexpr int kCancel = 49;

struct Picker {
  int32_t given = 0;
  MonthFill fill;
  int selected = 1;
  int32_t result = 0;
  bool done = false;
};

void Show(Picker& p, int32_t date) {
  p.fill = FillMonth(date, values::Today());
  if (p.fill.out_of_limits) host::Beep();
  window::SetProperty(kHeading, window::prop::kText, p.fill.heading);
  for (int cell = 1; cell <= kGridCells; ++cell) {
    int day = p.fill.DayOfCell(cell);
    window::SetProperty(cell, window::prop::kText, day ? std::to_string(day) : "");
    window::SetProperty(cell, window::prop::kHide, day ? "" : "1");
  }
  p.selected = p.fill.CellOfDay(p.fill.day);
  window::Select(p.selected);
}

int32_t SelectedDate(const Picker& p) {
  return values::DayNumber(p.fill.year, p.fill.month, p.fill.DayOfCell(p.selected));
}

// Moves by whole months, keeping the selected day where the new month has it.
void MoveMonths(Picker& p, int months) {
  int32_t first = FirstOfMonthMovedBy(p.fill.year, p.fill.month, months);
  values::CalendarDate parts;
  int day = p.fill.DayOfCell(p.selected);
  if (values::SplitDate(first, &parts)) {
    day = std::min(day, values::DaysInMonth(parts.month, parts.year));
    Show(p, first + day - 1);
  } else {
    Show(p, first);  // beyond the calendar's range: the fill falls back to today
  }
}

void MoveDays(Picker& p, int days) {
  Show(p, SelectedDate(p) + days);
}

void Finish(Picker& p, int32_t result) {
  p.result = result;
  p.done = true;
}

struct KeyRow {
  int key;
  void (*act)(Picker&);
};

constexpr KeyRow kKeys[] = {
    {host::key::kLeft, [](Picker& p) { MoveDays(p, -1); }},
    {host::key::kRight, [](Picker& p) { MoveDays(p, 1); }},
    {host::key::kUp, [](Picker& p) { MoveDays(p, -kGridColumns); }},
    {host::key::kDown, [](Picker& p) { MoveDays(p, kGridColumns); }},
    {host::key::kPageUp, [](Picker& p) { MoveMonths(p, -1); }},
    {host::key::kPageDown, [](Picker& p) { MoveMonths(p, 1); }},
    {host::key::kEnter, [](Picker& p) { Finish(p, SelectedDate(p)); }},
    {host::key::kEscape, [](Picker& p) { Finish(p, 0); }},
};

void OnKey(Picker& p, int) {
  for (const KeyRow& row : kKeys) {
    if (row.key == static_cast<int>(window::KeyCode() & 0xFF)) return row.act(p);
  }
}

void OnDayFocus(Picker& p, int cell) {
  if (p.fill.DayOfCell(cell)) p.selected = cell;
}

struct EventRow {
  int event;
  int first;  // controls first..last; 0..0 for window events
  int last;
  void (*handle)(Picker&, int control);
};

constexpr EventRow kEvents[] = {
    {window::event::kSelected, 1, kGridCells, &OnDayFocus},
    {window::event::kAccepted, 1, kGridCells, &OnDayFocus},
    {window::event::kAccepted, kPrevMonth, kPrevMonth, [](Picker& p, int) { MoveMonths(p, -1); }},
    {window::event::kAccepted, kNextMonth, kNextMonth, [](Picker& p, int) { MoveMonths(p, 1); }},
    {window::event::kAccepted, kPrevYear, kPrevYear, [](Picker& p, int) { MoveMonths(p, -12); }},
    {window::event::kAccepted, kNextYear, kNextYear, [](Picker& p, int) { MoveMonths(p, 12); }},
    {window::event::kAccepted, kOk, kOk, [](Picker& p, int) { Finish(p, SelectedDate(p)); }},
    {window::event::kAccepted, kCancel, kCancel, [](Picker& p, int) { Finish(p, 0); }},
    {window::event::kAlertKey, 0, kCancel, &OnKey},
    {window::event::kCloseWindow, 0, 0, [](Picker& p, int) { Finish(p, 0); }},
};

void Dispatch(Picker& p) {
  int event = window::Event();
  int control = window::Field();
  for (const EventRow& row : kEvents) {
    if (row.event == event && control >= row.first && control <= row.last) {
      return row.handle(p, control);
    }
  }
}

void WatchKeys() {
  int slot = 1;
  for (const KeyRow& row : kKeys) {
    window::SetProperty(0, window::prop::kAlertKey, std::to_string(row.key), slot++);
  }
}

int32_t RunCalendar(int32_t day) {
  window::Structure w(window::StructureKind::kWindow, kLabel, kModule, window::UseTable{});
  const CatalogueRow* row = FindProcedure("CALENDAR");
  ProcedureFrame frame(w, row && row->takes_default_font);
  if (!frame.Open()) {
    frame.Return();
    return 0;
  }
  Picker p;
  p.given = day;
  WatchKeys();
  Show(p, day);
  while (!p.done && window::Accept()) {
    if (frame.TakeWindowEvent()) continue;
    Dispatch(p);
  }
  frame.local_response = p.result ? kRespCompleted : kRespCancelled;
  frame.Return();
  return p.result;
}

}  // namespace

int32_t Calendar(int32_t day) {
  return RunCalendar(day);
}

void CALENDAR() {
  RunCalendar(values::Today());
}

}  // namespace carelog::app
