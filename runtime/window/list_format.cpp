// Parser of list format strings (grammar in list_format.h). One function per grammar rule;
// the reader keeps the offset so that a fault names where it lies.
#include "runtime/window/list_format.h"

#include <algorithm>
#include <cctype>

namespace carelog::window {
namespace {

constexpr int kBorderWidth = 1;
constexpr int kMaxNumber = 1 << 20;  // larger numbers in a format are faults, not widths

class Reader {
 public:
  Reader(std::string_view text, const UnitScale& scale, ListFormat* out)
      : text_(text), scale_(scale), out_(*out) {}

  bool Format(int line_height, std::string* error);

 private:
  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }
  char PeekUpper() const {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(Peek())));
  }
  bool Take(char c) {
    if (PeekUpper() != c) return false;
    ++pos_;
    return true;
  }
  bool Fail(const char* expected) {
    if (error_.empty()) error_ = "at offset " + std::to_string(pos_) + ": expected " + expected;
    return false;
  }
  bool Number(int* value);
  bool Parenthesised(int* value);
  bool Delimited(char end, std::string* value);
  bool Justification(uint32_t* data, bool* given);
  bool Group();
  bool Column(ListDisplayColumn* group, int* x, int* line, int group_left);
  bool Modifier(ListColumn* column, bool* picture_seen);
  bool PictureModifier(ListColumn* column, bool* picture_seen);
  bool FieldModifier(ListColumn* column);
  bool TreeModifier(ListColumn* column);
  bool GroupModifier(uint32_t* flags, std::string* header, int* header_indent, int* header_height,
                     int* scroll_width, uint32_t* extra, uint32_t* header_justify);
  int PixelsX(int units) const { return ToPixelsX(scale_, units); }
  int PixelsY(int units) const { return ToPixelsY(scale_, units); }

  std::string_view text_;
  const UnitScale& scale_;
  ListFormat& out_;
  size_t pos_ = 0;
  int next_field_ = 1;
  int x_ = 0;
  std::string error_;
};

// number := digit { digit }
bool Reader::Number(int* value) {
  if (!std::isdigit(static_cast<unsigned char>(Peek()))) return Fail("a number");
  int n = 0;
  while (std::isdigit(static_cast<unsigned char>(Peek()))) {
    n = n * 10 + (text_[pos_++] - '0');
    if (n > kMaxNumber) return Fail("a smaller number");
  }
  *value = n;
  return true;
}

// parenthesised := '(' number ')'
bool Reader::Parenthesised(int* value) {
  if (!Take('(')) return Fail("'('");
  if (!Number(value)) return false;
  return Take(')') || Fail("')'");
}

// delimited := text up to `end`; the opening character has been taken.
bool Reader::Delimited(char end, std::string* value) {
  size_t close = text_.find(end, pos_);
  if (close == std::string_view::npos)
    return Fail(end == '~' ? "a closing '~'" : "a closing delimiter");
  *value = std::string(text_.substr(pos_, close - pos_));
  pos_ = close + 1;
  return true;
}

// justify := 'L' | 'R' | 'C' | 'D'
bool Reader::Justification(uint32_t* code, bool* given) {
  static constexpr char kLetters[] = "LRCD";
  const char* at = std::char_traits<char>::find(kLetters, 4, PeekUpper());
  *given = at != nullptr && Peek() != '\0';
  if (*given) {
    *code = static_cast<uint32_t>(at - kLetters);
    ++pos_;
  }
  return true;
}

// group-mod, shared by columns and groups; false (nothing taken) when none applies.
bool Reader::GroupModifier(uint32_t* flags, std::string* header, int* header_indent,
                           int* header_height, int* scroll_width, uint32_t* extra,
                           uint32_t* header_justify) {
  int n = 0;
  switch (PeekUpper()) {
    case 'M':
      ++pos_;
      *flags |= list_flag::kResizable;
      return true;
    case 'F':
      ++pos_;
      *flags |= list_flag::kFixed;
      return true;
    case '|':
      ++pos_;
      *flags |= list_flag::kRightBorder;
      return true;
    case '_':
      ++pos_;
      *flags |= list_flag::kUnderline;
      return true;
    case 'S':
      ++pos_;
      *flags |= list_flag::kScroll;
      if (Peek() == '(' && Parenthesised(&n)) *scroll_width = PixelsX(n);
      return error_.empty();
    case 'H':
      ++pos_;
      if (!Parenthesised(&n)) return false;
      *header_height = PixelsY(n);
      *extra |= list_extra::kHeaderHeight;
      return true;
    case '~': {
      ++pos_;
      if (!Delimited('~', header)) return false;
      bool given = false;
      uint32_t code = 0;
      Justification(&code, &given);
      if (given) *header_justify = code;
      if (given && Peek() == '(') {
        if (!Parenthesised(&n)) return false;
        *header_indent = PixelsX(n);
      }
      return true;
    }
    default:
      return false;
  }
}

