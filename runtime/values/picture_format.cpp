// Formatting values through compiled pictures.
#include <cmath>
#include <cstring>

#include "runtime/values/decimal_digits.h"
#include "runtime/values/locale.h"
#include "runtime/values/picture.h"
#include "runtime/values/standard_date.h"

namespace carelog::values {
namespace {

// The display positions of a picture while they are being written: one per cell, with its code
// and the character it shows.
struct Positions {
  char shown[kMaxPictureCells];
  uint8_t code[kMaxPictureCells];
  uint8_t cell_char[kMaxPictureCells];
  int count = 0;
  int decimals_from = -1;  // first position after a decimal point, shown or implied

  explicit Positions(const Picture& p) {
    for (int i = 0; i < p.cells(); ++i) {
      const CellCode cell = p.cell_code(i);
      const bool point = cell == kCellDecimal || cell == kCellImpliedDecimal;
      if (point && decimals_from < 0) decimals_from = count + 1;
      code[count] = p.cell_code(i);
      cell_char[count] = static_cast<uint8_t>(p.cell_char(i));
      shown[count] = ' ';
      ++count;
    }
  }

  void Fill(char c) { std::memset(shown, c, static_cast<size_t>(count)); }

  void CopyTo(char* out, size_t length) const {
    size_t n = static_cast<size_t>(count) < length ? static_cast<size_t>(count) : length;
    std::memcpy(out, shown, n);
  }
};

bool IsDigitCode(uint8_t code) {
  return code == kCellDigit || code == kCellSuppressed;
}

// A leading '-' or '(' moves next to the digits when blanks separate them.
void MoveSignToDigits(Positions& pos, int first_shown) {
  for (int s = 0; s < first_shown; ++s) {
    if (pos.code[s] != kCellSign) continue;
    if (s + 1 < first_shown && pos.shown[first_shown - 1] == ' ') {
      pos.shown[first_shown - 1] = pos.shown[s];
      pos.shown[s] = ' ';
    }
    break;
  }
}

// Writes the cells of a number that fits; `integer_cells` digit cells lie before `point`.
// Returns the leftmost integer position showing a digit (-1 when none).
int WriteNumberCells(const DecimalDigits& d, int point, int integer_cells, Positions& pos) {
  const int significant = d.integer_digits();
  int integer_left = integer_cells;  // integer digit cells not yet written
  int decimal_index = 0;
  int first_shown = -1;
  for (int i = 0; i < pos.count; ++i) {
    char c = static_cast<char>(pos.cell_char[i]);
    switch (pos.code[i]) {
      case kCellDigit:
      case kCellSuppressed:
        if (i >= point) {
          c = d.at(d.point + decimal_index++);
          break;
        }
        if (int k = --integer_left; k < significant) {  // k = 0 is the units digit
          c = d.at(d.point - 1 - k);
          if (first_shown < 0) first_shown = i;
        } else if (k == 0 && first_shown < 0) {
          first_shown = i;
        }
        break;
      case kCellGroup:
        if (integer_left >= significant) {
          // No digit to its left: it continues a zero or asterisk fill, else shows a blank.
          char left = i > 0 ? pos.shown[i - 1] : ' ';
          if (left != '0' && left != '*') c = ' ';
          if (left == '*') c = '*';
        }
        break;
      case kCellSign:
        c = d.negative ? c : ' ';
        break;
      case kCellImpliedDecimal:
        c = ' ';
        break;
      default:
        break;
    }
    pos.shown[i] = c;
  }
  return first_shown;
}

// N pictures.
void FormatNumberCells(DecimalDigits d, bool blank_when_zero, Positions& pos) {
  if (blank_when_zero && d.is_zero()) return;
  const int point = pos.decimals_from < 0 ? pos.count : pos.decimals_from;
  int integer_cells = 0;
  int decimals = 0;
  for (int i = 0; i < pos.count; ++i) {
    if (IsDigitCode(pos.code[i])) (i < point ? integer_cells : decimals)++;
  }
  RoundToDecimals(d, decimals);
  if (d.integer_digits() > integer_cells) {
    pos.Fill('#');
    return;
  }
  const int first_shown = WriteNumberCells(d, point, integer_cells, pos);
  if (d.negative && first_shown > 0) MoveSignToDigits(pos, first_shown);
}

// E pictures: a sign, a mantissa with one significant integer digit, 'E', sign, three digits.
void FormatScientificCells(DecimalDigits d, bool blank_when_zero, Positions& pos) {
  if (blank_when_zero && d.is_zero()) return;
  int decimals = 0;
  bool after_point = false;
  for (int i = 0; i < pos.count && pos.code[i] != kCellExponentSign; ++i) {
    if (pos.code[i] == kCellDecimal) after_point = true;
    if (after_point && pos.code[i] == kCellDigit) ++decimals;
  }
  int exponent = 0;
  if (!d.is_zero()) {
    RoundToSignificant(d, 1 + decimals);
    exponent = d.point - 1;
  }
  if (exponent > 999 || exponent < -999) {
    pos.Fill('#');
    return;
  }
  int magnitude = exponent < 0 ? -exponent : exponent;
  char exponent_digits[3] = {static_cast<char>('0' + magnitude / 100),
                             static_cast<char>('0' + magnitude / 10 % 10),
                             static_cast<char>('0' + magnitude % 10)};
  int mantissa_index = 0;
  int exponent_index = -1;
  for (int i = 0; i < pos.count; ++i) {
    uint8_t code = pos.code[i];
    char c = static_cast<char>(pos.cell_char[i]);
    if (code == kCellSign) {
      c = d.negative ? '-' : ' ';
    } else if (code == kCellExponentSign) {
      c = exponent < 0 ? '-' : '+';
      exponent_index = 0;
    } else if (code == kCellDigit) {
      c = exponent_index >= 0 ? exponent_digits[exponent_index++ % 3] : d.at(mantissa_index++);
    }
    pos.shown[i] = c;
  }
}

// P pictures: the integer value's digits, right-aligned into the digit cells.
void FormatPatternCells(DecimalDigits d, bool blank_when_zero, Positions& pos) {
  if (blank_when_zero && d.is_zero()) return;
  RoundToDecimals(d, 0);
  int digit_cells = 0;
  for (int i = 0; i < pos.count; ++i) digit_cells += IsDigitCode(pos.code[i]);
  if (d.integer_digits() > digit_cells) {
    pos.Fill('#');
    return;
  }
  int left = digit_cells;
  for (int i = 0; i < pos.count; ++i) {
    char c = static_cast<char>(pos.cell_char[i]);
    if (IsDigitCode(pos.code[i])) {
      int k = --left;
      if (k < d.integer_digits()) c = d.at(d.point - 1 - k);
    }
    pos.shown[i] = c;
  }
}

// K pictures: the text's characters fill the entry positions; literals show as they are.
void FormatKeyInCells(std::string_view text, Positions& pos) {
  size_t next = 0;
  for (int i = 0; i < pos.count; ++i) {
    if (pos.code[i] == kCellLiteral) {
      pos.shown[i] = static_cast<char>(pos.cell_char[i]);
    } else if (next < text.size()) {
      pos.shown[i] = text[next++];
    }
  }
}

// Writes `value` right-aligned into the run of `n` digit positions starting at `first`; a
// leading zero other than the last digit shows the cell's character.
void WriteRun(Positions& pos, int first, int n, int value) {
  // Digits from the right; then the leading zeros, except the last digit, take the cell's
  // character.
  for (int j = n - 1; j >= 0; --j) {
    pos.shown[first + j] = static_cast<char>('0' + value % 10);
    value /= 10;
  }
  for (int j = 0; j < n - 1 && pos.shown[first + j] == '0'; ++j) {
    pos.shown[first + j] = static_cast<char>(pos.cell_char[first + j]);
  }
}

// The extent of the run of equal codes that starts at `i`.
int RunLength(const Positions& pos, int i) {
  int n = 1;
  while (i + n < pos.count && pos.code[i + n] == pos.code[i]) ++n;
  return n;
}

void FormatDateCells(int32_t value, bool blank_when_zero, bool keep_case, Positions& pos) {
  CalendarDate date;
  bool valid = SplitDate(value, &date);
  if (blank_when_zero && !valid) return;
  const LocaleTables& locale = Locale();
  for (int i = 0; i < pos.count;) {
    uint8_t code = pos.code[i];
    int n = RunLength(pos, i);
    if (code == kCellSeparator || code == kCellLiteral) {
      for (int j = 0; j < n; ++j) pos.shown[i + j] = static_cast<char>(pos.cell_char[i + j]);
    } else if (valid && code == kCellMonth) {
      WriteRun(pos, i, n, date.month);
    } else if (valid && code == kCellDay) {
      WriteRun(pos, i, n, date.day);
    } else if (valid && code == kCellYear) {
      WriteRun(pos, i, n, n < 4 ? date.year % 100 : date.year);
    } else if (valid && code == kCellMonthName) {
      const char* name = locale.month_names[date.month - 1];
      for (int j = 0; j < n && name[j] != 0; ++j) {
        uint8_t letter = static_cast<uint8_t>(name[j]);
        pos.shown[i + j] = static_cast<char>(keep_case ? letter : UpperCase(letter));
      }
    }
    i += n;
  }
}

void FormatTimeCells(int32_t value, bool blank_when_zero, Positions& pos) {
  ClockTime time;
  bool valid = SplitTime(value, &time);
  if (blank_when_zero && !valid) return;
  bool twelve_hour = false;
  for (int i = 0; i < pos.count; ++i) twelve_hour |= pos.code[i] == kCellAmPm;
  bool pm = time.hour >= 12;
  int hour = time.hour;
  if (twelve_hour) {
    hour %= 12;
    if (hour == 0) hour = 12;
  }
  const LocaleTables& locale = Locale();
  for (int i = 0; i < pos.count;) {
    uint8_t code = pos.code[i];
    int n = RunLength(pos, i);
    if (code == kCellAmPm) {
      n = 1;
      if (valid) {
        bool system = pos.cell_char[i] == static_cast<uint8_t>(kAmPmSystemTexts);
        const char* text = (system ? locale.windows_am_pm : locale.am_pm)[pm ? 1 : 0];
        pos.shown[i] = text[0] != 0 ? text[0] : ' ';
        if (i + 1 < pos.count) pos.shown[i + 1] = text[0] != 0 && text[1] != 0 ? text[1] : ' ';
      }
      n = 2;  // the marker and its literal
    } else if (code == kCellSeparator || code == kCellLiteral) {
      for (int j = 0; j < n; ++j) pos.shown[i + j] = static_cast<char>(pos.cell_char[i + j]);
    } else if (valid && code == kCellHour) {
      WriteRun(pos, i, n, hour);
    } else if (valid && code == kCellMinute) {
      WriteRun(pos, i, n, time.minute);
    } else if (valid && code == kCellSecond) {
      WriteRun(pos, i, n, time.second);
    }
    i += n;
  }
}

// A standard date or time from a number; -1 for anything that is no 32-bit integer.
int32_t StandardValue(const DecimalDigits& d) {
  if (d.is_zero()) return 0;
  double v = ToDouble(d);
  if (!(v > -2147483648.0 && v < 2147483648.0)) return -1;
  return static_cast<int32_t>(v);
}

size_t FormatStringCells(std::string_view text, const Picture& p, char* out, size_t length) {
  size_t n = text.size();
  if (n > p.width()) n = p.width();
  if (n > length) n = length;
  std::memcpy(out, text.data(), n);
  return length;
}

size_t FormatDigits(const DecimalDigits& d, const Picture& p, char* out, size_t length) {
  std::memset(out, ' ', length);
  if (!p.valid()) return length;
  if (p.kind() == PictureKind::kString || p.kind() == PictureKind::kKeyIn) {
    std::string text = ToDecimalText(d);
    if (p.kind() == PictureKind::kString) return FormatStringCells(text, p, out, length);
    Positions pos(p);
    FormatKeyInCells(text, pos);
    pos.CopyTo(out, length);
    return length;
  }
  Positions pos(p);
  switch (p.kind()) {
    case PictureKind::kNumber:
      FormatNumberCells(d, p.blank_when_zero(), pos);
      break;
    case PictureKind::kScientific:
      FormatScientificCells(d, p.blank_when_zero(), pos);
      break;
    case PictureKind::kPattern:
      FormatPatternCells(d, p.blank_when_zero(), pos);
      break;
    case PictureKind::kDate:
      FormatDateCells(StandardValue(d), p.blank_when_zero(), p.names_keep_case(), pos);
      break;
    case PictureKind::kTime:
      FormatTimeCells(StandardValue(d), p.blank_when_zero(), pos);
      break;
    default:
      break;
  }
  pos.CopyTo(out, length);
  return length;
}

}  // namespace

size_t FormatNumber(double value, const Picture& picture, char* out, size_t length) {
  if (picture.valid() &&
      (picture.kind() == PictureKind::kDate || picture.kind() == PictureKind::kTime)) {
    std::memset(out, ' ', length);
    int32_t standard =
        value > -2147483648.0 && value < 2147483648.0 ? static_cast<int32_t>(value) : -1;
    Positions pos(picture);
    if (picture.kind() == PictureKind::kDate) {
      FormatDateCells(standard, picture.blank_when_zero(), picture.names_keep_case(), pos);
    } else {
      FormatTimeCells(standard, picture.blank_when_zero(), pos);
    }
    pos.CopyTo(out, length);
    return length;
  }
  return FormatDigits(DigitsOfDouble(value), picture, out, length);
}

size_t FormatDecimal(std::string_view decimal, const Picture& picture, char* out, size_t length) {
  DecimalDigits d;
  if (!DigitsOfText(decimal, &d)) d = DecimalDigits{};
  return FormatDigits(d, picture, out, length);
}

size_t FormatText(std::string_view text, const Picture& picture, char* out, size_t length) {
  if (picture.valid() && picture.kind() == PictureKind::kString) {
    std::memset(out, ' ', length);
    return FormatStringCells(text, picture, out, length);
  }
  if (picture.valid() && picture.kind() == PictureKind::kKeyIn) {
    std::memset(out, ' ', length);
    Positions pos(picture);
    FormatKeyInCells(text, pos);
    pos.CopyTo(out, length);
    return length;
  }
  DecimalDigits d;
  if (!DigitsOfText(text, &d)) d = DigitsOfDouble(ParseNumberText(text));
  return FormatDigits(d, picture, out, length);
}

std::string Format(double value, std::string_view picture) {
  Picture p(picture);
  std::string out(p.width(), ' ');
  FormatNumber(value, p, out.data(), out.size());
  return out;
}

std::string FormatText(std::string_view text, std::string_view picture) {
  Picture p(picture);
  std::string out(p.width(), ' ');
  FormatText(text, p, out.data(), out.size());
  return out;
}

}  // namespace carelog::values
