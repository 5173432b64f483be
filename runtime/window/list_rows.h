// Rows of list and drop-list controls: plain texts that the code owning the window puts in,
// one selected row at most, shown by the list classes of control_list.cpp.
//
// Invariants (Control::rows, state, first_row):
//   1. 0 <= state <= rows.size(); state is the selected row from 1, 0 when none is selected.
//   2. 0 <= first_row < max(rows.size(), 1); the selected row is scrolled into view whenever
//      the selection moves.
//   3. Control::text is the selected row's text ("" when none), so automation and the text
//      property read what the list shows as chosen.
// A selection moved by the user queues EVENT:NewSelection for the list; a double click or
// Enter on a row that has been chosen is the default button's business, as in any dialog.
#pragma once

#include <string>
#include <vector>

#include "runtime/window/window_structure.h"

namespace carelog::window {

// Replaces the rows; selects `selected` (from 1, 0 for none) without queuing an event.
void SetListRows(Control& list, std::vector<std::string> rows, int selected = 0);
// Selects a row (clamped to the rows; 0 clears the selection) and scrolls it into view.
void SelectListRow(Control& list, int row);
// The row whose text equals `text` without regard to ASCII case, from 1; 0 when none does.
int FindListRow(const Control& list, const std::string& text);
// The first row whose text starts with `prefix` without regard to ASCII case; 0 when none.
int FindListRowByPrefix(const Control& list, const std::string& prefix);

}  // namespace carelog::window
