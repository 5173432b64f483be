#include <cstring>

#include "runtime/values/locale.h"
#include "runtime/values/picture.h"
#include "runtime/values/picture_cells.h"

namespace carelog::values {
namespace {

constexpr int kClassString = 0;
constexpr int kClassCalendar = 1;
constexpr int kClassScientific = 2;
constexpr int kClassNumber = 3;

// Reads a picture body left to right.
class BodyReader {
 public:
  explicit BodyReader(std::string_view text) : text_(text) {}

  bool at_end() const { return pos_ >= text_.size(); }
  char peek(size_t ahead = 0) const {
    return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : '\0';
  }
  void skip(size_t n = 1) { pos_ += n; }
  bool take(char c) {
    if (peek() != c) return false;
    ++pos_;
    return true;
  }
  // A decimal number of at most three digits; -1 when none.
  int number() {
    int n = -1;
    for (int digits = 0; digits < 3 && peek() >= '0' && peek() <= '9'; ++digits) {
      n = (n < 0 ? 0 : n * 10) + (peek() - '0');
      ++pos_;
    }
    if (peek() >= '0' && peek() <= '9') return -1;  // more than three digits
    return n;
  }
  // Only blanks remain.
  bool rest_blank() const {
    for (size_t i = pos_; i < text_.size(); ++i) {
      if (text_[i] != ' ') return false;
    }
    return true;
  }

