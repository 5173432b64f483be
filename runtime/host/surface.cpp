#include <algorithm>
#include <cmath>

#include "runtime/host/graphics_native.h"

namespace carelog::host {

Surface::Surface(std::unique_ptr<Native> native) : native_(std::move(native)) {}
Surface::~Surface() = default;

std::shared_ptr<Surface> Surface::Create(int width, int height, Color fill, double scale) {
  auto native = std::make_unique<Native>();
  // Window sizes come from definitions; an absurd one must not become an absurd allocation.
  native->scale = std::isfinite(scale) ? std::clamp(scale, 1.0, kMaxSurfaceScale) : 1.0;
  native->width = std::clamp(width, 1, kMaxSurfaceSide);
  native->height = std::clamp(height, 1, kMaxSurfaceSide);
  auto device = [&](int side) {
    return std::clamp(static_cast<int>(std::ceil(side * native->scale)), 1, kMaxSurfaceSide);
  };
  native->surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, device(native->width),
                                               device(native->height));
  cairo_surface_set_device_scale(native->surface, native->scale, native->scale);
  cairo_t* cr = cairo_create(native->surface);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_rgba(cr, fill.r / 255.0, fill.g / 255.0, fill.b / 255.0, fill.a / 255.0);
  cairo_paint(cr);
  cairo_destroy(cr);
  return std::shared_ptr<Surface>(new Surface(std::move(native)));
}

std::shared_ptr<Surface> Surface::LoadPng(const std::string& path) {
  cairo_surface_t* loaded = cairo_image_surface_create_from_png(path.c_str());
  if (cairo_surface_status(loaded) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(loaded);
    return nullptr;
  }
  // Normalise to ARGB32 so Pixel() and the backends see one format.
  int w = cairo_image_surface_get_width(loaded);
  int h = cairo_image_surface_get_height(loaded);
  std::shared_ptr<Surface> out = Create(w, h, Color{0, 0, 0, 0});
  cairo_t* cr = cairo_create(out->native()->surface);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_surface(cr, loaded, 0, 0);
  cairo_paint(cr);
  cairo_destroy(cr);
  cairo_surface_destroy(loaded);
  return out;
}

std::shared_ptr<Surface> Surface::FromPixels(int width, int height, const uint32_t* pixels,
                                             int stride) {
  std::shared_ptr<Surface> out = Create(width, height, Color{0, 0, 0, 0});
  cairo_surface_t* s = out->native()->surface;
  cairo_surface_flush(s);
  uint8_t* data = cairo_image_surface_get_data(s);
  int out_stride = cairo_image_surface_get_stride(s);
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(data + y * out_stride);
    for (int x = 0; x < width; ++x) {
      uint32_t p = pixels[static_cast<size_t>(y) * stride + x];
      uint32_t a = p >> 24;
      auto premultiply = [a](uint32_t c) { return (c * a + 127) / 255; };
      row[x] = (a << 24) | (premultiply((p >> 16) & 0xFF) << 16) |
               (premultiply((p >> 8) & 0xFF) << 8) | premultiply(p & 0xFF);
    }
  }
  cairo_surface_mark_dirty(s);
  return out;
}

int Surface::Width() const {
  return native_->width;
}
int Surface::Height() const {
  return native_->height;
}
double Surface::Scale() const {
  return native_->scale;
}
int Surface::DeviceWidth() const {
  return cairo_image_surface_get_width(native_->surface);
}
int Surface::DeviceHeight() const {
  return cairo_image_surface_get_height(native_->surface);
}

bool Surface::SavePng(const std::string& path) const {
  std::lock_guard<std::mutex> lock(mutex_);
  cairo_surface_flush(native_->surface);
  return cairo_surface_write_to_png(native_->surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

uint32_t Surface::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= DeviceWidth() || y >= DeviceHeight()) return 0;
  cairo_surface_flush(native_->surface);
  const uint8_t* data = cairo_image_surface_get_data(native_->surface);
  uint32_t p = *reinterpret_cast<const uint32_t*>(
      data + y * cairo_image_surface_get_stride(native_->surface) + x * 4);
  uint32_t a = p >> 24;
  if (a == 0) return 0;
  auto unpremultiply = [a](uint32_t c) { return (c * 255 + a / 2) / a; };
  return (a << 24) | (unpremultiply((p >> 16) & 0xFF) << 16) |
         (unpremultiply((p >> 8) & 0xFF) << 8) | unpremultiply(p & 0xFF);
}

std::shared_ptr<Surface> Surface::Copy(const Rect& area) const {
  Rect clipped = area.Intersect(Rect{0, 0, Width(), Height()});
  std::shared_ptr<Surface> out =
      Create(clipped.Width(), clipped.Height(), Color{0, 0, 0, 0}, Scale());
  if (clipped.Empty()) return out;
  cairo_t* cr = cairo_create(out->native()->surface);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_surface(cr, native_->surface, -clipped.left, -clipped.top);
  cairo_paint(cr);
  cairo_destroy(cr);
  return out;
}

std::shared_ptr<Surface> Surface::AtLogicalSize() const {
  std::shared_ptr<Surface> out = Create(Width(), Height(), Color{0, 0, 0, 0});
  std::lock_guard<std::mutex> lock(mutex_);
  cairo_t* cr = cairo_create(out->native()->surface);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  // Both surfaces measure in logical pixels, so the source comes down to size by itself.
  cairo_set_source_surface(cr, native_->surface, 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
  cairo_paint(cr);
  cairo_destroy(cr);
  return out;
}

const uint8_t* Surface::Data() const {
  cairo_surface_flush(native_->surface);
  return cairo_image_surface_get_data(native_->surface);
}

int Surface::StrideBytes() const {
  return cairo_image_surface_get_stride(native_->surface);
}

}  // namespace carelog::host
