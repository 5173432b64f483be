// Page files in image controls: registers the report engine's player as the window runtime's
// image painter, so that an image control whose file is a page file shows that page.
//
// The page keeps its aspect: scaled to fit the control and centred on a grey ground, or, with
// the control's zoom setting, at that percentage of the control's width from the left edge,
// scrolled vertically by the control's scroll setting (kept within the page).
#pragma once

#include "runtime/host/graphics.h"

namespace carelog::report {

void RegisterPageImages();

// Where a page of `page_width` x `page_height` is drawn inside `bounds`: fitted and centred
// when `zoom_percent` is 0, else that wide and shifted up by `scroll_y` (clamped; the clamped
// value is written back).
host::Rect PagePlacement(int page_width, int page_height, const host::Rect& bounds,
                         int zoom_percent, int* scroll_y);

}  // namespace carelog::report
