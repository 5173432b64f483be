// Page files in image controls: registers the report engine's player as the window runtime's
// image painter, so that an image control whose file is a page file shows that page.
//
// The page keeps its aspect: scaled to fit the control and centred on a grey ground, or, with
// the control's zoom setting, at that percentage of the control's width, scrolled by the
// control's scroll settings within the page, with the control's scroll bars where the page
// does not fit (runtime/window/image_scroll.h).
#pragma once

#include "runtime/host/graphics.h"

namespace carelog::report {

void RegisterPageImages();

// Where a page of `page_width` x `page_height` (any unit) is drawn fitted inside `bounds`:
// as large as fits with its aspect, centred.
host::Rect FittedPage(int page_width, int page_height, const host::Rect& bounds);

// The size of a zoomed page: `zoom_percent` of `bounds_width` wide, its aspect kept.
host::Size ZoomedPageSize(int page_width, int page_height, int bounds_width, int zoom_percent);

}  // namespace carelog::report
