// The drawn menu bar: titles across the top of a frame or plain window, with hotkey
// underlines, a hover and a pressed look; a title opens its dropdown by a click, by
// Alt+hotkey, or from the keyboard mode that F10 or a lone Alt starts (Left/Right move
// between titles, Down/Enter open, Esc leaves). Choosing an item posts its command to the
// window that owns the item.
//
// The frame's bar shows the frame's menus merged with those of the active MDI window; an MDI
// window without a menu of its own shows the frame's default menu there. The bar's state
// belongs to the thread of the window holding it; other threads reach it by posting messages.
#pragma once

#include <vector>

#include "runtime/window/menu_model.h"
#include "runtime/window/window_structure.h"

namespace carelog::window {
namespace internal {

// Creates the bar's child window for a window with a menu bar of its own.
host::WindowId CreateMenuBarView(Structure& window);
// The window whose bar shows the menus of `window` (itself, or the frame for an MDI window);
// nullptr when no bar shows them.
Structure* MenuBarHolder(Structure& window);
// The menus a user sees for the window, nullptr when it shows none.
const std::vector<MenuNode>* ShownMenus(Structure& window);
// An MDI window became active (or ceased to be): the frame's bar shows its menus.
void NoteMdiActivation(Structure& child, bool active);
// The window's menus leave every bar that shows them.
void ForgetMenusOf(Structure& window);
// Draws again the bar that shows the window's menus (after a menu or item changed).
void RedrawMenuBar(Structure& window);
// Keys the menu bar takes before the window's controls: F10, Alt alone, Alt+hotkey, the key
// of a menu item, and all keys while the bar is in keyboard mode. True when consumed.
bool MenuKey(Structure& window, const host::Message& message);
// Posts the command of a menu item to the window that owns it; false when the item or a menu
// above it is disabled.
bool ChooseMenuItem(const Control& item);

}  // namespace internal
}  // namespace carelog::window
