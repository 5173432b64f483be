// Automation: drives the program the way a user would, from the same process. Used by
// end-to-end tests directly and by the script mode (automation_script.h).
//
// What it sees: every open top-level window and MDI child, with its controls. By default a
// control is a child window with a non-zero control id; its kind is the window's class name
// and its text the window's text. The window runtime knows more (equate names, selected rows,
// windowless controls, menus, message boxes) and tells it through an AutomationPeer.
//
// What it does: injects keys, typed text and clicks through input.h, exactly as the display
// would, chooses menu items and answers message boxes through the peer, waits until every
// window thread is idle, and renders windows to PNG.
//
// The "current" window of a command is the active MDI child when the active top-level has
// one, else the active top-level window; controls are looked for there first, then in the
// active top-level window.
//
// Call from a thread that owns no window (the automation would otherwise wait for itself).
#pragma once

#include <chrono>
#include <string>
#include <utility>
#include <vector>

#include "runtime/host/types.h"

namespace carelog::host {

struct ControlInfo {
  WindowId window = kNoWindow;  // the control's own window; kNoWindow for windowless ones
  int equate = 0;               // field equate number
  std::string name;             // equate name when known ("?PAT:LAST_NAME"), else empty
  std::string kind;             // "button", "entry", "list", ...
  std::string text;             // ANSI
  bool visible = false;
  bool enabled = false;
  bool focused = false;
  int selected_row = 0;  // lists: from 1; 0 when no row is selected or not a list
  std::vector<std::pair<std::string, std::string>> properties;  // anything else worth reading
  std::vector<std::string> detail;  // further lines of a dump (a list's headers and rows)
};

struct WindowInfo {
  WindowId window = kNoWindow;
  std::string kind;   // "frame", "mdi", "window", "message"
  std::string title;  // ANSI
  bool active = false;
  std::vector<ControlInfo> controls;
};

// Outcome of an automation step; `message` says what went wrong.
struct AutomationResult {
  bool ok = true;
  std::string message;
  static AutomationResult Failure(std::string why) {
    return AutomationResult{false, std::move(why)};
  }
};

// Implemented by the window runtime; every method may decline (return false) to leave the
// default behaviour in place. Methods are called on the automation's thread.
class AutomationPeer {
 public:
  virtual ~AutomationPeer() = default;
  // Kind of a window ("frame", "mdi", "window", "message").
  virtual bool WindowKindOf(WindowId /*window*/, std::string* /*kind*/) { return false; }
  // All controls of a window, in equate order.
  virtual bool Controls(WindowId /*window*/, std::vector<ControlInfo>* /*out*/) { return false; }
  // Equate number of a name in a window ("?OK" -> 3).
  virtual bool ResolveEquate(WindowId /*window*/, const std::string& /*name*/, int* /*equate*/) {
    return false;
  }
  // Clicks a control that has no window of its own.
  virtual bool ClickWindowless(WindowId /*window*/, const ControlInfo& /*control*/) {
    return false;
  }
  // Chooses the menu item found by its texts along the path ("&Browse", "&Browse Patients").
  virtual AutomationResult ChooseMenu(WindowId /*window*/,
                                      const std::vector<std::string>& /*path*/) {
    return AutomationResult::Failure("this program has no menus to choose from");
  }
  // Selects a row (from 1) of a list as the user would.
  virtual AutomationResult SelectRow(WindowId /*window*/, const ControlInfo& /*control*/,
                                     int /*row*/) {
    return AutomationResult::Failure("this program has no lists");
  }
  // The message box shown now: its window and text. False when none is shown.
  virtual bool CurrentMessage(WindowId* /*window*/, std::string* /*text*/) { return false; }
};

// Registers the peer (nullptr removes it). The peer must outlive its registration.
void RegisterAutomationPeer(AutomationPeer* peer);

enum class ScreenshotSize : uint8_t { kLogical, kDevice };

class Automation {
 public:
  // Waits until every window thread has been idle for a few consecutive checks.
  AutomationResult WaitIdle(std::chrono::milliseconds timeout = std::chrono::seconds(10));
  // Waits until the program is idle with a current window open (one of that title when
  // `title` is not empty). A program whose thread has not yet opened its first window is
  // idle too; this wait does not take that moment for the window's.
  AutomationResult WaitForWindow(const std::string& title = std::string(),
                                 std::chrono::milliseconds timeout = std::chrono::seconds(10));

  std::vector<WindowInfo> Windows();
  WindowId CurrentWindow();
  std::string CurrentTitle();  // of the current window
  // Finds a control of the current window (then of the active top-level) by equate number,
  // equate name (starting with '?') or, for `by_text`, by its text with '&' ignored.
  bool FindControl(const std::string& reference, bool by_text, ControlInfo* out);

  AutomationResult Key(const std::string& combination);  // "Ctrl+PageDown"
  AutomationResult Type(const std::string& ansi_text);
  AutomationResult Click(const std::string& reference, bool by_text);
  AutomationResult SelectRow(const std::string& reference, int row);
  AutomationResult Menu(const std::vector<std::string>& path);
  AutomationResult Answer(const std::string& button_text);
  AutomationResult ExpectTitle(const std::string& title);
  AutomationResult ExpectText(const std::string& reference, const std::string& text);
  AutomationResult ExpectMessage(const std::string& text);
  // One line per window and per control, in a stable format:
  //   window KIND "TITLE"[ active]
  //     EQUATE NAME KIND "TEXT" visible|hidden enabled|disabled[ focused][ row=N]
  std::string Dump();
  // Renders the current top-level window to a PNG file: at its logical size (as at 96 dpi,
  // whatever the screen's scale), or in the screen pixels of its backing store.
  AutomationResult Screenshot(const std::string& path,
                              ScreenshotSize size = ScreenshotSize::kLogical);
};

// "&Yes" -> "Yes"; "&&" stays as one '&'.
std::string WithoutHotkey(const std::string& text);
// The character after the first single '&' of a text, upper-cased ("&Yes" -> 'Y'); 0 when
// there is none. "&&" is a literal '&', not a hotkey.
char HotkeyOf(const std::string& text);

}  // namespace carelog::host
