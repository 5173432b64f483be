// Popup menu windows and their tracking loop. One Tracker runs per TrackPopup call; it owns a
// stack of levels (the outermost menu and each open submenu), each shown in a popup window
// whose procedure paints the level from the tracker's state.
#include "runtime/window/popup_menu.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <utility>

#include "runtime/host/automation.h"
#include "runtime/host/display.h"
#include "runtime/host/graphics.h"
#include "runtime/host/message_queue.h"
#include "runtime/host/messages.h"
#include "runtime/host/window_system.h"
#include "runtime/window/threads.h"
#include "runtime/window/window_structure.h"

namespace carelog::window {
namespace {

constexpr int kBorder = 2;
constexpr int kGutter = 20;       // check mark column
constexpr int kArrowSpace = 18;   // submenu arrow column
constexpr int kShortcutGap = 24;  // between the text and a right-aligned shortcut
constexpr int kSeparatorHeight = 7;
constexpr int kMinimumWidth = 80;
// Posted to the menu's thread when tracking ends while its loop may be waiting inside
// GetMessage (the menu destroyed from another thread); dropped by the loop.
constexpr uint32_t kTrackingEnded = 0x2421;

host::FontSpec MenuFont() {
  return host::FontSpec{"MS Sans Serif", 8};
}

// The text before and after the first tab.
std::pair<std::string, std::string> SplitShortcut(const std::string& text) {
  size_t tab = text.find('\t');
  if (tab == std::string::npos) return {text, std::string()};
  return {text.substr(0, tab), text.substr(tab + 1)};
}

bool Choosable(const MenuEntry& e) {
  return !e.separator && !e.greyed && e.submenu.empty();
}

struct Layout {
  std::vector<host::Rect> items;  // client coordinates
  host::Size size;
};

Layout Measure(const std::vector<MenuEntry>& entries) {
  auto surface = host::Surface::Create(1, 1);
  host::DeviceContext dc(surface);
  dc.SetFont(MenuFont());
  int line = std::max(dc.Metrics().height + 6, 18);
  int text_width = 0, shortcut_width = 0;
  for (const MenuEntry& e : entries) {
    if (e.separator) continue;
    auto [label, shortcut] = SplitShortcut(e.text);
    text_width = std::max(text_width, dc.TextExtent(host::WithoutHotkey(label)).width);
    if (!shortcut.empty()) shortcut_width = std::max(shortcut_width, dc.TextExtent(shortcut).width);
  }
  int width = 2 * kBorder + kGutter + text_width + kArrowSpace;
  if (shortcut_width > 0) width += kShortcutGap + shortcut_width;
  width = std::max(width, kMinimumWidth);
  Layout layout;
  int y = kBorder;
  for (const MenuEntry& e : entries) {
    int h = e.separator ? kSeparatorHeight : line;
    layout.items.push_back(host::Rect{kBorder, y, width - kBorder, y + h});
    y += h;
  }
  layout.size = host::Size{width, y + kBorder};
  return layout;
}

// Moves a rectangle of the given size to start at (x, y) but stay on the screen.
host::Rect OnScreen(int x, int y, host::Size size) {
  return host::Rect::FromSize(x, y, size.width, size.height).KeptWithin(host::ScreenWorkArea());
}

host::Point ScreenPointOf(host::WindowId window, int64_t lparam) {
  host::Rect top = host::WindowRect(host::TopLevelOf(window));
  host::Point origin = host::ClientOriginInTopLevel(window);
  return host::Point{top.left + origin.x + host::UnpackX(lparam),
                     top.top + origin.y + host::UnpackY(lparam)};
}

bool IsMouseMessage(uint32_t n) {
  return n >= host::msg::kMouseMove && n <= host::msg::kMouseWheel;
}
bool IsButtonDown(uint32_t n) {
  return n == host::msg::kLButtonDown || n == host::msg::kRButtonDown ||
         n == host::msg::kLButtonDouble;
}
bool IsKeyMessage(uint32_t n) {
  return n >= host::msg::kKeyDown && n <= host::msg::kChar;
}

struct Level {
  const std::vector<MenuEntry>* entries = nullptr;
  host::WindowId window = host::kNoWindow;
  host::Rect rect;  // screen
  Layout layout;
  int highlighted = -1;
};

void PaintCheck(host::DeviceContext& dc, const host::Rect& item, host::Color color) {
  int cx = item.left + 6, cy = item.top + item.Height() / 2;
  dc.SetPen(color, 2);
  dc.MoveTo(host::Point{cx, cy});
  dc.LineTo(host::Point{cx + 3, cy + 3});
  dc.LineTo(host::Point{cx + 9, cy - 4});
}

void PaintArrow(host::DeviceContext& dc, const host::Rect& item, host::Color color) {
  int x = item.right - kArrowSpace + 7, cy = item.top + item.Height() / 2;
  dc.SetPen(color, 1);
  for (int i = 0; i < 4; ++i) {
    dc.MoveTo(host::Point{x + i, cy - 3 + i});
    dc.LineTo(host::Point{x + i, cy + 4 - i});
  }
}

void PaintLevel(const Level& level, host::WindowId window) {
  std::unique_ptr<host::DeviceContext> dc = host::BeginPaint(window);
  if (!dc) return;
  host::Rect all = host::ClientRect(window);
  dc->FillRect(all, theme::kFace);
  dc->FrameRect(all, theme::kBorder);
  dc->SetFont(MenuFont());
  const std::vector<MenuEntry>& entries = *level.entries;
  for (size_t i = 0; i < entries.size(); ++i) {
    const MenuEntry& e = entries[i];
    const host::Rect& item = level.layout.items[i];
    if (e.separator) {
      int y = item.top + item.Height() / 2;
      dc->FillRect(host::Rect{item.left + 4, y, item.right - 4, y + 1}, theme::kBorder);
      continue;
    }
    if (static_cast<int>(i) == level.highlighted) dc->FillRect(item, theme::kAccentLight);
    host::Color color = e.greyed ? theme::kDisabledText : theme::kText;
    dc->SetTextColor(color);
    auto [label, shortcut] = SplitShortcut(e.text);
    host::Rect text_area{item.left + kGutter, item.top, item.right - kArrowSpace, item.bottom};
    dc->DrawText(text_area, label, host::text::kVCenter | host::text::kHotkeyPrefix);
    if (!shortcut.empty()) {
      dc->DrawText(text_area, shortcut, host::text::kVCenter | host::text::kRight);
    }
    if (e.checked) PaintCheck(*dc, item, color);
    if (!e.submenu.empty()) PaintArrow(*dc, item, color);
  }
  host::EndPaint(window, std::move(dc));
}

class Tracker;

std::mutex published_mutex;
std::vector<std::pair<const Tracker*, std::vector<OpenPopupLevel>>> published;

class Tracker {
 public:
  Tracker(host::WindowId owner, const PopupOptions& options) : owner_(owner), options_(options) {}
  ~Tracker() {
    while (!levels_.empty()) CloseInnermost();
    std::lock_guard<std::mutex> lock(published_mutex);
    published.erase(std::remove_if(published.begin(), published.end(),
                                   [this](const auto& p) { return p.first == this; }),
                    published.end());
  }
  Tracker(const Tracker&) = delete;
  Tracker& operator=(const Tracker&) = delete;

