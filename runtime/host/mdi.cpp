#include "runtime/host/mdi.h"

#include <algorithm>
#include <cmath>

#include "runtime/host/messages.h"
#include "runtime/host/window_system.h"
#include "runtime/host/window_table.h"

namespace carelog::host {

using internal::Find;
using internal::TableMutex;
using internal::WindowData;
using Lock = std::lock_guard<std::recursive_mutex>;

namespace {

constexpr int kIconHeight = kCaptionHeight + 2 * kFrameWidth;

WindowData* ChildLocked(WindowId child) {
  WindowData* w = Find(child);
  return w && w->kind == WindowKind::kMdiChild ? w : nullptr;
}

Rect ClientAreaOf(WindowId client) {
  Lock lock(TableMutex());
  const WindowData* c = Find(client);
  if (!c) return Rect{};
  Rect r = internal::ClientAreaInParent(*c);
  return Rect{0, 0, r.Width(), r.Height()};
}

// The rectangle that makes a child's client area cover the whole MDI client.
Rect MaximizedRect(const WindowData& child, const Rect& area) {
  WindowData probe = child;
  probe.show = ShowState::kNormal;
  internal::Insets in = internal::InsetsOf(probe);
  return Rect{area.left - in.frame, area.top - in.frame - in.caption, area.right + in.frame,
              area.bottom + in.frame};
}

// Puts a child into a state and rectangle; the restore rectangle is kept from normal state.
void Place(WindowId child, ShowState state, const Rect& rect) {
  {
    Lock lock(TableMutex());
    WindowData* w = ChildLocked(child);
    if (!w) return;
    if (w->show == ShowState::kNormal && state != ShowState::kNormal) w->restore_rect = w->rect;
    w->show = state;
    if (WindowData* client = Find(w->parent)) internal::InvalidateLocked(*client);
    internal::TellBackend(*w);
  }
  MoveWindow(child, rect);
}

std::vector<WindowId> ChildrenWhere(WindowId client, bool minimized) {
  std::vector<WindowId> out;
  Lock lock(TableMutex());
  const WindowData* c = Find(client);
  if (!c) return out;
  for (WindowId id : c->children) {
    const WindowData* w = ChildLocked(id);
    if (!w || w->show == ShowState::kHidden) continue;
    if ((w->show == ShowState::kMinimized) == minimized) out.push_back(id);
  }
  return out;
}

int IconRows(WindowId client, const Rect& area) {
  size_t icons = ChildrenWhere(client, true).size();
  if (icons == 0) return 0;
  size_t per_row = std::max(1, area.Width() / kMinimizedWidth);
  return static_cast<int>((icons + per_row - 1) / per_row);
}

// Lays out `count` cells over `area`: `lines` lines across the direction, the later lines
// taking one more cell when the count does not divide evenly.
std::vector<Rect> Grid(const Rect& area, int count, TileDirection direction) {
  std::vector<Rect> cells;
  if (count <= 0) return cells;
  int lines = count <= 3 ? count : static_cast<int>(std::ceil(std::sqrt(count)));
  int base = count / lines, extra = count % lines;
  bool columns = direction == TileDirection::kVertical;
  int span = columns ? area.Width() : area.Height();
  int depth = columns ? area.Height() : area.Width();
  for (int line = 0; line < lines; ++line) {
    int in_line = base + (line >= lines - extra ? 1 : 0);
    int a0 = span * line / lines, a1 = span * (line + 1) / lines;
    for (int k = 0; k < in_line; ++k) {
      int b0 = depth * k / in_line, b1 = depth * (k + 1) / in_line;
      cells.push_back(columns ? Rect{area.left + a0, area.top + b0, area.left + a1, area.top + b1}
                              : Rect{area.left + b0, area.top + a0, area.left + b1, area.top + a1});
    }
  }
  return cells;
}

}  // namespace

namespace internal {

void FitMaximizedChild(WindowId client) {
  Rect area = ClientAreaOf(client);
  for (WindowId id : ChildrenWhere(client, false)) {
    Rect target;
    {
      Lock lock(TableMutex());
      const WindowData* w = ChildLocked(id);
      if (!w || w->show != ShowState::kMaximized) continue;
      target = MaximizedRect(*w, area);
    }
    MoveWindow(id, target);
  }
}

}  // namespace internal

WindowId MdiActiveChild(WindowId client) {
  Lock lock(TableMutex());
  const WindowData* c = Find(client);
  return c ? c->active_child : kNoWindow;
}

std::vector<WindowId> MdiChildren(WindowId client) {
  std::vector<WindowId> out;
  Lock lock(TableMutex());
  const WindowData* c = Find(client);
  if (!c) return out;
  for (WindowId id : c->children) {
    if (ChildLocked(id)) out.push_back(id);
  }
  return out;
}

bool MdiActivate(WindowId child) {
  WindowId previous, client_id;
  bool previous_maximized = false;
  {
    Lock lock(TableMutex());
    WindowData* w = ChildLocked(child);
    if (!w || w->show == ShowState::kHidden) return false;
    WindowData* client = Find(w->parent);
    if (!client) return false;
    client_id = client->id;
    previous = client->active_child;
    BringToTop(child);
    if (previous == child) return true;
    client->active_child = child;
    internal::TellBackend(*client);
    const WindowData* p = ChildLocked(previous);
    previous_maximized = p && p->show == ShowState::kMaximized;
    internal::InvalidateLocked(*client);
  }
  if (previous_maximized) {
    MdiRestore(previous);
    if (ShowStateOf(child) != ShowState::kMaximized) MdiMaximize(child);
  }
  internal::Notify(previous, msg::kMdiActivated, 0, child);
  internal::Notify(child, msg::kMdiActivated, 1, previous);
  if (ActiveWindow() == TopLevelOf(client_id)) SetFocus(child);
  return true;
}

bool MdiMaximize(WindowId child) {
  Rect target;
  {
    Lock lock(TableMutex());
    const WindowData* w = ChildLocked(child);
    if (!w) return false;
    target = MaximizedRect(*w, ClientAreaOf(w->parent));
  }
  Place(child, ShowState::kMaximized, target);
  MdiActivate(child);
  return true;
}

bool MdiRestore(WindowId child) {
  Rect target;
  {
    Lock lock(TableMutex());
    const WindowData* w = ChildLocked(child);
    if (!w) return false;
    if (w->show == ShowState::kNormal) return true;
    target = w->restore_rect;
  }
  Place(child, ShowState::kNormal, target);
  return true;
}

bool MdiMinimize(WindowId child) {
  WindowId client, next = kNoWindow;
  bool was_active;
  {
    Lock lock(TableMutex());
    const WindowData* w = ChildLocked(child);
    if (!w) return false;
    client = w->parent;
    was_active = Find(client)->active_child == child;
  }
  Place(child, ShowState::kMinimized, WindowRect(child));
  MdiArrangeIcons(client);
  if (was_active) {
    std::vector<WindowId> open = ChildrenWhere(client, false);
    if (!open.empty()) next = open.front();
  }
  if (next != kNoWindow) MdiActivate(next);
  return true;
}

bool MdiNext(WindowId client, bool previous) {
  std::vector<WindowId> children = ChildrenWhere(client, false);
  std::vector<WindowId> icons = ChildrenWhere(client, true);
  children.insert(children.end(), icons.begin(), icons.end());
  if (children.size() < 2) return false;
  WindowId target = previous ? children.back() : children[1];
  if (!previous) {
    // The active child goes to the bottom of the z-order.
    Lock lock(TableMutex());
    WindowData* c = Find(client);
    auto& list = c->children;
    list.erase(std::remove(list.begin(), list.end(), children.front()), list.end());
    list.push_back(children.front());
  }
  return MdiActivate(target);
}

void MdiTile(WindowId client, TileDirection direction) {
  Rect area = ClientAreaOf(client);
  area.bottom -= IconRows(client, area) * kIconHeight;
  std::vector<WindowId> children = ChildrenWhere(client, false);
  std::vector<Rect> cells = Grid(area, static_cast<int>(children.size()), direction);
  for (size_t i = 0; i < children.size(); ++i) Place(children[i], ShowState::kNormal, cells[i]);
}

void MdiCascade(WindowId client) {
  Rect area = ClientAreaOf(client);
  area.bottom -= IconRows(client, area) * kIconHeight;
  std::vector<WindowId> children = ChildrenWhere(client, false);
  int n = static_cast<int>(children.size());
  if (n == 0) return;
  const int step = kCaptionHeight + kFrameWidth;
  int width = std::max(area.Width() - step * (n - 1), area.Width() * 2 / 3);
  int height = std::max(area.Height() - step * (n - 1), area.Height() * 2 / 3);
  int positions = std::max(1, std::min(area.Width() - width, area.Height() - height) / step + 1);
  // Bottom of the z-order first, so the active child ends on top, at the furthest step.
  for (int k = 0; k < n; ++k) {
    int offset = (k % positions) * step;
    Place(children[n - 1 - k], ShowState::kNormal,
          Rect::FromSize(area.left + offset, area.top + offset, width, height));
  }
  MdiActivate(children.front());
}

void MdiArrangeIcons(WindowId client) {
  Rect area = ClientAreaOf(client);
  std::vector<WindowId> icons = ChildrenWhere(client, true);
  std::sort(icons.begin(), icons.end());  // creation order: stable places
  int per_row = std::max(1, area.Width() / kMinimizedWidth);
  for (size_t i = 0; i < icons.size(); ++i) {
    int col = static_cast<int>(i) % per_row, row = static_cast<int>(i) / per_row;
    Rect slot = Rect::FromSize(area.left + col * kMinimizedWidth,
                               area.bottom - (row + 1) * kIconHeight, kMinimizedWidth, kIconHeight);
    MoveWindow(icons[i], slot);
  }
}

}  // namespace carelog::host
