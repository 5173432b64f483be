// Input entering the window system, from a display backend or from automation. Each function
// updates the keyboard state and activation the way a user's action would and posts the
// resulting messages to the thread that owns the target window.
//
//   keys        go to the focus window, or to the active window when nothing has the focus;
//               lparam of msg::kKeyDown/kKeyUp holds the modifier:: bits at that moment.
//               Enter, Tab, Backspace and Escape also produce msg::kChar, as typing does.
//   mouse       goes to the capture window, else to the deepest visible window under the
//               point; a press activates the window's top-level and MDI child, gives the focus
//               to a window with a tab stop, and on a caption works the caption buttons.
//               lparam holds the point in the target's client coordinates.
#pragma once

#include <string_view>

#include "runtime/host/types.h"
#include "runtime/host/window_system.h"

namespace carelog::host {

enum class MouseButton : uint8_t { kLeft, kRight };

void InjectKey(int virtual_key, bool down);
void InjectChar(char ansi);
// Types each byte of the ANSI text as a character.
void InjectText(std::string_view ansi);
// Text typed at the display (UTF-8, as an input method delivers it, one keystroke's worth):
// typed when every character has a place in the ANSI set, else refused whole with a beep, so
// that nothing is ever entered as a different character. False when refused.
bool InjectTypedUtf8(std::string_view utf8);
// `p` is in the top-level window's client coordinates.
void InjectMouseButton(WindowId top_level, Point p, MouseButton button, bool down,
                       bool double_click = false);
void InjectMouseMove(WindowId top_level, Point p);
void InjectMouseWheel(WindowId top_level, Point p, int notches);
// Where the mouse pointer was last seen, in screen coordinates (from the mouse input above).
Point MousePosition();
// True from a left button press until its release, as injected (before their messages are
// handled): a point computed from a control's place while this holds is where the release lands.
bool LeftButtonHeld();

// The user asked the display to close a top-level window.
void InjectClose(WindowId top_level);
// The window manager maximized, minimized or restored a shown top-level window; its procedure
// hears of it through msg::kSize, as when the program does it (ShowWindow). The new size, if
// any, follows as a move (MoveWindow).
void InjectWindowState(WindowId top_level, ShowState state);

// Presses and releases the key combination, e.g. "Ctrl+PageDown", "Alt+F4", "Enter", "a".
// False when a name is not known.
bool InjectKeyCombination(std::string_view combination);
// Virtual key of a key name ("Enter", "F5", "PageDown", "A", "7"); -1 when unknown.
int VirtualKeyByName(std::string_view name);

}  // namespace carelog::host
