// A recorded drawing: the operations of a band or a page in page units (printer pixels), kept
// so that a band can be measured before it is placed, moved to the next page with its
// keep-together partners, and then either drawn straight onto a printer page or encoded as a
// metafile (metafile.h). Metafiles read back decode into the same form, so one Play serves
// direct printing, page files and the preview.
//
// The operations are the metafile's own: select a pen, a brush or a font, set the text colour,
// text out, lines, rectangles, ellipses, polygons and stretched bitmaps. A font's size is its
// character height in page units, as a metafile stores it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "runtime/host/graphics.h"

namespace carelog::report {

struct PageFont {
  std::string face = "Arial";
  int height = 0;  // character height in page units
  int weight = 400;
  bool italic = false;
  bool underline = false;
  bool strikeout = false;
  bool operator==(const PageFont&) const = default;
};

enum class DrawCode : uint8_t {
  kPen,    // color, a = width, b = PenStyle
  kBrush,  // color
  kNoBrush,
  kFont,       // font
  kTextColor,  // color
  kText,       // a, b = top left; text
  kLine,       // a, b -> c, d (the end point is not drawn)
  kRectangle,  // a, b, c, d = left, top, right, bottom
  kEllipse,    // a, b, c, d
  kPolygon,    // points
  kBitmap,     // a, b, c, d = destination; bitmap
};

struct DrawOp {
  DrawCode code = DrawCode::kNoBrush;
  host::Color color;
  int a = 0, b = 0, c = 0, d = 0;
  std::string text;
  PageFont font;
  std::vector<host::Point> points;
  std::shared_ptr<const host::Surface> bitmap;
};

inline DrawOp MakeOp(DrawCode code, host::Color color = {}, int a = 0, int b = 0, int c = 0,
                     int d = 0) {
  DrawOp op;
  op.code = code;
  op.color = color;
  op.a = a, op.b = b, op.c = c, op.d = d;
  return op;
}

// Maps page units onto a device: device = origin + page * scale.
struct PlayTransform {
  double origin_x = 0, origin_y = 0;
  double scale_x = 1, scale_y = 1;
};

class DrawList {
 public:
  void SetPen(host::Color color, int width = 1, host::PenStyle style = host::PenStyle::kSolid);
  void SetBrush(host::Color color);
  void SetNoBrush();
  void SetFont(const PageFont& font);
  void SetTextColor(host::Color color);
  void Text(host::Point top_left, std::string text);
  void Line(host::Point from, host::Point to);
  void Rectangle(const host::Rect& rect);
  void Ellipse(const host::Rect& rect);
  void Polygon(std::vector<host::Point> points);
  void Bitmap(std::shared_ptr<const host::Surface> bitmap, const host::Rect& destination);

  // Appends another list moved by (dx, dy).
  void Append(const DrawList& other, int dx, int dy);
  void Add(DrawOp op) { ops_.push_back(std::move(op)); }
  void Clear() { ops_.clear(); }

  const std::vector<DrawOp>& ops() const { return ops_; }
  bool empty() const { return ops_.empty(); }

  // Draws every operation onto `dc`. Starts from a black one-unit pen, no brush, black text
  // and the default font; the context's own state is saved and restored around it.
  void Play(host::DeviceContext& dc, const PlayTransform& transform = {}) const;

 private:
  std::vector<DrawOp> ops_;
};

// The points size that draws `font` at `scale` on a device of `dpi` units per inch.
host::FontSpec DeviceFont(const PageFont& font, double scale, double dpi, host::Color color);

}  // namespace carelog::report
