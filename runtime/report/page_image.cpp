#include "runtime/report/page_image.h"

#include <algorithm>
#include <string>

#include "runtime/report/metafile.h"
#include "runtime/window/image_painter.h"

namespace carelog::report {
namespace {

constexpr int kMargin = 4;  // grey ground left around a fitted page, in pixels
constexpr host::Color kGround{160, 160, 160};
constexpr host::Color kPaper{255, 255, 255};

bool PaintPage(window::Control& image, host::DeviceContext& dc, const host::Rect& bounds) {
  DrawList page;
  PageFrame frame;
  std::string error;
  if (!ReadPageFile(image.image, &page, &frame, &error)) return false;
  int zoom = static_cast<int>(window::ImageSetting(image, window::kImageZoom));
  int scroll = static_cast<int>(window::ImageSetting(image, window::kImageScrollY));
  host::Rect target = PagePlacement(frame.width, frame.height, bounds, zoom, &scroll);
  window::SetImageSetting(image, window::kImageScrollY, scroll);
  dc.FillRect(bounds, kGround);
  dc.IntersectClip(bounds);
  dc.FillRect(target, kPaper);
  page.Play(dc, TransformInto(frame, target));
  return true;
}

}  // namespace

host::Rect PagePlacement(int page_width, int page_height, const host::Rect& bounds,
                         int zoom_percent, int* scroll_y) {
  double aspect = page_width > 0 && page_height > 0 ? static_cast<double>(page_height) / page_width
                                                    : 11.0 / 8.5;
  if (zoom_percent > 0) {
    int width = std::max(1, bounds.Width() * zoom_percent / 100);
    int height = std::max(1, static_cast<int>(width * aspect));
    *scroll_y = std::clamp(*scroll_y, 0, std::max(0, height - bounds.Height()));
    return host::Rect::FromSize(bounds.left, bounds.top - *scroll_y, width, height);
  }
  *scroll_y = 0;
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

void RegisterPageImages() {
  window::SetImagePainter(&PaintPage);
}

}  // namespace carelog::report
