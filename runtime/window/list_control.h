// The list control's public side: the queue a list shows, how a procedure hands it over and
// tells the list that it changed, how a row is selected, and what the list tells the procedure.
//
// Data source. A list shows a ListQueue that the procedure owns and fills: one ListRecord per
// row, each a vector of typed fields. Columns take fields in format order: each field column
// takes the next field (or the one its #n# names), a `*` column takes four more after its own
// (text colour, background, selected text colour, selected background, 0x00BBGGRR or -1 for
// the default), a `T` column one more after those (the tree level, from 1, negative when the
// node is contracted). Fields that no column takes are never shown: a browse's page queue holds the
// column values in format order and, last, the record's position.
//
//   ListQueue page;                       // the procedure's page queue
//   page.push_back({{ListField::Text("Ames, Ruth"), ListField::Number(80123),
//                    ListField::Text(position)}});
//   SetListQueue(list, &page);            // once, after OPEN
//   ...reload the page...
//   ListQueueChanged(list);               // after every change of the queue
//
// The list reads the queue only while it paints or handles input, on the thread that holds the
// global semaphore; the queue must outlive the window or be detached (SetListQueue nullptr).
//
// Modes. A list whose attribute word has kPageLoaded (every list of the application) leaves
// scrolling to its procedure: Up, Down, Page Up, Page Down, Home, End (Ctrl+Page Up is
// ScrollTop, Ctrl+Page Down ScrollBottom), the wheel and the scroll bar's line, page, top and
// bottom requests queue EVENT:ScrollUp, ScrollDown, PageUp, PageDown, ScrollTop, ScrollBottom
// at once without moving the selection; dragging the thumb raises nothing, its release sets the
// thumb position (0 to 100, property 0x7C9E) and queues EVENT:ScrollDrag. Any other list is
// queue-fed: it moves its selection itself within the whole queue.
//
// Selection. Rows count from 1; 0 is no row. A selection made by the program (SelectListRow,
// property 0x7C8F) is silent; one made by the user (click, keys, ChooseListRow) queues
// EVENT:NewSelection, or tells the owner of a drop list. Requests outside the rows are clamped,
// never refused; an empty queue has no selected row. A double click sets key code 5, a right
// click key code 2, before their EVENT:NewSelection; keys the list alerts (property 0x7D06)
// queue EVENT:AlertKey instead of their own action.
//
// Properties of a list (target{property}): 0x7C8B vertical scroll bar on/off; 0x7C8E visible
// rows (whole rows that fit under the header); 0x7C8F selected row (get, and silent set);
// 0x7C9E thumb position 0-100 (get; set moves the thumb of a page-loaded list); 0x7E00-0x7E25,
// 0x7E40 and 0x7E7F the format (list_format.h).
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace carelog::window {

struct Control;

// List attribute bits (the definition's attribute word of a list).
namespace list_attr {
inline constexpr uint32_t kPageLoaded = 0x800;
}  // namespace list_attr

// Key codes of mouse buttons, as KEYCODE() reports them after a click on a list.
namespace mouse_key {
inline constexpr uint32_t kLeft = 1;
inline constexpr uint32_t kRight = 2;
inline constexpr uint32_t kLeftDouble = 5;
}  // namespace mouse_key

// One field of a queue record: a number (numbers, standard dates and times) or a text.
struct ListField {
  bool is_text = false;
  double number = 0;
  std::string text;

  static ListField Number(double value) { return ListField{false, value, {}}; }
  static ListField Text(std::string value) { return ListField{true, 0, std::move(value)}; }
};

struct ListRecord {
  std::vector<ListField> fields;
};

using ListQueue = std::vector<ListRecord>;

// Shows `queue` in the list (borrowed; nullptr shows the list's own rows, list_rows.h). The
// selection and the first row in view are kept where they fit and clamped where they do not.
void SetListQueue(Control& list, const ListQueue* queue);
// Re-reads the queue after the procedure changed it: clamps the selection and repaints.
void ListQueueChanged(Control& list);
// The same for the list with field equate `equate` on the calling thread's top window; false
// when that window has no such list.
bool SetListQueue(int equate, const ListQueue* queue);
bool ListQueueChanged(int equate);

// Selects a row for the program: clamped, scrolled into view, no event.
void SelectListRow(Control& list, int row);
// Rows in the queue.
int ListRowCount(const Control& list);
// The selected row from 1, 0 for none.
int SelectedListRow(const Control& list);
// Selects a row as the user would: clamped; when it changed, both rows repaint and
// EVENT:NewSelection is queued (a drop list's owner is told instead).
void ChooseListRow(Control& list, int row);
// Whole rows that fit under the header.
int VisibleListRows(const Control& list);
// The thumb position of the vertical scroll bar, 0 to 100.
int ListThumb(const Control& list);
// The character whose typing queued the last EVENT:Locate: a page-loaded list leaves locating
// to its procedure and queues EVENT:Locate for each printable character typed into it.
char LocatedCharacter(const Control& list);

// A cell as displayed: the field formatted through its column's picture, without the padding
// that aligns it. Columns count from 1 in format order (field columns, groups not counted);
// "" outside the rows or columns.
std::string ListCellText(const Control& list, int row, int column);
// The header texts of the field columns, in format order.
std::vector<std::string> ListHeaders(const Control& list);

}  // namespace carelog::window
