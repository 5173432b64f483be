// Scroll bars of an image control whose content (a zoomed page) is larger than the control.
//
// The painter records the content's size in the control (kImageContentWidth/Height); the
// control then gives up a strip on the right for a vertical bar and one at the foot for a
// horizontal bar, each only when the content does not fit that way. The scroll position
// (kImageScrollX/Y, pixels of content above and left of the view) always stays within
// 0..content - view. The wheel scrolls vertically, with Shift horizontally; a click on a
// bar's arrow moves a line, on its track a view's worth towards the click; a thumb pressed
// follows the mouse along its bar until the button is let go (the window captures the mouse
// meanwhile), moving the content by its share of the track.
#pragma once

#include "runtime/host/graphics.h"
#include "runtime/window/window_structure.h"

namespace carelog::window {

inline constexpr int kImageBarSize = 16;     // pixels across a bar
inline constexpr int kImageLineStep = 40;    // pixels per arrow click or arrow key
inline constexpr int kImageWheelStep = 120;  // pixels per wheel notch

struct ImageScrollLayout {
  host::Rect view;        // where the content shows
  host::Rect vertical;    // the vertical bar; empty when the content fits its height
  host::Rect horizontal;  // the horizontal bar; empty when it fits its width
};

// The layout of a control of `bounds` showing `content`.
ImageScrollLayout LayoutImageScroll(const host::Rect& bounds, host::Size content);

// `scroll` kept within the content for the layout.
host::Point ClampImageScroll(const ImageScrollLayout& layout, host::Size content,
                             host::Point scroll);

// Paints the layout's bars with their thumbs at `scroll`.
void PaintImageScrollBars(host::DeviceContext& dc, const ImageScrollLayout& layout,
                          host::Size content, host::Point scroll);

// Moves the image's content by (dx, dy) pixels within its range and repaints it. False when
// nothing moved (no scrollable content, or already at that end).
bool ScrollImageBy(Control& image, int dx, int dy);

// The wheel over the window at `point` (window coordinates, scroll included): scrolls the
// scrollable image under the point, else the window's only scrollable image. False when
// there is none.
bool WheelImage(Structure& window, host::Point point, int notches, bool horizontal);

// A press at `point` (window coordinates): works the image scroll bar under it. False when
// the point is on no image's scroll bar, so the press goes on to regions and controls.
bool ClickImageScrollBar(Structure& window, host::Point point);

// The mouse at `point` (window coordinates) while a thumb is held: scrolls its image to match.
// False when no thumb is held.
bool DragImageThumb(Structure& window, host::Point point);

// The button let go: the held thumb, if any, is released. False when none was held.
bool ReleaseImageThumb(Structure& window);

}  // namespace carelog::window
