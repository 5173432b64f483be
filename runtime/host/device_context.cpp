// DeviceContext over a Cairo context: shapes without anti-aliasing on whole device units, text
// through Pango.
#include <cmath>
#include <string>

#include "runtime/host/graphics_native.h"

namespace carelog::host {

namespace {

void SetSource(cairo_t* cr, Color c) {
  cairo_set_source_rgba(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0, c.a / 255.0);
}

// Applies the pen to `cr`; false when the pen draws nothing.
bool UsePen(cairo_t* cr, const DeviceContext::Native::State& s) {
  if (s.pen_style == PenStyle::kNone || s.pen_width < 1) return false;
  SetSource(cr, s.pen);
  cairo_set_line_width(cr, s.pen_width);
  double dash = s.pen_style == PenStyle::kDash ? 4 * s.pen_width : s.pen_width;
  if (s.pen_style == PenStyle::kSolid) {
    cairo_set_dash(cr, nullptr, 0, 0);
  } else {
    double pattern[2] = {dash, static_cast<double>(s.pen_width)};
    cairo_set_dash(cr, pattern, 2, 0);
  }
  return true;
}

// Text with '&' prefixes removed, and the UTF-8 byte range of the character to underline.
struct HotkeyText {
  std::string utf8;
  int underline_start = -1;
  int underline_end = -1;
};

HotkeyText StripHotkey(std::string_view ansi, bool prefix) {
  HotkeyText out;
  if (!prefix) {
    out.utf8 = AnsiToUtf8(ansi);
    return out;
  }
  std::string plain;
  int underline_at = -1;
  for (size_t i = 0; i < ansi.size(); ++i) {
    if (ansi[i] == '&' && i + 1 < ansi.size()) {
      ++i;
      if (ansi[i] != '&' && underline_at < 0) underline_at = static_cast<int>(plain.size());
    }
    plain += ansi[i];
  }
  if (underline_at >= 0) {
    out.underline_start = static_cast<int>(AnsiToUtf8(plain.substr(0, underline_at)).size());
    out.underline_end = static_cast<int>(AnsiToUtf8(plain.substr(0, underline_at + 1)).size());
  }
  out.utf8 = AnsiToUtf8(plain);
  return out;
}

// A Pango layout for `text` in the context's current font. Call under the text mutex.
PangoLayout* LayoutFor(DeviceContext::Native& n, double dpi, std::string_view text,
                       bool hotkey_prefix) {
  PangoLayout* layout = internal::CreateLayout(n);
  PangoFontDescription* desc = internal::DescribeFont(n.state.font, dpi);
  pango_layout_set_font_description(layout, desc);
  pango_font_description_free(desc);
  HotkeyText t = StripHotkey(text, hotkey_prefix);
  pango_layout_set_text(layout, t.utf8.c_str(), static_cast<int>(t.utf8.size()));
  PangoAttrList* attrs = pango_attr_list_new();
  if (n.state.font.underline)
    pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
  if (n.state.font.strikeout) pango_attr_list_insert(attrs, pango_attr_strikethrough_new(TRUE));
  if (t.underline_start >= 0) {
    PangoAttribute* u = pango_attr_underline_new(PANGO_UNDERLINE_SINGLE);
    u->start_index = static_cast<guint>(t.underline_start);
    u->end_index = static_cast<guint>(t.underline_end);
    pango_attr_list_insert(attrs, u);
  }
  pango_layout_set_attributes(layout, attrs);
  pango_attr_list_unref(attrs);
  return layout;
}

}  // namespace

DeviceContext::DeviceContext(std::shared_ptr<Surface> surface, double dpi)
    : native_(std::make_unique<Native>()), dpi_(dpi) {
  native_->surface = std::move(surface);
  native_->cr = cairo_create(native_->surface->native()->surface);
  cairo_set_antialias(native_->cr, CAIRO_ANTIALIAS_NONE);
}

DeviceContext::DeviceContext(std::unique_ptr<Native> native, double dpi)
    : native_(std::move(native)), dpi_(dpi) {
  cairo_set_antialias(native_->cr, CAIRO_ANTIALIAS_NONE);
}

DeviceContext::~DeviceContext() = default;

void DeviceContext::Save() {
  cairo_save(native_->cr);
  native_->saved.push_back(native_->state);
}

void DeviceContext::Restore() {
  if (native_->saved.empty()) return;
  cairo_restore(native_->cr);
  native_->state = native_->saved.back();
  native_->saved.pop_back();
}

void DeviceContext::Translate(int dx, int dy) {
  cairo_translate(native_->cr, dx, dy);
}

void DeviceContext::IntersectClip(const Rect& rect) {
  cairo_rectangle(native_->cr, rect.left, rect.top, std::max(rect.Width(), 0),
                  std::max(rect.Height(), 0));
  cairo_clip(native_->cr);
}

Rect DeviceContext::ClipBox() const {
  double x1, y1, x2, y2;
  cairo_clip_extents(native_->cr, &x1, &y1, &x2, &y2);
  return Rect{static_cast<int>(std::floor(x1)), static_cast<int>(std::floor(y1)),
              static_cast<int>(std::ceil(x2)), static_cast<int>(std::ceil(y2))};
}

void DeviceContext::SetPen(Color color, int width, PenStyle style) {
  native_->state.pen = color;
  native_->state.pen_width = width;
  native_->state.pen_style = style;
}

void DeviceContext::SetBrush(Color color) {
  native_->state.brush = color;
  native_->state.has_brush = true;
}

void DeviceContext::SetNoBrush() {
  native_->state.has_brush = false;
}

void DeviceContext::SetFont(const FontSpec& font) {
  native_->state.font = font;
  native_->state.text_color = font.color;
}

const FontSpec& DeviceContext::Font() const {
  return native_->state.font;
}

void DeviceContext::SetTextColor(Color color) {
  native_->state.text_color = color;
}

void DeviceContext::SetTextBackground(Color color, bool opaque) {
  native_->state.text_background = color;
  native_->state.opaque_text = opaque;
}

void DeviceContext::MoveTo(Point p) {
  native_->state.position = p;
}

void DeviceContext::LineTo(Point p) {
  cairo_t* cr = native_->cr;
  Point from = native_->state.position;
  native_->state.position = p;
  if (!UsePen(cr, native_->state) || from == p) return;
  // Stroke along pixel centres and stop one unit short of the end point.
  double dx = p.x - from.x, dy = p.y - from.y;
  double length = std::sqrt(dx * dx + dy * dy);
  double end_x = p.x - dx / length, end_y = p.y - dy / length;
  cairo_move_to(cr, from.x + 0.5, from.y + 0.5);
  cairo_line_to(cr, end_x + 0.5, end_y + 0.5);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
  cairo_stroke(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
}

void DeviceContext::Rectangle(const Rect& r) {
  cairo_t* cr = native_->cr;
  const Native::State& s = native_->state;
  if (r.Empty()) return;
  if (s.has_brush) {
    SetSource(cr, s.brush);
    cairo_rectangle(cr, r.left, r.top, r.Width(), r.Height());
    cairo_fill(cr);
  }
  if (UsePen(cr, s)) {
    double half = s.pen_width / 2.0;
    cairo_rectangle(cr, r.left + half, r.top + half, r.Width() - s.pen_width,
                    r.Height() - s.pen_width);
    cairo_stroke(cr);
  }
}

void DeviceContext::Ellipse(const Rect& r) {
  cairo_t* cr = native_->cr;
  const Native::State& s = native_->state;
  if (r.Empty()) return;
  double inset = UsePen(cr, s) ? s.pen_width / 2.0 : 0;
  cairo_save(cr);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_GRAY);
  cairo_translate(cr, (r.left + r.right) / 2.0, (r.top + r.bottom) / 2.0);
  cairo_scale(cr, std::max(r.Width() / 2.0 - inset, 0.5), std::max(r.Height() / 2.0 - inset, 0.5));
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_restore(cr);
  cairo_save(cr);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_GRAY);
  if (s.has_brush) {
    SetSource(cr, s.brush);
    cairo_fill_preserve(cr);
  }
  if (UsePen(cr, s)) {
    cairo_stroke(cr);
  } else {
    cairo_new_path(cr);
  }
  cairo_restore(cr);
}

