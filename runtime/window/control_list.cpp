// The list classes: TamList (list_input.cpp, list_paint.cpp) and TamDrop, the one-line drop
// list. A drop list shows its selected row with an arrow button; a click, Alt+Down or F4 drops
// its rows down as a popup to choose from, and
// the arrow keys and the wheel move the selection in place. Every selection the user moves
// queues EVENT:NewSelection (its USE variable takes the row's first field).
#include <algorithm>
#include <cctype>

#include "runtime/host/messages.h"
#include "runtime/host/window_system.h"
#include "runtime/window/control_classes.h"
#include "runtime/window/list_state.h"
#include "runtime/window/popup_menu.h"
#include "runtime/window/window_runtime.h"

namespace carelog::window {
namespace {

constexpr int kPadX = 4;
constexpr int kButtonWidth = 18;

// Shows the rows in a popup under the drop list and takes the row chosen there.
void DropDown(Control& c) {
  int rows = ListRowCount(c);
  if (rows == 0) return;
  c.window->Queue(event::kDroppingDown, &c);
  std::vector<MenuEntry> entries;
  for (int row = 1; row <= rows; ++row) {
    MenuEntry entry;
    for (char ch : ListCellText(c, row, 1)) {
      if (ch == '&') entry.text += '&';  // shown as itself, not as a hotkey mark
      entry.text += ch == '\t' ? ' ' : ch;
    }
    entry.command = row;
    entry.checked = row == SelectedListRow(c);
    entries.push_back(std::move(entry));
  }
  host::Rect top = host::WindowRect(host::TopLevelOf(c.handle));
  host::Point origin = host::ClientOriginInTopLevel(c.handle);
  c.window->Queue(event::kDroppedDown, &c);
  int chosen = TrackPopupMenu(c.handle, entries, top.left + origin.x,
                              top.top + origin.y + c.pixels.Height());
  if (chosen) ChooseListRow(c, chosen);
}

bool DropKey(Control& c, int vk, uint32_t modifiers) {
  if (vk == host::key::kF1 + 3 || ((modifiers & host::modifier::kAlt) && vk == host::key::kDown)) {
    DropDown(c);
    return true;
  }
  int row = SelectedListRow(c), rows = ListRowCount(c);
  switch (vk) {
    case host::key::kUp:
      row = row <= 1 ? 1 : row - 1;
      break;
    case host::key::kDown:
      row += 1;
      break;
    case host::key::kPageUp:
    case host::key::kHome:
      row = 1;
      break;
    case host::key::kPageDown:
    case host::key::kEnd:
      row = rows;
      break;
    default:
      return false;
  }
  if (rows) ChooseListRow(c, row);
  return true;
}

}  // namespace

bool DropInput(Control& c, const host::Message& m) {
  switch (m.number) {
    case host::msg::kLButtonDown:
      internal::Focus(c);
      DropDown(c);
      return true;
    case host::msg::kMouseWheel:
      if (ListRowCount(c)) ChooseListRow(c, SelectedListRow(c) - host::WheelNotches(m.wparam));
      return true;
    case host::msg::kKeyDown:
      return DropKey(c, static_cast<int>(m.wparam), static_cast<uint32_t>(m.lparam));
    case host::msg::kChar: {
      auto ch = static_cast<char>(m.wparam);
      if (static_cast<unsigned char>(ch) <= ' ') return false;
      int from = SelectedListRow(c), rows = ListRowCount(c);
      for (int step = 1; step <= rows; ++step) {
        int row = (from + step - 1) % rows + 1;
        std::string text = ListCellText(c, row, 1);
        if (!text.empty() && std::tolower(static_cast<unsigned char>(text[0])) ==
                                 std::tolower(static_cast<unsigned char>(ch))) {
          ChooseListRow(c, row);
          break;
        }
      }
      return true;
    }
    default:
      return false;
  }
}

void DropPaint(Control& c, host::DeviceContext& dc, bool focused) {
  host::Rect r = draw::Bounds(c);
  dc.SetBrush(c.IsEnabled() ? theme::kWhite : theme::kDisabledFace);
  dc.SetPen(focused ? theme::kAccent : theme::kBorder);
  dc.Rectangle(r);
  if (focused) {
    dc.FillRect(host::Rect{r.left + 1, r.bottom - 2, r.right - 1, r.bottom - 1}, theme::kAccent);
  }
  host::Rect text{r.left + kPadX, r.top + 1, r.right - kButtonWidth, r.bottom - 1};
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

namespace {

// Open sizes: as wide as the widest shown first cell (at least eight digits), a list four
// rows high, a drop list one.
host::Size ListMeasure(Control& c, host::DeviceContext& dc) {
  std::string widest = "00000000";
  for (int row = 1; row <= ListRowCount(c); ++row) {
    std::string text = ListCellText(c, row, 1);
    if (text.size() > widest.size()) widest = text;
  }
  host::Size size = draw::TextSize(dc, c, widest, kPadX + 2, 2);
  if (c.cls == &kListClass) size.height *= 4;
  return size;
}

}  // namespace

const ControlClass kListClass{"TamList", "list",       true,       true,
                              true,      &ListMeasure, &ListPaint, &ListInput};
const ControlClass kDropClass{"TamDrop", "drop",       true,       true,
                              true,      &ListMeasure, &DropPaint, &DropInput};

}  // namespace carelog::window
