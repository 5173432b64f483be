// Controls that show without taking input: prompts, strings, progress bars, toolbars and
// custom-control placeholders (windows of their own); regions, images, lines and boxes (drawn
// by the window beneath the other controls).
#include <algorithm>

#include "runtime/host/window_system.h"
#include "runtime/window/control_classes.h"

namespace carelog::window {
namespace {

host::Size LabelMeasure(Control& c, host::DeviceContext& dc) {
  return draw::TextSize(dc, c, c.text, 1, 1);
}

void PromptPaint(Control& c, host::DeviceContext& dc, bool) {
  draw::Label(dc, c, draw::Bounds(c), c.text, host::text::kVCenter | host::text::kHotkeyPrefix);
}

void StringPaint(Control& c, host::DeviceContext& dc, bool) {
  draw::Label(dc, c, draw::Bounds(c), c.text, host::text::kVCenter);
}

host::Size ProgressMeasure(Control&, host::DeviceContext&) {
  return host::Size{150, 14};
}

void ProgressPaint(Control& c, host::DeviceContext& dc, bool) {
  host::Rect r = draw::Bounds(c);
  dc.SetBrush(host::Color{230, 230, 230});
  dc.SetPen(host::Color{188, 188, 188});
  dc.RoundRect(r, 3);
  double span = Progress(c).upper - Progress(c).lower;
  double fraction = span > 0 ? std::clamp((Progress(c).value - Progress(c).lower) / span, 0.0, 1.0) : 0.0;
  int width = static_cast<int>((r.Width() - 2) * fraction);
  if (width > 0) {
    dc.FillRect(host::Rect{r.left + 1, r.top + 1, r.left + 1 + width, r.bottom - 1},
                c.IsEnabled() ? host::Color{6, 176, 37} : theme::kDisabledText);
  }
}

host::Size ToolbarMeasure(Control& c, host::DeviceContext&) {
  return host::Size{c.window->definition.at.width == kNotGiven ? 400 : 2000, 28};
}

void ToolbarPaint(Control& c, host::DeviceContext& dc, bool) {
  host::Rect r = draw::Bounds(c);
  dc.FillRect(r, host::Color{234, 234, 234});
  dc.FillRect(host::Rect{r.left, r.bottom - 1, r.right, r.bottom}, host::Color{210, 210, 210});
}

host::Size CustomMeasure(Control&, host::DeviceContext&) {
  return host::Size{100, 40};
}

void CustomPaint(Control& c, host::DeviceContext& dc, bool) {
  host::Rect r = draw::Bounds(c);
  dc.SetNoBrush();
  dc.SetPen(theme::kBorder, 1, host::PenStyle::kDash);
  dc.Rectangle(r);
  draw::Label(dc, c, r, c.text, host::text::kCenter | host::text::kVCenter);
}

host::Size GraphicMeasure(Control& c, host::DeviceContext&) {
  if (c.bitmap) return host::Size{c.bitmap->Width(), c.bitmap->Height()};
  return host::Size{32, 32};
}

void RegionPaint(Control& c, host::DeviceContext& dc, bool) {
  host::Rect r = draw::Bounds(c);
  if (c.fill >= 0) dc.FillRect(r, draw::DefinitionColor(c.fill, theme::kWindow));
  if (c.color >= 0) dc.FrameRect(r, draw::DefinitionColor(c.color, theme::kText));
}

void BoxPaint(Control& c, host::DeviceContext& dc, bool) {
  host::Rect r = draw::Bounds(c);
  if (c.fill >= 0) dc.FillRect(r, draw::DefinitionColor(c.fill, theme::kWindow));
  dc.FrameRect(r, draw::DefinitionColor(c.color, theme::kText));
}

void LinePaint(Control& c, host::DeviceContext& dc, bool) {
  // A line runs from the top left to the bottom right of its rectangle; a zero width or
  // height makes it vertical or horizontal.
  dc.SetPen(draw::DefinitionColor(c.color, theme::kText));
  int w = ToPixelsX(c.window->scale, c.at.width);
  int h = ToPixelsY(c.window->scale, c.at.height);
  dc.MoveTo(host::Point{0, 0});
  dc.LineTo(host::Point{w == 0 ? 0 : w, h == 0 ? 0 : h});
  if (w == 0) dc.LineTo(host::Point{0, h + 1});
  if (h == 0) dc.LineTo(host::Point{w + 1, 0});
}

void ImagePaint(Control& c, host::DeviceContext& dc, bool) {
  host::Rect r = draw::Bounds(c);
  if (c.bitmap) {
    // Drawn at its own size, centred in the control's area and clipped to it.
    int x = (r.Width() - c.bitmap->Width()) / 2, y = (r.Height() - c.bitmap->Height()) / 2;
    dc.DrawBitmap(*c.bitmap, host::Rect::FromSize(x, y, c.bitmap->Width(), c.bitmap->Height()));
    return;
  }
  dc.SetNoBrush();
  dc.SetPen(theme::kBorder, 1, host::PenStyle::kDot);
  dc.Rectangle(r);
}

void NoPaint(Control&, host::DeviceContext&, bool) {}

}  // namespace

const ControlClass kPromptClass{"TamPrompt", "prompt",      true,         false,
                                false,       &LabelMeasure, &PromptPaint, nullptr};
const ControlClass kStringClass{"TamString", "string",      true,         false,
                                true,        &LabelMeasure, &StringPaint, nullptr};
const ControlClass kProgressClass{"TamProgress", "progress",       true,           false,
                                  true,          &ProgressMeasure, &ProgressPaint, nullptr};
const ControlClass kToolbarClass{"TamToolBar", "toolbar",       true,          false,
                                 true,         &ToolbarMeasure, &ToolbarPaint, nullptr};
const ControlClass kCustomClass{"TamVBDummy", "custom",       true,         false,
                                true,         &CustomMeasure, &CustomPaint, nullptr};
const ControlClass kRegionClass{"TamRegion", "region",        false,        false,
                                false,       &GraphicMeasure, &RegionPaint, nullptr};
const ControlClass kImageClass{"LRCDTamGraphic", "image",     false,  false, false,
                               &GraphicMeasure,  &ImagePaint, nullptr};
const ControlClass kLineClass{"LRCDTamGraphic", "line",     false,  false, false,
                              &GraphicMeasure,  &LinePaint, nullptr};
const ControlClass kBoxClass{"LRCDTamGraphic", "box",     false,  false, false,
                             &GraphicMeasure,  &BoxPaint, nullptr};
const ControlClass kTabClass{"TamTab", "tab", false, false, false, nullptr, &NoPaint, nullptr};

}  // namespace carelog::window
