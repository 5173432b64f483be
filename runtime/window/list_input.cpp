// The list's input: keys through one table per mode, the vertical scroll bar, clicks, double
// and right clicks, the wheel, column resizing, tree boxes and typing.
//
// A page-loaded list turns every scrolling request into an event for its procedure and never
// moves its selection for one; a queue-fed list moves its selection (keys) or its view (the
// bar and the wheel) itself. Mouse buttons report key codes 1 (left), 2 (right) and 5 (double
// click); an alerted key or button queues EVENT:AlertKey instead of its own action.
#include <algorithm>
#include <cctype>

#include "runtime/host/messages.h"
#include "runtime/host/window_system.h"
#include "runtime/window/control_classes.h"
#include "runtime/window/list_state.h"
#include "runtime/window/window_runtime.h"

namespace carelog::window {
namespace {

constexpr int kWheelRows = 3;
constexpr int kHorizontalStep = 16;
constexpr int kResizeGrip = 3;
constexpr int kMinColumnWidth = 4;
constexpr int kTreeStep = 12;
constexpr int kTreeBox = 9;

constexpr uint32_t kAnyModifier = 0xFFFFFFFF;

struct ScrollEvent {
  ScrollRequest request;
  int event;
};

constexpr ScrollEvent kScrollEvents[] = {
    {ScrollRequest::kLineUp, event::kScrollUp},  {ScrollRequest::kLineDown, event::kScrollDown},
    {ScrollRequest::kPageUp, event::kPageUp},    {ScrollRequest::kPageDown, event::kPageDown},
    {ScrollRequest::kTop, event::kScrollTop},    {ScrollRequest::kBottom, event::kScrollBottom},
    {ScrollRequest::kThumb, event::kScrollDrag},
};

// Keys of a page-loaded list: each queues the event of its scroll request.
struct PageKey {
  int vk;
  uint32_t modifiers;  // kCtrl, 0 (no Ctrl) or kAnyModifier
  ScrollRequest request;
};

constexpr PageKey kPageKeys[] = {
    {host::key::kUp, kAnyModifier, ScrollRequest::kLineUp},
    {host::key::kDown, kAnyModifier, ScrollRequest::kLineDown},
    {host::key::kPageUp, host::modifier::kCtrl, ScrollRequest::kTop},
    {host::key::kPageUp, 0, ScrollRequest::kPageUp},
    {host::key::kPageDown, host::modifier::kCtrl, ScrollRequest::kBottom},
    {host::key::kPageDown, 0, ScrollRequest::kPageDown},
    {host::key::kHome, kAnyModifier, ScrollRequest::kTop},
    {host::key::kEnd, kAnyModifier, ScrollRequest::kBottom},
};

// Keys of a queue-fed list: each gives the row to select from the current one.
struct RowKey {
  int vk;
  int (*row)(int current, int rows, int page);
};

constexpr RowKey kRowKeys[] = {
    {host::key::kUp, [](int cur, int, int) { return cur <= 1 ? 1 : cur - 1; }},
    {host::key::kDown, [](int cur, int, int) { return cur + 1; }},
    {host::key::kPageUp, [](int cur, int, int page) { return cur - page; }},
    {host::key::kPageDown, [](int cur, int, int page) { return cur == 0 ? page : cur + page; }},
    {host::key::kHome, [](int, int, int) { return 1; }},
    {host::key::kEnd, [](int, int rows, int) { return rows; }},
    {host::key::kSpace, [](int cur, int, int) { return cur == 0 ? 1 : cur; }},
};

bool KeyMatches(uint32_t wanted, uint32_t held) {
  if (wanted == kAnyModifier) return true;
  return (held & host::modifier::kCtrl) == wanted;
}

void ScrollHorizontally(Control& c, int step) {
  ListState& s = ListOf(c);
  ListGeometry g = ListLayout(c);
  int most = std::max(s.format.width - g.rows.Width(), 0);
  int to = std::clamp(s.hscroll + step, 0, most);
  if (to == s.hscroll) return;
  s.hscroll = to;
  c.Invalidate();
}

bool Key(Control& c, int vk, uint32_t modifiers) {
  if (vk == host::key::kLeft || vk == host::key::kRight) {
    ScrollHorizontally(c, vk == host::key::kLeft ? -kHorizontalStep : kHorizontalStep);
    return true;
  }
  if (IsPageLoaded(c)) {
    for (const PageKey& k : kPageKeys) {
      if (k.vk == vk && KeyMatches(k.modifiers, modifiers)) {
        ListScroll(c, k.request);
        return true;
      }
    }
    return false;
  }
  for (const RowKey& k : kRowKeys) {
    if (k.vk == vk) {
      int rows = ListRowCount(c);
      if (rows > 0) MoveListSelection(c, k.row(SelectedListRow(c), rows, VisibleListRows(c)), true);
      return true;
    }
  }
  return false;
}

// The next row after the selection whose first column starts with `ch`, wrapping; 0 if none.
int TypeAhead(const Control& c, char ch) {
  int n = ListRowCount(c);
  int from = SelectedListRow(c);
  auto lower = [](char x) { return std::tolower(static_cast<unsigned char>(x)); };
  for (int step = 1; step <= n; ++step) {
    int row = (from + step - 1) % n + 1;
    std::string text = ListCellText(c, row, 1);
    if (!text.empty() && lower(text[0]) == lower(ch)) return row;
  }
  return 0;
}

bool Typed(Control& c, char ch) {
  if (static_cast<unsigned char>(ch) <= ' ') return false;
  if (IsPageLoaded(c)) {
    ListOf(c).located = ch;
    c.window->Queue(event::kLocate, &c);
    return true;
  }
  if (int row = TypeAhead(c, ch)) MoveListSelection(c, row, true);
  return true;
}

// The position (0-100) the thumb has when its top lies at `top`.
int ThumbPosition(const ListBarParts& bar, int top) {
  int span = bar.track.Height() - bar.thumb.Height();
  if (span <= 0) return 0;
  return std::clamp((top - bar.track.top) * 100 / span, 0, 100);
}

void PressBar(Control& c, const ListGeometry& g, host::Point p) {
  ListBarParts bar = ListBar(c, g);
  ListState& s = ListOf(c);
  if (bar.up.Contains(p)) {
    ListScroll(c, ScrollRequest::kLineUp);
  } else if (bar.down.Contains(p)) {
    ListScroll(c, ScrollRequest::kLineDown);
  } else if (bar.thumb.Contains(p)) {
    s.tracking_thumb = true;
    s.track_offset = p.y - bar.thumb.top;
    s.track_position = ThumbPosition(bar, bar.thumb.top);
    host::SetCapture(c.handle);
  } else if (p.y < bar.thumb.top) {
    ListScroll(c, ScrollRequest::kPageUp);
  } else {
    ListScroll(c, ScrollRequest::kPageDown);
  }
}

// The row under a point of the rows area, from 1; 0 below the last row.
int RowAt(const Control& c, const ListGeometry& g, host::Point p) {
  if (!g.rows.Contains(p)) return 0;
  int row = ListOf(c).first_row + (p.y - g.rows.top) / g.row_height + 1;
  return row <= ListRowCount(c) ? row : 0;
}

// The x of a column's left edge as shown (scrolling columns move with hscroll).
int ShownLeft(const Control& c, const ListColumn& col, const ListGeometry& g) {
  int shift = (col.flags & list_flag::kFixed) ? 0 : ListOf(c).hscroll;
  return g.inner.left + col.left - shift;
}

// The resizable column whose right edge lies under x, -1 when none.
int ResizeColumnAt(const Control& c, const ListGeometry& g, int x) {
  const ListFormat& f = ListOf(c).format;
  for (size_t i = 0; i < f.columns.size(); ++i) {
    const ListColumn& col = f.columns[i];
    if (!(col.flags & list_flag::kResizable) || col.width == 0) continue;
    int edge = ShownLeft(c, col, g) + col.width;
    if (x >= edge - kResizeGrip && x <= edge + kResizeGrip) return static_cast<int>(i);
  }
  return -1;
}

void StartResize(Control& c, int column, int x) {
  ListState& s = ListOf(c);
  const ListColumn& col = s.format.columns[static_cast<size_t>(column)];
  s.resizing = column;
  s.resize_origin = x;
  s.resize_width = col.width;
  s.partner_width =
      col.resize_partner >= 0 ? s.format.columns[static_cast<size_t>(col.resize_partner)].width : 0;
  host::SetCapture(c.handle);
}

// Dragging a column's edge: the column grows and its partner gives up the same width.
void Resize(Control& c, int x) {
  ListState& s = ListOf(c);
  ListColumn& col = s.format.columns[static_cast<size_t>(s.resizing)];
  int dx = x - s.resize_origin;
  if (col.resize_partner >= 0) {
    dx = std::min(dx, s.partner_width - kMinColumnWidth);
    s.format.columns[static_cast<size_t>(col.resize_partner)].width = s.partner_width - dx;
  }
  col.width = std::max(s.resize_width + dx, kMinColumnWidth);
  RelayoutList(&s.format);
  c.Invalidate();
}

// A click on a tree column's box: expanding or contracting the node of that row.
bool TreeClick(Control& c, const ListGeometry& g, host::Point p, int row) {
  const ListState& s = ListOf(c);
  for (const ListColumn& col : s.format.columns) {
    if (!(col.flags & list_flag::kTree)) continue;
    const ListRecord& record = (*s.queue)[static_cast<size_t>(row - 1)];
    const ListField* level = FieldOf(record, col.field + col.fields_taken() - 1);
    if (!level) continue;
    int depth = std::max(static_cast<int>(level->number < 0 ? -level->number : level->number), 1);
    int box = ShownLeft(c, col, g) + col.data_indent + (depth - 1) * kTreeStep;
    if (p.x < box || p.x >= box + kTreeBox + 2) continue;
    bool expanded = level->number > 0;
    MoveListSelection(c, row, false);
    c.window->Queue(expanded ? event::kContracting : event::kExpanding, &c);
    c.window->Queue(expanded ? event::kContracted : event::kExpanded, &c);
    return true;
  }
  return false;
}

void LeftDown(Control& c, host::Point p) {
  internal::Focus(c);
  ListGeometry g = ListLayout(c);
  if (!g.bar.Empty() && g.bar.Contains(p)) {
    PressBar(c, g, p);
    return;
  }
  int column = ResizeColumnAt(c, g, p.x);
  if (column >= 0 && (g.header.Contains(p) || g.rows.Contains(p))) {
    StartResize(c, column, p.x);
    return;
  }
  int row = RowAt(c, g, p);
  if (!row) return;
  if (TreeClick(c, g, p, row)) return;
  c.window->last_key_code = mouse_key::kLeft;
  if (internal::RaiseAlert(*c.window, &c, mouse_key::kLeft)) {
    MoveListSelection(c, row, false);
    return;
  }
  MoveListSelection(c, row, true);
}

void RightDown(Control& c, host::Point p) {
  internal::Focus(c);
  ListGeometry g = ListLayout(c);
  int row = RowAt(c, g, p);
  c.window->last_key_code = mouse_key::kRight;
  if (row) MoveListSelection(c, row, false);
  if (internal::RaiseAlert(*c.window, &c, mouse_key::kRight)) return;
  // The right-button key code travels with the selection, so that the procedure can show
  // its popup menu for the row under the pointer.
  MoveListSelection(c, row ? row : SelectedListRow(c), true, true);
}

void DoubleClick(Control& c) {
  c.window->last_key_code = mouse_key::kLeftDouble;
  if (internal::RaiseAlert(*c.window, &c, mouse_key::kLeftDouble)) return;
  if (SelectedListRow(c)) c.window->Queue(event::kAccepted, &c);
}

void Move(Control& c, host::Point p) {
  ListState& s = ListOf(c);
  if (s.tracking_thumb) {
    ListBarParts bar = ListBar(c, ListLayout(c));
    int position = ThumbPosition(bar, p.y - s.track_offset);
    if (position != s.track_position) {
      s.track_position = position;
      c.Invalidate();
    }
  } else if (s.resizing >= 0) {
    Resize(c, p.x);
  }
}

void LeftUp(Control& c) {
  ListState& s = ListOf(c);
  if (s.tracking_thumb) {
    s.tracking_thumb = false;
    host::ReleaseCapture();
    ListScroll(c, ScrollRequest::kThumb, s.track_position);
  } else if (s.resizing >= 0) {
    s.resizing = -1;
    host::ReleaseCapture();
  }
}

void Wheel(Control& c, int notches) {
  if (IsPageLoaded(c)) {
    ScrollRequest r = notches > 0 ? ScrollRequest::kLineUp : ScrollRequest::kLineDown;
    for (int i = std::min(std::abs(notches), kWheelRows); i > 0; --i) ListScroll(c, r);
    return;
  }
  ScrollListTo(c, ListOf(c).first_row - notches * kWheelRows);
}

host::Point PointOf(const host::Message& m) {
  return host::Point{host::UnpackX(m.lparam), host::UnpackY(m.lparam)};
}

}  // namespace

void ListScroll(Control& c, ScrollRequest request, int position) {
  ListState& s = ListOf(c);
  if (request == ScrollRequest::kThumb) s.thumb = std::clamp(position, 0, 100);
  if (IsPageLoaded(c)) {
    for (const ScrollEvent& e : kScrollEvents) {
      if (e.request == request) c.window->Queue(e.event, &c);
    }
    if (request == ScrollRequest::kThumb) c.Invalidate();  // the thumb rests where released
    return;
  }
  int visible = VisibleListRows(c);
  int most = std::max(ListRowCount(c) - visible, 0);
  int first = s.first_row;
  switch (request) {
    case ScrollRequest::kLineUp:
      first -= 1;
      break;
    case ScrollRequest::kLineDown:
      first += 1;
      break;
    case ScrollRequest::kPageUp:
      first -= visible;
      break;
    case ScrollRequest::kPageDown:
      first += visible;
      break;
    case ScrollRequest::kTop:
      first = 0;
      break;
    case ScrollRequest::kBottom:
      first = most;
      break;
    case ScrollRequest::kThumb:
      first = most * s.thumb / 100;
      break;
  }
  ScrollListTo(c, first);
  s.thumb = most ? s.first_row * 100 / most : 0;
}

bool ListInput(Control& c, const host::Message& m) {
  switch (m.number) {
    case host::msg::kLButtonDown:
      LeftDown(c, PointOf(m));
      return true;
    case host::msg::kLButtonDouble:
      DoubleClick(c);
      return true;
    case host::msg::kRButtonDown:
      RightDown(c, PointOf(m));
      return true;
    case host::msg::kMouseMove:
      Move(c, PointOf(m));
      return true;
    case host::msg::kLButtonUp:
      LeftUp(c);
      return true;
    case host::msg::kCaptureLost:
      ListOf(c).tracking_thumb = false;
      ListOf(c).resizing = -1;
      return true;
    case host::msg::kMouseWheel:
      Wheel(c, host::WheelNotches(m.wparam));
      return true;
    case host::msg::kKeyDown:
      return Key(c, static_cast<int>(m.wparam), static_cast<uint32_t>(m.lparam) & 0x700);
    case host::msg::kChar:
      return Typed(c, static_cast<char>(m.wparam));
    default:
      return false;
  }
}

}  // namespace carelog::window
