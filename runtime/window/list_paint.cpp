// Drawing of lists: a white body in the control's frame, a light header row with dividers,
// group headers over their columns, the rows with their cells justified (decimal columns line
// up on the decimal point), icons, queue colours, the accent selection bar, column borders and
// underlines, and the vertical scroll bar. Fixed columns stay put while the others scroll
// horizontally; text that does not fit ends in an ellipsis.
#include <algorithm>
#include <cmath>

#include "runtime/window/builtin_icons.h"
#include "runtime/window/control_classes.h"
#include "runtime/window/list_state.h"

namespace carelog::window {
namespace {

constexpr host::Color kHeaderFace{247, 247, 247};
constexpr host::Color kGridLine{222, 222, 222};
constexpr int kCellPad = 3;
constexpr int kIconSize = 16;
constexpr int kTreeStep = 12;
constexpr int kTreeBox = 9;

uint32_t AlignFlags(Justify j) {
  switch (j) {
    case Justify::kRight:
    case Justify::kDecimal:
      return host::text::kRight;
    case Justify::kCenter:
      return host::text::kCenter;
    default:
      return host::text::kLeft;
  }
}

// What one paint needs about the list, worked out once.
struct Painter {
  const Control& c;
  host::DeviceContext& dc;
  const ListState& s;
  ListGeometry g;
  bool focused;
  int fixed_right;            // right edge of the fixed columns (client x)
  std::vector<int> fraction;  // per column: widest decimal fraction in view (D columns)

  host::Rect ColumnRect(const ListColumn& col, int top) const {
    int shift = (col.flags & list_flag::kFixed) ? 0 : s.hscroll;
    int left = g.inner.left + col.left - shift;
    int line = s.line_height + 4;
    return host::Rect{left, top + col.top * line, left + col.width, top + (col.top + 1) * line};
  }