// The one-letter modifiers that only set a flag.
struct FlagModifier {
  char letter;
  uint32_t flag;
  uint32_t extra;
};
constexpr FlagModifier kFlagModifiers[] = {
    {'?', list_flag::kMarked, 0},
    {'*', 0, list_extra::kColors},
    {'I', list_flag::kIcon, 0},
    {'/', list_flag::kNewLine, 0},
};

// modifier := group-mod | '@' picture '@' | '?' | '#' field '#' | '*' | 'I' | 'T' [...] | '/'
bool Reader::Modifier(ListColumn* c, bool* picture_seen) {
  uint32_t header_justify = (c->flags & list_flag::kHeaderJustify) >> 2;
  size_t before = pos_;
  if (GroupModifier(&c->flags, &c->header, &c->header_indent, &c->header_height, &c->scroll_width,
                    &c->extra, &header_justify)) {
    c->flags = (c->flags & ~list_flag::kHeaderJustify) | (header_justify << 2);
    return true;
  }
  if (pos_ != before || !error_.empty()) return false;
  const char letter = PeekUpper();
  for (const FlagModifier& m : kFlagModifiers) {
    if (m.letter != letter) continue;
    ++pos_;
    c->flags |= m.flag;
    c->extra |= m.extra;
    return true;
  }
  switch (letter) {
    case '@':
      return PictureModifier(c, picture_seen);
    case '#':
      return FieldModifier(c);
    case 'T':
      return TreeModifier(c);
    default:
      return false;
  }
}

// '@' picture '@': the first picture of a column counts.
bool Reader::PictureModifier(ListColumn* c, bool* picture_seen) {
  ++pos_;
  std::string picture;
  if (!Delimited('@', &picture)) return false;
  if (!*picture_seen) c->picture = "@" + picture;
  *picture_seen = true;
  return true;
}

// '#' field '#': the queue field the column shows.
bool Reader::FieldModifier(ListColumn* c) {
  ++pos_;
  int n = 0;
  if (!Number(&n)) return false;
  if (!Take('#')) return Fail("a closing '#'");
  c->field = n;
  return true;
}

// 'T' [ '(' { 'L' | 'B' | 'I' } ')' ]: a tree column with its lines, boxes and indent.
bool Reader::TreeModifier(ListColumn* c) {
  ++pos_;
  c->flags |= list_flag::kTree;
  if (!Take('(')) return true;
  for (;;) {
    if (Take('L'))
      c->extra |= list_extra::kTreeLines;
    else if (Take('B'))
      c->extra |= list_extra::kTreeBoxes;
    else if (Take('I'))
      c->extra |= list_extra::kTreeIndent;
    else
      break;
  }
  if (!Take(')')) return Fail("a tree option or ')'");
  return true;
}

// column := width justify [ '(' indent ')' ] { modifier }
bool Reader::Column(ListDisplayColumn* group, int* x, int* line, int group_left) {
  ListColumn c;
  int units = 0;
  if (!Number(&units)) return false;
  uint32_t justify = 0;
  bool given = false;
  Justification(&justify, &given);
  if (!given) return Fail("a justification letter L, R, C or D");
  c.flags = justify | (justify << 2);
  c.width = units > 0 ? PixelsX(units) : 0;
  if (units > 0 && Peek() == '(') {
    int indent = 0;
    if (!Parenthesised(&indent)) return false;
    c.data_indent = c.header_indent = PixelsX(indent);
  }
  bool picture_seen = false;
  while (!AtEnd() && Modifier(&c, &picture_seen)) {
  }
  if (!error_.empty()) return false;
  c.left = *x;
  c.top = *line;
  c.right = c.left + c.width - 1;
  if (c.field == 0) c.field = next_field_;
  next_field_ = c.field + c.fields_taken();
  c.display = static_cast<int>(out_.displays.size()) - 1;
  if (!out_.columns.empty() && (out_.columns.back().flags & list_flag::kResizable)) {
    out_.columns.back().resize_partner = static_cast<int>(out_.columns.size());
  }
  if (c.width == 0) ++out_.zero_width;
  if (c.flags & list_flag::kFixed) ++out_.fixed;
  if (c.flags & list_flag::kScroll) out_.any_scroll = true;
  if ((c.flags & list_flag::kMarked) && !out_.marked_field) out_.marked_field = c.field;
  *x += c.width;
  if (group && (c.flags & list_flag::kNewLine) == list_flag::kNewLine) {
    *x = group_left;
    ++*line;
    out_.lines = std::max(out_.lines, *line + 1);
  }
  out_.columns.push_back(std::move(c));
  return true;
}

