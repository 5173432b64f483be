// Commands: what a window does with a menu or control command (msg::kCommand), the standard
// actions that menu items and buttons may carry, and the editing commands sent to the control
// with the keyboard focus.
//
// A command is handled in the window that receives it:
//   1. command 0 queues EVENT:AlertKey for the window;
//   2. otherwise the control or menu item numbered command - 0x4000 is looked up;
//   3. a standard action it carries is performed, and then nothing else happens;
//   4. a menu item updates its USE variable (flips it) when it has one and queues
//      EVENT:Accepted for itself;
//   5. any other control gets the command as if it had been pressed.
#pragma once

#include <cstdint>

#include "runtime/window/window_structure.h"

namespace carelog::window {

// Standard action codes.
namespace action {
inline constexpr int64_t kTile = 2;
inline constexpr int64_t kCascade = 3;
inline constexpr int64_t kArrangeIcons = 4;
inline constexpr int64_t kHelpContents = 5;
inline constexpr int64_t kHelpOnHelp = 6;
inline constexpr int64_t kHelpSearch = 7;
inline constexpr int64_t kContextHelp = 8;
inline constexpr int64_t kCut = 10;
inline constexpr int64_t kCopy = 11;
inline constexpr int64_t kPaste = 12;
inline constexpr int64_t kClear = 13;
inline constexpr int64_t kUndo = 14;
inline constexpr int64_t kClose = 15;
inline constexpr int64_t kPrinterSetup = 16;
inline constexpr int64_t kTileHorizontal = 17;
inline constexpr int64_t kTileVertical = 18;
}  // namespace action

namespace internal {

// Performs a standard action for the window; false when `code` is not one (the command is then
// an ordinary one). An action whose frame or focused control is missing does nothing.
bool PerformStandardAction(Structure& window, int64_t code);
// The window procedure's part for msg::kCommand.
void HandleCommand(Structure& window, int command);
// An editing message (host::msg::kCut ... kUndo) for an entry or text control; false for
// other controls.
bool EditCommand(Control& control, uint32_t message);

}  // namespace internal
}  // namespace carelog::window