  PopupResult Run(const std::vector<MenuEntry>& entries, int x, int y) {
    if (entries.empty()) return result_;
    host::WindowId previous_focus = host::FocusWindow();
    host::WindowId previous_active = host::ActiveWindow();
    if (!OpenLevel(entries, OnScreen(x, y, Measure(entries).size))) return result_;
    if (options_.highlight_first) MoveHighlight(0, +1);
    host::UpdateWindows();
    while (!done_) {
      host::Message m;
      if (!WaitForMessage(&m)) {
        host::PostQuitMessage(static_cast<int>(m.wparam));
        break;
      }
      Handle(m);
      host::UpdateWindows();
    }
    if (options_.on_highlight) options_.on_highlight(std::string());
    while (!levels_.empty()) CloseInnermost();
    if (previous_focus != host::kNoWindow && host::IsWindow(previous_focus)) {
      host::SetFocus(previous_focus);
    } else if (previous_active != host::kNoWindow && host::IsWindow(previous_active)) {
      host::SetActiveWindow(previous_active);
    }
    for (const host::Message& d : deferred_) {
      if (d.window == host::kNoWindow) {
        host::PostThreadMessage(host::CurrentThreadId(), d.number, d.wparam, d.lparam);
      } else {
        host::PostMessage(d.window, d.number, d.wparam, d.lparam);
      }
    }
    return result_;
  }