// group := '[' column { column } ']' [ '(' width ')' ] { group-mod }
bool Reader::Group() {
  ListDisplayColumn g;
  g.group = true;
  g.left = x_;
  g.first = static_cast<int>(out_.columns.size());
  out_.displays.push_back(g);
  int x = x_, line = 0, widest = 0;
  while (!Take(']')) {
    if (AtEnd()) return Fail("']'");
    if (!Column(&out_.displays.back(), &x, &line, g.left)) return false;
    widest = std::max(widest, x - g.left);
    const ListColumn& last = out_.columns.back();
    widest = std::max(widest, last.left + last.width - g.left);
  }
  ListDisplayColumn& d = out_.displays.back();
  d.count = static_cast<int>(out_.columns.size()) - d.first;
  if (d.count == 0) return Fail("a column inside the group");
  d.width = widest;
  if (Peek() == '(') {
    int units = 0;
    if (!Parenthesised(&units)) return false;
    d.width = PixelsX(units);
  }
  int scroll = 0;
  uint32_t extra = 0, justify = 0;
  while (GroupModifier(&d.flags, &d.header, &d.header_indent, &d.header_height, &scroll, &extra,
                       &justify)) {
  }
  if (!error_.empty()) return false;
  d.flags |= justify << 2;
  if (d.flags & list_flag::kRightBorder) d.width += kBorderWidth;
  x_ = d.left + d.width;
  return true;
}

bool Reader::Format(int line_height, std::string* error) {
  while (!AtEnd()) {
    bool ok = true;
    if (Take('[')) {
      ok = Group();
    } else {
      ListDisplayColumn d;
      d.first = static_cast<int>(out_.columns.size());
      d.left = x_;
      out_.displays.push_back(d);
      int line = 0;
      ok = Column(nullptr, &x_, &line, 0);
      if (ok) out_.displays.back().width = out_.columns.back().width;
    }
    if (!ok) {
      // A group cut short keeps the columns it has.
      ListDisplayColumn& last = out_.displays.back();
      last.count = static_cast<int>(out_.columns.size()) - last.first;
      if (last.count == 0) out_.displays.pop_back();
      if (error) *error = error_;
      return false;
    }
  }
  out_.width = 0;
  bool headers = false;
  int height = 0;
  for (const ListDisplayColumn& d : out_.displays) {
    out_.width += d.width;
    headers = headers || !d.header.empty();
    height = std::max(height, d.header_height);
  }
  for (const ListColumn& c : out_.columns) {
    headers = headers || !c.header.empty();
    height = std::max(height, c.header_height);
  }
  if (headers) {
    int lines_of_headers = out_.any_group_header() ? 2 : 1;
    out_.header_height = std::max(height, line_height * lines_of_headers);
  }
  return true;
}

}  // namespace

int ListColumn::fields_taken() const {
  return 1 + ((extra & list_extra::kColors) ? 4 : 0) + ((flags & list_flag::kTree) ? 1 : 0);
}

bool ListFormat::any_group_header() const {
  for (const ListDisplayColumn& d : displays) {
    if (d.group && !d.header.empty()) return true;
  }
  return false;
}

bool ParseListFormat(std::string_view text, const UnitScale& scale, int line_height,
                     ListFormat* out, std::string* error) {
  *out = ListFormat{};
  Reader reader(text, scale, out);
  return reader.Format(line_height, error);
}

}  // namespace carelog::window
