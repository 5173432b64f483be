// Image files the window runtime does not decode itself (the report engine's page files) are
// drawn by a painter that a higher layer registers. An image control whose file is not a
// bitmap asks the painter; with no painter, or when the painter cannot read the file, the
// control shows an empty page with a cross, so an unreadable file is plain to see.
//
// The painter draws the control's `image` file into `bounds` (the control's own client
// coordinates). The control's extra property kImageZoom, when non-zero, asks for the page at
// that many percent of the control's width, scrolled by kImageScrollX and kImageScrollY
// pixels; the painter records the zoomed page's size (kImageContentWidth, kImageContentHeight)
// so that the control's scroll bars and wheel know their range (image_scroll.h), and keeps
// the scroll position in range.
#pragma once

#include "runtime/host/graphics.h"
#include "runtime/window/window_structure.h"

namespace carelog::window {

using ImagePainter = bool (*)(Control& image, host::DeviceContext& dc, const host::Rect& bounds);

// Replaces the painter (nullptr removes it). Call before windows open.
void SetImagePainter(ImagePainter painter);
ImagePainter CurrentImagePainter();

// Extra properties of an image control (Control::extra), settable through SetProperty.
inline constexpr int kImageZoom = 0x7E80;
inline constexpr int kImageScrollY = 0x7E81;
inline constexpr int kImageScrollX = 0x7E82;
inline constexpr int kImageContentWidth = 0x7E83;  // 0: the content fits, no scrolling
inline constexpr int kImageContentHeight = 0x7E84;

// An extra setting of an image control (0 when never set).
int64_t ImageSetting(const Control& image, int property);
void SetImageSetting(Control& image, int property, int64_t value);

// The mark of a page that cannot be shown: a white page with a border and a cross.
void PaintMissingPage(host::DeviceContext& dc, const host::Rect& page);

}  // namespace carelog::window
