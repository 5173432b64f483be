#include "runtime/report/draw_list.h"

#include <algorithm>
#include <cmath>

namespace carelog::report {

void DrawList::SetPen(host::Color color, int width, host::PenStyle style) {
  DrawOp op = MakeOp(DrawCode::kPen, color);
  op.a = width;
  op.b = static_cast<int>(style);
  ops_.push_back(std::move(op));
}

void DrawList::SetBrush(host::Color color) {
  ops_.push_back(MakeOp(DrawCode::kBrush, color));
}

void DrawList::SetNoBrush() {
  ops_.push_back(MakeOp(DrawCode::kNoBrush));
}

void DrawList::SetFont(const PageFont& font) {
  DrawOp op = MakeOp(DrawCode::kFont);
  op.font = font;
  ops_.push_back(std::move(op));
}

void DrawList::SetTextColor(host::Color color) {
  ops_.push_back(MakeOp(DrawCode::kTextColor, color));
}

void DrawList::Text(host::Point top_left, std::string text) {
  DrawOp op = MakeOp(DrawCode::kText, host::Color{}, top_left.x, top_left.y);
  op.text = std::move(text);
  ops_.push_back(std::move(op));
}

void DrawList::Line(host::Point from, host::Point to) {
  ops_.push_back(MakeOp(DrawCode::kLine, host::Color{}, from.x, from.y, to.x, to.y));
}

void DrawList::Rectangle(const host::Rect& r) {
  ops_.push_back(MakeOp(DrawCode::kRectangle, host::Color{}, r.left, r.top, r.right, r.bottom));
}

void DrawList::Ellipse(const host::Rect& r) {
  ops_.push_back(MakeOp(DrawCode::kEllipse, host::Color{}, r.left, r.top, r.right, r.bottom));
}

void DrawList::Polygon(std::vector<host::Point> points) {
  DrawOp op = MakeOp(DrawCode::kPolygon);
  op.points = std::move(points);
  ops_.push_back(std::move(op));
}

void DrawList::Bitmap(std::shared_ptr<const host::Surface> bitmap, const host::Rect& r) {
  DrawOp op = MakeOp(DrawCode::kBitmap, host::Color{}, r.left, r.top, r.right, r.bottom);
  op.bitmap = std::move(bitmap);
  ops_.push_back(std::move(op));
}

// Codes whose a, b, c, d are coordinates (the others keep sizes or styles there).
bool HasCoordinates(DrawCode code) {
  return code == DrawCode::kText || code == DrawCode::kLine || code == DrawCode::kRectangle ||
         code == DrawCode::kEllipse || code == DrawCode::kBitmap;
}

void DrawList::Append(const DrawList& other, int dx, int dy) {
  ops_.reserve(ops_.size() + other.ops_.size());
  for (const DrawOp& source : other.ops_) {
    DrawOp op = source;
    if (HasCoordinates(op.code)) {
      op.a += dx, op.b += dy, op.c += dx, op.d += dy;
    }
    for (host::Point& p : op.points) p.x += dx, p.y += dy;
    ops_.push_back(std::move(op));
  }
}

host::FontSpec DeviceFont(const PageFont& font, double scale, double dpi, host::Color color) {
  host::FontSpec spec;
  spec.face = font.face.empty() ? "Arial" : font.face;
  spec.points = font.height == 0
                    ? 10
                    : std::max(1.0, std::abs(font.height) * scale * 72.0 / (dpi > 0 ? dpi : 96));
  spec.weight = font.weight;
  spec.italic = font.italic;
  spec.underline = font.underline;
  spec.strikeout = font.strikeout;
  spec.color = color;
  return spec;
}

namespace {

// What playing keeps between operations.
struct Player {
  host::DeviceContext& dc;
  const PlayTransform& t;
  PageFont font;
  host::Color text_color{0, 0, 0};

  int X(int x) const { return static_cast<int>(std::lround(t.origin_x + x * t.scale_x)); }
  int Y(int y) const { return static_cast<int>(std::lround(t.origin_y + y * t.scale_y)); }
  host::Point P(int x, int y) const { return host::Point{X(x), Y(y)}; }
  host::Rect R(const DrawOp& op) const { return host::Rect{X(op.a), Y(op.b), X(op.c), Y(op.d)}; }
  void ApplyFont() { dc.SetFont(DeviceFont(font, t.scale_y, dc.Dpi(), text_color)); }
};

void PlayPen(Player& p, const DrawOp& op) {
  int width = op.a <= 0 ? 1 : std::max(1, static_cast<int>(std::lround(op.a * p.t.scale_x)));
  auto style = static_cast<host::PenStyle>(std::clamp(op.b, 0, 3));
  p.dc.SetPen(op.color, width, style);
}
void PlayBrush(Player& p, const DrawOp& op) {
  p.dc.SetBrush(op.color);
}
void PlayNoBrush(Player& p, const DrawOp&) {
  p.dc.SetNoBrush();
}
void PlayFont(Player& p, const DrawOp& op) {
  p.font = op.font;
  p.ApplyFont();
}
void PlayTextColor(Player& p, const DrawOp& op) {
  p.text_color = op.color;
  p.dc.SetTextColor(op.color);
}
void PlayText(Player& p, const DrawOp& op) {
  p.dc.TextOut(p.P(op.a, op.b), op.text);
}
void PlayLine(Player& p, const DrawOp& op) {
  p.dc.MoveTo(p.P(op.a, op.b));
  p.dc.LineTo(p.P(op.c, op.d));
}
void PlayRectangle(Player& p, const DrawOp& op) {
  p.dc.Rectangle(p.R(op));
}
void PlayEllipse(Player& p, const DrawOp& op) {
  p.dc.Ellipse(p.R(op));
}
void PlayPolygon(Player& p, const DrawOp& op) {
  // The platform has no polygon fill; outline the closed path with the pen.
  if (op.points.size() < 2) return;
  p.dc.MoveTo(p.P(op.points.back().x, op.points.back().y));
  for (const host::Point& point : op.points) p.dc.LineTo(p.P(point.x, point.y));
}
void PlayBitmap(Player& p, const DrawOp& op) {
  if (op.bitmap) p.dc.DrawBitmap(*op.bitmap, p.R(op));
}

using PlayFn = void (*)(Player&, const DrawOp&);
constexpr PlayFn kPlayers[] = {PlayPen,       PlayBrush,   PlayNoBrush, PlayFont,
                               PlayTextColor, PlayText,    PlayLine,    PlayRectangle,
                               PlayEllipse,   PlayPolygon, PlayBitmap};
static_assert(std::size(kPlayers) == static_cast<size_t>(DrawCode::kBitmap) + 1);

}  // namespace

void DrawList::Play(host::DeviceContext& dc, const PlayTransform& transform) const {
  dc.Save();
  Player player{dc, transform, PageFont{}, host::Color{0, 0, 0}};
  dc.SetPen(host::Color{0, 0, 0}, 1);
  dc.SetNoBrush();
  dc.SetTextBackground(host::Color{255, 255, 255}, false);
  player.ApplyFont();
  for (const DrawOp& op : ops_) kPlayers[static_cast<size_t>(op.code)](player, op);
  dc.Restore();
}

}  // namespace carelog::report