void DeviceContext::RoundRect(const Rect& r, int radius) {
  cairo_t* cr = native_->cr;
  const Native::State& s = native_->state;
  if (r.Empty()) return;
  double inset = s.pen_style != PenStyle::kNone ? s.pen_width / 2.0 : 0;
  double x = r.left + inset, y = r.top + inset;
  double w = r.Width() - 2 * inset, h = r.Height() - 2 * inset;
  double rad = std::min<double>(radius, std::min(w, h) / 2);
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - rad, y + rad, rad, -M_PI / 2, 0);
  cairo_arc(cr, x + w - rad, y + h - rad, rad, 0, M_PI / 2);
  cairo_arc(cr, x + rad, y + h - rad, rad, M_PI / 2, M_PI);
  cairo_arc(cr, x + rad, y + rad, rad, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
  if (s.has_brush) {
    SetSource(cr, s.brush);
    cairo_fill_preserve(cr);
  }
  if (UsePen(cr, s)) {
    cairo_stroke(cr);
  } else {
    cairo_new_path(cr);
  }
}

void DeviceContext::FillRect(const Rect& r, Color color) {
  if (r.Empty()) return;
  SetSource(native_->cr, color);
  cairo_rectangle(native_->cr, r.left, r.top, r.Width(), r.Height());
  cairo_fill(native_->cr);
}

