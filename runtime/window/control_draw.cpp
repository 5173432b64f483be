#include "runtime/window/control_classes.h"

namespace carelog::window::draw {

host::Rect Bounds(const Control& c) {
  return host::Rect{0, 0, c.pixels.Width(), c.pixels.Height()};
}

void Label(host::DeviceContext& dc, const Control& c, const host::Rect& rect, std::string_view text,
           uint32_t flags) {
  dc.SetFont(c.font);
  dc.SetTextColor(c.IsEnabled() ? (c.font.color == host::Color{} ? theme::kText : c.font.color)
                                : theme::kDisabledText);
  dc.SetTextBackground(theme::kWindow, false);
  dc.DrawText(rect, text, flags);
}

host::Size TextSize(host::DeviceContext& dc, const Control& c, std::string_view text, int pad_x,
                    int pad_y) {
  dc.SetFont(c.font);
  host::Size size = dc.TextExtent(text.empty() ? std::string_view("M") : text);
  if (text.empty()) size.width = 0;
  return host::Size{size.width + 2 * pad_x, size.height + 2 * pad_y};
}

namespace {
constexpr host::Color kBarTrack{240, 240, 240};
constexpr host::Color kBarThumb{194, 194, 194};
constexpr host::Color kBarArrow{96, 96, 96};

// A small filled triangle in the middle of `box`, pointing the way the arrow scrolls.
void Arrow(host::DeviceContext& dc, const host::Rect& box, bool vertical, bool forward) {
  int cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
  dc.SetPen(kBarArrow);
  for (int i = 0; i < 4; ++i) {
    int along = forward ? 1 - i : -2 + i;
    if (vertical) {
      dc.MoveTo(host::Point{cx - i, cy + along});
      dc.LineTo(host::Point{cx + i + 1, cy + along});
    } else {
      dc.MoveTo(host::Point{cx + along, cy - i});
      dc.LineTo(host::Point{cx + along, cy + i + 1});
    }
  }
}
}  // namespace

void ScrollBar(host::DeviceContext& dc, const ScrollBarParts& parts) {
  if (parts.bar.Empty()) return;
  dc.FillRect(parts.bar, kBarTrack);
  Arrow(dc, parts.back, parts.vertical, false);
  Arrow(dc, parts.forward, parts.vertical, true);
  if (parts.thumb.Empty()) return;
  dc.SetPen(kBarThumb);
  dc.SetBrush(kBarThumb);
  const host::Rect& t = parts.thumb;
  dc.RoundRect(parts.vertical ? host::Rect{t.left + 3, t.top, t.right - 3, t.bottom}
                              : host::Rect{t.left, t.top + 3, t.right, t.bottom - 3},
               3);
}

void FocusRing(host::DeviceContext& dc, const host::Rect& rect) {
  dc.FrameRect(rect, theme::kAccent);
  dc.FrameRect(host::Rect{rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1},
               theme::kAccent);
}

host::Color DefinitionColor(int64_t value, host::Color fallback) {
  if (value < 0) return fallback;
  auto c = static_cast<uint32_t>(value);
  return host::Color{static_cast<uint8_t>(c & 0xFF), static_cast<uint8_t>((c >> 8) & 0xFF),
                     static_cast<uint8_t>((c >> 16) & 0xFF)};
}

}  // namespace carelog::window::draw
