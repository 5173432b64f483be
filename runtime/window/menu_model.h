// Menus of a window: the menu and item controls built from the definition's menu bar, the
// command numbers they answer to, and the tree of nodes that a menu bar shows.
//
// Menus (kind 19) and items (kind 20) become windowless controls of their window, so FIELD,
// ACCEPTED and the control properties work on them as on any other control. A menu bar shows
// a tree of MenuNode that points at such controls; after merging, one tree may point at the
// controls of two windows (the frame's and the active MDI window's), and each node's control
// says which window receives its command.
//
// Invariants:
//   1. A command number is 0x4000 plus the control's field equate number, in 16 bits; command 0
//      is reserved (it raises EVENT:AlertKey).
//   2. A tree never outlives the controls it points at: the frame's shown tree is rebuilt
//      before an MDI window's controls are destroyed (menu_bar.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/window/window_structure.h"

namespace carelog::window {

// Definition attribute bits of menu items and of the menu bar.
namespace menu_attr {
inline constexpr uint32_t kRight = 0x08;
inline constexpr uint32_t kSeparator = 0x10;
inline constexpr uint32_t kDisabled = 0x40;
inline constexpr uint32_t kFrameOnly = 0x1;  // menu bar: not the default menu of MDI windows
}  // namespace menu_attr

inline constexpr int kCommandBase = 0x4000;
// Texts longer than this are compared only up to it when menus are merged.
inline constexpr size_t kMergeTextLength = 100;

struct MenuNode {
  Control* control = nullptr;  // a menu (kind 19) or item (kind 20)
  std::vector<MenuNode> children;
};

inline int CommandOf(int equate) {
  return (kCommandBase + equate) & 0xFFFF;
}
// The field equate number that a command number addresses.
inline int EquateOfCommand(int command) {
  return static_cast<int16_t>(static_cast<uint16_t>(command - kCommandBase));
}

bool IsSeparator(const Control& item);
bool IsMenuTitle(const Control& control);  // a menu, rather than an item

// Adds a control for every menu and item of `menubar` to the window, in definition order, and
// returns the tree of its menus.
std::vector<MenuNode> BuildMenuControls(Structure& window, const Entry& menubar);

// Merges `from` into `into`: an entry of the same kind (menu or item) whose text equals the
// new one's (collated comparison of up to kMergeTextLength characters) is updated in place
// (it shows the new control, and a menu's items are merged in turn); other entries are
// added after the existing ones. Separators are always added.
void MergeMenus(std::vector<MenuNode>* into, const std::vector<MenuNode>& from);

// The node for a path of texts compared exactly ('&' included); nullptr when none matches.
// `offered` receives the texts offered at the level where the search failed.
const MenuNode* FindMenuPath(const std::vector<MenuNode>& menus,
                             const std::vector<std::string>& path, std::string* offered);

}  // namespace carelog::window