void DeviceContext::FrameRect(const Rect& r, Color color) {
  if (r.Empty()) return;
  FillRect(Rect{r.left, r.top, r.right, r.top + 1}, color);
  FillRect(Rect{r.left, r.bottom - 1, r.right, r.bottom}, color);
  FillRect(Rect{r.left, r.top + 1, r.left + 1, r.bottom - 1}, color);
  FillRect(Rect{r.right - 1, r.top + 1, r.right, r.bottom - 1}, color);
}

void DeviceContext::InvertRect(const Rect& r) {
  if (r.Empty()) return;
  cairo_t* cr = native_->cr;
  cairo_save(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_DIFFERENCE);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_rectangle(cr, r.left, r.top, r.Width(), r.Height());
  cairo_fill(cr);
  cairo_restore(cr);
}

void DeviceContext::FocusRect(const Rect& r) {
  if (r.Empty()) return;
  cairo_t* cr = native_->cr;
  cairo_save(cr);
  SetSource(cr, Color{0, 0, 0});
  for (int x = r.left; x < r.right; x += 2) {
    cairo_rectangle(cr, x, r.top, 1, 1);
    cairo_rectangle(cr, x, r.bottom - 1, 1, 1);
  }
  for (int y = r.top + 2; y < r.bottom - 1; y += 2) {
    cairo_rectangle(cr, r.left, y, 1, 1);
    cairo_rectangle(cr, r.right - 1, y, 1, 1);
  }
  cairo_fill(cr);
  cairo_restore(cr);
}

void DeviceContext::TextOut(Point p, std::string_view text) {
  std::lock_guard<std::mutex> lock(internal::TextMutex());
  cairo_t* cr = native_->cr;
  PangoLayout* layout = LayoutFor(*native_, dpi_, text, false);
  if (native_->state.opaque_text) {
    int w, h;
    pango_layout_get_pixel_size(layout, &w, &h);
    SetSource(cr, native_->state.text_background);
    cairo_rectangle(cr, p.x, p.y, w, h);
    cairo_fill(cr);
  }
  SetSource(cr, native_->state.text_color);
  cairo_move_to(cr, p.x, p.y);
  pango_cairo_show_layout(cr, layout);
  cairo_new_path(cr);
  g_object_unref(layout);
}

