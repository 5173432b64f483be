// The MDI client of an application frame: which child is active, maximizing, minimizing and
// restoring children, and arranging them (tile, cascade, arrange icons).
//
// Rules:
//   1. The active child is the topmost one; activating another raises it, its caption turns
//      active, and both are told through msg::kMdiActivated (wparam 1 for the new one).
//      Showing a child for the first time activates it.
//   2. While one child is maximized, activating another maximizes that one and restores the
//      first. A maximized child's client area covers the MDI client's, its frame and caption
//      lying outside; it follows the client when the client is resized.
//   3. Minimizing a child leaves its caption as an icon in the bottom row of the client area
//      and activates the next child that is not minimized.
//   4. Tiling and cascading lay out the children that are shown and not minimized, the active
//      one first; the icons keep the bottom rows. Tiling restores a maximized child.
#pragma once

#include <vector>

#include "runtime/host/types.h"

namespace carelog::host {

enum class TileDirection : uint8_t {
  kVertical,    // side by side, in columns
  kHorizontal,  // one above the other, in rows
};

bool MdiActivate(WindowId child);
WindowId MdiActiveChild(WindowId client);
bool MdiMaximize(WindowId child);
bool MdiMinimize(WindowId child);
bool MdiRestore(WindowId child);
// Activates the child behind the active one (previous = false; the active one goes to the
// bottom) or the bottom one (previous = true).
bool MdiNext(WindowId client, bool previous);
void MdiTile(WindowId client, TileDirection direction);
void MdiCascade(WindowId client);
void MdiArrangeIcons(WindowId client);
// The MDI children of a client, top of the z-order first.
std::vector<WindowId> MdiChildren(WindowId client);

namespace internal {
// Keeps a maximized child covering the client after the client changed size.
void FitMaximizedChild(WindowId client);
}  // namespace internal

}  // namespace carelog::host
