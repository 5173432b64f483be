// The parts around a window's controls and their layout:
//
//   +------------------------------------------+
//   | menu bar      (frame, plain window)      |  menu_height
//   | toolbar       (kind 128, when defined)   |  toolbar_height
//   |                                          |
//   | MDI client (frame) or the controls' area |  the rest
//   |                                          |
//   | status bar    (zones, when defined)      |  status_height
//   +------------------------------------------+
//
// An MDI window shows no menu bar of its own: its menu is merged into the frame's bar while it
// is active, and without a status bar of its own it writes into the frame's.
//
// Invariants:
//   1. Every open structure has parts, made by PrepareFrameParts before its controls are
//      built and released by ReleaseFrameParts before they are destroyed.
//   2. The heights are fixed when the window opens; LayoutFrame only moves and stretches.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "runtime/window/menu_model.h"
#include "runtime/window/window_structure.h"

namespace carelog::window {

// State of a drawn menu bar.
struct MenuBarState {
  int hot = -1;           // title under the mouse or chosen by keyboard, -1 none
  int open = -1;          // title whose dropdown is shown, -1 none
  bool keyboard = false;  // the bar takes the keys (after F10 or Alt)
  bool alt_down = false;  // Alt pressed with no other key since
};

struct FrameParts {
  // Menus: the window's own (from its definition) and the tree its bar shows.
  bool has_menu = false;
  uint32_t menubar_attr = 0;
  std::vector<MenuNode> own_menu;
  std::vector<MenuNode> shown;
  Structure* merged_child = nullptr;  // frame: the active MDI window whose menu is shown
  host::WindowId menu_bar = host::kNoWindow;
  MenuBarState bar;
  // Status bar: zone widths in window units; the text of a highlighted item or control shown
  // in zone 1 in place of the procedure's text.
  std::vector<int32_t> zones;
  host::WindowId status_bar = host::kNoWindow;
  std::optional<std::string> highlight;
  // Toolbar: the control of kind 128 (the first one), laid out across the window.
  Control* toolbar = nullptr;
  int menu_height = 0;
  int toolbar_height = 0;
  int status_height = 0;
  bool help_started = false;
};

// The font of menu bars, dropdowns and status bars.
host::FontSpec BarFont();

namespace internal {
// Reads the menu bar, zones and toolbar of the window's definition, builds the menu controls
// and creates the bar windows. Call after the window is created, before its controls.
void PrepareFrameParts(Structure& window);
// Places the bars, the toolbar with its controls and the MDI client in the client area.
void LayoutFrame(Structure& window);
// Heights taken from the client area above and below the controls' area.
int PartsAbove(const Structure& window);
int PartsBelow(const Structure& window);
// Where the coordinates of the window's top-level controls start.
host::Point ControlAreaOrigin(const Structure& window);
// Detaches the window's menus from every menu bar and drops its parts. Call before its
// controls are destroyed.
void ReleaseFrameParts(Structure& window);
// A visible child window of the structure for one of its bars, served by `proc`.
host::WindowId CreateBarView(Structure& window, const char* class_name, host::Color background,
                             int64_t (*proc)(Structure*, const host::Message&));
// The open application frame, nullptr when none.
Structure* ApplicationFrame();
}  // namespace internal

}  // namespace carelog::window
