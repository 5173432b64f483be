// The status bar: zones laid out left to right across the bottom of a window (a width of -1
// takes what the others leave), each drawn in a sunken frame with its text. Zone texts are set
// by procedures (numbered from 1); while a menu item or a control with a message is
// highlighted, zone 1 shows that message instead and the procedure's text returns afterwards.
// An MDI window without a status bar of its own writes into the frame's.
#pragma once

#include <string>
#include <vector>

#include "runtime/window/window_structure.h"

namespace carelog::window {
namespace internal {

// Creates the bar's child window (placed later by LayoutFrame).
host::WindowId CreateStatusBarView(Structure& window);
// The window whose status bar serves `window`: its own, else the frame's for an MDI window;
// nullptr when there is none.
Structure* StatusBarOwner(Structure& window);
// Zone rectangles for a bar `width` pixels wide, in zone order.
std::vector<host::Rect> ZoneRects(const Structure& owner, int width, int height);

// Zone texts of the window's status bar (zone 0 counts as zone 1). Windows without any bar
// keep the texts as plain properties.
void SetStatusText(Structure& window, int zone, const std::string& text);
std::string StatusText(Structure& window, int zone);
// What zone `zone` shows now (the highlighted message in zone 1, else the zone's text).
std::string ShownStatusText(Structure& owner, int zone);
// Shows `message` in zone 1 while something is highlighted (an empty one blanks the zone);
// nullptr brings the procedure's text back.
void ShowHighlightMessage(Structure& window, const std::string* message);

}  // namespace internal
}  // namespace carelog::window
