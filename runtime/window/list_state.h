// The list control's own state (its ControlState) and what its files share: the geometry of
// a list, the scroll-bar requests, the selection step and the list properties.
//
// Geometry of a list (pixels, the control's own coordinates):
//   +--------------------------------------+--+
//   | header (format.header_height)        |  |  group headers take the upper line
//   +--------------------------------------+ v|
//   | row 1 (row_height x format.lines)    | b|  rows start at first_row (from 0)
//   | ...                                  | a|
//   +--------------------------------------+--+  the bar shows when vscroll is on
//
// Invariants:
//   1. 0 <= selected <= ListRowCount; selected is from 1, 0 when none (an empty queue never
//      has one).
//   2. 0 <= first_row <= max(rows - visible, 0) in a queue-fed list; a page-loaded list may
//      hold more rows than fit and keeps the selected row in view the same way.
//   3. 0 <= thumb <= 100.
//   4. `queue` points at the procedure's queue or at `own_rows`, never at nothing.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "runtime/host/graphics.h"
#include "runtime/window/list_control.h"
#include "runtime/window/list_format.h"
#include "runtime/window/window_structure.h"

namespace carelog::window {

struct ListState : ControlState {
  ListState() : queue(&own_rows) {}
  const ListQueue* queue;
  ListQueue own_rows;  // rows put in by the runtime's own dialogs (list_rows.h)

  std::string format_text;
  ListFormat format;
  bool format_ready = false;     // parsed for the current font
  host::FontSpec measured_font;  // the font line_height was measured in
  int line_height = 0;

  int selected = 0;
  int first_row = 0;
  int hscroll = 0;   // pixels the scrolling columns are shifted left
  int vscroll = -1;  // property 0x7C8B: -1 not set (queue-fed lists show the bar when needed)
  int thumb = 0;
  char located = 0;  // the character of the last EVENT:Locate

  // Mouse gestures in progress.
  bool tracking_thumb = false;
  int track_offset = 0;    // from the thumb's top to the pointer
  int track_position = 0;  // where the thumb would be released, 0-100
  int resizing = -1;       // the column whose right edge is being dragged
  int resize_origin = 0, resize_width = 0, partner_width = 0;

  std::map<std::string, std::shared_ptr<host::Surface>> icons;  // by name
};

inline ListState& ListOf(const Control& c) {
  return c.State<ListState>();
}

struct ListGeometry {
  host::Rect inner;   // inside the frame
  host::Rect header;  // empty when no header
  host::Rect rows;    // the area of the rows
  host::Rect bar;     // the vertical scroll bar, empty when off
  int row_height = 1;
  int visible = 1;  // whole rows that fit
};

inline constexpr int kListBarWidth = 14;

// Parses the format for the list's font when needed and lays the list out.
ListGeometry ListLayout(const Control& list);
// Whether the list sends its scrolling to the procedure.
inline bool IsPageLoaded(const Control& c) {
  return (c.attr & list_attr::kPageLoaded) != 0;
}

// The requests of a vertical scroll bar (and of the keys that scroll like it).
enum class ScrollRequest { kLineUp, kLineDown, kPageUp, kPageDown, kTop, kBottom, kThumb };
// Carries out a request: a page-loaded list queues its event (kThumb sets the thumb to
// `position` 0-100 first and queues EVENT:ScrollDrag); a queue-fed list moves its selection
// (its view for kThumb).
void ListScroll(Control& list, ScrollRequest request, int position = 0);

// Moves the selection; `notify` queues EVENT:NewSelection when the row changed (or always when
// `always` is set, as for a right click). The USE variable takes the selected record's first
// field.
void MoveListSelection(Control& list, int row, bool notify, bool always = false);
// Scrolls so that the first row in view is `first` (clamped).
void ScrollListTo(Control& list, int first);

// The shown text of a field through a picture, without padding.
std::string FormatListField(const ListField& field, const std::string& picture);
// The field of `record` (from 1), nullptr when the record has fewer.
const ListField* FieldOf(const ListRecord& record, int field);

// The parts of the vertical scroll bar (empty when the bar is off).
struct ListBarParts {
  host::Rect up, down, track, thumb;
};
ListBarParts ListBar(const Control& list, const ListGeometry& geometry);

// Places the display columns again after a column's width changed.
void RelayoutList(ListFormat* format);

// Sets the format text (parsed on first use).
void SetListFormat(Control& list, const std::string& text);

// The list properties (list_control.h); false when `property` is not one of a list's, so that
// the common properties apply.
bool ListProperty(const Control& c, int property, int index, std::string* out);
bool SetListProperty(Control& c, int property, int index, const std::string& value);

// The list's input and drawing (the class table's hooks).
bool ListInput(Control& list, const host::Message& message);
void ListPaint(Control& list, host::DeviceContext& dc, bool focused);
bool DropInput(Control& list, const host::Message& message);
void DropPaint(Control& list, host::DeviceContext& dc, bool focused);

}  // namespace carelog::window