  void ClipFor(const ListColumn& col, const host::Rect& area) {
    dc.IntersectClip(area);
    if (!(col.flags & list_flag::kFixed) && fixed_right > area.left) {
      dc.IntersectClip(host::Rect{fixed_right, area.top, area.right, area.bottom});
    }
  }
};

int FixedRight(const ListState& s, const ListGeometry& g) {
  int right = g.inner.left;
  for (const ListColumn& col : s.format.columns) {
    if (col.flags & list_flag::kFixed) right = std::max(right, g.inner.left + col.left + col.width);
  }
  return right;
}

size_t DecimalPoint(const std::string& text) {
  size_t at = text.find_last_of('.');
  return at == std::string::npos ? text.size() : at;
}

void MeasureFractions(Painter& p) {
  p.fraction.assign(p.s.format.columns.size(), 0);
  int rows = static_cast<int>(p.s.queue->size());
  for (size_t i = 0; i < p.s.format.columns.size(); ++i) {
    if (p.s.format.columns[i].data_justify() != Justify::kDecimal) continue;
    for (int r = p.s.first_row; r < std::min(rows, p.s.first_row + p.g.visible + 1); ++r) {
      std::string text = ListCellText(p.c, r + 1, static_cast<int>(i) + 1);
      std::string_view tail = std::string_view(text).substr(DecimalPoint(text));
      if (!tail.empty()) p.fraction[i] = std::max(p.fraction[i], p.dc.TextExtent(tail).width);
    }
  }
}

host::Color FieldColor(const ListRecord& r, int field, host::Color fallback) {
  const ListField* f = FieldOf(r, field);
  if (!f || f->is_text) return fallback;
  return draw::DefinitionColor(static_cast<int64_t>(f->number), fallback);
}

const host::Surface* IconFor(const ListState& s, const std::string& name) {
  auto& icons = const_cast<ListState&>(s).icons;
  auto it = icons.find(name);
  if (it == icons.end()) it = icons.emplace(name, LoadControlImage(name)).first;
  return it->second.get();
}

void TreeBox(Painter& p, const ListField* level, host::Rect* text) {
  int depth = level ? std::max(static_cast<int>(std::abs(level->number)), 1) : 1;
  int x = text->left + (depth - 1) * kTreeStep;
  int y = (text->top + text->bottom) / 2 - kTreeBox / 2;
  host::Rect box = host::Rect::FromSize(x, y, kTreeBox, kTreeBox);
  p.dc.FrameRect(box, theme::kBorder);
  p.dc.SetPen(theme::kText);
  p.dc.MoveTo(host::Point{box.left + 2, y + kTreeBox / 2});
  p.dc.LineTo(host::Point{box.right - 2, y + kTreeBox / 2});
  if (level && level->number < 0) {
    p.dc.MoveTo(host::Point{x + kTreeBox / 2, box.top + 2});
    p.dc.LineTo(host::Point{x + kTreeBox / 2, box.bottom - 2});
  }
  text->left = box.right + 4;
}

void Cell(Painter& p, size_t index, const ListRecord& record, int row_top, bool selected) {
  const ListColumn& col = p.s.format.columns[index];
  if (col.width == 0) return;
  host::Rect cell = p.ColumnRect(col, row_top);
  host::Color fg = selected && p.focused ? theme::kWhite : theme::kText;
  if (col.extra & list_extra::kColors) {
    host::Color bg = FieldColor(record, col.field + (selected ? 4 : 2), theme::kWhite);
    fg = FieldColor(record, col.field + (selected ? 3 : 1), fg);
    const ListField* given = FieldOf(record, col.field + (selected ? 4 : 2));
    if (given && !given->is_text && given->number >= 0) p.dc.FillRect(cell, bg);
  }
  p.dc.Save();
  p.ClipFor(col, p.g.rows);
  host::Rect text{cell.left + col.data_indent + kCellPad, cell.top, cell.right - kCellPad,
                  cell.bottom};
  if (col.flags & list_flag::kTree)
    TreeBox(p, FieldOf(record, col.field + col.fields_taken() - 1), &text);
  const ListField* f = FieldOf(record, col.field);
  if (f && (col.flags & list_flag::kIcon)) {
    std::string name = f->is_text ? f->text : FormatListField(*f, std::string());
    if (const host::Surface* icon = IconFor(p.s, name)) {
      int y = (text.top + text.bottom - kIconSize) / 2;
      p.dc.DrawBitmap(*icon, host::Rect::FromSize(text.left, y, kIconSize, kIconSize));
    }
  } else if (f) {
    std::string shown = FormatListField(*f, col.picture);
    p.dc.SetTextColor(fg);
    if (col.data_justify() == Justify::kDecimal) {
      size_t dot = DecimalPoint(shown);
      int point_x = text.right - p.fraction[index];
      p.dc.DrawText(host::Rect{text.left, text.top, point_x, text.bottom},
                    std::string_view(shown).substr(0, dot),
                    host::text::kRight | host::text::kVCenter);
      p.dc.DrawText(host::Rect{point_x, text.top, text.right, text.bottom},
                    std::string_view(shown).substr(dot), host::text::kLeft | host::text::kVCenter);
    } else {
      p.dc.DrawText(
          text, shown,
          AlignFlags(col.data_justify()) | host::text::kVCenter | host::text::kEndEllipsis);
    }
  }
  if (col.flags & list_flag::kUnderline) {
    p.dc.FillRect(host::Rect{cell.left, cell.bottom - 1, cell.right, cell.bottom}, kGridLine);
  }
  p.dc.Restore();
}

void Rows(Painter& p) {
  const ListQueue& q = *p.s.queue;
  int rows = static_cast<int>(q.size());
  p.dc.Save();
  p.dc.IntersectClip(p.g.rows);
  p.dc.SetFont(p.c.font);
  for (int r = p.s.first_row, y = p.g.rows.top; r < rows && y < p.g.rows.bottom;
       ++r, y += p.g.row_height) {
    bool selected = r + 1 == p.s.selected;
    if (selected) {
      host::Rect bar{p.g.rows.left, y, p.g.rows.right, y + p.g.row_height};
      p.dc.FillRect(bar, p.focused ? theme::kAccent : theme::kAccentLight);
    }
    for (size_t i = 0; i < p.s.format.columns.size(); ++i) {
      Cell(p, i, q[static_cast<size_t>(r)], y, selected);
    }
  }
  p.dc.Restore();
}

// Right borders of '|' columns and groups, through the header and the rows.
void Borders(Painter& p) {
  p.dc.Save();
  p.dc.IntersectClip(host::Rect{p.g.inner.left, p.g.inner.top, p.g.rows.right, p.g.inner.bottom});
  for (const ListDisplayColumn& d : p.s.format.displays) {
    const ListColumn& first = p.s.format.columns[static_cast<size_t>(d.first)];
    uint32_t flags = d.group ? d.flags : first.flags;
    if (!(flags & list_flag::kRightBorder) || d.width == 0) continue;
    int shift = (first.flags & list_flag::kFixed) ? 0 : p.s.hscroll;
    int x = p.g.inner.left + d.left + d.width - 1 - shift;
    p.dc.FillRect(host::Rect{x, p.g.inner.top, x + 1, p.g.inner.bottom}, kGridLine);
  }
  p.dc.Restore();
}

void HeaderText(Painter& p, const host::Rect& area, const std::string& text, int indent,
                Justify justify) {
  host::Rect r{area.left + indent + kCellPad, area.top, area.right - kCellPad, area.bottom};
  p.dc.SetTextColor(p.c.IsEnabled() ? theme::kText : theme::kDisabledText);
  p.dc.DrawText(r, text, AlignFlags(justify) | host::text::kVCenter | host::text::kEndEllipsis);
}

void Header(Painter& p) {
  if (p.g.header.Empty()) return;
  const host::Rect& h = p.g.header;
  p.dc.FillRect(h, kHeaderFace);
  p.dc.FillRect(host::Rect{h.left, h.bottom - 1, h.right, h.bottom}, theme::kBorder);
  p.dc.Save();
  p.dc.IntersectClip(h);
  // Headers in the list's own font: the definitions size each column for its header in the
  // font the list is drawn in, and a bolder face would not fit.
  p.dc.SetFont(p.c.font);
  bool two_lines = p.s.format.any_group_header();
  int split = two_lines ? h.top + h.Height() / 2 : h.top;
  for (const ListDisplayColumn& d : p.s.format.displays) {
    const ListColumn& first = p.s.format.columns[static_cast<size_t>(d.first)];
    if (d.width == 0) continue;
    int shift = (first.flags & list_flag::kFixed) ? 0 : p.s.hscroll;
    host::Rect area{h.left + d.left - shift, h.top, h.left + d.left + d.width - shift,
                    h.bottom - 1};
    p.dc.Save();
    p.ClipFor(first, h);
    if (d.group && !d.header.empty()) {
      host::Rect top{area.left, area.top, area.right, split};
      HeaderText(p, top, d.header, d.header_indent, static_cast<Justify>((d.flags >> 2) & 3));
      p.dc.FillRect(host::Rect{area.left + 4, split - 1, area.right - 4, split}, kGridLine);
    }
    for (int i = d.first; i < d.first + d.count; ++i) {
      const ListColumn& col = p.s.format.columns[static_cast<size_t>(i)];
      if (col.width == 0 || col.top > 0) continue;
      host::Rect cell{area.left + col.left - d.left, split,
                      area.left + col.left - d.left + col.width, area.bottom};
      HeaderText(p, cell, col.header, col.header_indent, col.header_justify());
    }
    p.dc.FillRect(host::Rect{area.right - 1, h.top + 3, area.right, h.bottom - 4}, kGridLine);
    p.dc.Restore();
  }
  p.dc.Restore();
}

void Bar(Painter& p) {
  if (p.g.bar.Empty()) return;
  ListBarParts bar = ListBar(p.c, p.g);
  draw::ScrollBar(p.dc, draw::ScrollBarParts{p.g.bar, bar.up, bar.down, bar.thumb, true});
}

}  // namespace

ListBarParts ListBar(const Control& c, const ListGeometry& g) {
  ListBarParts parts;
  if (g.bar.Empty()) return parts;
  const ListState& s = ListOf(c);
  int w = g.bar.Width();
  parts.up = host::Rect{g.bar.left, g.bar.top, g.bar.right, g.bar.top + w};
  parts.down = host::Rect{g.bar.left, g.bar.bottom - w, g.bar.right, g.bar.bottom};
  parts.track = host::Rect{g.bar.left, parts.up.bottom, g.bar.right, parts.down.top};
  int span = parts.track.Height();
  if (span <= 0) return parts;
  int rows = static_cast<int>(s.queue->size());
  int height =
      IsPageLoaded(c) ? std::max(span / 6, 16) : std::max(span * g.visible / std::max(rows, 1), 16);
  height = std::min(height, span);
  int most = std::max(rows - g.visible, 0);
  int position = s.tracking_thumb  ? s.track_position
                 : IsPageLoaded(c) ? s.thumb
                 : most            ? s.first_row * 100 / most
                                   : 0;
  int top = parts.track.top + (span - height) * position / 100;
  parts.thumb = host::Rect{g.bar.left, top, g.bar.right, top + height};
  return parts;
}

void ListPaint(Control& c, host::DeviceContext& dc, bool focused) {
  Painter p{c, dc, ListOf(c), ListLayout(c), focused, 0, {}};
  p.fixed_right = FixedRight(p.s, p.g);
  host::Rect r = draw::Bounds(c);
  dc.SetBrush(c.IsEnabled() ? theme::kWhite : theme::kDisabledFace);
  dc.SetPen(focused ? theme::kAccent : theme::kBorder);
  dc.Rectangle(r);
  dc.SetFont(c.font);
  MeasureFractions(p);
  Header(p);
  Rows(p);
  Borders(p);
  Bar(p);
}

}  // namespace carelog::window