int DeviceContext::DrawText(const Rect& rect, std::string_view text, uint32_t flags) {
  std::lock_guard<std::mutex> lock(internal::TextMutex());
  cairo_t* cr = native_->cr;
  PangoLayout* layout = LayoutFor(*native_, dpi_, text, (flags & text::kHotkeyPrefix) != 0);
  pango_layout_set_width(layout, std::max(rect.Width(), 0) * PANGO_SCALE);
  if (flags & text::kWordWrap) {
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
  } else if (flags & text::kEndEllipsis) {
    pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
  } else {
    pango_layout_set_width(layout, -1);
  }
  int w, h;
  pango_layout_get_pixel_size(layout, &w, &h);
  int x = rect.left;
  bool fixed_width = pango_layout_get_width(layout) >= 0;
  PangoAlignment align = (flags & text::kCenter)  ? PANGO_ALIGN_CENTER
                         : (flags & text::kRight) ? PANGO_ALIGN_RIGHT
                                                  : PANGO_ALIGN_LEFT;
  if (fixed_width) {
    pango_layout_set_alignment(layout, align);
  } else if (align == PANGO_ALIGN_CENTER) {
    x = rect.left + (rect.Width() - w) / 2;
  } else if (align == PANGO_ALIGN_RIGHT) {
    x = rect.right - w;
  }
  int y = rect.top;
  if (flags & text::kVCenter) y = rect.top + (rect.Height() - h) / 2;
  if (flags & text::kBottom) y = rect.bottom - h;
  cairo_save(cr);
  cairo_rectangle(cr, rect.left, rect.top, std::max(rect.Width(), 0), std::max(rect.Height(), 0));
  cairo_clip(cr);
  if (native_->state.opaque_text) {
    SetSource(cr, native_->state.text_background);
    cairo_rectangle(cr, rect.left, rect.top, rect.Width(), rect.Height());
    cairo_fill(cr);
  }
  SetSource(cr, native_->state.text_color);
  cairo_move_to(cr, x, y);
  pango_cairo_show_layout(cr, layout);
  cairo_new_path(cr);
  cairo_restore(cr);
  g_object_unref(layout);
  return h;
}

Size DeviceContext::TextExtent(std::string_view text) {
  std::lock_guard<std::mutex> lock(internal::TextMutex());
  PangoLayout* layout = LayoutFor(*native_, dpi_, text, false);
  int w, h;
  pango_layout_get_pixel_size(layout, &w, &h);
  g_object_unref(layout);
  return Size{w, h};
}

TextMetrics DeviceContext::Metrics() {
  static constexpr std::string_view kLetters =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
  std::lock_guard<std::mutex> lock(internal::TextMutex());
  PangoLayout* layout = LayoutFor(*native_, dpi_, kLetters, false);
  int w, h;
  pango_layout_get_pixel_size(layout, &w, &h);
  PangoFontDescription* desc = internal::DescribeFont(native_->state.font, dpi_);
  PangoFontMetrics* m = pango_context_get_metrics(pango_layout_get_context(layout), desc, nullptr);
  TextMetrics out;
  out.ascent = PANGO_PIXELS_CEIL(pango_font_metrics_get_ascent(m));
  out.descent = PANGO_PIXELS_CEIL(pango_font_metrics_get_descent(m));
  out.height = out.ascent + out.descent;
  out.average_char_width = (w + 26) / 52;
  out.max_char_width = PANGO_PIXELS_CEIL(pango_font_metrics_get_approximate_char_width(m) * 2);
  pango_font_metrics_unref(m);
  pango_font_description_free(desc);
  g_object_unref(layout);
  return out;
}