 private:
  // Waits with the global semaphore released when the thread holds it.
  static bool WaitForMessage(host::Message* m) {
    if (HoldsSemaphore()) return internal::WaitForMessage(m);
    return host::GetMessage(m);
  }

  int LevelOf(host::WindowId window) const {
    for (size_t i = 0; i < levels_.size(); ++i) {
      if (levels_[i]->window == window) return static_cast<int>(i);
    }
    return -1;
  }

  // A level window, or a window being created for a submenu (owned by a level).
  bool IsPartOfMenu(host::WindowId window) const {
    for (host::WindowId w = window; w != host::kNoWindow; w = host::OwnerOf(w)) {
      if (LevelOf(w) >= 0) return true;
    }
    return false;
  }

  static int ItemAt(const Level& level, host::Point p) {
    for (size_t i = 0; i < level.layout.items.size(); ++i) {
      if (level.layout.items[i].Contains(p)) return static_cast<int>(i);
    }
    return -1;
  }

  bool OpenLevel(const std::vector<MenuEntry>& entries, const host::Rect& rect) {
    auto level = std::make_unique<Level>();
    level->entries = &entries;
    level->layout = Measure(entries);
    level->rect = rect;
    host::WindowSpec spec;
    host::WindowId owner = levels_.empty() ? host::TopLevelOf(owner_) : levels_.back()->window;
    spec.kind = owner != host::kNoWindow ? host::WindowKind::kPopup : host::WindowKind::kTopLevel;
    spec.owner = owner;
    spec.rect = rect;
    spec.class_name = "TamPopupMenu";
    spec.background = theme::kFace;
    spec.style = host::style::kVisible;
    Level* raw = level.get();
    spec.proc = [this, raw](const host::Message& m) { return LevelProc(raw, m); };
    // Showing the window makes it the active one, so keys come to the menu.
    level->window = host::CreateWindow(spec);
    if (level->window == host::kNoWindow) return false;
    levels_.push_back(std::move(level));
    host::SetCapture(levels_.back()->window);
    Publish();
    return true;
  }

  void CloseInnermost() {
    host::WindowId window = levels_.back()->window;
    levels_.pop_back();
    closing_level_ = true;
    host::DestroyWindow(window);
    closing_level_ = false;
    if (levels_.empty()) {
      host::ReleaseCapture();
    } else {
      host::SetCapture(levels_.back()->window);
    }
    Publish();
  }

  void CloseLevelsAbove(size_t depth) {
    while (levels_.size() > depth + 1) CloseInnermost();
  }

  void Highlight(size_t depth, int index) {
    Level& level = *levels_[depth];
    if (level.highlighted == index) return;
    level.highlighted = index;
    host::Invalidate(level.window);
    if (options_.on_highlight) {
      options_.on_highlight(index >= 0 ? (*level.entries)[static_cast<size_t>(index)].message
                                       : std::string());
    }
    Publish();
  }

  // Opens the submenu of the highlighted entry of level `depth` beside it.
  void OpenSubmenu(size_t depth, bool highlight_first) {
    CloseLevelsAbove(depth);
    Level& level = *levels_[depth];
    if (level.highlighted < 0) return;
    const MenuEntry& e = (*level.entries)[static_cast<size_t>(level.highlighted)];
    if (e.submenu.empty() || e.greyed) return;
    host::Size size = Measure(e.submenu).size;
    const host::Rect& item = level.layout.items[static_cast<size_t>(level.highlighted)];
    int x = level.rect.right - kBorder;
    if (x + size.width > host::ScreenWorkArea().right) x = level.rect.left - size.width + kBorder;
    if (!OpenLevel(e.submenu, OnScreen(x, level.rect.top + item.top - kBorder, size))) return;
    if (highlight_first) MoveHighlight(levels_.size() - 1, +1);
  }

