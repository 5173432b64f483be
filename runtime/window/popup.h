// POPUP: a popup menu described by a line of text, shown at a point of the calling thread's
// top window, answering the number of the chosen item.
//
// Menu text grammar (bytes; anything else is item text):
//   text     := item ('|' item)*
//   item     := '-'                      a separator
//             | ['~'] ['+' | '-'] label  '~' greys; '+' checks, '-' leaves unchecked
//             | ['~'] label '{' text '}' a submenu title and its submenu
// Items (not separators, not submenu titles) are numbered 1, 2, 3 ... in text order across
// every submenu. Labels are cut to kMaxPopupItemText bytes. Malformed text is read leniently:
// an unmatched '}' ends nothing, a missing '}' is supplied at the end, empty items are
// dropped, a submenu without items becomes a greyed entry, and submenus nested deeper than
// kMaxPopupDepth are flattened into the deepest level.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/window/popup_menu.h"

namespace carelog::window {

inline constexpr size_t kMaxPopupItemText = 1024;
inline constexpr int kMaxPopupDepth = 16;
// A coordinate with this value stands for the mouse pointer's position.
inline constexpr int64_t kAtMousePointer = 0x80000000LL;

struct PopupMenuText {
  std::vector<MenuEntry> entries;  // commands are the item numbers
  int items = 0;                   // how many numbered items
};

PopupMenuText ParsePopupText(std::string_view text);

// POPUP(text, x, y): x and y are pixels in the client area of the thread's top window (screen
// pixels when the thread has none); kAtMousePointer stands for the pointer's position.
// Returns the chosen item's number, 0 when nothing was chosen.
int Popup(std::string_view text, int64_t x = kAtMousePointer, int64_t y = kAtMousePointer);

}  // namespace carelog::window
