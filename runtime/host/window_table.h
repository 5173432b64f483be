// The window table shared by the window system's sources; not for use above the platform
// layer. Everything here is guarded by TableMutex().
#pragma once

#include <array>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "runtime/host/window_system.h"

namespace carelog::host::internal {

struct WindowData {
  WindowId id = kNoWindow;
  WindowKind kind = WindowKind::kTopLevel;
  WindowId parent = kNoWindow;
  WindowId owner = kNoWindow;
  ThreadId thread = kNoThread;
  Rect rect;          // outer; screen for top-levels, parent client coordinates otherwise
  Rect restore_rect;  // the rectangle before maximizing or minimizing
  std::string title;
  uint32_t style = 0;
  int control_id = 0;
  std::string class_name;
  Color background;
  std::shared_ptr<WindowProc> proc;
  ShowState show = ShowState::kHidden;
  std::vector<WindowId> children;     // z-order, top first
  std::shared_ptr<Surface> surface;   // top-levels only
  WindowId active_child = kNoWindow;  // MDI clients: the active MDI child
  WindowId last_focus = kNoWindow;    // top-levels: the focus to give back on activation
  bool destroying = false;            // being removed from the table: no longer found
  bool destroy_started = false;       // collected by a DestroyWindow that is under way
  bool disabled_by_modal = false;
};

struct Table {
  std::map<WindowId, WindowData> windows;
  std::vector<WindowId> top_levels;  // z-order, top first
  WindowId next_id = 1;
  WindowId active = kNoWindow;
  WindowId focus = kNoWindow;
  WindowId capture = kNoWindow;
  CaretState caret;
  CursorShape cursor = CursorShape::kArrow;
  std::array<bool, 256> key_down{};
  std::array<bool, 256> key_toggled{};
  std::string clipboard;  // used when the display has no clipboard
  int beeps = 0;
};

std::recursive_mutex& TableMutex();
Table& TheTable();
WindowData* Find(WindowId window);  // nullptr when missing or being destroyed

// Non-client insets of a window: frame width and caption height.
struct Insets {
  int frame = 0;
  int caption = 0;
};
Insets InsetsOf(const WindowData& w);
Rect ClientAreaInParent(const WindowData& w);  // client rectangle in parent coordinates

// Calls the procedure directly when the caller owns the window, posts otherwise. Call
// without holding the table lock.
void Notify(WindowId window, uint32_t number, uint64_t wparam, int64_t lparam);

// Depth of a window in the tree (top-levels are 0).
int DepthOf(const WindowData& w);

// Queues a paint for the window and its descendants (table lock held).
void InvalidateLocked(const WindowData& w);

// Tree helpers; call with the table lock held.
bool IsTopLevelKind(WindowKind kind);
std::vector<WindowId>& SiblingList(const WindowData& w);  // the z-ordered list holding w
bool VisibleLocked(const WindowData* w);                  // w and every ancestor shown
bool EnabledLocked(const WindowData* w);                  // w and every ancestor enabled
WindowId TopLevelLocked(WindowId id);
bool IsWithin(WindowId window, WindowId ancestor);  // window is ancestor or inside it
void TellBackend(const WindowData& w);              // a top-level's state to the display
// Raises `w` among its siblings; a top-level takes its owned popups along above it.
void RaiseLocked(const WindowData& w);
// The window to activate after `leaving` stops being active: its owner when it can take it,
// else the topmost other visible, enabled top-level.
WindowId NextActiveLocked(WindowId leaving);
// ShowWindow; `from_display` when the display reports a change its window manager made, which
// is then not sent back to it (call without the table lock).
bool ShowWindowFrom(WindowId window, ShowState state, bool from_display);
// Windows to destroy for `root`, deepest first: owned popups, children, then the window.
void CollectForDestroy(WindowId root, std::vector<WindowId>* out);

}  // namespace carelog::host::internal
