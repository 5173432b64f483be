// Sheets: a row of tabs, one page per tab; only the selected tab's controls are shown. Picking
// another tab asks the procedure at once (EVENT:TabChanging) and, unless it refuses, makes the
// tab current and queues EVENT:NewSelection for the sheet.
#include <algorithm>

#include "runtime/host/messages.h"
#include "runtime/host/window_system.h"
#include "runtime/window/control_classes.h"
#include "runtime/window/window_runtime.h"

namespace carelog::window {
namespace {

int HeaderHeight(Control& c, host::DeviceContext& dc) {
  dc.SetFont(c.font);
  return dc.Metrics().height + 10;
}

// The header rectangle of each tab, left to right.
std::vector<host::Rect> Headers(Control& c, host::DeviceContext& dc) {
  std::vector<host::Rect> out;
  int x = 2, h = HeaderHeight(c, dc);
  for (Control* tab : c.children) {
    int w = dc.TextExtent(tab->text.empty() ? std::string_view(" ") : std::string_view(tab->text))
                .width +
            20;
    out.push_back(host::Rect::FromSize(x, 0, w, h));
    x += w;
  }
  return out;
}

host::Size SheetMeasure(Control& c, host::DeviceContext& dc) {
  return host::Size{200, HeaderHeight(c, dc) + 100};
}

void SheetPaint(Control& c, host::DeviceContext& dc, bool focused) {
  host::Rect r = draw::Bounds(c);
  std::vector<host::Rect> headers = Headers(c, dc);
  int h = HeaderHeight(c, dc);
  dc.FillRect(r, theme::kWindow);
  dc.SetBrush(theme::kWindow);
  dc.SetPen(host::Color{204, 204, 204});
  dc.Rectangle(host::Rect{r.left, h - 1, r.right, r.bottom});
  for (size_t i = 0; i < headers.size(); ++i) {
    bool selected = static_cast<int>(i) + 1 == c.state;
    host::Rect hr = headers[i];
    if (selected) {
      dc.FillRect(host::Rect{hr.left, hr.top, hr.right, hr.bottom}, theme::kWindow);
      dc.FrameRect(host::Rect{hr.left, hr.top, hr.right, hr.bottom}, host::Color{204, 204, 204});
      dc.FillRect(host::Rect{hr.left + 1, hr.bottom - 1, hr.right - 1, hr.bottom + 1},
                  theme::kWindow);
      dc.FillRect(host::Rect{hr.left + 1, hr.top, hr.right - 1, hr.top + 2}, theme::kAccent);
    }
    Control* tab = c.children[i];
    draw::Label(dc, *tab, hr, tab->text,
                host::text::kCenter | host::text::kVCenter | host::text::kHotkeyPrefix);
    if (selected && focused)
      dc.FocusRect(host::Rect{hr.left + 3, hr.top + 4, hr.right - 3, hr.bottom - 3});
  }
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
  sheet.window->Queue(event::kNewSelection, &sheet);
  internal::ShowSheetPages(sheet);
}

bool SheetInput(Control& c, const host::Message& m) {
  if (m.number == host::msg::kLButtonDown) {
    auto surface = host::Surface::Create(1, 1);
    host::DeviceContext dc(surface);
    std::vector<host::Rect> headers = Headers(c, dc);
    host::Point p{host::UnpackX(m.lparam), host::UnpackY(m.lparam)};
    for (size_t i = 0; i < headers.size(); ++i) {
      if (headers[i].Contains(p)) ChooseTab(c, static_cast<int>(i) + 1);
    }
    return false;
  }
  if (m.number == host::msg::kKeyDown) {
    if (m.wparam == host::key::kRight)
      ChooseTab(c, c.state + 1);
    else if (m.wparam == host::key::kLeft)
      ChooseTab(c, c.state - 1);
    else
      return false;
    return true;
  }
  return false;
}

}  // namespace

namespace internal {
void SelectTab(Control& sheet, int tab) {
  ChooseTab(sheet, tab);
}
}  // namespace internal

const ControlClass kSheetClass{"TamSheet", "sheet",       true,        true,
                               true,       &SheetMeasure, &SheetPaint, &SheetInput};

}  // namespace carelog::window