 private:
  std::string_view text_;
  size_t pos_ = 0;
};

// The character a separator or grouping indicator shows.
char Shown(char indicator) {
  if (indicator == '_') return ' ';
  if (indicator == '`') return ',';
  return indicator;
}

char FillShown(char fill) {
  return fill == '_' ? ' ' : fill;
}

// S n
bool CompileString(BodyReader& r, int* width) {
  int n = r.number();
  if (n < 1 || n > kMaxPictureCells || !r.rest_blank()) return false;
  *width = n;
  return true;
}

// D [fill] n [separator]   /   T [fill] n [separator]
bool CompileCalendar(BodyReader& r, bool date, CellList* cells) {
  char fill = 0;
  if (r.peek() == '0' || r.peek() == '_' || r.peek() == '*') {
    fill = r.peek();
    r.skip();
  }
  int number = r.number();
  char separator = 0;
  char s = r.peek();
  if (s == '.' || s == '-' || s == '_' || s == '`') {
    separator = s;
    r.skip();
  }
  if (!r.rest_blank()) return false;
  bool known = date ? DatePictureCells(number, Locale(), cells)
                    : TimePictureCells(number, Locale().intl, cells);
  if (!known || cells->overflow) return false;
  for (int i = 0; i < cells->count; ++i) {
    uint8_t code = cells->codes[i];
    if (separator != 0 && code == kCellSeparator) cells->chars[i] = Shown(separator);
    bool digit_cell = code == kCellMonth || code == kCellDay || code == kCellYear ||
                      code == kCellMonthName || code == kCellHour || code == kCellMinute ||
                      code == kCellSecond;
    if (fill != 0 && digit_cell) cells->chars[i] = FillShown(fill);
  }
  return true;
}

// Currency: '$' or a text between two '~'.
bool ReadCurrency(BodyReader& r, std::string* currency) {
  if (r.take('$')) {
    currency->assign(1, '$');
    return true;
  }
  if (r.peek() != '~') return true;
  r.skip();
  std::string text;
  while (!r.at_end() && r.peek() != '~') {
    text.push_back(r.peek());
    r.skip();
  }
  if (!r.take('~') || text.empty()) return false;
  *currency = text;
  return true;
}

// A number picture as written, before its cells are laid out.
struct NumberSpec {
  std::string front_currency, back_currency;
  char front_sign = 0, back_sign = 0;  // '-' or '(' in front; '-' or ')' at the end
  char fill = 0;                       // '0', '_' or '*'
  int width = 0;
  char grouping = 0;  // as written: '.', '`' or '_'
  char decimal = 0;   // '.', '`', 'v' or 'V' when decimals were given
  int decimals = 0;
};

bool IsDecimalIndicator(char c) {
  return c == '.' || c == '`' || c == 'v' || c == 'V';
}

// [currency] [sign] [currency] [fill] width
bool ReadNumberFront(BodyReader& r, NumberSpec* n) {
  if (!ReadCurrency(r, &n->front_currency)) return false;
  if (r.peek() == '-' || r.peek() == '(') {
    n->front_sign = r.peek();
    r.skip();
  }
  if (n->front_currency.empty() && !ReadCurrency(r, &n->front_currency)) return false;
  if (r.peek() == '0' || r.peek() == '_' || r.peek() == '*') {
    n->fill = r.peek();
    r.skip();
  }
  n->width = r.number();
  return n->width >= 1 && n->width <= kMaxPictureCells;
}

// [grouping] [decimal [decimals]]: an indicator without decimals chooses the grouping instead.
bool ReadNumberDecimals(BodyReader& r, NumberSpec* n) {
  if ((r.peek() == '.' || r.peek() == '`' || r.peek() == '_') && IsDecimalIndicator(r.peek(1))) {
    n->grouping = r.peek();
    r.skip();
  }
  if (!IsDecimalIndicator(r.peek())) {
    if (r.peek() == '_' && n->grouping == 0) {
      n->grouping = '_';
      r.skip();
    }
    return true;
  }
  char indicator = r.peek();
  r.skip();
  int decimals = r.number();
  if (decimals >= 0) {
    n->decimal = indicator;
    n->decimals = decimals;
    return true;
  }
  if (indicator == 'v' || indicator == 'V' || n->grouping != 0) return false;
  n->grouping = indicator;
  return true;
}

// [sign] [currency], then nothing but blanks.
bool ReadNumberBack(BodyReader& r, NumberSpec* n) {
  if (r.peek() == '-' && n->front_sign == 0) {
    n->back_sign = '-';
    r.skip();
  } else if (r.peek() == ')' && n->front_sign == '(') {
    n->back_sign = ')';
    r.skip();
  }
  if (n->front_sign == '(' && n->back_sign != ')') return false;
  if (n->front_currency.empty() && !ReadCurrency(r, &n->back_currency)) return false;
  return r.rest_blank();
}

// The grouping character shown, if any.
char GroupShown(const NumberSpec& n) {
  if (n.grouping != 0) return Shown(n.grouping);
  if (n.fill == 0 || n.fill == '*') return n.decimal == '`' ? '.' : ',';
  return 0;
}

// Integer cells are laid out from the right: units digit, then a grouping cell after every
// three digits; they are added to `cells` left to right.
void LayOutIntegerCells(const NumberSpec& n, int integer_cells, CellList* cells) {
  const char group_shown = GroupShown(n);
  CellList integer;
  for (int digits = 0; integer.count < integer_cells; ++digits) {
    if (group_shown != 0 && digits > 0 && digits % 3 == 0) {
      integer.Add(group_shown, kCellGroup);
      if (integer.count == integer_cells) break;
    }
    if (digits == 0) {
      integer.Add('0', kCellDigit);
    } else if (n.fill != 0) {
      integer.Add(FillShown(n.fill), kCellDigit);
    } else {
      integer.Add(' ', kCellSuppressed);
    }
  }
  for (int i = integer.count - 1; i >= 0; --i) {
    cells->Add(static_cast<char>(integer.chars[i]), static_cast<CellCode>(integer.codes[i]));
  }
}

// Currency and sign cells, the integer cells, the decimal point (shown or implied) with its
// decimals, and the trailing sign and currency; false when the width cannot hold them.
bool LayOutNumber(const NumberSpec& n, CellList* cells) {
  int fixed = static_cast<int>(n.front_currency.size() + n.back_currency.size()) +
              (n.front_sign != 0) + (n.back_sign != 0) + n.decimals + (n.decimals > 0);
  int integer_cells = n.width - fixed;
  if (integer_cells < 0 || integer_cells + n.decimals == 0) return false;
  for (char c : n.front_currency) cells->Add(c, kCellCurrency);
  if (n.front_sign != 0) cells->Add(n.front_sign, kCellSign);
  LayOutIntegerCells(n, integer_cells, cells);
  if (n.decimals > 0) {
    if (n.decimal == 'v' || n.decimal == 'V') {
      cells->Add('.', kCellImpliedDecimal);
    } else {
      cells->Add(n.decimal == '`' ? ',' : '.', kCellDecimal);
    }
    for (int i = 0; i < n.decimals; ++i) cells->Add('0', kCellDigit);
  }
  if (n.back_sign != 0) cells->Add(n.back_sign, kCellSign);
  for (char c : n.back_currency) cells->Add(c, kCellCurrency);
  return !cells->overflow;
}

// N [currency] [sign] [fill] width [grouping] [decimal [decimals]] [sign] [currency]
bool CompileNumber(BodyReader& r, CellList* cells) {
  NumberSpec n;
  return ReadNumberFront(r, &n) && ReadNumberDecimals(r, &n) && ReadNumberBack(r, &n) &&
         LayOutNumber(n, cells);
}

// E width [grouping] [decimal [decimals]]
bool CompileScientific(BodyReader& r, CellList* cells) {
  int width = r.number();
  if (width < 7 || width > kMaxPictureCells) return false;
  if ((r.peek() == '.' || r.peek() == '`' || r.peek() == '_') &&
      (r.peek(1) == '.' || r.peek(1) == '`')) {
    r.skip();  // a grouping character: no mantissa has groups
  }
  char decimal = '.';
  int decimals = -1;
  if (r.peek() == '.' || r.peek() == '`') {
    decimal = Shown(r.peek());
    r.skip();
    decimals = r.number();
  }
  if (!r.rest_blank()) return false;
  int mantissa = width - 6;
  int integer_cells = 1;
  if (decimals < 0) {
    decimals = mantissa >= 2 ? mantissa - 2 : 0;
  } else {
    integer_cells = mantissa - (decimals > 0 ? decimals + 1 : 0);
    if (integer_cells < 1) return false;
  }
  cells->Add('-', kCellSign);
  for (int i = 1; i < integer_cells; ++i) cells->Add(' ', kCellSuppressed);
  cells->Add('0', kCellDigit);
  if (mantissa >= 2) {
    cells->Add(decimal, kCellDecimal);
    for (int i = 0; i < decimals; ++i) cells->Add('0', kCellDigit);
  }
  cells->Add('E', kCellLiteral);
  cells->Add('+', kCellExponentSign);
  for (int i = 0; i < 3; ++i) cells->Add('0', kCellDigit);
  return cells->count == width && !cells->overflow;
}

// P pattern P   /   K pattern K   (the closing letter equals the opening one)
bool CompilePattern(std::string_view body, char opening, bool key_in, CellList* cells) {
  if (body.size() < 2 || body.back() != opening) return false;
  std::string_view pattern = body.substr(0, body.size() - 1);
  bool any_digit = false;
  for (size_t i = 0; i < pattern.size(); ++i) {
    char c = pattern[i];
    CellCode code = kCellLiteral;
    if (c == '#') {
      code = kCellDigit;
      c = '0';
      any_digit = true;
    } else if (c == '<') {
      code = kCellSuppressed;
      c = ' ';
      any_digit = true;
    } else if (key_in) {
      switch (c) {
        case '@':
          code = kCellKeyAny;
          break;
        case '^':
          code = kCellKeyCaret;
          break;
        case '_':
          code = kCellKeyUnderscore;
          break;
        case '?':
          code = kCellKeyQuestion;
          break;
        case '|':
          code = kCellKeyBar;
          break;
        case '\\':
          if (i + 1 < pattern.size()) c = pattern[++i];
          break;
        default:
          break;
      }
      if (code != kCellLiteral) c = ' ';
    }
    cells->Add(c, code);
  }
  return !cells->overflow && cells->count > 0 && (key_in || any_digit);
}

char Lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

// Date pictures 4 and 18 show month names as written; the others in capitals.
bool NamesKeepCase(std::string_view body) {
  std::string_view digits = body;
  while (!digits.empty() && (digits[0] < '1' || digits[0] > '9')) digits.remove_prefix(1);
  return digits.substr(0, 2) == "18" ||
         (digits.substr(0, 1) == "4" && (digits.size() == 1 || digits[1] < '0' || digits[1] > '9'));
}

// The text after the kind letter, as a reader and as written, with the letter itself.
struct PictureBody {
  BodyReader& reader;
  std::string_view text;
  char letter;
};

struct PictureKindRule {
  char letter;  // lower case
  PictureKind kind;
  int picture_class;
  bool (*compile)(const PictureBody& body, CellList* cells);
};

constexpr PictureKindRule kKindRules[] = {
    {'d', PictureKind::kDate, kClassCalendar,
     [](const PictureBody& b, CellList* cells) { return CompileCalendar(b.reader, true, cells); }},
    {'t', PictureKind::kTime, kClassCalendar,
     [](const PictureBody& b, CellList* cells) { return CompileCalendar(b.reader, false, cells); }},
    {'n', PictureKind::kNumber, kClassNumber,
     [](const PictureBody& b, CellList* cells) { return CompileNumber(b.reader, cells); }},
    {'e', PictureKind::kScientific, kClassScientific,
     [](const PictureBody& b, CellList* cells) { return CompileScientific(b.reader, cells); }},
    {'p', PictureKind::kPattern, kClassNumber,
     [](const PictureBody& b, CellList* cells) {
       return CompilePattern(b.text, b.letter, false, cells);
     }},
    {'k', PictureKind::kKeyIn, kClassString,
     [](const PictureBody& b, CellList* cells) {
       return CompilePattern(b.text, b.letter, true, cells);
     }},
};

// The picture without its optional '@', trailing blanks and NULs; *blank_when_zero tells
// whether a trailing 'B' was taken off.
std::string_view PictureText(std::string_view picture, bool* blank_when_zero) {
  while (!picture.empty() && (picture.back() == ' ' || picture.back() == '\0')) {
    picture.remove_suffix(1);
  }
  if (!picture.empty() && picture[0] == '@') picture.remove_prefix(1);
  *blank_when_zero = false;
  if (picture.size() > 2 && (picture.back() == 'B' || picture.back() == 'b')) {
    *blank_when_zero = true;
    picture.remove_suffix(1);
  }
  return picture;
}

size_t WriteCells(const PictureKindRule& rule, bool keep_case, bool blank_when_zero,
                  const CellList& cells, uint8_t* out) {
  out[0] = static_cast<uint8_t>(static_cast<int>(rule.kind) | (rule.picture_class << 3) |
                                (keep_case ? 0x40 : 0) | (blank_when_zero ? 0x80 : 0));
  out[1] = static_cast<uint8_t>(cells.count);
  for (int i = 0; i < cells.count; ++i) {
    out[2 + 2 * i] = cells.chars[i];
    out[3 + 2 * i] = cells.codes[i];
  }
  return 2 + 2 * static_cast<size_t>(cells.count);
}

}  // namespace

size_t CompilePicture(std::string_view text, uint8_t* out) {
  std::memset(out, 0, 4);
  bool blank_when_zero;
  std::string_view picture = PictureText(text, &blank_when_zero);
  if (picture.empty()) return 0;
  const char letter = picture[0];
  std::string_view body = picture.substr(1);
  BodyReader reader(body);
  if (Lower(letter) == 's') {
    int width = 0;
    if (!CompileString(reader, &width)) return 0;
    out[0] = static_cast<uint8_t>(static_cast<int>(PictureKind::kString) | (kClassString << 3) |
                                  (blank_when_zero ? 0x80 : 0));
    out[1] = static_cast<uint8_t>(width);
    return 2;
  }
  for (const PictureKindRule& rule : kKindRules) {
    if (rule.letter != Lower(letter)) continue;
    CellList cells;
    if (!rule.compile(PictureBody{reader, body, letter}, &cells)) return 0;
    if (cells.count == 0 || cells.overflow) return 0;
    const bool keep_case = rule.kind == PictureKind::kDate && NamesKeepCase(body);
    return WriteCells(rule, keep_case, blank_when_zero, cells, out);
  }
  return 0;
}

Picture::Picture() {
  std::memset(bytes_, 0, 4);
}

Picture::Picture(std::string_view text) {
  length_ = CompilePicture(text, bytes_);
  if (!valid()) return;
  width_ = static_cast<size_t>(cells());
}

}  // namespace carelog::values