  // Moves the highlight of a level to the next non-separator in `step` direction.
  void MoveHighlight(size_t depth, int step) {
    Level& level = *levels_[depth];
    int n = static_cast<int>(level.entries->size());
    int i = level.highlighted;
    for (int tries = 0; tries < n; ++tries) {
      i = i < 0 ? (step > 0 ? 0 : n - 1) : (i + step + n) % n;
      if (!(*level.entries)[static_cast<size_t>(i)].separator) {
        Highlight(depth, i);
        return;
      }
    }
  }

  void Finish(PopupExit exit, int command = 0, host::Point point = {}) {
    done_ = true;
    result_.exit = exit;
    result_.command = command;
    result_.point = point;
  }

  // Chooses or opens the highlighted entry of the innermost level.
  void Activate(size_t depth) {
    Level& level = *levels_[depth];
    if (level.highlighted < 0) return;
    const MenuEntry& e = (*level.entries)[static_cast<size_t>(level.highlighted)];
    if (!e.submenu.empty()) {
      OpenSubmenu(depth, true);
    } else if (Choosable(e)) {
      Finish(PopupExit::kChosen, e.command);
    }
  }

  void HandleKey(int vk) {
    size_t depth = levels_.size() - 1;
    Level& level = *levels_[depth];
    switch (vk) {
      case host::key::kUp:
        MoveHighlight(depth, -1);
        break;
      case host::key::kDown:
        MoveHighlight(depth, +1);
        break;
      case host::key::kEnter:
        Activate(depth);
        break;
      case host::key::kEscape:
        if (depth == 0) {
          Finish(PopupExit::kCancelled);
        } else {
          CloseInnermost();
        }
        break;
      case host::key::kLeft:
        if (depth > 0) {
          CloseInnermost();
        } else if (options_.report_left_right) {
          Finish(PopupExit::kLeft);
        }
        break;
      case host::key::kRight: {
        bool opens = level.highlighted >= 0 &&
                     !(*level.entries)[static_cast<size_t>(level.highlighted)].submenu.empty();
        if (opens) {
          OpenSubmenu(depth, true);
        } else if (options_.report_left_right) {
          Finish(PopupExit::kRight);
        }
        break;
      }
      default:
        break;
    }
  }

  // A typed character: the entries of the innermost level whose hotkey it is.
  void HandleChar(char c) {
    if (static_cast<unsigned char>(c) < 0x20) return;
    char wanted = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    size_t depth = levels_.size() - 1;
    Level& level = *levels_[depth];
    std::vector<int> matches;
    for (size_t i = 0; i < level.entries->size(); ++i) {
      const MenuEntry& e = (*level.entries)[i];
      if (!e.separator && !e.greyed && host::HotkeyOf(e.text) == wanted) {
        matches.push_back(static_cast<int>(i));
      }
    }
    if (matches.empty()) return;
    if (matches.size() == 1) {
      Highlight(depth, matches[0]);
      Activate(depth);
      return;
    }
    auto next = std::upper_bound(matches.begin(), matches.end(), level.highlighted);
    Highlight(depth, next == matches.end() ? matches[0] : *next);
  }

  // Mouse messages come to the innermost level, which holds the capture; the point is
  // matched against every open level, innermost first.
  void HandleMouse(const host::Message& m) {
    if (!host::IsWindow(m.window)) return;
    host::Point at = ScreenPointOf(m.window, m.lparam);
    int depth = static_cast<int>(levels_.size()) - 1;
    while (depth >= 0 && !levels_[static_cast<size_t>(depth)]->rect.Contains(at)) --depth;
    if (depth < 0) {
      if (IsButtonDown(m.number)) Finish(PopupExit::kClickOutside, 0, at);
      return;
    }
    auto d = static_cast<size_t>(depth);
    const Level& level = *levels_[d];
    int item = ItemAt(level, host::Point{at.x - level.rect.left, at.y - level.rect.top});
    if (item < 0) return;
    const MenuEntry& e = (*level.entries)[static_cast<size_t>(item)];
    if (e.separator) return;
    switch (m.number) {
      case host::msg::kMouseMove:
      case host::msg::kLButtonDown:
      case host::msg::kRButtonDown:
      case host::msg::kLButtonDouble:
        if (level.highlighted != item || levels_.size() == d + 1) {
          Highlight(d, item);
          if (e.submenu.empty()) {
            CloseLevelsAbove(d);
          } else if (levels_.size() == d + 1) {
            OpenSubmenu(d, false);
          }
        }
        break;
      case host::msg::kLButtonUp:
      case host::msg::kRButtonUp:
        Highlight(d, item);
        if (Choosable(e)) Finish(PopupExit::kChosen, e.command);
        break;
      default:
        break;
    }
  }

