#include "runtime/report/page_image.h"

#include <algorithm>
#include <string>

#include "runtime/report/metafile.h"
#include "runtime/window/image_painter.h"
#include "runtime/window/image_scroll.h"

namespace carelog::report {
namespace {

constexpr int kMargin = 4;  // grey ground left around a fitted page, in pixels
constexpr host::Color kGround{160, 160, 160};
constexpr host::Color kPaper{255, 255, 255};

double AspectOf(int page_width, int page_height) {
  return page_width > 0 && page_height > 0 ? static_cast<double>(page_height) / page_width
                                           : 11.0 / 8.5;
}

void PaintFitted(const DrawList& page, const PageFrame& frame, host::DeviceContext& dc,
                 const host::Rect& bounds) {
  host::Rect target = FittedPage(frame.width, frame.height, bounds);
  dc.FillRect(bounds, kGround);
  dc.IntersectClip(bounds);
  dc.FillRect(target, kPaper);
  page.Play(dc, TransformInto(frame, target));
}

// The zoomed page in the view left by the scroll bars, at the control's scroll position.
void PaintZoomed(window::Control& image, const DrawList& page, const PageFrame& frame,
                 host::DeviceContext& dc, const host::Rect& bounds, int zoom) {
  host::Size content = ZoomedPageSize(frame.width, frame.height, bounds.Width(), zoom);
  window::SetImageSetting(image, window::kImageContentWidth, content.width);
  window::SetImageSetting(image, window::kImageContentHeight, content.height);
  window::ImageScrollLayout layout = window::LayoutImageScroll(bounds, content);
  host::Point scroll = window::ClampImageScroll(
      layout, content,
      host::Point{static_cast<int>(window::ImageSetting(image, window::kImageScrollX)),
                  static_cast<int>(window::ImageSetting(image, window::kImageScrollY))});
  window::SetImageSetting(image, window::kImageScrollX, scroll.x);
  window::SetImageSetting(image, window::kImageScrollY, scroll.y);
  // A page narrower than its view stands in the middle of it.
  int left = layout.view.left + std::max(0, (layout.view.Width() - content.width) / 2);
  host::Rect target = host::Rect::FromSize(left - scroll.x, layout.view.top - scroll.y,
                                           content.width, content.height);
  dc.FillRect(bounds, kGround);
  dc.Save();
  dc.IntersectClip(layout.view);
  dc.FillRect(target, kPaper);
  page.Play(dc, TransformInto(frame, target));
  dc.Restore();
  window::PaintImageScrollBars(dc, layout, content, scroll);
}

bool PaintPage(window::Control& image, host::DeviceContext& dc, const host::Rect& bounds) {
  DrawList page;
  PageFrame frame;
  std::string error;
  if (!ReadPageFile(image.image, &page, &frame, &error)) return false;
  int zoom = static_cast<int>(window::ImageSetting(image, window::kImageZoom));
  if (zoom > 0) {
    PaintZoomed(image, page, frame, dc, bounds, zoom);
  } else {
    PaintFitted(page, frame, dc, bounds);
  }
  return true;
}

}  // namespace

host::Rect FittedPage(int page_width, int page_height, const host::Rect& bounds) {
  double aspect = AspectOf(page_width, page_height);
  int room_w = std::max(1, bounds.Width() - 2 * kMargin);
  int room_h = std::max(1, bounds.Height() - 2 * kMargin);
  int width = room_w, height = static_cast<int>(room_w * aspect);
  if (height > room_h) {
    height = room_h;
    width = std::max(1, static_cast<int>(room_h / aspect));
  }
  return host::Rect::FromSize(bounds.left + (bounds.Width() - width) / 2,
                              bounds.top + (bounds.Height() - height) / 2, width, height);
}

host::Size ZoomedPageSize(int page_width, int page_height, int bounds_width, int zoom_percent) {
  int width = std::max(1, bounds_width * zoom_percent / 100);
  return host::Size{width,
                    std::max(1, static_cast<int>(width * AspectOf(page_width, page_height)))};
}

void RegisterPageImages() {
  window::SetImagePainter(&PaintPage);
}

}  // namespace carelog::report
