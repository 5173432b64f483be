// Rows of plain text for list and drop-list controls that the runtime's own windows fill (the
// common dialogs): each row is a one-field record of the list's own queue (list_control.h),
// shown through the list's format.
//
// Control::text is the selected row's text ("" when none), so automation and the text property
// read what the list shows as chosen. A double click or Enter on a row that has been chosen is
// the default button's business, as in any dialog.
#pragma once

#include <string>
#include <vector>

#include "runtime/window/list_control.h"
#include "runtime/window/window_structure.h"

namespace carelog::window {

// Replaces the rows; selects `selected` (from 1, 0 for none) without queuing an event.
void SetListRows(Control& list, std::vector<std::string> rows, int selected = 0);
// The text of a row's first field, from 1; "" outside the rows.
std::string ListRowText(const Control& list, int row);
// The row whose text equals `text` without regard to ASCII case, from 1; 0 when none does.
int FindListRow(const Control& list, const std::string& text);
// The first row whose text starts with `prefix` without regard to ASCII case; 0 when none.
int FindListRowByPrefix(const Control& list, const std::string& prefix);

}  // namespace carelog::window
