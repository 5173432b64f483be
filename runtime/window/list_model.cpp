// The list's model: its queue, format, layout and selection, the list properties, and the
// plain-text rows of the runtime's own dialogs (list_rows.h).
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "runtime/values/picture.h"
#include "runtime/window/control_classes.h"
#include "runtime/window/list_rows.h"
#include "runtime/window/list_state.h"
#include "runtime/window/properties.h"
#include "runtime/window/threads.h"
#include "runtime/window/window_runtime.h"

namespace carelog::window {
namespace {

constexpr int kRowPadding = 4;  // pixels above and below a line of text

int Rows(const Control& c) {
  return static_cast<int>(ListOf(c).queue->size());
}

int MeasureLine(const host::FontSpec& font) {
  auto surface = host::Surface::Create(1, 1);
  host::DeviceContext dc(surface);
  dc.SetFont(font);
  return std::max(dc.Metrics().height, 1);
}

// Parses the format for the list's current font, once per font.
void Prepare(const Control& c) {
  ListState& s = ListOf(c);
  if (s.format_ready && s.measured_font == c.font) return;
  s.measured_font = c.font;
  s.line_height = MeasureLine(c.font);
  UnitScale scale = c.window ? c.window->scale : UnitScale{};
  ParseListFormat(s.format_text, scale, s.line_height + kRowPadding, &s.format);
  if (s.format.columns.empty()) {
    // A list without a usable format shows its first field across its width.
    ListColumn whole;
    whole.field = 1;
    whole.width = std::max(c.pixels.Width() - 2, 1);
    whole.right = whole.width - 1;
    whole.data_indent = 2;
    s.format.columns.push_back(whole);
    s.format.displays.push_back(ListDisplayColumn{false, 0, 1, 0, whole.width, {}, 0, 0, 0});
    s.format.width = whole.width;
  }
  s.format_ready = true;
}

bool BarShown(const Control& c, int visible) {
  const ListState& s = ListOf(c);
  if (c.cls == &kDropClass) return false;
  if (s.vscroll >= 0) return s.vscroll != 0;
  return !IsPageLoaded(c) && Rows(c) > visible;
}

int MaxFirst(const Control& c, int visible) {
  return std::max(Rows(c) - visible, 0);
}

void KeepInView(Control& c) {
  ListState& s = ListOf(c);
  int visible = ListLayout(c).visible;
  if (s.selected) {
    if (s.selected - 1 < s.first_row) s.first_row = s.selected - 1;
    if (s.selected - 1 >= s.first_row + visible) s.first_row = s.selected - visible;
  }
  s.first_row = std::clamp(s.first_row, 0, MaxFirst(c, visible));
}

void WriteSelectionToUse(Control& c) {
  if (!c.use) return;
  const ListState& s = ListOf(c);
  if (!s.selected) return;
  const ListField* f = FieldOf((*s.queue)[static_cast<size_t>(s.selected - 1)], 1);
  if (!f) return;
  UseValue v;
  v.is_text = f->is_text;
  v.number = f->number;
  v.text = f->text;
  WriteUse(*c.use, c.use_type, v);
}

// Control::text follows the selected row's first column, as automation and 0x7C00 read it.
void UpdateText(Control& c) {
  const ListState& s = ListOf(c);
  c.text = s.selected ? ListCellText(c, s.selected, 1) : std::string();
}

std::string Number(int64_t n) {
  return std::to_string(n);
}

const char kJustifyLetters[] = "LRCD";

// Column properties, indexed by column number (from 1).
bool ColumnProperty(const ListColumn& col, int property, std::string* out) {
  switch (property) {
    case 0x7E01:
      *out = Number(col.width);
      return true;
    case 0x7E02:
      *out = col.header;
      return true;
    case 0x7E03:
      *out = col.picture;
      return true;
    case 0x7E04:
      *out = Number(col.field);
      return true;
    case 0x7E06:
      *out = std::string(1, kJustifyLetters[static_cast<int>(col.data_justify())]);
      return true;
    case 0x7E07:
      *out = std::string(1, kJustifyLetters[static_cast<int>(col.header_justify())]);
      return true;
    case 0x7E08:
      *out = Number(col.flags);
      return true;
    case 0x7E09:
      *out = Number(col.extra);
      return true;
    case 0x7E0A:
      *out = Number(col.data_indent);
      return true;
    case 0x7E0B:
      *out = Number(col.header_indent);
      return true;
    default:
      return false;
  }
}

uint32_t JustifyCode(const std::string& value) {
  const char* at = value.empty()
                       ? nullptr
                       : std::char_traits<char>::find(
                             kJustifyLetters, 4,
                             static_cast<char>(std::toupper(static_cast<unsigned char>(value[0]))));
  return at ? static_cast<uint32_t>(at - kJustifyLetters) : 0;
}

bool SetColumnProperty(ListColumn* col, int property, const std::string& value) {
  int64_t n = std::strtoll(value.c_str(), nullptr, 10);
  switch (property) {
    case 0x7E01:
      col->width = static_cast<int>(std::clamp<int64_t>(n, 0, 1 << 16));
      col->right = col->left + col->width - 1;
      return true;
    case 0x7E02:
      col->header = value;
      return true;
    case 0x7E03:
      col->picture = value;
      return true;
    case 0x7E04:
      col->field = static_cast<int>(std::clamp<int64_t>(n, 1, 1 << 16));
      return true;
    case 0x7E06:
      col->flags = (col->flags & ~list_flag::kJustify) | JustifyCode(value);
      return true;
    case 0x7E07:
      col->flags = (col->flags & ~list_flag::kHeaderJustify) | (JustifyCode(value) << 2);
      return true;
    case 0x7E0A:
      col->data_indent = static_cast<int>(std::clamp<int64_t>(n, 0, 1 << 16));
      return true;
    case 0x7E0B:
      col->header_indent = static_cast<int>(std::clamp<int64_t>(n, 0, 1 << 16));
      return true;
    default:
      return false;
  }
}

// Lays the display columns out again after a column's width changed.
}  // namespace

void RelayoutList(ListFormat* f) {
  int x = 0;
  for (ListDisplayColumn& d : f->displays) {
    d.left = x;
    if (!d.group) {
      ListColumn& col = f->columns[static_cast<size_t>(d.first)];
      col.left = x;
      col.right = x + col.width - 1;
      d.width = col.width;
    }
    x += d.width;
  }
  f->width = x;
}

ListGeometry ListLayout(const Control& c) {
  Prepare(c);
  const ListState& s = ListOf(c);
  ListGeometry g;
  host::Rect r{0, 0, c.pixels.Width(), c.pixels.Height()};
  g.inner = host::Rect{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
  g.row_height = (s.line_height + kRowPadding) * std::max(s.format.lines, 1);
  int header = std::min(s.format.header_height, std::max(g.inner.Height(), 0));
  g.header = header ? host::Rect{g.inner.left, g.inner.top, g.inner.right, g.inner.top + header}
                    : host::Rect{};
  g.rows = host::Rect{g.inner.left, g.inner.top + header, g.inner.right, g.inner.bottom};
  g.visible = std::max(g.rows.Height() / g.row_height, 1);
  if (BarShown(c, g.visible)) {
    g.bar = host::Rect{g.inner.right - kListBarWidth, g.inner.top, g.inner.right, g.inner.bottom};
    g.rows.right = g.bar.left;
    if (!g.header.Empty()) g.header.right = g.bar.left;
  }
  return g;
}

const ListField* FieldOf(const ListRecord& record, int field) {
  if (field < 1 || static_cast<size_t>(field) > record.fields.size()) return nullptr;
  return &record.fields[static_cast<size_t>(field - 1)];
}

std::string FormatListField(const ListField& field, const std::string& picture) {
  std::string out;
  if (picture.empty()) {
    if (field.is_text) return field.text;
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.15g", field.number);
    return buffer;
  }
  out = field.is_text ? values::FormatText(field.text, picture)
                      : values::Format(field.number, picture);
  size_t begin = out.find_first_not_of(' ');
  if (begin == std::string::npos) return std::string();
  size_t end = out.find_last_not_of(' ');
  return out.substr(begin, end - begin + 1);
}

void SetListFormat(Control& c, const std::string& text) {
  ListState& s = ListOf(c);
  s.format_text = text;
  s.format_ready = false;
  c.Invalidate();
}

void SetListQueue(Control& c, const ListQueue* queue) {
  ListState& s = ListOf(c);
  s.queue = queue ? queue : &s.own_rows;
  ListQueueChanged(c);
}

void ListQueueChanged(Control& c) {
  ListState& s = ListOf(c);
  s.selected = std::clamp(s.selected, 0, Rows(c));
  KeepInView(c);
  UpdateText(c);
  c.Invalidate();
}

namespace {
Control* ListOnTop(int equate) {
  Structure* w = TopWindowOf(0);
  Control* c = w ? w->Find(equate) : nullptr;
  return c && c->kind == kKindList ? c : nullptr;
}
}  // namespace

bool SetListQueue(int equate, const ListQueue* queue) {
  Control* c = ListOnTop(equate);
  if (c) SetListQueue(*c, queue);
  return c != nullptr;
}

bool ListQueueChanged(int equate) {
  Control* c = ListOnTop(equate);
  if (c) ListQueueChanged(*c);
  return c != nullptr;
}

int ListRowCount(const Control& c) {
  return Rows(c);
}

int SelectedListRow(const Control& c) {
  return ListOf(c).selected;
}

int VisibleListRows(const Control& c) {
  return ListLayout(c).visible;
}

int ListThumb(const Control& c) {
  return ListOf(c).thumb;
}

char LocatedCharacter(const Control& c) {
  return ListOf(c).located;
}

void MoveListSelection(Control& c, int row, bool notify, bool always) {
  ListState& s = ListOf(c);
  int n = Rows(c);
  row = n == 0 ? 0 : std::clamp(row, 1, n);
  bool changed = row != s.selected;
  s.selected = row;
  KeepInView(c);
  UpdateText(c);
  if (changed) c.Invalidate();
  if (changed || always) WriteSelectionToUse(c);
  if (notify && (changed || always) && c.window) c.window->Queue(event::kNewSelection, &c);
}

void SelectListRow(Control& c, int row) {
  ListState& s = ListOf(c);
  if (row <= 0) {
    s.selected = 0;
    UpdateText(c);
    c.Invalidate();
    return;
  }
  MoveListSelection(c, row, false);
}

void ChooseListRow(Control& c, int row) {
  MoveListSelection(c, row, true);
}

void ScrollListTo(Control& c, int first) {
  ListState& s = ListOf(c);
  s.first_row = std::clamp(first, 0, MaxFirst(c, ListLayout(c).visible));
  c.Invalidate();
}

std::string ListCellText(const Control& c, int row, int column) {
  Prepare(c);
  const ListState& s = ListOf(c);
  if (row < 1 || row > Rows(c) || column < 1 ||
      column > static_cast<int>(s.format.columns.size())) {
    return std::string();
  }
  const ListColumn& col = s.format.columns[static_cast<size_t>(column - 1)];
  const ListField* f = FieldOf((*s.queue)[static_cast<size_t>(row - 1)], col.field);
  return f ? FormatListField(*f, col.picture) : std::string();
}

std::vector<std::string> ListHeaders(const Control& c) {
  Prepare(c);
  std::vector<std::string> out;
  for (const ListColumn& col : ListOf(c).format.columns) out.push_back(col.header);
  return out;
}

bool ListProperty(const Control& c, int property, int index, std::string* out) {
  if (c.kind != kKindList) return false;
  const ListState& s = ListOf(c);
  switch (property) {
    case prop::kVScroll:
      *out = Number(s.vscroll > 0);
      return true;
    case prop::kItems:
      *out = Number(VisibleListRows(c));
      return true;
    case prop::kSelected:
      *out = Number(s.selected);
      return true;
    case prop::kVScrollPos:
      *out = Number(s.thumb);
      return true;
    case prop::kListFormat:
      *out = s.format_text;
      return true;
    case prop::kFormatColumns:
      Prepare(c);
      *out = Number(static_cast<int64_t>(s.format.columns.size()));
      return true;
    case prop::kListHeaderHeight:
      Prepare(c);
      *out = Number(s.format.header_height);
      return true;
    case prop::kListWidth:
      Prepare(c);
      *out = Number(s.format.width);
      return true;
    default:
      break;
  }
  if (property > prop::kListFormat && property <= prop::kListFormat + 0x25) {
    Prepare(c);
    if (index < 1 || index > static_cast<int>(s.format.columns.size())) return false;
    return ColumnProperty(s.format.columns[static_cast<size_t>(index - 1)], property, out);
  }
  return false;
}

bool SetListProperty(Control& c, int property, int index, const std::string& value) {
  if (c.kind != kKindList) return false;
  ListState& s = ListOf(c);
  int64_t n = std::strtoll(value.c_str(), nullptr, 10);
  switch (property) {
    case prop::kVScroll:
      s.vscroll = n != 0;
      KeepInView(c);
      c.Invalidate();
      return true;
    case prop::kSelected:
      SelectListRow(c, static_cast<int>(std::clamp<int64_t>(n, 0, 1 << 30)));
      return true;
    case prop::kVScrollPos:
      s.thumb = static_cast<int>(std::clamp<int64_t>(n, 0, 100));
      if (!IsPageLoaded(c))
        ScrollListTo(c, static_cast<int>(MaxFirst(c, VisibleListRows(c)) * s.thumb / 100));
      c.Invalidate();
      return true;
    case prop::kListFormat:
      SetListFormat(c, value);
      ListQueueChanged(c);
      return true;
    default:
      break;
  }
  if (property > prop::kListFormat && property <= prop::kListFormat + 0x25) {
    Prepare(c);
    if (index < 1 || index > static_cast<int>(s.format.columns.size())) return false;
    if (!SetColumnProperty(&s.format.columns[static_cast<size_t>(index - 1)], property, value))
      return false;
    RelayoutList(&s.format);
    c.Invalidate();
    return true;
  }
  return false;
}

// Plain-text rows (list_rows.h).

void SetListRows(Control& list, std::vector<std::string> rows, int selected) {
  ListState& s = ListOf(list);
  s.own_rows.clear();
  for (std::string& row : rows) s.own_rows.push_back(ListRecord{{ListField::Text(std::move(row))}});
  s.queue = &s.own_rows;
  s.selected = 0;
  s.first_row = 0;
  SelectListRow(list, selected);
  list.Invalidate();
}

std::string ListRowText(const Control& list, int row) {
  const ListState& s = ListOf(list);
  if (row < 1 || row > Rows(list)) return std::string();
  const ListField* f = FieldOf((*s.queue)[static_cast<size_t>(row - 1)], 1);
  return f ? FormatListField(*f, std::string()) : std::string();
}

namespace {
bool EqualNoCase(char a, char b) {
  return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}
bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
  if (prefix.size() > text.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (!EqualNoCase(text[i], prefix[i])) return false;
  }
  return true;
}
}  // namespace

int FindListRow(const Control& list, const std::string& text) {
  for (int row = 1; row <= Rows(list); ++row) {
    std::string shown = ListRowText(list, row);
    if (shown.size() == text.size() && StartsWithNoCase(shown, text)) return row;
  }
  return 0;
}

int FindListRowByPrefix(const Control& list, const std::string& prefix) {
  for (int row = 1; row <= Rows(list); ++row) {
    if (StartsWithNoCase(ListRowText(list, row), prefix)) return row;
  }
  return 0;
}

}  // namespace carelog::window
