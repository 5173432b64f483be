// The month grid of one form call (MonthGridRow of the form's table): the record shown as one
// month, each cell's day and note held in elements 1..42 of the table's two array fields.
//
//   Start     fills the month of the record's date field (today's for a new record, which the
//             table primes); a date outside the calendar falls back to today with the
//             heading "Out of Limits!" and the beep. A cell's tooltip is its note
//   a cell    accepted: asks for the cell's note, stores the answer in the record, focuses
//             `after_note` and relabels the cell ("9*" with a note, "9" without)
//   43..46    move the grid by a month or a year, keeping the day of the month where it can
//   arrows    on a cell move the focus a day left or right, a week up or down, into the
//             month before or after when the move leaves the month shown
//   Store     copies the month on screen into the date field; the engine calls it before it
//             writes the record, so the record keeps the month it was left on
//
// Invariant after every fill: the day field holds the day of each cell inside the month and 0
// for every other cell, so the record always describes the grid on screen.
//
// REQUIRES: the form's files are open (the fields resolve into the thread's record buffer)
// and the calls run on the form's thread while its window is open.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "app/month_grid.h"
#include "app/patterns/form_record.h"
#include "app/patterns/form_table.h"

namespace carelog::app::forms {

class FormMonthGrid {
 public:
  // `row` may be nullptr: a form without the grid, for which every call does nothing.
  FormMonthGrid(const MonthGridRow* row, appdata::FileId file);

  void Start();
  // An event on the grid's controls; true when the grid took it.
  bool Handle(int event, int control);
  void Store();

 private:
  void Show(int32_t date);
  std::string Note(int cell) const;
  bool HasNote(int cell) const;
  void AskNote(int cell);
  void Move(int months);
  bool MoveByKey(int cell);

  const MonthGridRow* row_;
  FieldSlot date_;
  std::array<FieldSlot, kGridCells + 1> days_;  // element 0 unused: cells count from 1
  std::array<FieldSlot, kGridCells + 1> notes_;
  MonthFill fill_;
};

}  // namespace carelog::app::forms
