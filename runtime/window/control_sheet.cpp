// Sheets: a row of tabs, one page per tab; only the selected tab's controls are shown. Picking
// another tab asks the procedure at once (EVENT:TabChanging) and, unless it refuses, makes the
// tab current and queues EVENT:NewSelection for the sheet.
//
// A row of tabs wider than the sheet scrolls: two arrow buttons at the right end of the row
// move it by one tab, and whatever selects a tab (a click, the keys, the program) scrolls the
// row so that the selected tab shows. Scrolling the row changes nothing else.
//
// Invariants:
//   1. Only whole tabs are shown (except a lone tab wider than the sheet, which is clipped).
//   2. The row never scrolls further than needed: when the sheet could show more tabs on the
//      left of the first one shown, it does.
#include <algorithm>
#include <optional>

#include "runtime/host/messages.h"
#include "runtime/host/window_system.h"
#include "runtime/window/control_classes.h"
#include "runtime/window/window_runtime.h"

namespace carelog::window {
namespace {

constexpr int kRowStart = 2;     // pixels left of the first tab
constexpr int kArrowWidth = 17;  // each scroll arrow button

struct SheetState : ControlState {
  size_t first = 0;  // the first tab shown in the row, from 0
};

// Where the row of tabs lies: the tabs shown and the arrow buttons, when the row scrolls.
struct TabRow {
  struct Shown {
    size_t tab;  // from 0
    host::Rect rect;
  };
  int height = 0;
  std::vector<Shown> shown;
  host::Rect back, forward;  // empty when every tab fits
  bool can_back = false, can_forward = false;
};

int HeaderHeight(const Control& c, host::DeviceContext& dc) {
  dc.SetFont(c.font);
  return dc.Metrics().height + 10;
}

std::vector<int> TabWidths(const Control& c, host::DeviceContext& dc) {
  std::vector<int> widths;
  for (const Control* tab : c.children) {
    dc.SetFont(tab->font);  // each header is drawn in its tab's font
    std::string_view text = tab->text.empty() ? std::string_view(" ") : tab->text;
    widths.push_back(dc.TextExtent(text).width + 20);
  }
  return widths;
}

// The first tab that lets the row end with tab `last` shown whole within `room`.
size_t FirstEndingWith(const std::vector<int>& widths, size_t last, int room) {
  size_t first = last;
  int used = widths[last];
  while (first > 0 && used + widths[first - 1] <= room) used += widths[--first];
  return first;
}

// Lays the row out from the state's first tab, first pulling it left as far as the room
// allows (invariant 2).
TabRow Layout(const Control& c, host::DeviceContext& dc) {
  TabRow row;
  row.height = HeaderHeight(c, dc);
  std::vector<int> widths = TabWidths(c, dc);
  size_t& first = c.State<SheetState>().first;
  int width = c.pixels.Width();
  int total = 0;
  for (int w : widths) total += w;
  int room = width - kRowStart;
  if (total > room && !widths.empty()) {
    room -= 2 * kArrowWidth + 2;
    int arrow_top = (row.height - kArrowWidth) / 2;
    row.back =
        host::Rect::FromSize(width - 2 * kArrowWidth - 1, arrow_top, kArrowWidth, kArrowWidth);
    row.forward = row.back.Offset(kArrowWidth, 0);
    first = std::min(first, FirstEndingWith(widths, widths.size() - 1, room));
  } else {
    first = 0;
  }
  int x = kRowStart;
  for (size_t i = first; i < widths.size(); ++i) {
    if (i > first && x + widths[i] > kRowStart + room) break;
    row.shown.push_back({i, host::Rect::FromSize(x, 0, widths[i], row.height)});
    x += widths[i];
  }
  row.can_back = first > 0;
  row.can_forward = !row.shown.empty() && row.shown.back().tab + 1 < widths.size();
  return row;
}

// Scrolls the row so that tab `tab` (from 0) shows.
void ShowTabHeader(Control& c, size_t tab) {
  auto surface = host::Surface::Create(1, 1);
  host::DeviceContext dc(surface);
  size_t& first = c.State<SheetState>().first;
  if (tab < first) first = tab;
  TabRow row = Layout(c, dc);
  while (!row.shown.empty() && row.shown.back().tab < tab) {
    ++first;
    row = Layout(c, dc);
  }
  c.Invalidate();
}

host::Size SheetMeasure(Control& c, host::DeviceContext& dc) {
  return host::Size{200, HeaderHeight(c, dc) + 100};
}

void PaintArrow(host::DeviceContext& dc, const host::Rect& box, bool back, bool enabled) {
  dc.FillRect(box, theme::kFace);
  dc.FrameRect(box, theme::kBorder);
  dc.SetPen(enabled ? theme::kText : theme::kDisabledText);
  int cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
  for (int i = 0; i < 4; ++i) {
    int x = back ? cx - 2 + i : cx + 1 - i;
    dc.MoveTo(host::Point{x, cy - i});
    dc.LineTo(host::Point{x, cy + i + 1});
  }
}

void PaintHeader(host::DeviceContext& dc, const Control& tab, const host::Rect& hr, bool selected,
                 bool focused) {
  if (selected) {
    dc.FillRect(hr, theme::kWindow);
    dc.FrameRect(hr, host::Color{204, 204, 204});
    dc.FillRect(host::Rect{hr.left + 1, hr.bottom - 1, hr.right - 1, hr.bottom + 1},
                theme::kWindow);
    dc.FillRect(host::Rect{hr.left + 1, hr.top, hr.right - 1, hr.top + 2}, theme::kAccent);
  }
  draw::Label(dc, tab, hr, tab.text,
              host::text::kCenter | host::text::kVCenter | host::text::kHotkeyPrefix);
  if (selected && focused) {
    dc.FocusRect(host::Rect{hr.left + 3, hr.top + 4, hr.right - 3, hr.bottom - 3});
  }
}

void SheetPaint(Control& c, host::DeviceContext& dc, bool focused) {
  host::Rect r = draw::Bounds(c);
  TabRow row = Layout(c, dc);
  dc.FillRect(r, theme::kWindow);
  dc.SetBrush(theme::kWindow);
  dc.SetPen(host::Color{204, 204, 204});
  dc.Rectangle(host::Rect{r.left, row.height - 1, r.right, r.bottom});
  int row_end = row.back.Empty() ? r.right : row.back.left - 2;
  dc.Save();
  dc.IntersectClip(host::Rect{r.left, r.top, row_end, row.height + 1});
  for (const TabRow::Shown& shown : row.shown) {
    bool selected = static_cast<int>(shown.tab) + 1 == c.state;
    PaintHeader(dc, *c.children[shown.tab], shown.rect, selected, focused);
  }
  dc.Restore();
  if (row.back.Empty()) return;
  PaintArrow(dc, row.back, true, row.can_back);
  PaintArrow(dc, row.forward, false, row.can_forward);
}

void ChooseTab(Control& sheet, int tab) {
  if (tab < 1 || tab > static_cast<int>(sheet.children.size()) || tab == sheet.state) return;
  if (!internal::DispatchSynchronously(*sheet.window, event::kTabChanging, &sheet, tab)) {
    return;  // the procedure refused: the current tab stays
  }
  sheet.state = tab;
  if (sheet.use) {
    UseValue v;
    v.number = tab;
    WriteUse(*sheet.use, sheet.use_type, v);
  }
  ShowTabHeader(sheet, static_cast<size_t>(tab - 1));
  sheet.window->Queue(event::kNewSelection, &sheet);
  internal::ShowSheetPages(sheet);
}

void Click(Control& c, host::Point p) {
  auto surface = host::Surface::Create(1, 1);
  host::DeviceContext dc(surface);
  TabRow row = Layout(c, dc);
  size_t& first = c.State<SheetState>().first;
  if (row.back.Contains(p) || row.forward.Contains(p)) {
    if (row.back.Contains(p) && row.can_back) --first;
    if (row.forward.Contains(p) && row.can_forward) ++first;
    c.Invalidate();
    return;
  }
  for (const TabRow::Shown& shown : row.shown) {
    if (shown.rect.Contains(p)) return ChooseTab(c, static_cast<int>(shown.tab) + 1);
  }
}

bool SheetInput(Control& c, const host::Message& m) {
  if (m.number == host::msg::kLButtonDown) {
    Click(c, host::Point{host::UnpackX(m.lparam), host::UnpackY(m.lparam)});
    return false;
  }
  if (m.number != host::msg::kKeyDown) return false;
  int count = static_cast<int>(c.children.size());
  switch (m.wparam) {
    case host::key::kRight:
      ChooseTab(c, c.state + 1);
      return true;
    case host::key::kLeft:
      ChooseTab(c, c.state - 1);
      return true;
    case host::key::kHome:
      ChooseTab(c, 1);
      return true;
    case host::key::kEnd:
      ChooseTab(c, count);
      return true;
    default:
      return false;
  }
}

}  // namespace

namespace internal {
void SelectTab(Control& sheet, int tab) {
  ChooseTab(sheet, tab);
}

void StepTab(Control& sheet, int step) {
  int count = static_cast<int>(sheet.children.size());
  if (count == 0) return;
  ChooseTab(sheet, (sheet.state - 1 + step + count) % count + 1);
}

std::vector<std::optional<host::Rect>> TabHeaders(const Control& sheet) {
  auto surface = host::Surface::Create(1, 1);
  host::DeviceContext dc(surface);
  TabRow row = Layout(sheet, dc);
  std::vector<std::optional<host::Rect>> headers(sheet.children.size());
  for (const TabRow::Shown& shown : row.shown) headers[shown.tab] = shown.rect;
  return headers;
}

std::optional<host::Rect> TabHeader(const Control& tab) {
  const Control& sheet = *tab.container;
  auto it = std::find(sheet.children.begin(), sheet.children.end(), &tab);
  if (it == sheet.children.end()) return std::nullopt;
  return TabHeaders(sheet)[static_cast<size_t>(it - sheet.children.begin())];
}

void ClickTab(Control& tab) {
  Control& sheet = *tab.container;
  auto it = std::find(sheet.children.begin(), sheet.children.end(), &tab);
  size_t index = static_cast<size_t>(it - sheet.children.begin());
  ShowTabHeader(sheet, index);
  ChooseTab(sheet, static_cast<int>(index) + 1);
}
}  // namespace internal

const ControlClass kSheetClass{"TamSheet", "sheet",       true,        true,
                               true,       &SheetMeasure, &SheetPaint, &SheetInput};

}  // namespace carelog::window
