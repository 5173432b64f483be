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
  ShowMonth(p.fill, [](int) { return false; });
  p.selected = p.fill.CellOfDay(p.fill.day);
  window::Select(p.selected);
}

int32_t SelectedDate(const Picker& p) {
  return DateOfCell(p.fill, p.selected);
}

// Moves by whole months, keeping the selected day where the new month has it.
void MoveMonths(Picker& p, int months) {
  Show(p, MonthMovedBy(p.fill, p.fill.DayOfCell(p.selected), months));
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
    {host::key::kPageUp, [](Picker& p) { MoveMonths(p, -1); }},
    {host::key::kPageDown, [](Picker& p) { MoveMonths(p, 1); }},
    {host::key::kEnter, [](Picker& p) { Finish(p, SelectedDate(p)); }},
    {host::key::kEscape, [](Picker& p) { Finish(p, 0); }},
};

void OnKey(Picker& p, int) {
  int key = static_cast<int>(window::KeyCode() & 0xFF);
  if (int days = DaysMovedByKey(key)) return MoveDays(p, days);
  for (const KeyRow& row : kKeys) {
    if (row.key == key) return row.act(p);
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
    {window::event::kAccepted, kPrevMonth, kNextYear,
     [](Picker& p, int control) { MoveMonths(p, MonthsMovedBy(control)); }},
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
  int slot = WatchArrowKeys(0, 1);
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
