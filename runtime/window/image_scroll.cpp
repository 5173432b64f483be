#include "runtime/window/image_scroll.h"

#include <algorithm>

#include "runtime/host/window_system.h"
#include "runtime/window/control_classes.h"
#include "runtime/window/image_painter.h"

namespace carelog::window {
namespace {

host::Size ContentOf(const Control& c) {
  return host::Size{static_cast<int>(ImageSetting(c, kImageContentWidth)),
                    static_cast<int>(ImageSetting(c, kImageContentHeight))};
}

host::Point ScrollOf(const Control& c) {
  return host::Point{static_cast<int>(ImageSetting(c, kImageScrollX)),
                     static_cast<int>(ImageSetting(c, kImageScrollY))};
}

bool Scrollable(const ImageScrollLayout& layout) {
  return !layout.vertical.Empty() || !layout.horizontal.Empty();
}

ImageScrollLayout LayoutOf(const Control& c) {
  return LayoutImageScroll(draw::Bounds(c), ContentOf(c));
}

// One bar's parts: the arrow boxes at its ends and the thumb, sized by the share of the
// content in view and placed by the scroll position.
draw::ScrollBarParts PartsOf(const host::Rect& bar, bool vertical, int view, int content,
                             int scroll) {
  draw::ScrollBarParts parts{bar, {}, {}, {}, vertical};
  if (bar.Empty()) return parts;
  int across = vertical ? bar.Width() : bar.Height();
  int length = vertical ? bar.Height() : bar.Width();
  int track = length - 2 * across;
  if (vertical) {
    parts.back = host::Rect::FromSize(bar.left, bar.top, across, across);
    parts.forward = host::Rect::FromSize(bar.left, bar.bottom - across, across, across);
  } else {
    parts.back = host::Rect::FromSize(bar.left, bar.top, across, across);
    parts.forward = host::Rect::FromSize(bar.right - across, bar.top, across, across);
  }
  if (track <= 0 || content <= view) return parts;
  int thumb = std::clamp(track * view / content, std::min(16, track), track);
  int offset = across + (track - thumb) * scroll / (content - view);
  parts.thumb = vertical ? host::Rect::FromSize(bar.left, bar.top + offset, across, thumb)
                         : host::Rect::FromSize(bar.left + offset, bar.top, thumb, across);
  return parts;
}

bool Contains(const host::Rect& r, host::Point p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

// How far a press on the bar at `p` scrolls: a line on an arrow, a view towards the press on
// the track, nothing on the thumb.
int StepAt(const draw::ScrollBarParts& parts, host::Point p, int view) {
  if (Contains(parts.back, p)) return -kImageLineStep;
  if (Contains(parts.forward, p)) return kImageLineStep;
  if (parts.thumb.Empty() || Contains(parts.thumb, p)) return 0;
  int at = parts.vertical ? p.y : p.x;
  int thumb_start = parts.vertical ? parts.thumb.top : parts.thumb.left;
  int page = std::max(view - kImageLineStep, kImageLineStep);
  return at < thumb_start ? -page : page;
}

// The visible image controls whose content needs scrolling, topmost first.
std::vector<Control*> ScrollableImages(Structure& s) {
  std::vector<Control*> found;
  for (auto it = s.controls.rbegin(); it != s.controls.rend(); ++it) {
    Control& c = **it;
    if (c.kind == kKindImage && c.IsVisible() && Scrollable(LayoutOf(c))) found.push_back(&c);
  }
  return found;
}

}  // namespace

ImageScrollLayout LayoutImageScroll(const host::Rect& bounds, host::Size content) {
  bool vertical = content.height > bounds.Height();
  bool horizontal = content.width > bounds.Width() - (vertical ? kImageBarSize : 0);
  if (horizontal && !vertical) vertical = content.height > bounds.Height() - kImageBarSize;
  ImageScrollLayout layout{bounds, {}, {}};
  if (vertical) layout.view.right = std::max(bounds.left, bounds.right - kImageBarSize);
  if (horizontal) layout.view.bottom = std::max(bounds.top, bounds.bottom - kImageBarSize);
  if (vertical) {
    layout.vertical = host::Rect{layout.view.right, bounds.top, bounds.right, layout.view.bottom};
  }
  if (horizontal) {
    layout.horizontal =
        host::Rect{bounds.left, layout.view.bottom, layout.view.right, bounds.bottom};
  }
  return layout;
}

host::Point ClampImageScroll(const ImageScrollLayout& layout, host::Size content,
                             host::Point scroll) {
  return host::Point{std::clamp(scroll.x, 0, std::max(0, content.width - layout.view.Width())),
                     std::clamp(scroll.y, 0, std::max(0, content.height - layout.view.Height()))};
}

void PaintImageScrollBars(host::DeviceContext& dc, const ImageScrollLayout& layout,
                          host::Size content, host::Point scroll) {
  draw::ScrollBar(dc,
                  PartsOf(layout.vertical, true, layout.view.Height(), content.height, scroll.y));
  draw::ScrollBar(dc,
                  PartsOf(layout.horizontal, false, layout.view.Width(), content.width, scroll.x));
  if (!layout.vertical.Empty() && !layout.horizontal.Empty()) {
    dc.FillRect(host::Rect{layout.vertical.left, layout.horizontal.top, layout.vertical.right,
                           layout.horizontal.bottom},
                theme::kWindow);
  }
}

bool ScrollImageBy(Control& image, int dx, int dy) {
  ImageScrollLayout layout = LayoutOf(image);
  host::Point now = ScrollOf(image);
  host::Point next =
      ClampImageScroll(layout, ContentOf(image), host::Point{now.x + dx, now.y + dy});
  if (next == now) return false;
  SetImageSetting(image, kImageScrollX, next.x);
  SetImageSetting(image, kImageScrollY, next.y);
  if (image.window && image.window->is_open()) host::Invalidate(image.window->handle);
  return true;
}

bool WheelImage(Structure& s, host::Point point, int notches, bool horizontal) {
  std::vector<Control*> images = ScrollableImages(s);
  if (images.empty()) return false;
  Control* target = images.size() == 1 ? images.front() : nullptr;
  for (Control* c : images) {
    if (!target && Contains(c->pixels, point)) target = c;
  }
  if (!target) return false;
  int step = -notches * kImageWheelStep;  // a notch up shows what lies above
  ScrollImageBy(*target, horizontal ? step : 0, horizontal ? 0 : step);
  return true;
}

namespace {

// The bar of the image the held thumb moves along, with its parts at the scroll position now.
draw::ScrollBarParts HeldBarParts(const Control& c, bool vertical) {
  ImageScrollLayout layout = LayoutOf(c);
  host::Size content = ContentOf(c);
  host::Point scroll = ScrollOf(c);
  return vertical ? PartsOf(layout.vertical, true, layout.view.Height(), content.height, scroll.y)
                  : PartsOf(layout.horizontal, false, layout.view.Width(), content.width, scroll.x);
}

// A press on a bar: held when on its thumb, else a step by the arrow or the track.
void PressBar(Structure& s, Control& c, bool vertical, host::Point local) {
  ImageScrollLayout layout = LayoutOf(c);
  draw::ScrollBarParts parts = HeldBarParts(c, vertical);
  host::Point scroll = ScrollOf(c);
  if (!parts.thumb.Empty() && Contains(parts.thumb, local)) {
    s.thumb_drag = Structure::ThumbDrag{&c, vertical, vertical ? local.y : local.x,
                                        vertical ? scroll.y : scroll.x};
    host::SetCapture(s.handle);
    return;
  }
  int step = StepAt(parts, local, vertical ? layout.view.Height() : layout.view.Width());
  ScrollImageBy(c, vertical ? 0 : step, vertical ? step : 0);
}

}  // namespace

bool ClickImageScrollBar(Structure& s, host::Point point) {
  for (Control* c : ScrollableImages(s)) {
    if (!Contains(c->pixels, point)) continue;
    host::Point local{point.x - c->pixels.left, point.y - c->pixels.top};
    ImageScrollLayout layout = LayoutOf(*c);
    bool vertical = Contains(layout.vertical, local);
    if (!vertical && !Contains(layout.horizontal, local)) continue;
    PressBar(s, *c, vertical, local);
    return true;
  }
  return false;
}

bool DragImageThumb(Structure& s, host::Point point) {
  Structure::ThumbDrag& drag = s.thumb_drag;
  if (!drag.image) return false;
  Control& c = *drag.image;
  draw::ScrollBarParts parts = HeldBarParts(c, drag.vertical);
  ImageScrollLayout layout = LayoutOf(c);
  host::Size content = ContentOf(c);
  int view = drag.vertical ? layout.view.Height() : layout.view.Width();
  int range = (drag.vertical ? content.height : content.width) - view;
  int across = drag.vertical ? parts.bar.Width() : parts.bar.Height();
  int length = drag.vertical ? parts.bar.Height() : parts.bar.Width();
  int thumb = drag.vertical ? parts.thumb.Height() : parts.thumb.Width();
  int travel = length - 2 * across - thumb;  // how far the thumb can move along the track
  if (parts.thumb.Empty() || travel <= 0 || range <= 0) return true;
  int along = (drag.vertical ? point.y - c.pixels.top : point.x - c.pixels.left) - drag.press;
  int wanted = drag.scroll + static_cast<int>(static_cast<int64_t>(along) * range / travel);
  host::Point now = ScrollOf(c);
  ScrollImageBy(c, drag.vertical ? 0 : wanted - now.x, drag.vertical ? wanted - now.y : 0);
  return true;
}

bool ReleaseImageThumb(Structure& s) {
  if (!s.thumb_drag.image) return false;
  s.thumb_drag = Structure::ThumbDrag{};
  host::ReleaseCapture();
  return true;
}

}  // namespace carelog::window
