#include "runtime/window/menu_bar.h"

#include <algorithm>
#include <cctype>
#include <functional>

#include "runtime/host/automation.h"
#include "runtime/host/message_queue.h"
#include "runtime/host/messages.h"
#include "runtime/host/window_system.h"
#include "runtime/window/frame_layout.h"
#include "runtime/window/popup_menu.h"
#include "runtime/window/status_bar.h"

namespace carelog::window {
namespace {

// Private messages to a bar window. kBarKeyMessage: wparam 0 toggles the keyboard mode, else
// a virtual key taken in that mode. kBarOpenMessage: wparam the title, lparam 1 when opened
// from the keyboard.
constexpr uint32_t kBarKeyMessage = 0x2420;
constexpr uint32_t kBarOpenMessage = 0x2421;

constexpr int kTitlePadX = 8;
constexpr host::Color kBarFace{250, 250, 250};
constexpr host::Color kHover{229, 241, 251};
constexpr host::Color kPressed{204, 228, 247};
constexpr host::Color kPressedEdge{0, 95, 184};

// Where a chosen entry's command goes.
struct Target {
  host::WindowId window = host::kNoWindow;
  int command = 0;
};

bool Shows(const Control& c) {
  return !(c.flags & control_flag::kHidden);
}

bool IsRight(const Control& c) {
  return (c.attr & menu_attr::kRight) != 0;
}

bool IsChecked(const Control& c) {
  if (!c.use) return false;
  UseValue v = ReadUse(*c.use, c.use_type);
  return v.is_text ? !v.text.empty() : v.number != 0;
}

// The titles of a bar `width` pixels wide: left-placed ones from the left edge, right-placed
// ones against the right edge. Hidden menus get an empty rectangle.
std::vector<host::Rect> TitleRects(const std::vector<MenuNode>& menus, int width, int height) {
  auto surface = host::Surface::Create(1, 1);
  host::DeviceContext dc(surface);
  dc.SetFont(BarFont());
  std::vector<host::Rect> rects(menus.size());
  int x = 2;
  std::vector<size_t> right;
  for (size_t i = 0; i < menus.size(); ++i) {
    const Control& c = *menus[i].control;
    if (!Shows(c)) continue;
    if (IsRight(c)) {
      right.push_back(i);
      continue;
    }
    int w = dc.TextExtent(host::WithoutHotkey(c.text)).width + 2 * kTitlePadX;
    rects[i] = host::Rect{x, 1, x + w, height - 1};
    x += w;
  }
  int end = width - 2;
  for (auto it = right.rbegin(); it != right.rend(); ++it) {
    const Control& c = *menus[*it].control;
    int w = dc.TextExtent(host::WithoutHotkey(c.text)).width + 2 * kTitlePadX;
    int left = std::max(x, end - w);
    rects[*it] = host::Rect{left, 1, left + w, height - 1};
    end = left;
  }
  return rects;
}

std::vector<MenuEntry> EntriesOf(const std::vector<MenuNode>& nodes, std::vector<Target>* targets) {
  std::vector<MenuEntry> out;
  for (const MenuNode& node : nodes) {
    const Control& c = *node.control;
    if (!Shows(c)) continue;
    MenuEntry e;
    e.message = c.message;
    if (IsSeparator(c)) {
      e.separator = true;
      out.push_back(std::move(e));
      continue;
    }
    e.text = c.text;
    e.greyed = !c.IsEnabled();
    e.right = IsRight(c);
    e.checked = IsChecked(c);
    if (IsMenuTitle(c)) {
      e.submenu = EntriesOf(node.children, targets);
      if (e.submenu.empty()) e.greyed = true;
    } else {
      targets->push_back(Target{c.window->handle, CommandOf(c.equate)});
      e.command = static_cast<int>(targets->size());
    }
    out.push_back(std::move(e));
  }
  return out;
}

host::Rect ScreenRectOf(host::WindowId window, const host::Rect& r) {
  host::WindowId top = host::TopLevelOf(window);
  host::Rect outer = host::WindowRect(top);
  host::Point origin = host::ClientOriginInTopLevel(window);
  return r.Offset(outer.left + origin.x, outer.top + origin.y);
}

void Redraw(Structure& holder) {
  if (holder.parts && holder.parts->menu_bar) host::Invalidate(holder.parts->menu_bar);
}

int TitleCount(Structure& holder) {
  return holder.parts ? static_cast<int>(holder.parts->shown.size()) : 0;
}

bool CanOpen(Structure& holder, int index) {
  if (index < 0 || index >= TitleCount(holder)) return false;
  const Control& c = *holder.parts->shown[static_cast<size_t>(index)].control;
  return Shows(c) && IsMenuTitle(c);
}

// The next title in `step` direction that can be opened, wrapping around; `from` when none.
int NextTitle(Structure& holder, int from, int step) {
  int n = TitleCount(holder);
  for (int k = 1; k <= n; ++k) {
    int i = ((from + step * k) % n + n) % n;
    if (CanOpen(holder, i)) return i;
  }
  return from;
}

void SetHot(Structure& holder, int index) {
  MenuBarState& bar = holder.parts->bar;
  if (bar.hot == index) return;
  bar.hot = index;
  Redraw(holder);
  if (index >= 0 && index < TitleCount(holder)) {
    internal::ShowHighlightMessage(
        holder, &holder.parts->shown[static_cast<size_t>(index)].control->message);
  } else {
    internal::ShowHighlightMessage(holder, nullptr);
  }
}

void LeaveKeyboardMode(Structure& holder) {
  holder.parts->bar.keyboard = false;
  SetHot(holder, -1);
}

// What the user did in one title's dropdown, with the choices' targets and the titles' places
// at the time it was shown.
struct Dropdown {
  PopupResult result;
  std::vector<Target> targets;
  std::vector<host::Rect> rects;
};

// Shows title `index`'s dropdown below it and tracks it until the user leaves it.
Dropdown TrackDropdown(Structure& holder, host::WindowId bar_window, int index, bool keyboard) {
  SetHot(holder, index);
  holder.parts->bar.open = index;
  Redraw(holder);
  host::UpdateWindows();
  Dropdown d;
  const MenuNode& title = holder.parts->shown[static_cast<size_t>(index)];
  std::vector<MenuEntry> entries = EntriesOf(title.children, &d.targets);
  host::Rect client = host::ClientRect(bar_window);
  d.rects = TitleRects(holder.parts->shown, client.Width(), client.Height());
  host::Rect screen = ScreenRectOf(bar_window, d.rects[static_cast<size_t>(index)]);
  PopupOptions options;
  Structure* self = &holder;
  options.on_highlight = [self](const std::string& message) {
    internal::ShowHighlightMessage(*self, &message);
  };
  options.report_left_right = true;
  options.highlight_first = keyboard;
  if (!entries.empty()) {
    d.result = TrackPopup(host::TopLevelOf(bar_window), entries, screen.left, screen.bottom,
                          options);
  }
  return d;
}

// The title other than `index` under the screen point of a press, or -1.
int OtherTitleAt(host::WindowId bar_window, const Dropdown& d, int index) {
  host::Rect bar_screen = ScreenRectOf(bar_window, host::ClientRect(bar_window));
  int next = -1;
  for (size_t i = 0; i < d.rects.size(); ++i) {
    host::Rect r = d.rects[i].Offset(bar_screen.left, bar_screen.top);
    if (r.Contains(d.result.point) && static_cast<int>(i) != index) next = static_cast<int>(i);
  }
  return next;
}

void PostChoice(const Dropdown& d) {
  int command = d.result.command;
  if (command > 0 && static_cast<size_t>(command) <= d.targets.size()) {
    const Target& t = d.targets[static_cast<size_t>(command) - 1];
    host::PostMessage(t.window, host::msg::kCommand, static_cast<uint64_t>(t.command));
  }
}

// Shows the dropdown of title `index` and follows the user from there: Left and Right move to
// the neighbouring dropdowns, a press on another title opens that one, a choice posts its
// command. The semaphore is released while the dropdown waits, so the bar's state is read again
// after it returns.
void OpenDropdown(Structure& holder, int index, bool keyboard) {
  host::WindowId bar_window = holder.parts->menu_bar;
  while (holder.parts && CanOpen(holder, index)) {
    Dropdown d = TrackDropdown(holder, bar_window, index, keyboard);
    if (!host::IsWindow(bar_window) || !holder.parts) return;
    holder.parts->bar.open = -1;
    internal::ShowHighlightMessage(holder, nullptr);
    Redraw(holder);
    int next = -1;
    switch (d.result.exit) {
      case PopupExit::kChosen:
        LeaveKeyboardMode(holder);
        PostChoice(d);
        return;
      case PopupExit::kLeft:
      case PopupExit::kRight:
        index = NextTitle(holder, index, d.result.exit == PopupExit::kLeft ? -1 : 1);
        keyboard = true;
        continue;
      case PopupExit::kClickOutside:
        next = OtherTitleAt(bar_window, d, index);
        if (next < 0) break;
        index = next;
        keyboard = false;
        continue;
      case PopupExit::kCancelled:
        // From the keyboard, Esc goes back to the titles; otherwise the menu is left.
        if (!keyboard) break;
        holder.parts->bar.keyboard = true;
        holder.parts->bar.hot = -1;  // shows the title's message again
        SetHot(holder, index);
        return;
    }
    LeaveKeyboardMode(holder);
    return;
  }
}

int TitleWithHotkey(Structure& holder, int vk) {
  for (int i = 0; i < TitleCount(holder); ++i) {
    if (CanOpen(holder, i) &&
        host::HotkeyOf(holder.parts->shown[static_cast<size_t>(i)].control->text) == vk) {
      return i;
    }
  }
  return -1;
}

void KeyboardModeKey(Structure& holder, int vk) {
  MenuBarState& bar = holder.parts->bar;
  if (vk == 0) {
    if (bar.keyboard) {
      LeaveKeyboardMode(holder);
      return;
    }
    int first = NextTitle(holder, -1, 1);
    if (!CanOpen(holder, first)) return;
    bar.keyboard = true;
    SetHot(holder, first);
    return;
  }
  switch (vk) {
    case host::key::kLeft:
      SetHot(holder, NextTitle(holder, bar.hot, -1));
      return;
    case host::key::kRight:
      SetHot(holder, NextTitle(holder, bar.hot, 1));
      return;
    case host::key::kDown:
    case host::key::kUp:
    case host::key::kEnter:
      OpenDropdown(holder, bar.hot, true);
      return;
    case host::key::kEscape:
    case host::key::kAlt:
    case host::key::kF1 + 9:  // F10
      LeaveKeyboardMode(holder);
      return;
    default: {
      int title = TitleWithHotkey(holder, vk);
      if (title >= 0) {
        OpenDropdown(holder, title, true);
      } else {
        host::Beep();
      }
    }
  }
}

void PaintBar(Structure& holder, host::DeviceContext& dc, const host::Rect& client) {
  dc.FillRect(client, kBarFace);
  dc.SetPen(host::Color{225, 225, 225});
  dc.MoveTo(host::Point{0, client.bottom - 1});
  dc.LineTo(host::Point{client.right, client.bottom - 1});
  const std::vector<MenuNode>& menus = holder.parts->shown;
  std::vector<host::Rect> rects = TitleRects(menus, client.Width(), client.Height());
  const MenuBarState& bar = holder.parts->bar;
  dc.SetFont(BarFont());
  for (size_t i = 0; i < menus.size(); ++i) {
    const Control& c = *menus[i].control;
    if (!Shows(c) || rects[i].Empty()) continue;
    int index = static_cast<int>(i);
    if (bar.open == index) {
      dc.SetBrush(kPressed);
      dc.SetPen(kPressedEdge);
      dc.Rectangle(rects[i]);
    } else if (bar.hot == index) {
      dc.FillRect(rects[i], kHover);
    }
    dc.SetTextColor(c.IsEnabled() ? theme::kText : theme::kDisabledText);
    dc.DrawText(rects[i], c.text,
                host::text::kCenter | host::text::kVCenter | host::text::kHotkeyPrefix);
  }
}

int TitleAt(Structure& holder, host::WindowId bar_window, host::Point p) {
  host::Rect client = host::ClientRect(bar_window);
  std::vector<host::Rect> rects = TitleRects(holder.parts->shown, client.Width(), client.Height());
  for (size_t i = 0; i < rects.size(); ++i) {
    if (rects[i].Contains(p) && CanOpen(holder, static_cast<int>(i))) return static_cast<int>(i);
  }
  return -1;
}

int64_t MenuBarProc(Structure* s, const host::Message& m) {
  if (!s->parts) return host::DefaultWindowProc(m);
  switch (m.number) {
    case host::msg::kPaint: {
      std::unique_ptr<host::DeviceContext> dc = host::BeginPaint(m.window);
      if (!dc) return 0;
      PaintBar(*s, *dc, host::ClientRect(m.window));
      host::EndPaint(m.window, std::move(dc));
      return 0;
    }
    case host::msg::kMouseMove:
      if (!s->parts->bar.keyboard) {
        SetHot(*s, TitleAt(*s, m.window,
                           host::Point{host::UnpackX(m.lparam), host::UnpackY(m.lparam)}));
      }
      return 0;
    case host::msg::kLButtonDown: {
      int title =
          TitleAt(*s, m.window, host::Point{host::UnpackX(m.lparam), host::UnpackY(m.lparam)});
      if (title >= 0) OpenDropdown(*s, title, false);
      return 0;
    }
    case kBarOpenMessage:
      OpenDropdown(*s, static_cast<int>(m.wparam), m.lparam != 0);
      return 0;
    case kBarKeyMessage:
      KeyboardModeKey(*s, static_cast<int>(m.wparam));
      return 0;
    default:
      return host::DefaultWindowProc(m);
  }
}

// The enabled item whose key is `code` (key code with modifier bits), nullptr when none.
const Control* ItemWithKey(const std::vector<MenuNode>& nodes, uint32_t code) {
  for (const MenuNode& node : nodes) {
    const Control& c = *node.control;
    if (!Shows(c)) continue;
    if (IsMenuTitle(c)) {
      if (const Control* found = ItemWithKey(node.children, code)) return found;
    } else if (c.key != 0 && (c.key & 0x7FF) == code && c.IsEnabled()) {
      return &c;
    }
  }
  return nullptr;
}

void RebuildShown(Structure& frame) {
  FrameParts& p = *frame.parts;
  p.shown = p.own_menu;
  Structure* child = p.merged_child;
  if (child && child->parts && child->parts->has_menu) {
    MergeMenus(&p.shown, child->parts->own_menu);
  } else if (child && (p.menubar_attr & menu_attr::kFrameOnly)) {
    p.shown.clear();  // the frame's menu is not the default menu of MDI windows
  }
  p.bar.hot = p.bar.open = -1;
  p.bar.keyboard = false;
  Redraw(frame);
}

}  // namespace

namespace internal {

host::WindowId CreateMenuBarView(Structure& s) {
  return CreateBarView(s, "TamMenuBar", kBarFace, &MenuBarProc);
}

Structure* MenuBarHolder(Structure& s) {
  Structure* holder = &s;
  if (s.kind() == StructureKind::kMdi) holder = ApplicationFrame();
  if (!holder || !holder->parts || !holder->parts->menu_bar) return nullptr;
  return holder;
}

const std::vector<MenuNode>* ShownMenus(Structure& s) {
  Structure* holder = MenuBarHolder(s);
  return holder ? &holder->parts->shown : nullptr;
}

void NoteMdiActivation(Structure& child, bool active) {
  Structure* frame = ApplicationFrame();
  if (!frame || !frame->parts || !child.parts) return;
  FrameParts& p = *frame->parts;
  if (active) {
    if (p.merged_child == &child) return;
    p.merged_child = &child;
  } else {
    if (p.merged_child != &child) return;
    p.merged_child = nullptr;
  }
  RebuildShown(*frame);
}

void ForgetMenusOf(Structure& s) {
  Structure* frame = ApplicationFrame();
  if (frame && frame != &s && frame->parts && frame->parts->merged_child == &s) {
    frame->parts->merged_child = nullptr;
    RebuildShown(*frame);
  }
}

bool MenuKey(Structure& w, const host::Message& m) {
  if (m.number != host::msg::kKeyDown && m.number != host::msg::kKeyUp) return false;
  Structure* holder = MenuBarHolder(w);
  if (!holder) return false;
  MenuBarState& bar = holder->parts->bar;
  host::WindowId bar_window = holder->parts->menu_bar;
  auto vk = static_cast<int>(m.wparam);
  uint32_t mods = static_cast<uint32_t>(m.lparam) & 0x700;
  if (m.number == host::msg::kKeyUp) {
    if (vk != host::key::kAlt || !bar.alt_down) return false;
    bar.alt_down = false;
    host::PostMessage(bar_window, kBarKeyMessage, 0);
    return true;
  }
  if (vk == host::key::kAlt) {
    bar.alt_down = !bar.keyboard;
    if (bar.keyboard) host::PostMessage(bar_window, kBarKeyMessage, 0);
    return bar.keyboard;
  }
  bar.alt_down = false;
  if (bar.keyboard) {
    host::PostMessage(bar_window, kBarKeyMessage, static_cast<uint64_t>(vk));
    return true;
  }
  if (vk == host::key::kF1 + 9 && mods == 0) {
    host::PostMessage(bar_window, kBarKeyMessage, 0);
    return true;
  }
  if (const Control* item = ItemWithKey(holder->parts->shown, static_cast<uint32_t>(vk) | mods)) {
    return ChooseMenuItem(*item);
  }
  if (mods == host::modifier::kAlt && std::isalnum(vk)) {
    int title = TitleWithHotkey(*holder, vk);
    if (title < 0) return false;
    host::PostMessage(bar_window, kBarOpenMessage, static_cast<uint64_t>(title), 1);
    return true;
  }
  return false;
}

void RedrawMenuBar(Structure& s) {
  if (Structure* holder = MenuBarHolder(s)) Redraw(*holder);
}

bool ChooseMenuItem(const Control& item) {
  if (!item.IsEnabled() || IsMenuTitle(item) || IsSeparator(item)) return false;
  return host::PostMessage(item.window->handle, host::msg::kCommand,
                           static_cast<uint64_t>(CommandOf(item.equate)));
}

}  // namespace internal
}  // namespace carelog::window
