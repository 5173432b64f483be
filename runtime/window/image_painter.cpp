#include "runtime/window/image_painter.h"

#include <atomic>

namespace carelog::window {
namespace {
std::atomic<ImagePainter> current_painter{nullptr};
}  // namespace

void SetImagePainter(ImagePainter painter) {
  current_painter.store(painter);
}

ImagePainter CurrentImagePainter() {
  return current_painter.load();
}

// Extra properties are kept under the key that SetProperty gives them (index 0).
int64_t ImageSetting(const Control& image, int property) {
  auto it = image.extra.find(property << 16);
  return it == image.extra.end() ? 0 : it->second;
}

void SetImageSetting(Control& image, int property, int64_t value) {
  image.extra[property << 16] = value;
}

void PaintMissingPage(host::DeviceContext& dc, const host::Rect& page) {
  dc.FillRect(page, host::Color{255, 255, 255});
  dc.SetNoBrush();
  dc.SetPen(host::Color{128, 128, 128});
  dc.Rectangle(page);
  dc.SetPen(host::Color{192, 0, 0}, 2);
  dc.MoveTo(host::Point{page.left, page.top});
  dc.LineTo(host::Point{page.right - 1, page.bottom - 1});
  dc.MoveTo(host::Point{page.right - 1, page.top});
  dc.LineTo(host::Point{page.left, page.bottom - 1});
}

}  // namespace carelog::window
