#include "runtime/report/band_painter.h"

#include <algorithm>

#include "runtime/window/builtin_icons.h"
#include "runtime/window/font_style.h"

namespace carelog::report {

using window::Entry;
using window::Field;

PageFont PageFontOf(const host::FontSpec& font, int pixels_per_inch) {
  PageFont f;
  f.face = font.face;
  f.height = static_cast<int>(font.points * pixels_per_inch / 72.0 + 0.5);
  f.weight = font.weight;
  f.italic = font.italic;
  f.underline = font.underline;
  f.strikeout = font.strikeout;
  return f;
}

std::vector<std::string> WrapText(host::DeviceContext& measure, const std::string& text,
                                  int width) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    std::string paragraph = text.substr(start, end == std::string::npos ? end : end - start);
    if (!paragraph.empty() && paragraph.back() == '\r') paragraph.pop_back();
    std::string line;
    size_t i = 0;
    while (i < paragraph.size()) {
      // The next word with the blanks before it.
      size_t word_end = paragraph.find(' ', paragraph.find_first_not_of(' ', i));
      if (word_end == std::string::npos) word_end = paragraph.size();
      std::string candidate = line + paragraph.substr(i, word_end - i);
      if (candidate.size() <= 1 || measure.TextExtent(candidate).width <= width) {
        line = candidate;
        i = word_end;
      } else if (!line.empty()) {
        lines.push_back(line);
        line.clear();
        i = paragraph.find_first_not_of(' ', i);
        if (i == std::string::npos) i = paragraph.size();
      } else {
        // A word wider than the line: as many characters as fit, at least one.
        size_t n = 1;
        while (i + n < word_end && measure.TextExtent(paragraph.substr(i, n + 1)).width <= width) {
          ++n;
        }
        lines.push_back(paragraph.substr(i, n));
        i += n;
      }
    }
    lines.push_back(line);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  while (lines.size() > 1 && lines.back().empty()) lines.pop_back();
  return lines;
}

namespace {

struct Painter {
  const BandContext& context;
  DrawList& out;
  int bottom = 0;       // the lowest point drawn
  int memo_bottom = 0;  // the lowest line of a memo, which may make the band taller

