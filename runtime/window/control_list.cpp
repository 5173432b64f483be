// List boxes and drop lists: rows of text with one selected row (list_rows.h).
//
// A list box shows as many rows as fit, a scroll strip on its right when there are more, and
// takes clicks, the wheel, the arrow and paging keys and type-ahead by first letter. A drop
// list shows its selected row with an arrow; a click, Alt+Down or F4 drops its rows down as a
// popup to choose from, and the arrow keys and the wheel move the selection in place. Every
// selection the user moves queues EVENT:NewSelection; a double click on a list box's row
// queues EVENT:Accepted.
#include <algorithm>
#include <cctype>

#include "runtime/host/messages.h"
#include "runtime/host/window_system.h"
#include "runtime/window/control_classes.h"
#include "runtime/window/list_rows.h"
#include "runtime/window/popup_menu.h"
#include "runtime/window/window_runtime.h"

namespace carelog::window {
namespace {

constexpr int kPadX = 4;
constexpr int kStripWidth = 12;
constexpr int kWheelRows = 3;

int RowCount(const Control& c) {
  return static_cast<int>(c.rows.size());
}

int RowHeight(const Control& c) {
  auto surface = host::Surface::Create(1, 1);
  host::DeviceContext dc(surface);
  dc.SetFont(c.font);
  return std::max(dc.Metrics().height + 2, 1);
}

int VisibleRows(const Control& c) {
  return std::max((c.pixels.Height() - 2) / RowHeight(c), 1);
}

bool HasStrip(const Control& c) {
  return c.kind == kKindList && c.drop_rows == 0 && RowCount(c) > VisibleRows(c);
}

int MaxFirstRow(const Control& c) {
  return std::max(RowCount(c) - VisibleRows(c), 0);
}

void ScrollTo(Control& c, int first) {
  c.first_row = std::clamp(first, 0, MaxFirstRow(c));
  c.Invalidate();
}

// Moves the selection as the user asked and tells the procedure.
void UserSelect(Control& c, int row) {
  if (RowCount(c) == 0) return;
  row = std::clamp(row, 1, RowCount(c));
  if (row == c.state) return;
  SelectListRow(c, row);
  c.window->Queue(event::kNewSelection, &c);
}

bool EqualNoCase(char a, char b) {
  return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
  if (prefix.size() > text.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (!EqualNoCase(text[i], prefix[i])) return false;
  }
  return true;
}

// The next row after the selection that starts with `ch`, wrapping; 0 when none does.
int TypeAhead(const Control& c, char ch) {
  int n = RowCount(c);
  for (int step = 1; step <= n; ++step) {
    int row = (c.state + step - 1) % n + 1;
    const std::string& text = c.rows[static_cast<size_t>(row - 1)];
    if (!text.empty() && EqualNoCase(text[0], ch)) return row;
  }
  return 0;
}

// A typed character moves the selection to the next row starting with it; control
// characters and blanks are left to the caller.
bool TypeAheadKey(Control& c, uint64_t wparam) {
  auto ch = static_cast<char>(wparam);
  if (static_cast<unsigned char>(ch) <= ' ') return false;
  if (int row = TypeAhead(c, ch)) UserSelect(c, row);
  return true;
}

bool Key(Control& c, int vk) {
  int page = c.kind == kKindList && c.drop_rows == 0 ? VisibleRows(c) : 1;
  int current = c.state;
  switch (vk) {
    case host::key::kUp:
      UserSelect(c, current <= 1 ? 1 : current - 1);
      return true;
    case host::key::kDown:
      UserSelect(c, current + 1);
      return true;
    case host::key::kPageUp:
      UserSelect(c, current - page);
      return true;
    case host::key::kPageDown:
      UserSelect(c, current == 0 ? page : current + page);
      return true;
    case host::key::kHome:
      UserSelect(c, 1);
      return true;
    case host::key::kEnd:
      UserSelect(c, RowCount(c));
      return true;
    default:
      return false;
  }
}

void ClickStrip(Control& c, int y) {
  int height = std::max(c.pixels.Height(), 1);
  int target = static_cast<int>(static_cast<int64_t>(y) * RowCount(c) / height);
  ScrollTo(c, target - VisibleRows(c) / 2);
}

bool ListInput(Control& c, const host::Message& m) {
  switch (m.number) {
    case host::msg::kLButtonDown: {
      internal::Focus(c);
      int x = host::UnpackX(m.lparam), y = host::UnpackY(m.lparam);
      if (HasStrip(c) && x >= c.pixels.Width() - kStripWidth) {
        ClickStrip(c, y);
        return true;
      }
      int row = c.first_row + (y - 1) / RowHeight(c) + 1;
      if (row >= 1 && row <= RowCount(c)) UserSelect(c, row);
      return true;
    }
    case host::msg::kLButtonDouble:
      if (c.state) c.window->Queue(event::kAccepted, &c);
      return true;
    case host::msg::kMouseWheel:
      ScrollTo(c, c.first_row - static_cast<int>(m.wparam) * kWheelRows);
      return true;
    case host::msg::kKeyDown:
      return Key(c, static_cast<int>(m.wparam));
    case host::msg::kChar:
      return TypeAheadKey(c, m.wparam);
    default:
      return false;
  }
}

// Shows the rows in a popup under the drop list and takes the row chosen there.
void DropDown(Control& c) {
  if (c.rows.empty()) return;
  std::vector<MenuEntry> entries;
  for (size_t i = 0; i < c.rows.size(); ++i) {
    MenuEntry entry;
    for (char ch : c.rows[i]) {
      if (ch == '&') entry.text += '&';  // shown as itself, not as a hotkey mark
      entry.text += ch == '\t' ? ' ' : ch;
    }
    entry.command = static_cast<int>(i) + 1;
    entry.checked = entry.command == c.state;
    entries.push_back(std::move(entry));
  }
  host::Rect top = host::WindowRect(host::TopLevelOf(c.handle));
  host::Point origin = host::ClientOriginInTopLevel(c.handle);
  int chosen = TrackPopupMenu(c.handle, entries, top.left + origin.x,
                              top.top + origin.y + c.pixels.Height());
  if (chosen) UserSelect(c, chosen);
}

bool DropInput(Control& c, const host::Message& m) {
  switch (m.number) {
    case host::msg::kLButtonDown:
      internal::Focus(c);
      DropDown(c);
      return true;
    case host::msg::kMouseWheel:
      UserSelect(c, c.state - static_cast<int>(m.wparam));
      return true;
    case host::msg::kKeyDown: {
      auto vk = static_cast<int>(m.wparam);
      bool alt = (static_cast<uint32_t>(m.lparam) & host::modifier::kAlt) != 0;
      if (vk == host::key::kF1 + 3 || (alt && vk == host::key::kDown)) {
        DropDown(c);
        return true;
      }
      return Key(c, vk);
    }
    case host::msg::kChar:
      return TypeAheadKey(c, m.wparam);
    default:
      return false;
  }
}

host::Size ListMeasure(Control& c, host::DeviceContext& dc) {
  std::string widest = "00000000";
  for (const std::string& row : c.rows) {
    if (row.size() > widest.size()) widest = row;
  }
  host::Size size = draw::TextSize(dc, c, widest, kPadX + 2, 2);
  if (c.kind == kKindList && c.drop_rows == 0) size.height *= 4;
  return size;
}

void Frame(const Control& c, host::DeviceContext& dc, bool focused) {
  host::Rect r = draw::Bounds(c);
  dc.SetBrush(c.IsEnabled() ? theme::kWhite : theme::kDisabledFace);
  dc.SetPen(focused ? theme::kAccent : theme::kBorder);
  dc.Rectangle(r);
}

void Strip(const Control& c, host::DeviceContext& dc) {
  host::Rect r = draw::Bounds(c);
  host::Rect strip{r.right - kStripWidth, r.top + 1, r.right - 1, r.bottom - 1};
  dc.FillRect(strip, theme::kDisabledFace);
  int n = std::max(RowCount(c), 1);
  int span = strip.Height();
  int top = strip.top + static_cast<int>(static_cast<int64_t>(span) * c.first_row / n);
  int length = std::max(static_cast<int>(static_cast<int64_t>(span) * VisibleRows(c) / n), 6);
  dc.FillRect(
      host::Rect{strip.left + 2, top, strip.right - 2, std::min(top + length, strip.bottom)},
      theme::kBorder);
}

void ListPaint(Control& c, host::DeviceContext& dc, bool focused) {
  Frame(c, dc, focused);
  host::Rect r = draw::Bounds(c);
  bool strip = HasStrip(c);
  host::Rect inner{r.left + 1, r.top + 1, r.right - 1 - (strip ? kStripWidth - 1 : 0),
                   r.bottom - 1};
  int height = RowHeight(c);
  dc.Save();
  dc.IntersectClip(inner);
  for (int row = c.first_row + 1, y = inner.top; row <= RowCount(c) && y < inner.bottom;
       ++row, y += height) {
    host::Rect line{inner.left, y, inner.right, y + height};
    host::Rect text{line.left + kPadX, line.top, line.right - kPadX, line.bottom};
    const std::string& value = c.rows[static_cast<size_t>(row - 1)];
    if (row == c.state) {
      dc.FillRect(line, focused ? theme::kAccent : theme::kAccentLight);
      dc.SetFont(c.font);
      dc.SetTextColor(focused ? theme::kWhite : theme::kText);
      dc.SetTextBackground(theme::kAccent, false);
      dc.DrawText(text, value, host::text::kVCenter | host::text::kEndEllipsis);
    } else {
      draw::Label(dc, c, text, value, host::text::kVCenter | host::text::kEndEllipsis);
    }
  }
  dc.Restore();
  if (strip) Strip(c, dc);
}

void DropPaint(Control& c, host::DeviceContext& dc, bool focused) {
  Frame(c, dc, focused);
  host::Rect r = draw::Bounds(c);
  if (focused) {
    dc.FillRect(host::Rect{r.left + 1, r.bottom - 2, r.right - 1, r.bottom - 1}, theme::kAccent);
  }
  host::Rect text{r.left + kPadX, r.top + 1, r.right - 18, r.bottom - 1};
  dc.Save();
  dc.IntersectClip(text);
  draw::Label(dc, c, text, c.text, host::text::kVCenter | host::text::kEndEllipsis);
  dc.Restore();
  int cx = r.right - 10, cy = r.Height() / 2;
  dc.SetPen(c.IsEnabled() ? theme::kText : theme::kDisabledText);
  for (int i = 0; i < 4; ++i) {
    dc.MoveTo(host::Point{cx - 4 + i, cy - 2 + i});
    dc.LineTo(host::Point{cx + 5 - i, cy - 2 + i});
  }
}

}  // namespace

void SetListRows(Control& list, std::vector<std::string> rows, int selected) {
  list.rows = std::move(rows);
  list.state = 0;
  list.first_row = 0;
  list.text.clear();
  SelectListRow(list, selected);
}

void SelectListRow(Control& list, int row) {
  row = std::clamp(row, 0, RowCount(list));
  list.state = row;
  list.text = row ? list.rows[static_cast<size_t>(row - 1)] : std::string();
  if (row) {
    int visible = list.drop_rows == 0 ? VisibleRows(list) : 1;
    if (row - 1 < list.first_row) list.first_row = row - 1;
    if (row - 1 >= list.first_row + visible) list.first_row = row - visible;
  }
  list.first_row = std::clamp(list.first_row, 0, MaxFirstRow(list));
  list.Invalidate();
}

int FindListRow(const Control& list, const std::string& text) {
  for (size_t i = 0; i < list.rows.size(); ++i) {
    const std::string& row = list.rows[i];
    if (row.size() == text.size() && StartsWithNoCase(row, text)) return static_cast<int>(i) + 1;
  }
  return 0;
}

int FindListRowByPrefix(const Control& list, const std::string& prefix) {
  for (size_t i = 0; i < list.rows.size(); ++i) {
    if (StartsWithNoCase(list.rows[i], prefix)) return static_cast<int>(i) + 1;
  }
  return 0;
}

const ControlClass kListClass{"TamList", "list",       true,       true,
                              true,      &ListMeasure, &ListPaint, &ListInput};
const ControlClass kDropClass{"TamDrop", "drop",       true,       true,
                              true,      &ListMeasure, &DropPaint, &DropInput};

}  // namespace carelog::window
