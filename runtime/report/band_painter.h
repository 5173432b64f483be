// Records a band of a report definition as a drawing in page units, with the current values
// of its USE variables, and measures it. Coordinates of a band's controls are relative to the
// band's top left; the drawing is too, so the layout moves it to wherever the band is placed.
//
// What each control kind draws:
//   string 2, prompt 10   its text at the top left of its box
//   varstring 1, entry 8  its variable formatted through its picture
//   textbox 17 (memo)     its variable's text wrapped into the box's width, line by line;
//                         the band grows when the text needs more height than the box
//   check 12              a square box, with a cross when its variable is not zero or blank,
//                         and its text beside it
//   line 5                from the top left to the bottom right of its box
//   box 6, region 4       its rectangle outlined (box always, region with a colour) and
//                         filled with its fill colour when it has one
//   image 3               the picture file scaled into its box
// A string whose attribute word has kPageNumberAttr shows the page number being laid out.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "runtime/host/graphics.h"
#include "runtime/report/draw_list.h"
#include "runtime/window/definition_model.h"
#include "runtime/window/units.h"
#include "runtime/window/use_binding.h"

namespace carelog::report {

inline constexpr uint32_t kPageNumberAttr = 0x0200;

struct BandContext {
  window::UnitScale scale;       // report units to page units
  int pixels_per_inch = 300;     // of the page, for font sizes
  host::DeviceContext* measure;  // text metrics at the page's resolution; not owned
  host::FontSpec report_font;    // the report's font, which controls inherit
  std::map<const window::Entry*, const window::UseVariable*> uses;  // USE of each control
  int page_number = 1;
  // Line heights of the fonts measured so far: a report uses a handful of fonts, and its
  // controls switch between them all the time, so each is measured once per report.
  mutable std::vector<std::pair<host::FontSpec, int>> line_heights;
};

struct BandDrawing {
  DrawList drawing;
  int height = 0;  // page units
};

// Records `band` (a band entry: kinds 27, 28, 30, 31). The height is the band's own height,
// or the bottom of what it drew when that is lower.
BandDrawing PaintBand(const window::Entry& band, const BandContext& context);

// The lines of `text` wrapped to `width` page units in the measuring context's current font:
// at spaces where possible, inside a word when it is wider than the line; line breaks kept.
std::vector<std::string> WrapText(host::DeviceContext& measure, const std::string& text, int width);

// The page font of a font spec at `pixels_per_inch`.
PageFont PageFontOf(const host::FontSpec& font, int pixels_per_inch);

}  // namespace carelog::report
