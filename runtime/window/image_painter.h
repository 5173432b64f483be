// Image files the window runtime does not decode itself (the report engine's page files) are
// drawn by a painter that a higher layer registers. An image control whose file is not a
// bitmap asks the painter; with no painter, or when the painter cannot read the file, the
// control shows an empty page with a cross, so an unreadable file is plain to see.
//
// The painter draws the control's `image` file into `bounds` (the control's own client
// coordinates). The control's extra property kImageZoom, when non-zero, asks for the page at
// that many percent of the control's width, scrolled down by kImageScrollY pixels; the painter
// keeps the scroll position in range and writes it back.
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

// An extra setting of an image control (0 when never set).
int64_t ImageSetting(const Control& image, int property);
void SetImageSetting(Control& image, int property, int64_t value);

// The mark of a page that cannot be shown: a white page with a border and a cross.
void PaintMissingPage(host::DeviceContext& dc, const host::Rect& page);

}  // namespace carelog::window