  void Handle(const host::Message& m) {
    int depth = LevelOf(m.window);
    if (m.number == host::msg::kPaint) {
      host::DispatchMessage(m);
    } else if (IsMouseMessage(m.number)) {
      HandleMouse(m);
    } else if (IsKeyMessage(m.number)) {
      if (m.number == host::msg::kKeyDown) HandleKey(static_cast<int>(m.wparam));
      if (m.number == host::msg::kChar) HandleChar(static_cast<char>(m.wparam));
    } else if (depth >= 0) {
      host::DispatchMessage(m);
    } else if (m.window == host::kNoWindow && m.number == kTrackingEnded) {
      return;
    } else if (m.window == host::kNoWindow || host::IsWindow(m.window)) {
      deferred_.push_back(m);
    }
  }

  // Messages the level windows' procedures see: painting, and a level losing activation to
  // a window that is not part of the menu (which cancels it). The innermost level is active.
  int64_t LevelProc(Level* level, const host::Message& m) {
    switch (m.number) {
      case host::msg::kPaint:
        PaintLevel(*level, m.window);
        return 0;
      case host::msg::kClose:
        return 0;
      case host::msg::kDestroy:
        // Destroyed with its owner rather than by the menu: tracking ends.
        if (!closing_level_ && !done_) {
          Finish(PopupExit::kCancelled);
          host::PostThreadMessage(host::CurrentThreadId(), kTrackingEnded);
        }
        return host::DefaultWindowProc(m);
      case host::msg::kActivate:
        if (m.wparam == 0 && !done_ && !IsPartOfMenu(static_cast<host::WindowId>(m.lparam))) {
          Finish(PopupExit::kCancelled);
        }
        return host::DefaultWindowProc(m);
      default:
        return host::DefaultWindowProc(m);
    }
  }

  void Publish() {
    std::vector<OpenPopupLevel> view;
    for (const auto& level : levels_) {
      OpenPopupLevel v;
      v.window = level->window;
      v.rect = level->rect;
      v.items = level->layout.items;
      v.highlighted = level->highlighted;
      for (const MenuEntry& e : *level->entries) v.texts.push_back(e.separator ? "" : e.text);
      view.push_back(std::move(v));
    }
    std::lock_guard<std::mutex> lock(published_mutex);
    for (auto& p : published) {
      if (p.first == this) {
        p.second = std::move(view);
        return;
      }
    }
    published.emplace_back(this, std::move(view));
  }

  host::WindowId owner_;
  PopupOptions options_;
  std::vector<std::unique_ptr<Level>> levels_;
  std::vector<host::Message> deferred_;
  bool done_ = false;
  bool closing_level_ = false;
  PopupResult result_;
};

}  // namespace

PopupResult TrackPopup(host::WindowId owner, const std::vector<MenuEntry>& entries, int x, int y,
                       const PopupOptions& options) {
  Tracker tracker(owner, options);
  return tracker.Run(entries, x, y);
}

int TrackPopupMenu(host::WindowId owner, const std::vector<MenuEntry>& entries, int x, int y,
                   const std::function<void(const std::string&)>& on_highlight) {
  PopupOptions options;
  options.on_highlight = on_highlight;
  PopupResult result = TrackPopup(owner, entries, x, y, options);
  return result.exit == PopupExit::kChosen ? result.command : 0;
}

host::Size PopupMenuSize(const std::vector<MenuEntry>& entries) {
  return Measure(entries).size;
}

std::vector<OpenPopupLevel> OpenPopupMenus() {
  std::lock_guard<std::mutex> lock(published_mutex);
  if (published.empty()) return {};
  return published.back().second;
}

}  // namespace carelog::window