  host::FontSpec FontOf(const Entry& e) const {
    host::FontSpec font = context.report_font;
    if (e.font) {
      if (!e.font->face.empty()) font.face = e.font->face;
      if (e.font->points > 0) font.points = e.font->points;
      if (e.font->style >= 0) window::ApplyFontStyle(e.font->style, &font);
      if (e.font->color >= 0) font.color = window::ColorFromDefinition(e.font->color);
    }
    return font;
  }
  // Selects the control's font for drawing and measuring; returns the line height.
  int UseFont(const Entry& e) {
    host::FontSpec font = FontOf(e);
    PageFont page_font = PageFontOf(font, context.pixels_per_inch);
    out.SetFont(page_font);
    out.SetTextColor(font.color);
    host::FontSpec device = DeviceFont(page_font, 1, context.measure->Dpi(), font.color);
    context.measure->SetFont(device);
    return LineHeight(device);
  }
  // The line height of the measuring context's current font `device`.
  int LineHeight(const host::FontSpec& device) const {
    for (const auto& [font, height] : context.line_heights) {
      if (font == device) return height;
    }
    int height = context.measure->Metrics().height;
    context.line_heights.emplace_back(device, height);
    return height;
  }
  std::string ValueOf(const Entry& e) const {
    auto it = context.uses.find(&e);
    if (it == context.uses.end() || !it->second || !e.use) return std::string();
    const std::string* picture = e.String(Field::kPicture);
    return window::DisplayText(*it->second, *e.use, picture ? *picture : std::string());
  }
  void Text(const Entry& e, const host::Rect& box, const std::string& text) {
    int line = UseFont(e);
    out.Text(host::Point{box.left, box.top}, text);
    bottom = std::max(bottom, box.top + line);
  }
  void Note(const host::Rect& r) { bottom = std::max(bottom, r.bottom); }
};

host::Color ColorOr(int64_t value, host::Color fallback) {
  return value >= 0 ? window::ColorFromDefinition(value) : fallback;
}

void PaintString(Painter& p, const Entry& e, const host::Rect& box) {
  const std::string* text = e.String(Field::kText);
  if (e.attr & kPageNumberAttr) {
    p.Text(e, box, std::to_string(p.context.page_number));
  } else {
    p.Text(e, box, text ? *text : std::string());
  }
}

void PaintValue(Painter& p, const Entry& e, const host::Rect& box) {
  p.Text(e, box, p.ValueOf(e));
}

void PaintMemo(Painter& p, const Entry& e, const host::Rect& box) {
  int line = p.UseFont(e);
  int y = box.top;
  for (const std::string& text : WrapText(*p.context.measure, p.ValueOf(e), box.Width())) {
    if (!text.empty()) p.out.Text(host::Point{box.left, y}, text);
    y += line;
  }
  p.bottom = std::max(p.bottom, y);
  p.memo_bottom = std::max(p.memo_bottom, y);
}

void PaintCheck(Painter& p, const Entry& e, const host::Rect& box) {
  int line = p.UseFont(e);
  int side = std::max(4, line * 3 / 4);
  host::Rect square = host::Rect::FromSize(box.left, box.top + (line - side) / 2, side, side);
  int pen = std::max(1, p.context.pixels_per_inch / 150);
  p.out.SetPen(host::Color{0, 0, 0}, pen);
  p.out.SetNoBrush();
  p.out.Rectangle(square);
  std::string value = p.ValueOf(e);
  bool checked = !value.empty() && value.find_first_not_of(" 0.") != std::string::npos;
  if (checked) {
    p.out.Line(host::Point{square.left, square.top}, host::Point{square.right, square.bottom});
    p.out.Line(host::Point{square.right - 1, square.top},
               host::Point{square.left - 1, square.bottom});
  }
  const std::string* text = e.String(Field::kText);
  if (text && !text->empty()) {
    std::string shown;
    for (char c : *text) {
      if (c != '&') shown += c;
    }
    p.out.Text(host::Point{square.right + side / 2, box.top}, shown);
  }
  p.bottom = std::max(p.bottom, box.top + line);
}

void PaintLine(Painter& p, const Entry& e, const host::Rect& box) {
  int pen = std::max(1, p.context.pixels_per_inch / 150);
  p.out.SetPen(ColorOr(e.Number(Field::kColor), host::Color{0, 0, 0}), pen);
  int w = box.Width(), h = box.Height();
  host::Point end{box.left + (w == 0 ? pen : w), box.top + h};
  if (h == 0) end.y = box.top;
  if (w == 0) end.x = box.left;
  // A horizontal or vertical line covers its last pixel as well.
  if (h == 0) end.x += 1;
  if (w == 0) end.y += 1;
  p.out.Line(host::Point{box.left, box.top}, end);
  p.bottom = std::max(p.bottom, std::max(box.top, box.bottom) + pen);
}

void PaintBox(Painter& p, const Entry& e, const host::Rect& box) {
  int64_t color = e.Number(Field::kColor), fill = e.Number(Field::kFill);
  bool outlined = e.kind == window::kKindBox || color >= 0;
  int pen = std::max(1, p.context.pixels_per_inch / 150);
  if (outlined) {
    p.out.SetPen(ColorOr(color, host::Color{0, 0, 0}), pen);
  } else {
    p.out.SetPen(host::Color{}, 0, host::PenStyle::kNone);
  }
  if (fill >= 0) {
    p.out.SetBrush(window::ColorFromDefinition(fill));
  } else {
    p.out.SetNoBrush();
  }
  if (outlined || fill >= 0) p.out.Rectangle(box);
  p.Note(box);
}

void PaintImage(Painter& p, const Entry& e, const host::Rect& box) {
  const std::string* file = e.String(Field::kImage);
  std::shared_ptr<host::Surface> bitmap = file ? window::LoadControlImage(*file) : nullptr;
  if (!bitmap) return;
  host::Rect dest = box;
  // Without a size of its own the picture prints at its size on a 96 per inch screen.
  if (box.Width() <= 0) dest.right = box.left + bitmap->Width() * p.context.pixels_per_inch / 96;
  if (box.Height() <= 0) dest.bottom = box.top + bitmap->Height() * p.context.pixels_per_inch / 96;
  p.out.Bitmap(std::move(bitmap), dest);
  p.Note(dest);
}

using PaintFn = void (*)(Painter&, const Entry&, const host::Rect&);
struct KindPainter {
  uint8_t kind;
  PaintFn paint;
};
constexpr KindPainter kPainters[] = {
    {window::kKindString, PaintString},   {window::kKindPrompt, PaintString},
    {window::kKindVarString, PaintValue}, {window::kKindEntry, PaintValue},
    {window::kKindTextBox, PaintMemo},    {window::kKindCheck, PaintCheck},
    {window::kKindLine, PaintLine},       {window::kKindBox, PaintBox},
    {window::kKindRegion, PaintBox},      {window::kKindImage, PaintImage},
};

int Coordinate(int32_t value) {
  return value == window::kNotGiven ? 0 : value;
}

host::Rect BoxOf(const BandContext& c, const window::Rect& at, int dx, int dy) {
  int x = window::ToPixelsX(c.scale, Coordinate(at.x)) + dx;
  int y = window::ToPixelsY(c.scale, Coordinate(at.y)) + dy;
  return host::Rect::FromSize(x, y, window::ToPixelsX(c.scale, Coordinate(at.width)),
                              window::ToPixelsY(c.scale, Coordinate(at.height)));
}

// Controls inside groups are placed relative to the group.
void PaintChildren(Painter& p, const Entry& parent, int dx, int dy) {
  for (const Entry& child : parent.children) {
    host::Rect box = BoxOf(p.context, child.at, dx, dy);
    for (const KindPainter& k : kPainters) {
      if (k.kind == child.kind) k.paint(p, child, box);
    }
    if (child.kind == window::kKindGroup || child.kind == window::kKindOption) {
      PaintChildren(p, child, box.left, box.top);
    }
  }
}

}  // namespace

BandDrawing PaintBand(const Entry& band, const BandContext& context) {
  BandDrawing result;
  Painter painter{context, result.drawing};
  PaintChildren(painter, band, 0, 0);
  int own = window::ToPixelsY(context.scale, Coordinate(band.at.height));
  result.height = band.at.height == window::kNotGiven ? painter.bottom : own;
  // A memo that needs more lines than its box makes the band taller.
  result.height = std::max(result.height, painter.memo_bottom);
  return result;
}

}  // namespace carelog::report
