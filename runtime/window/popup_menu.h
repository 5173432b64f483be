// Popup menus: a list of entries shown in a window of its own above its owner, tracked with
// the mouse and the keyboard until the user chooses an entry or cancels. Menu-bar dropdowns
// and POPUP both use it.
//
// Entries: a text with an optional '&' before its hotkey letter and an optional '\t' before a
// right-aligned shortcut text; a separator; or a submenu title (a non-empty `submenu`) that
// opens a nested popup beside it. Greyed entries are shown but cannot be chosen.
//
// Tracking:
//   mouse     moving over an entry highlights it (and opens its submenu); releasing or
//             pressing a button (left or right) on a submenu title opens it; releasing one
//             on an entry chooses it; a press outside every open level cancels. The
//             innermost level holds the mouse capture while the menu is up;
//   keys      Up/Down move the highlight over non-separators, Right or Enter on a submenu
//             title opens it, Left closes the innermost submenu, Enter chooses, Esc closes
//             one level (the whole menu at the outermost level), a hotkey letter chooses its
//             entry (or highlights the next of several entries sharing it).
// While the menu waits for input the calling thread releases the global semaphore when it
// holds it (other threads' windows keep working) and takes it back before anything else runs.
// Messages for the thread's other windows that arrive meanwhile are kept and handed back to
// the thread's queue when the menu closes; their painting goes on.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "runtime/host/types.h"

namespace carelog::window {

struct MenuEntry {
  std::string text;
  int command = 0;
  bool separator = false;
  bool greyed = false;
  bool checked = false;
  bool right = false;
  std::string message;             // shown in the status bar when highlighted
  std::vector<MenuEntry> submenu;  // non-empty: a submenu title
};

// Shows the menu as a popup owned by `owner` at screen point (x, y), tracks mouse and keys
// until a choice or cancel; returns the chosen command, 0 when none. `on_highlight` (may be
// empty) is called with the highlighted entry's message ("" when none).
int TrackPopupMenu(host::WindowId owner, const std::vector<MenuEntry>& entries, int x, int y,
                   const std::function<void(const std::string&)>& on_highlight = {});

// How tracking ended, for callers that move between neighbouring menus (a menu bar).
enum class PopupExit : uint8_t {
  kChosen,        // `command` holds the choice
  kCancelled,     // Esc, or the thread's loop ended
  kLeft,          // Left at the outermost level (only with `report_left_right`)
  kRight,         // Right on an entry without a submenu (only with `report_left_right`)
  kClickOutside,  // a press outside the menu (swallowed); `point` holds it on the screen
};

struct PopupOptions {
  std::function<void(const std::string&)> on_highlight;
  bool report_left_right = false;
  bool highlight_first = false;  // start with the first entry highlighted (keyboard opening)
};

struct PopupResult {
  int command = 0;
  PopupExit exit = PopupExit::kCancelled;
  host::Point point;
};

PopupResult TrackPopup(host::WindowId owner, const std::vector<MenuEntry>& entries, int x, int y,
                       const PopupOptions& options);

// The size a popup of these entries takes on the screen.
host::Size PopupMenuSize(const std::vector<MenuEntry>& entries);

// What automation and tests see of the popup menus open now, outermost first.
struct OpenPopupLevel {
  host::WindowId window = host::kNoWindow;
  host::Rect rect;                 // screen
  std::vector<std::string> texts;  // per entry; "" for separators
  std::vector<host::Rect> items;   // per entry, client coordinates of `window`
  int highlighted = -1;            // entry index, -1 for none
};
std::vector<OpenPopupLevel> OpenPopupMenus();

}  // namespace carelog::window
