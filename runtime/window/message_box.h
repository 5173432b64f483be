// Message boxes: MESSAGE (word-wrapped text, an optional icon, push buttons chosen by bit
// values, a default button) and the plain box of the fatal-error path, which is the same box
// with an OK button and the stop sign.
//
// A box is a popup window of class "TamPopup" owned by the calling thread's top window (else
// the application frame, else the active window) and modal to it: the owner is disabled while
// the box is up (every other top-level window too for a system-modal box). The calling thread
// runs the box's own loop; while it waits, the global semaphore is released so that other
// threads' procedures keep running, and taken back before MESSAGE returns. Posted messages
// for the thread's other windows wait until the box is answered; their painting goes on.
//
// Keys: Enter presses the focused button, Space too; Esc and the close box answer Cancel
// when it is shown (OK when it is the only button), else nothing; a button's hotkey letter,
// alone or with Alt, presses it; Tab, Shift+Tab and the arrow keys move among the buttons.
#pragma once

#include <string>
#include <vector>

#include "runtime/host/types.h"

namespace carelog::window {

// Button values, shown in this order when several are asked for.
namespace message_button {
inline constexpr int kOk = 0x01;
inline constexpr int kYes = 0x02;
inline constexpr int kNo = 0x04;
inline constexpr int kAbort = 0x08;
inline constexpr int kRetry = 0x10;
inline constexpr int kIgnore = 0x20;
inline constexpr int kCancel = 0x40;
inline constexpr int kHelp = 0x80;
}  // namespace message_button

// Icon values (bits 0xF0 of the icon argument).
namespace message_icon {
inline constexpr int kNone = 0x00;
inline constexpr int kStop = 0x10;
inline constexpr int kQuestion = 0x20;
inline constexpr int kExclamation = 0x30;
inline constexpr int kInformation = 0x40;
inline constexpr int kNamed = 0xF0;  // the icon named by `icon_name`
}  // namespace message_icon

namespace message_style {
inline constexpr int kSystemModal = 0x1;  // every top-level window of the program waits
}  // namespace message_style

// The text of a button value ("&Yes" for 2); empty for anything but a single known value.
std::string MessageButtonText(int value);

// MESSAGE: shows the box and returns the value of the button pressed, 0 when the box ended
// otherwise (the thread's loop was asked to quit). No button asked for shows OK; a default
// that is not shown falls back to the first button shown.
int Message(const std::string& text, const std::string& caption = std::string(),
            int icon = message_icon::kNone, int buttons = message_button::kOk,
            int default_button = 0, int style = 0, const std::string& icon_name = std::string());

// The fatal-error box: text, OK and the stop sign, owned by no window, serving only its own
// messages and leaving the global semaphore as it is.
void ShowMessageBox(const std::string& title, const std::string& text);

// The box shown now (the most recent when several threads show one), for automation; false
// when none is shown.
bool CurrentMessageBox(host::WindowId* window, std::string* text);

struct MessageBoxButton {
  host::WindowId window = host::kNoWindow;
  int value = 0;
  std::string text;
  bool is_default = false;
};
// The buttons of a shown box in their order; false when `box` is not a shown box.
bool MessageBoxButtons(host::WindowId box, std::vector<MessageBoxButton>* out);

}  // namespace carelog::window
