// The layout of a window's controls when its client area is larger than designed (the user
// sized the window, the MDI client maximized or tiled it, the frame grew around a maximized
// child). The window's largest list takes the extra room, and every other control keeps its
// distance from the edges it stands against:
//
//   +----------------------------+           +-------------------------------------+
//   | [sheet [list      ]] [btn] |  grows to | [sheet [list                ]] [btn] |
//   |        [ins][chg]         |           |                                      |
//   |                 [ok][help] |           |                 [ins][chg]           |
//   +----------------------------+           |                          [ok][help]  |
//                                            +-------------------------------------+
//   - the list and the controls holding it (its sheet, tab or group, or a sheet or box drawn
//     around it) grow by the whole difference;
//   - a control to the right of the list, or below it in its right half, moves right with the
//     window's right edge;
//   - a control below the list moves down with the bottom edge;
//   - everything else (above or left of the list) stays where it is.
// A window without a list keeps its controls where they are. Smaller than designed, the
// controls stay as designed and the window scrolls them (window_scroll.cpp).
//
// Invariant: Structure::grown is the growth last applied; the controls' rectangles are the
// designed ones moved and stretched by it, so every step applies only the difference and other
// moves of controls (properties, scrolling) are kept.
#pragma once

#include "runtime/host/types.h"
#include "runtime/window/window_structure.h"

namespace carelog::window::internal {

// Notes the size of the controls' area as designed (client area less the menu bar, toolbar and
// status bar). Call before the window is first placed; until then sizes are not followed.
void StartResizeLayout(Structure& window, host::Size designed_area);

// Lays the controls out for the window's present client size.
void FollowClientSize(Structure& window);

}  // namespace carelog::window::internal
