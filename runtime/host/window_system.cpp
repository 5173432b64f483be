// The window tree: creation and destruction, geometry, visibility and stacking.
#include "runtime/host/window_system.h"

#include <algorithm>

#include "runtime/host/backend.h"
#include "runtime/host/display.h"
#include "runtime/host/mdi.h"
#include "runtime/host/message_queue.h"
#include "runtime/host/messages.h"
#include "runtime/host/window_internal.h"
#include "runtime/host/window_table.h"

namespace carelog::host {

namespace internal {

std::recursive_mutex& TableMutex() {
  static std::recursive_mutex mutex;
  return mutex;
}

Table& TheTable() {
  static Table* table = new Table();
  return *table;
}

WindowData* Find(WindowId window) {
  auto& windows = TheTable().windows;
  auto it = windows.find(window);
  if (it == windows.end() || it->second.destroying) return nullptr;
  return &it->second;
}

Insets InsetsOf(const WindowData& w) {
  Insets in;
  if (w.kind == WindowKind::kTopLevel || w.kind == WindowKind::kPopup) return in;
  if (w.kind == WindowKind::kMdiChild) {
    in.frame = kFrameWidth;
    in.caption = (w.style & style::kCaption) ? kCaptionHeight : 0;
    return in;
  }
  if (w.style & style::kSizable) {
    in.frame = kFrameWidth;
  } else if (w.style & (style::kBorder | style::kCaption)) {
    in.frame = kBorderWidth;
  }
  if (w.style & style::kCaption) in.caption = kCaptionHeight;
  return in;
}

Rect ClientAreaInParent(const WindowData& w) {
  Insets in = InsetsOf(w);
  if (w.show == ShowState::kMinimized) {
    return Rect{w.rect.left + in.frame, w.rect.bottom - in.frame, w.rect.right - in.frame,
                w.rect.bottom - in.frame};
  }
  Rect r{w.rect.left + in.frame, w.rect.top + in.frame + in.caption, w.rect.right - in.frame,
         w.rect.bottom - in.frame};
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

int DepthOf(const WindowData& w) {
  int depth = 0;
  for (const WindowData* p = &w; p->parent != kNoWindow; ++depth) {
    p = Find(p->parent);
    if (!p) break;
  }
  return depth;
}

void InvalidateLocked(const WindowData& w) {
  QueuePaint(w.thread, w.id, DepthOf(w));
  for (WindowId c : w.children) {
    if (const WindowData* child = Find(c)) InvalidateLocked(*child);
  }
}

void Notify(WindowId window, uint32_t number, uint64_t wparam, int64_t lparam) {
  if (window == kNoWindow) return;
  ThreadId owner = OwnerThreadOf(window);
  if (owner == kNoThread) return;
  if (owner == CurrentThreadId()) {
    CallWindowProc(Message{window, number, wparam, lparam});
  } else {
    PostMessage(window, number, wparam, lparam);
  }
}

ThreadId OwnerThreadOf(WindowId window) {
  std::lock_guard<std::recursive_mutex> lock(TableMutex());
  auto& windows = TheTable().windows;
  auto it = windows.find(window);
  return it == windows.end() ? kNoThread : it->second.thread;
}

int64_t CallWindowProc(const Message& message) {
  std::shared_ptr<WindowProc> proc;
  {
    std::lock_guard<std::recursive_mutex> lock(TableMutex());
    auto& windows = TheTable().windows;
    auto it = windows.find(message.window);
    if (it == windows.end()) return 0;
    proc = it->second.proc;
  }
  if (message.number == kDestroyRequest) return DestroyWindow(message.window) ? 1 : 0;
  if (proc && *proc) return (*proc)(message);
  return DefaultWindowProc(message);
}

void DestroyWindowsOf(ThreadId thread) {
  std::vector<WindowId> roots;
  {
    std::lock_guard<std::recursive_mutex> lock(TableMutex());
    for (auto& [id, w] : TheTable().windows) {
      if (w.thread != thread) continue;
      w.proc.reset();
      const WindowData* parent = Find(w.parent);
      if (!parent || parent->thread != thread) roots.push_back(id);
    }
  }
  for (WindowId id : roots) DestroyWindow(id);
}

}  // namespace internal

using internal::Find;
using internal::Table;
using internal::TableMutex;
using internal::TheTable;
using internal::WindowData;
using Lock = std::lock_guard<std::recursive_mutex>;
using internal::CollectForDestroy;
using internal::EnabledLocked;
using internal::IsTopLevelKind;
using internal::IsWithin;
using internal::NextActiveLocked;
using internal::RaiseLocked;
using internal::SiblingList;
using internal::TellBackend;
using internal::TopLevelLocked;
using internal::VisibleLocked;

namespace internal {

bool IsTopLevelKind(WindowKind kind) {
  return kind == WindowKind::kTopLevel || kind == WindowKind::kPopup;
}

std::vector<WindowId>& SiblingList(const WindowData& w) {
  if (IsTopLevelKind(w.kind)) return TheTable().top_levels;
  return Find(w.parent)->children;
}

bool VisibleLocked(const WindowData* w) {
  for (; w; w = w->parent == kNoWindow ? nullptr : Find(w->parent)) {
    if (w->show == ShowState::kHidden) return false;
  }
  return true;
}

bool EnabledLocked(const WindowData* w) {
  for (; w; w = w->parent == kNoWindow ? nullptr : Find(w->parent)) {
    if (w->style & style::kDisabled) return false;
  }
  return true;
}

WindowId TopLevelLocked(WindowId id) {
  const WindowData* w = Find(id);
  while (w && !IsTopLevelKind(w->kind)) w = Find(w->parent);
  return w ? w->id : kNoWindow;
}

bool IsWithin(WindowId window, WindowId ancestor) {
  for (const WindowData* w = Find(window); w; w = Find(w->parent)) {
    if (w->id == ancestor) return true;
    if (w->parent == kNoWindow) break;
  }
  return false;
}

// A frame whose active MDI child is maximized shows that child's title after its own.
std::string DisplayedTitleLocked(const WindowData& w) {
  for (WindowId c : w.children) {
    const WindowData* client = Find(c);
    if (!client || client->kind != WindowKind::kMdiClient) continue;
    const WindowData* child = Find(client->active_child);
    if (child && child->show == ShowState::kMaximized && !child->title.empty()) {
      return w.title + " - [" + child->title + "]";
    }
  }
  return w.title;
}

void TellBackend(const WindowData& w) {
  const WindowData* top = &w;
  while (top && !IsTopLevelKind(top->kind)) top = Find(top->parent);
  if (!top) return;
  if (DisplayBackend* b = internal::Backend()) {
    b->WindowChanged(top->id, top->rect, DisplayedTitleLocked(*top),
                     top->show != ShowState::kHidden);
  }
}

// Raises `w` among its siblings; a top-level takes its owned popups along above it.
void RaiseLocked(const WindowData& w) {
  std::vector<WindowId>& list = SiblingList(w);
  list.erase(std::remove(list.begin(), list.end(), w.id), list.end());
  list.insert(list.begin(), w.id);
  if (!IsTopLevelKind(w.kind)) return;
  std::vector<WindowId> owned;
  for (WindowId id : list) {
    const WindowData* o = Find(id);
    if (o && o->owner == w.id) owned.push_back(id);
  }
  for (auto it = owned.rbegin(); it != owned.rend(); ++it) RaiseLocked(*Find(*it));
}

// The window to activate after `leaving` stops being active: its owner when it can take it,
// else the topmost other visible, enabled top-level.
WindowId NextActiveLocked(WindowId leaving) {
  const WindowData* w = Find(leaving);
  if (w && w->owner != kNoWindow) {
    const WindowData* owner = Find(w->owner);
    if (owner && VisibleLocked(owner) && EnabledLocked(owner)) return owner->id;
  }
  for (WindowId id : TheTable().top_levels) {
    const WindowData* t = Find(id);
    if (id != leaving && t && VisibleLocked(t) && EnabledLocked(t)) return id;
  }
  return kNoWindow;
}

// Windows to destroy for `root`, deepest first: owned popups, children, then the window.
void CollectForDestroy(WindowId root, std::vector<WindowId>* out) {
  WindowData* w = Find(root);
  if (!w || w->destroy_started) return;
  w->destroy_started = true;
  for (WindowId id : TheTable().top_levels) {
    const WindowData* t = Find(id);
    if (t && t->owner == root) CollectForDestroy(id, out);
  }
  for (WindowId c : w->children) CollectForDestroy(c, out);
  out->push_back(root);
}

}  // namespace internal

WindowId CreateWindow(const WindowSpec& spec) {
  WindowId id;
  ThreadId thread = CurrentThreadId();
  {
    Lock lock(TableMutex());
    Table& t = TheTable();
    bool needs_parent = !IsTopLevelKind(spec.kind);
    const WindowData* parent = needs_parent ? Find(spec.parent) : nullptr;
    if (needs_parent && !parent) return kNoWindow;
    if (spec.kind == WindowKind::kMdiChild && parent->kind != WindowKind::kMdiClient) {
      return kNoWindow;
    }
    if (spec.kind == WindowKind::kPopup && !Find(spec.owner)) return kNoWindow;
    id = t.next_id++;
    WindowData& w = t.windows[id];
    w.id = id;
    w.kind = spec.kind;
    w.parent = needs_parent ? spec.parent : kNoWindow;
    w.owner = spec.kind == WindowKind::kPopup ? spec.owner : kNoWindow;
    w.thread = thread;
    w.rect = spec.rect;
    w.restore_rect = spec.rect;
    w.title = spec.title;
    w.style = spec.style & ~style::kVisible;
    w.control_id = spec.control_id;
    w.class_name = spec.class_name;
    w.background = spec.background;
    w.proc = std::make_shared<WindowProc>(spec.proc);
    if (IsTopLevelKind(spec.kind)) {
      w.surface =
          Surface::Create(spec.rect.Width(), spec.rect.Height(), spec.background, DisplayScale());
      t.top_levels.push_back(id);  // created at the bottom, raised when shown
      if (DisplayBackend* b = internal::Backend()) b->WindowCreated(id, w.rect, w.title, false);
    } else {
      Find(spec.parent)->children.push_back(id);
    }
    internal::CountWindow(thread, 1);
  }
  internal::CallWindowProc(Message{id, msg::kCreate, 0, 0});
  if (spec.style & style::kVisible) ShowWindow(id, ShowState::kNormal);
  return id;
}

namespace {

// What is left to do once a window has left the table: windows to activate, focus or enable.
struct AfterDestroy {
  WindowId reactivate = kNoWindow;
  WindowId refocus = kNoWindow;
  WindowId owner_to_enable = kNoWindow;
};

// The window and everything it owns, in destroying order; false when it is gone already or on
// its way out (its procedure destroying itself again).
bool CollectDoomed(WindowId window, std::vector<WindowId>* doomed) {
  Lock lock(TableMutex());
  const WindowData* w = Find(window);
  if (!w || w->destroy_started) return false;
  CollectForDestroy(window, doomed);
  return true;
}

// An MDI child or popup of another thread is destroyed by its owner; true when the owner took
// it (or it is gone), false when it falls to this thread.
bool HandedToOwner(WindowId id) {
  ThreadId id_owner = internal::OwnerThreadOf(id);
  if (id_owner == CurrentThreadId() || id_owner == kNoThread) return false;
  {
    Lock lock(TableMutex());
    if (WindowData* w = Find(id)) w->destroy_started = false;
  }
  return SendMessage(id, internal::kDestroyRequest) != 0 || !IsWindow(id);
}

// A destroyed active MDI child passes the activation to the next shown child of its client.
WindowId NextMdiChildLocked(const WindowData& w, WindowId id) {
  WindowData* client = Find(w.parent);
  if (!client || client->active_child != id) return kNoWindow;
  client->active_child = kNoWindow;
  for (WindowId c : client->children) {
    const WindowData* other = Find(c);
    if (c != id && other && other->show != ShowState::kHidden) {
      client->active_child = c;
      return c;
    }
  }
  return kNoWindow;
}

// Takes the window out of the table, its parent's list and the input state.
void UnlinkLocked(WindowId id, WindowData& w, AfterDestroy* after) {
  Table& t = TheTable();
  if (w.disabled_by_modal) after->owner_to_enable = w.owner;
  bool was_active = t.active == id;
  if (was_active) after->reactivate = NextActiveLocked(id);
  if (t.focus == id) t.focus = kNoWindow;
  if (t.capture == id) t.capture = kNoWindow;
  if (t.caret.window == id) t.caret = CaretState{};
  if (w.kind == WindowKind::kMdiChild) after->refocus = NextMdiChildLocked(w, id);
  w.destroying = true;
  std::vector<WindowId>& siblings = SiblingList(w);
  siblings.erase(std::remove(siblings.begin(), siblings.end(), id), siblings.end());
  if (w.kind == WindowKind::kMdiChild) {
    if (WindowData* client = Find(w.parent)) TellBackend(*client);  // the frame's title
  }
  if (IsTopLevelKind(w.kind)) {
    if (DisplayBackend* b = internal::Backend()) b->WindowDestroyed(id);
  } else if (WindowData* parent = Find(w.parent)) {
    internal::InvalidateLocked(*parent);
  }
  if (was_active) t.active = kNoWindow;
  internal::ForgetWindow(w.thread, id);
  internal::CountWindow(w.thread, -1);
  t.windows.erase(id);
}

void Restore(AfterDestroy after) {
  if (after.owner_to_enable != kNoWindow) {
    EnableWindow(after.owner_to_enable, true);
    if (after.reactivate == kNoWindow) after.reactivate = after.owner_to_enable;
  }
  if (after.refocus != kNoWindow) {
    internal::Notify(after.refocus, msg::kMdiActivated, 1, 0);
    SetFocus(after.refocus);
  }
  if (after.reactivate != kNoWindow) SetActiveWindow(after.reactivate);
}

void DestroyOne(WindowId id) {
  if (HandedToOwner(id)) return;
  // The procedure sees msg::kDestroy while the window still exists.
  internal::CallWindowProc(Message{id, msg::kDestroy, 0, 0});
  AfterDestroy after;
  {
    Lock lock(TableMutex());
    WindowData* w = Find(id);
    if (!w) return;
    UnlinkLocked(id, *w, &after);
  }
  Restore(after);
}

}  // namespace

bool DestroyWindow(WindowId window) {
  ThreadId owner = internal::OwnerThreadOf(window);
  if (owner == kNoThread) return false;
  if (owner != CurrentThreadId()) {
    if (SendMessage(window, internal::kDestroyRequest) != 0) return true;
    // The owner ended before it could answer; what is left goes here.
  }
  std::vector<WindowId> doomed;
  if (!CollectDoomed(window, &doomed)) return false;
  for (WindowId id : doomed) DestroyOne(id);
  return true;
}

bool IsWindow(WindowId window) {
  Lock lock(TableMutex());
  return Find(window) != nullptr;
}

bool SetWindowProc(WindowId window, WindowProc proc) {
  Lock lock(TableMutex());
  WindowData* w = Find(window);
  if (!w) return false;
  w->proc = std::make_shared<WindowProc>(std::move(proc));
  return true;
}

#define HOST_FIELD_GETTER(type, name, field, fallback) \
  type name(WindowId window) {                         \
    Lock lock(TableMutex());                           \
    const WindowData* w = Find(window);                \
    return w ? w->field : fallback;                    \
  }
HOST_FIELD_GETTER(WindowKind, KindOf, kind, WindowKind::kTopLevel)
HOST_FIELD_GETTER(WindowId, ParentOf, parent, kNoWindow)
HOST_FIELD_GETTER(WindowId, OwnerOf, owner, kNoWindow)
HOST_FIELD_GETTER(ThreadId, ThreadOf, thread, kNoThread)
HOST_FIELD_GETTER(int, ControlIdOf, control_id, 0)
HOST_FIELD_GETTER(std::string, ClassNameOf, class_name, std::string())
HOST_FIELD_GETTER(uint32_t, StyleOf, style, 0)
HOST_FIELD_GETTER(std::string, WindowText, title, std::string())
HOST_FIELD_GETTER(Rect, WindowRect, rect, Rect{})
HOST_FIELD_GETTER(ShowState, ShowStateOf, show, ShowState::kHidden)
HOST_FIELD_GETTER(std::vector<WindowId>, ChildrenOf, children, std::vector<WindowId>())
#undef HOST_FIELD_GETTER

std::string DisplayedTitle(WindowId top_level) {
  Lock lock(TableMutex());
  const WindowData* w = Find(top_level);
  return w && IsTopLevelKind(w->kind) ? internal::DisplayedTitleLocked(*w) : std::string();
}

WindowId TopLevelOf(WindowId window) {
  Lock lock(TableMutex());
  return TopLevelLocked(window);
}

void SetStyle(WindowId window, uint32_t new_style) {
  Lock lock(TableMutex());
  WindowData* w = Find(window);
  if (!w) return;
  uint32_t kept = style::kVisible | style::kDisabled;
  w->style = (w->style & kept) | (new_style & ~kept);
  internal::InvalidateLocked(*w);
}

WindowId ChildWithId(WindowId parent, int control_id) {
  Lock lock(TableMutex());
  const WindowData* p = Find(parent);
  if (!p) return kNoWindow;
  for (WindowId c : p->children) {
    const WindowData* w = Find(c);
    if (w && w->control_id == control_id) return c;
  }
  return kNoWindow;
}

std::vector<WindowId> TopLevelWindows() {
  Lock lock(TableMutex());
  return TheTable().top_levels;
}

bool SetWindowText(WindowId window, const std::string& text) {
  Lock lock(TableMutex());
  WindowData* w = Find(window);
  if (!w) return false;
  w->title = text;
  TellBackend(*w);
  internal::InvalidateLocked(*w);
  return true;
}

bool MoveWindow(WindowId window, const Rect& rect) {
  bool moved, sized;
  WindowKind kind;
  {
    Lock lock(TableMutex());
    WindowData* w = Find(window);
    if (!w) return false;
    kind = w->kind;
    moved = rect.left != w->rect.left || rect.top != w->rect.top;
    sized = rect.Width() != w->rect.Width() || rect.Height() != w->rect.Height();
    if (!moved && !sized) return true;
    w->rect = rect;
    if (sized && w->surface) {
      w->surface = Surface::Create(rect.Width(), rect.Height(), w->background, DisplayScale());
    }
    if (IsTopLevelKind(w->kind) || w->kind == WindowKind::kMdiChild) TellBackend(*w);
    if (WindowData* parent = Find(w->parent)) {
      internal::InvalidateLocked(*parent);
    } else {
      internal::InvalidateLocked(*w);
    }
  }
  if (moved) internal::Notify(window, msg::kMove, 0, PackPoint(rect.left, rect.top));
  if (sized) {
    Rect client = ClientRect(window);
    internal::Notify(window, msg::kSize, static_cast<uint64_t>(ShowStateOf(window)),
                     PackPoint(client.Width(), client.Height()));
    if (kind == WindowKind::kMdiClient) internal::FitMaximizedChild(window);
  }
  return true;
}

Rect ClientRect(WindowId window) {
  Lock lock(TableMutex());
  const WindowData* w = Find(window);
  if (!w) return Rect{};
  Rect r = internal::ClientAreaInParent(*w);
  return Rect{0, 0, r.Width(), r.Height()};
}

Point ClientOriginInTopLevel(WindowId window) {
  Lock lock(TableMutex());
  Point p;
  for (const WindowData* w = Find(window); w && !IsTopLevelKind(w->kind); w = Find(w->parent)) {
    Rect client = internal::ClientAreaInParent(*w);
    p.x += client.left;
    p.y += client.top;
  }
  return p;
}

WindowId WindowAt(WindowId top_level, Point p) {
  Lock lock(TableMutex());
  const WindowData* w = Find(top_level);
  if (!w || w->show == ShowState::kHidden) return kNoWindow;
  // Descend through the topmost visible child containing the point (client coordinates).
  for (;;) {
    const WindowData* hit = nullptr;
    for (WindowId c : w->children) {
      const WindowData* child = Find(c);
      if (child && child->show != ShowState::kHidden && child->rect.Contains(p)) {
        hit = child;
        break;
      }
    }
    if (!hit) return w->id;
    Rect client = internal::ClientAreaInParent(*hit);
    if (!client.Contains(p)) return hit->id;  // on its frame or caption
    p.x -= client.left;
    p.y -= client.top;
    w = hit;
  }
}

namespace {

// The rectangle a top-level window takes in a new state. Maximizing covers the screen's work
// area and keeps the normal rectangle, which restoring brings back. A change that the display
// reports has already been made there: the display then sends the size it gave the window.
Rect TopLevelRectFor(WindowData& w, ShowState state, bool from_display) {
  bool leaving_normal = w.show == ShowState::kNormal || w.show == ShowState::kHidden;
  bool leaving_changed = w.show == ShowState::kMaximized || w.show == ShowState::kMinimized;
  if ((state == ShowState::kMaximized || state == ShowState::kMinimized) && leaving_normal) {
    w.restore_rect = w.rect;
  }
  if (from_display) return w.rect;
  if (state == ShowState::kMaximized) return ScreenWorkArea();
  if (state == ShowState::kNormal && leaving_changed && !w.restore_rect.Empty()) {
    return w.restore_rect;
  }
  return w.rect;
}

// Whether going from `from` to `to` changes how a top-level is placed: showing a hidden window
// normally or hiding it does not.
bool IsStateChange(ShowState from, ShowState to) {
  if (to == ShowState::kHidden || from == to) return false;
  return !(from == ShowState::kHidden && to == ShowState::kNormal);
}

// After a top-level's state changed: moves it, tells its procedure the new state through
// msg::kSize (also when the size stayed, as minimizing leaves it) and asks the display's
// window manager to show the state, unless the display reported it.
void TellStateChange(WindowId window, ShowState state, bool changed, const Rect& old_rect,
                     const Rect& new_rect, bool from_display) {
  bool sized = new_rect.Width() != old_rect.Width() || new_rect.Height() != old_rect.Height();
  if (new_rect != old_rect) MoveWindow(window, new_rect);
  if (!changed) return;
  if (!sized) {
    Rect client = ClientRect(window);
    internal::Notify(window, msg::kSize, static_cast<uint64_t>(state),
                     PackPoint(client.Width(), client.Height()));
  }
  if (DisplayBackend* b = internal::Backend(); b && !from_display) {
    b->WindowStateChanged(window, state);
  }
}

}  // namespace

bool ShowWindow(WindowId window, ShowState state) {
  return internal::ShowWindowFrom(window, state, false);
}

namespace internal {

bool ShowWindowFrom(WindowId window, ShowState state, bool from_display) {
  WindowId owner_to_disable = kNoWindow, owner_to_enable = kNoWindow;
  bool became_visible, became_hidden, state_changed;
  WindowKind kind;
  Rect old_rect, new_rect;
  {
    Lock lock(TableMutex());
    WindowData* w = Find(window);
    if (!w) return false;
    kind = w->kind;
    became_visible = w->show == ShowState::kHidden && state != ShowState::kHidden;
    became_hidden = w->show != ShowState::kHidden && state == ShowState::kHidden;
    state_changed = IsStateChange(w->show, state);
    old_rect = new_rect = w->rect;
    if (IsTopLevelKind(kind)) new_rect = TopLevelRectFor(*w, state, from_display);
    w->show = state;
    if (w->style & style::kModal && w->owner != kNoWindow) {
      if (became_visible) {
        owner_to_disable = w->owner;
        w->disabled_by_modal = true;
      } else if (became_hidden && w->disabled_by_modal) {
        owner_to_enable = w->owner;
        w->disabled_by_modal = false;
      }
    }
    if (became_visible && IsTopLevelKind(w->kind)) RaiseLocked(*w);
    if (IsTopLevelKind(w->kind) || w->kind == WindowKind::kMdiChild) TellBackend(*w);
    if (WindowData* parent = Find(w->parent)) {
      internal::InvalidateLocked(*parent);
    } else {
      internal::InvalidateLocked(*w);
    }
  }
  if (became_visible || became_hidden) internal::Notify(window, msg::kShow, became_visible, 0);
  if (IsTopLevelKind(kind))
    TellStateChange(window, state, state_changed, old_rect, new_rect, from_display);
  if (owner_to_disable != kNoWindow) EnableWindow(owner_to_disable, false);
  if (owner_to_enable != kNoWindow) EnableWindow(owner_to_enable, true);
  if (became_visible && IsTopLevelKind(kind)) SetActiveWindow(window);
  if (became_visible && kind == WindowKind::kMdiChild) MdiActivate(window);
  if (became_hidden) {
    Lock lock(TableMutex());
    Table& t = TheTable();
    if (t.focus != kNoWindow && IsWithin(t.focus, window)) t.focus = kNoWindow;
  }
  if (became_hidden && ActiveWindow() == window) {
    WindowId next;
    {
      Lock lock(TableMutex());
      next = NextActiveLocked(window);
      if (next == kNoWindow) TheTable().active = kNoWindow;
    }
    if (next != kNoWindow) SetActiveWindow(next);
  }
  return true;
}

}  // namespace internal

bool IsVisible(WindowId window) {
  Lock lock(TableMutex());
  const WindowData* w = Find(window);
  return w && VisibleLocked(w);
}

bool EnableWindow(WindowId window, bool enable) {
  {
    Lock lock(TableMutex());
    WindowData* w = Find(window);
    if (!w) return false;
    bool enabled = !(w->style & style::kDisabled);
    if (enabled == enable) return true;
    w->style = enable ? (w->style & ~style::kDisabled) : (w->style | style::kDisabled);
    Table& t = TheTable();
    if (!enable && t.focus != kNoWindow && IsWithin(t.focus, window)) t.focus = kNoWindow;
    internal::InvalidateLocked(*w);
  }
  internal::Notify(window, msg::kEnable, enable, 0);
  return true;
}

bool IsEnabled(WindowId window) {
  Lock lock(TableMutex());
  const WindowData* w = Find(window);
  return w && EnabledLocked(w);
}

}  // namespace carelog::host
