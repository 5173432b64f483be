// Stacking, activation, keyboard focus and mouse capture.
#include <algorithm>

#include "runtime/host/backend.h"
#include "runtime/host/messages.h"
#include "runtime/host/window_internal.h"
#include "runtime/host/window_system.h"
#include "runtime/host/window_table.h"

namespace carelog::host {

using internal::EnabledLocked;
using internal::Find;
using internal::IsWithin;
using internal::RaiseLocked;
using internal::TableMutex;
using internal::TheTable;
using internal::TopLevelLocked;
using internal::VisibleLocked;
using internal::WindowData;
using Lock = std::lock_guard<std::recursive_mutex>;
using Table = internal::Table;

bool BringToTop(WindowId window) {
  Lock lock(TableMutex());
  WindowData* w = Find(window);
  if (!w) return false;
  RaiseLocked(*w);
  if (WindowData* parent = Find(w->parent)) {
    internal::InvalidateLocked(*parent);
  } else if (DisplayBackend* b = internal::Backend()) {
    b->WindowActivated(w->id);
  }
  return true;
}

WindowId SetActiveWindow(WindowId window) {
  WindowId old;
  WindowId target;
  bool move_focus;
  {
    Lock lock(TableMutex());
    Table& t = TheTable();
    target = TopLevelLocked(window);
    const WindowData* w = Find(target);
    if (!w || !VisibleLocked(w) || !EnabledLocked(w)) return kNoWindow;
    old = t.active;
    RaiseLocked(*w);
    if (DisplayBackend* b = internal::Backend()) b->WindowActivated(target);
    if (old == target) return old;
    t.active = target;
    move_focus = t.focus == kNoWindow || TopLevelLocked(t.focus) != target;
    if (const WindowData* o = Find(old)) internal::InvalidateLocked(*o);
    internal::InvalidateLocked(*w);
  }
  internal::Notify(old, msg::kActivate, 0, target);
  internal::Notify(target, msg::kActivate, 1, old);
  if (move_focus) {
    // The window gets back the focus it had when it was last active, if that can still
    // take it; otherwise the window itself takes it.
    WindowId old_focus, new_focus = target;
    {
      Lock lock(TableMutex());
      Table& t = TheTable();
      const WindowData* w = Find(target);
      const WindowData* last = w ? Find(w->last_focus) : nullptr;
      if (last && VisibleLocked(last) && EnabledLocked(last) && IsWithin(last->id, target)) {
        new_focus = last->id;
      }
      old_focus = t.focus;
      t.focus = new_focus;
    }
    internal::Notify(old_focus, msg::kKillFocus, new_focus, 0);
    internal::Notify(new_focus, msg::kSetFocus, old_focus, 0);
  }
  return old;
}

WindowId ActiveWindow() {
  Lock lock(TableMutex());
  return TheTable().active;
}

WindowId SetFocus(WindowId window) {
  WindowId top, old;
  WindowId mdi_child = kNoWindow;
  {
    Lock lock(TableMutex());
    const WindowData* w = Find(window);
    if (!w || !VisibleLocked(w) || !EnabledLocked(w)) return kNoWindow;
    top = TopLevelLocked(window);
    for (const WindowData* p = w; p; p = Find(p->parent)) {
      if (p->kind == WindowKind::kMdiChild) {
        const WindowData* client = Find(p->parent);
        if (client && client->active_child != p->id) mdi_child = p->id;
        break;
      }
      if (p->parent == kNoWindow) break;
    }
  }
  if (ActiveWindow() != top) SetActiveWindow(top);
  if (mdi_child != kNoWindow) {
    // Focus inside an inactive MDI child activates that child first.
    WindowId previous;
    {
      Lock lock(TableMutex());
      WindowData* child = Find(mdi_child);
      WindowData* client = child ? Find(child->parent) : nullptr;
      if (!client) return kNoWindow;
      previous = client->active_child;
      client->active_child = mdi_child;
      RaiseLocked(*child);
      internal::InvalidateLocked(*client);
    }
    internal::Notify(previous, msg::kMdiActivated, 0, mdi_child);
    internal::Notify(mdi_child, msg::kMdiActivated, 1, previous);
  }
  {
    Lock lock(TableMutex());
    Table& t = TheTable();
    if (!Find(window)) return kNoWindow;
    old = t.focus;
    if (old == window) return old;
    t.focus = window;
    if (WindowData* top_window = Find(top)) top_window->last_focus = window;
  }
  internal::Notify(old, msg::kKillFocus, window, 0);
  internal::Notify(window, msg::kSetFocus, old, 0);
  return old;
}

WindowId FocusWindow() {
  Lock lock(TableMutex());
  return TheTable().focus;
}

WindowId SetCapture(WindowId window) {
  WindowId old;
  {
    Lock lock(TableMutex());
    if (!Find(window)) return kNoWindow;
    old = TheTable().capture;
    TheTable().capture = window;
  }
  if (old != window) internal::Notify(old, msg::kCaptureLost, 0, 0);
  return old;
}

void ReleaseCapture() {
  WindowId old;
  {
    Lock lock(TableMutex());
    old = TheTable().capture;
    TheTable().capture = kNoWindow;
  }
  internal::Notify(old, msg::kCaptureLost, 0, 0);
}

WindowId CaptureWindow() {
  Lock lock(TableMutex());
  return TheTable().capture;
}

}  // namespace carelog::host
