#include "app/patterns/form_month_grid.h"

#include <algorithm>
#include <string>

#include "runtime/values/clock.h"
#include "runtime/window/events.h"
#include "runtime/window/properties.h"
#include "runtime/window/window_runtime.h"

namespace carelog::app::forms {

FormMonthGrid::FormMonthGrid(const MonthGridRow* row, appdata::FileId file) : row_(row) {
  if (!row_) return;
  date_ = ResolveField(file, row_->date_field);
  for (int cell = 1; cell <= kGridCells; ++cell) {
    days_[cell] = ResolveField(file, row_->day_field, static_cast<uint32_t>(cell));
    notes_[cell] = ResolveField(file, row_->note_field, static_cast<uint32_t>(cell));
  }
}

void FormMonthGrid::Start() {
  if (!row_) return;
  // On the cells only: the form's entries keep their arrow keys.
  for (int cell = 1; cell <= kGridCells; ++cell) WatchArrowKeys(cell, 1);
  Show(static_cast<int32_t>(ReadNumber(date_)));
}

// A cell's note, up to a NUL: records written by other programs may leave a note zero-filled
// instead of blank.
std::string FormMonthGrid::Note(int cell) const {
  std::string note = ReadText(notes_[cell]);
  note.erase(std::min(note.find('\0'), note.size()));
  note.erase(note.find_last_not_of(' ') + 1);
  return note;
}

bool FormMonthGrid::HasNote(int cell) const {
  return !Note(cell).empty();
}

void FormMonthGrid::Show(int32_t date) {
  fill_ = FillMonth(date, values::Today());
  for (int cell = 1; cell <= kGridCells; ++cell) WriteNumber(days_[cell], fill_.DayOfCell(cell));
  ShowMonth(fill_, [this](int cell) { return HasNote(cell); });
  for (int cell = 1; cell <= kGridCells; ++cell) {
    window::SetProperty(cell, window::prop::kToolTip, fill_.DayOfCell(cell) ? Note(cell) : "");
  }
  window::Select(fill_.CellOfDay(fill_.day));
}

void FormMonthGrid::AskNote(int cell) {
  int day = fill_.DayOfCell(cell);
  if (day == 0) return;
  WriteText(notes_[cell], row_->ask_note(Note(cell)));
  window::Select(row_->after_note);
  window::SetProperty(cell, window::prop::kText, CellLabel(day, HasNote(cell)));
  window::SetProperty(cell, window::prop::kToolTip, Note(cell));
}

void FormMonthGrid::Move(int months) {
  Show(MonthMovedBy(fill_, fill_.day, months));
}

// An arrow key on a day cell moves from that cell's day.
bool FormMonthGrid::MoveByKey(int cell) {
  int days = DaysMovedByKey(static_cast<int>(window::KeyCode() & 0xFF));
  int32_t from = DateOfCell(fill_, cell);
  if (days == 0 || from == 0) return false;
  Show(from + days);
  return true;
}

bool FormMonthGrid::Handle(int event, int control) {
  if (!row_) return false;
  if (event == window::event::kAlertKey && control >= 1 && control <= kGridCells) {
    return MoveByKey(control);
  }
  if (event != window::event::kAccepted) return false;
  if (control >= 1 && control <= kGridCells) {
    AskNote(control);
    return true;
  }
  int months = MonthsMovedBy(control);
  if (months == 0) return false;
  Move(months);
  return true;
}

void FormMonthGrid::Store() {
  if (row_) WriteNumber(date_, fill_.date);
}

}  // namespace carelog::app::forms
