// Drawing: surfaces (pixel images), fonts with their metrics, and the device context through
// which screen painting, page recording and printing all draw.
//
// Coordinates are integer device units with the origin at the top left. On a screen surface a
// unit is a logical pixel at 96 per inch (the surface's device scale turns it into as many
// screen pixels as the screen's density needs); on a printer page it is a printer pixel, whatever
// the printer's resolution. Lines and shapes are drawn without anti-aliasing so that a one-unit
// line covers exactly one row or column of pixels; text is anti-aliased.
//
// A DeviceContext is used by one thread at a time. Text drawing and measuring is serialised
// inside this layer, so contexts on different threads may be used at once.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/host/types.h"

namespace carelog::host {

// An image of 32-bit pixels (alpha, red, green, blue). Window backing stores and bitmaps
// are surfaces.
//
// A surface has a size in logical pixels and a device scale: it holds scale x as many device
// pixels in each direction, and whatever draws on it goes through the scale, so a window
// backing store on a high-density screen is painted sharp at the screen's own density while
// every coordinate stays logical. Bitmaps and pictures have scale 1.
inline constexpr int kMaxSurfaceSide = 16384;
inline constexpr double kMaxSurfaceScale = 4;

class Surface {
 public:
  // A surface filled with `fill`. Sizes are clamped to 1..kMaxSurfaceSide.
  // Scales are clamped to 1..kMaxSurfaceScale, and the device size to kMaxSurfaceSide.
  static std::shared_ptr<Surface> Create(int width, int height, Color fill = Color{255, 255, 255},
                                         double scale = 1);
  // Reads a PNG file; nullptr when it cannot be read.
  static std::shared_ptr<Surface> LoadPng(const std::string& path);
  // Copies unpremultiplied 0xAARRGGBB pixels, `stride` pixels per row.
  static std::shared_ptr<Surface> FromPixels(int width, int height, const uint32_t* pixels,
                                             int stride);
  ~Surface();
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  int Width() const;  // logical
  int Height() const;
  double Scale() const;
  int DeviceWidth() const;
  int DeviceHeight() const;
  // Saves the device pixels.
  bool SavePng(const std::string& path) const;
  // Unpremultiplied 0xAARRGGBB of the device pixel at (x, y); 0 outside the surface. At scale 1
  // device and logical pixels are the same.
  uint32_t Pixel(int x, int y) const;
  // Copies a rectangle (logical) of this surface into a new one of the same scale.
  std::shared_ptr<Surface> Copy(const Rect& area) const;
  // A copy at scale 1: above scale 1 the device pixels are averaged down to the logical size.
  std::shared_ptr<Surface> AtLogicalSize() const;

  // Backends read the device pixels (premultiplied ARGB32, native byte order) while holding
  // Lock(); painting holds it as well.
  const uint8_t* Data() const;
  int StrideBytes() const;
  std::mutex& Lock() const { return mutex_; }

  struct Native;  // the drawing library's surface, visible inside this layer only
  Native* native() const { return native_.get(); }

 private:
  explicit Surface(std::unique_ptr<Native> native);
  std::unique_ptr<Native> native_;
  mutable std::mutex mutex_;
};

using Bitmap = Surface;

struct FontSpec {
  std::string face = "System";  // a face name as the definitions give it
  double points = 10;
  int weight = 400;  // 100-900; 700 is bold
  bool italic = false;
  bool underline = false;
  bool strikeout = false;
  Color color{0, 0, 0};
  bool operator==(const FontSpec&) const = default;
};

struct TextMetrics {
  int height = 0;  // ascent + descent
  int ascent = 0;
  int descent = 0;
  int average_char_width = 0;  // width of the 52 letters a-z A-Z divided by 52, rounded
  int max_char_width = 0;
};

// The real family a face name resolves to ("Arial" -> "Liberation Sans").
std::string ResolvedFamily(const std::string& face);
// The face names a user may choose from: every installed family and the alias faces that the
// definitions name, in ANSI, sorted without regard to case, each once.
std::vector<std::string> FontFamilies();

enum class PenStyle : uint8_t { kSolid, kDash, kDot, kNone };

enum class StandardIcon : uint8_t { kApplication, kStop, kQuestion, kExclamation, kInformation };

// Alignment and layout flags of DrawText.
namespace text {
inline constexpr uint32_t kLeft = 0x00;
inline constexpr uint32_t kCenter = 0x01;
inline constexpr uint32_t kRight = 0x02;
inline constexpr uint32_t kVCenter = 0x04;
inline constexpr uint32_t kBottom = 0x08;
inline constexpr uint32_t kWordWrap = 0x10;
inline constexpr uint32_t kEndEllipsis = 0x20;
inline constexpr uint32_t kHotkeyPrefix = 0x40;  // '&' underlines the next character
}  // namespace text

class DeviceContext {
 public:
  // Draws on a surface at `dpi` units per inch.
  explicit DeviceContext(std::shared_ptr<Surface> surface, double dpi = 96);
  ~DeviceContext();
  DeviceContext(const DeviceContext&) = delete;
  DeviceContext& operator=(const DeviceContext&) = delete;

  double Dpi() const { return dpi_; }

  // State: Save/Restore nest and cover origin, clip, pen, brush, font and text colours.
  void Save();
  void Restore();
  void Translate(int dx, int dy);
  void IntersectClip(const Rect& rect);
  Rect ClipBox() const;  // in current coordinates

  void SetPen(Color color, int width = 1, PenStyle style = PenStyle::kSolid);
  void SetBrush(Color color);
  void SetNoBrush();
  void SetFont(const FontSpec& font);
  const FontSpec& Font() const;
  void SetTextColor(Color color);
  // Opaque text fills its box with `color` before drawing the glyphs.
  void SetTextBackground(Color color, bool opaque);

  void MoveTo(Point p);
  void LineTo(Point p);  // the end point is not drawn, as with the usual pixel convention
  void Rectangle(const Rect& rect);  // outline with the pen inside the rect, fill with the brush
  void Ellipse(const Rect& rect);
  void RoundRect(const Rect& rect, int radius);
  void FillRect(const Rect& rect, Color color);
  void FrameRect(const Rect& rect, Color color);
  void InvertRect(const Rect& rect);
  void FocusRect(const Rect& rect);  // dotted frame

  // Text in ANSI bytes. TextOut puts the top left of the text at `p`.
  void TextOut(Point p, std::string_view text);
  // Lays the text out in `rect` with the text:: flags; returns the height used.
  int DrawText(const Rect& rect, std::string_view text, uint32_t flags);
  Size TextExtent(std::string_view text);
  TextMetrics Metrics();

  void DrawBitmap(const Surface& bitmap, const Rect& destination);
  void DrawIcon(StandardIcon icon, const Rect& destination);

  struct Native;  // the drawing library's context, visible inside this layer only
  Native* native() const { return native_.get(); }
  // Used by the printing code: a context over an existing drawing-library context.
  DeviceContext(std::unique_ptr<Native> native, double dpi);

 private:
  std::unique_ptr<Native> native_;
  double dpi_;
};

}  // namespace carelog::host