void DeviceContext::DrawBitmap(const Surface& bitmap, const Rect& d) {
  if (d.Empty() || bitmap.Width() < 1 || bitmap.Height() < 1) return;
  cairo_t* cr = native_->cr;
  cairo_save(cr);
  cairo_rectangle(cr, d.left, d.top, d.Width(), d.Height());
  cairo_clip(cr);
  cairo_translate(cr, d.left, d.top);
  cairo_scale(cr, static_cast<double>(d.Width()) / bitmap.Width(),
              static_cast<double>(d.Height()) / bitmap.Height());
  cairo_set_source_surface(cr, bitmap.native()->surface, 0, 0);
  // Enlarging keeps hard pixel edges; shrinking averages.
  bool shrinking = d.Width() < bitmap.Width() || d.Height() < bitmap.Height();
  cairo_pattern_set_filter(cairo_get_source(cr),
                           shrinking ? CAIRO_FILTER_GOOD : CAIRO_FILTER_NEAREST);
  cairo_paint(cr);
  cairo_restore(cr);
}

namespace {

// The centre and radius of a standard icon drawn in `d`.
struct IconShape {
  double size, cx, cy, r;
};

void DrawStopSign(cairo_t* cr, const IconShape& s) {
  cairo_set_source_rgb(cr, 0.8, 0.1, 0.1);
  cairo_arc(cr, s.cx, s.cy, s.r, 0, 2 * M_PI);
  cairo_fill(cr);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_set_line_width(cr, s.size / 8);
  double h = s.r / 2;
  cairo_move_to(cr, s.cx - h, s.cy - h);
  cairo_line_to(cr, s.cx + h, s.cy + h);
  cairo_move_to(cr, s.cx + h, s.cy - h);
  cairo_line_to(cr, s.cx - h, s.cy + h);
  cairo_stroke(cr);
}

void DrawWarningTriangle(cairo_t* cr, const IconShape& s, double top) {
  cairo_set_source_rgb(cr, 0.95, 0.8, 0.1);
  cairo_move_to(cr, s.cx, top + 1);
  cairo_line_to(cr, s.cx + s.r, s.cy + s.r);
  cairo_line_to(cr, s.cx - s.r, s.cy + s.r);
  cairo_close_path(cr);
  cairo_fill(cr);
}

void DrawApplicationWindow(cairo_t* cr, const IconShape& s) {
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_rectangle(cr, s.cx - s.r, s.cy - s.r, 2 * s.r, 2 * s.r);
  cairo_fill_preserve(cr);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  cairo_set_source_rgb(cr, 0, 0, 0.5);
  cairo_rectangle(cr, s.cx - s.r, s.cy - s.r, 2 * s.r, s.r / 2);
  cairo_fill(cr);
}

}  // namespace

// Draws the icon's shape, then its letter ("?", "i", "!") in bold over it.
void DeviceContext::DrawIcon(StandardIcon icon, const Rect& d) {
  if (d.Empty()) return;
  cairo_t* cr = native_->cr;
  double size = std::min(d.Width(), d.Height());
  IconShape s{size, d.left + d.Width() / 2.0, d.top + d.Height() / 2.0, size / 2.0 - 1};
  cairo_save(cr);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_GRAY);
  const char* glyph = nullptr;
  switch (icon) {
    case StandardIcon::kStop:
      DrawStopSign(cr, s);
      break;
    case StandardIcon::kQuestion:
    case StandardIcon::kInformation:
      cairo_set_source_rgb(cr, 0.15, 0.35, 0.8);
      cairo_arc(cr, s.cx, s.cy, s.r, 0, 2 * M_PI);
      cairo_fill(cr);
      glyph = icon == StandardIcon::kQuestion ? "?" : "i";
      break;
    case StandardIcon::kExclamation:
      DrawWarningTriangle(cr, s, d.top);
      glyph = "!";
      break;
    case StandardIcon::kApplication:
      DrawApplicationWindow(cr, s);
      break;
  }
  cairo_restore(cr);
  if (glyph) {
    Save();
    FontSpec f;
    f.face = "Times New Roman";
    f.weight = 700;
    f.points = size * 0.6 * 72 / dpi_;
    f.color = icon == StandardIcon::kExclamation ? Color{0, 0, 0} : Color{255, 255, 255};
    SetFont(f);
    SetTextBackground(Color{}, false);
    DrawText(d, glyph, text::kCenter | text::kVCenter);
    Restore();
  }
}

}  // namespace carelog::host
