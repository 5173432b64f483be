// Parsing typed text back into values through compiled pictures.
#include <cstring>
#include <string>

#include "runtime/values/clock.h"
#include "runtime/values/decimal_digits.h"
#include "runtime/values/locale.h"
#include "runtime/values/picture.h"
#include "runtime/values/standard_date.h"

namespace carelog::values {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// A number from loosely typed text: `decimal_char` marks the point, '(' or '-' anywhere makes
// it negative, an exponent follows 'e'/'E' when `exponent_allowed`, other characters are
// ignored. `implied_decimals` places the point when none was typed.
DecimalDigits ReadNumber(std::string_view text, char decimal_char, bool exponent_allowed,
                         int implied_decimals) {
  DigitCollector digits;
  bool negative = false;
  size_t i = 0;
  for (; i < text.size(); ++i) {
    char c = text[i];
    if (IsDigit(c)) {
      digits.Digit(c);
    } else if (c == decimal_char && !digits.seen_point()) {
      digits.Point();
    } else if (c == '-' || c == '(') {
      negative = true;
    } else if ((c == 'e' || c == 'E') && exponent_allowed && digits.any_digit()) {
      break;
    }
  }
  if (i < text.size()) {
    // The exponent: its own sign, then digits; other characters are ignored.
    bool negative_exponent = false;
    bool signed_already = false;
    int exponent = 0;
    for (++i; i < text.size(); ++i) {
      char c = text[i];
      if ((c == '-' || c == '+') && !signed_already) {
        negative_exponent = c == '-';
        signed_already = true;
      } else if (IsDigit(c) && exponent < 100000) {
        exponent = exponent * 10 + (c - '0');
        signed_already = true;
      }
    }
    digits.Exponent(negative_exponent ? -exponent : exponent);
  }
  if (!digits.seen_point()) digits.Exponent(-implied_decimals);
  return digits.Finish(negative);
}

DecimalDigits DeformatNumber(std::string_view text, const Picture& p) {
  char decimal_char = 0;
  char grouping = 0;
  int implied = 0;
  bool after_implied = false;
  for (int i = 0; i < p.cells(); ++i) {
    CellCode code = p.cell_code(i);
    if (code == kCellDecimal) decimal_char = p.cell_char(i);
    if (code == kCellGroup) grouping = p.cell_char(i);
    if (code == kCellImpliedDecimal) after_implied = true;
    if (after_implied && code == kCellDigit) ++implied;
  }
  if (decimal_char == 0) decimal_char = grouping == '.' ? ',' : '.';
  return ReadNumber(text, decimal_char, p.kind() == PictureKind::kScientific, implied);
}

// P pictures: the text is walked along the cells; digit cells take digits (or skip a blank),
// literal cells skip their own character.
DecimalDigits DeformatPattern(std::string_view text, const Picture& p) {
  std::string digits;
  size_t t = 0;
  for (int i = 0; i < p.cells() && t < text.size(); ++i) {
    CellCode code = p.cell_code(i);
    if (code == kCellDigit || code == kCellSuppressed) {
      if (IsDigit(text[t])) {
        digits.push_back(text[t++]);
      } else if (text[t] == ' ') {
        ++t;
      }
    } else if (text[t] == p.cell_char(i)) {
      ++t;
    }
  }
  DecimalDigits d;
  if (!digits.empty()) DigitsOfText(digits, &d);
  return d;
}

// K pictures: the characters at entry positions, without the literals.
std::string DeformatKeyIn(std::string_view text, const Picture& p) {
  std::string value;
  size_t t = 0;
  for (int i = 0; i < p.cells() && t < text.size(); ++i) {
    if (p.cell_code(i) == kCellLiteral) {
      if (text[t] == p.cell_char(i)) ++t;
    } else {
      value.push_back(text[t++]);
    }
  }
  size_t end = value.find_last_not_of(' ');
  value.resize(end == std::string::npos ? 0 : end + 1);
  return value;
}

// The fields read from a date or time text.
struct Fields {
  int month = -1, day = -1, year = -1, year_digits = 0;
  int hour = -1, minute = -1, second = -1;
  int am_pm = 0;  // 1 AM, 2 PM
  bool typed = false;
  bool bad = false;
};

// Walks a date or time text along the cells: runs of digit cells read a number, month-name
// cells a month abbreviation, the AM/PM marker a letter; separators and literals are skipped
// where they stand.
class CalendarReader {
 public:
  CalendarReader(std::string_view text, const Picture& p) : text_(text), p_(p) {}

  Fields Read() {
    Fields f;
    if (ReadInPlace(&f)) return f;
    for (int i = 0; i < p_.cells() && !f.bad;) {
      CellCode code = p_.cell_code(i);
      int n = 1;
      while (i + n < p_.cells() && p_.cell_code(i + n) == code) ++n;
      if (code == kCellAmPm) n = 1;
      switch (code) {
        case kCellMonth:
          f.month = Number(i, n, nullptr, f);
          break;
        case kCellDay:
          f.day = Number(i, n, nullptr, f);
          break;
        case kCellYear:
          f.year = Number(i, n, &f.year_digits, f);
          break;
        case kCellHour:
          f.hour = Number(i, n, nullptr, f);
          break;
        case kCellMinute:
          f.minute = Number(i, n, nullptr, f);
          break;
        case kCellSecond:
          f.second = Number(i, n, nullptr, f);
          break;
        case kCellMonthName:
          f.month = MonthName(f);
          break;
        case kCellAmPm:
          f.am_pm = AmPm(p_.cell_char(i), f);
          break;
        case kCellSeparator:
          SkipBlanks();
          if (t_ < text_.size() && !IsDigit(text_[t_]) && !IsLetter(text_[t_])) ++t_;
          break;
        default:
          for (int j = 0; j < n; ++j) {
            if (p_.cell_char(i + j) == ' ') {
              SkipBlanks();
            } else if (t_ < text_.size() && text_[t_] == p_.cell_char(i + j)) {
              ++t_;
            }
          }
          break;
      }
      i += n;
    }
    SkipBlanks();
    if (t_ != text_.size()) f.bad = true;  // text left over that no cell takes
    return f;
  }

 private:
  // Text laid out exactly as the picture shows values (each digit cell holding a digit, or a
  // blank before the first digit of its field, and each separator or literal cell its own
  // character) is read position by position. False when the text is laid out otherwise.
  bool ReadInPlace(Fields* f) const {
    if (text_.size() != static_cast<size_t>(p_.cells())) return false;
    int value[kCellSecond + 1] = {};
    int digits[kCellSecond + 1] = {};
    for (int i = 0; i < p_.cells(); ++i) {
      CellCode code = p_.cell_code(i);
      char c = text_[i];
      switch (code) {
        case kCellMonth:
        case kCellDay:
        case kCellYear:
        case kCellHour:
        case kCellMinute:
        case kCellSecond:
          if (IsDigit(c)) {
            value[code] = value[code] * 10 + (c - '0');
            ++digits[code];
          } else if ((c != ' ' && c != p_.cell_char(i)) || digits[code] != 0) {
            return false;  // only blanks or the fill character lead a field
          }
          break;
        case kCellSeparator:
        case kCellLiteral:
          if (c != p_.cell_char(i)) return false;
          break;
        default:
          return false;  // names and AM/PM markers take the general path
      }
    }
    auto field = [&](CellCode code) { return digits[code] > 0 ? value[code] : -1; };
    f->month = field(kCellMonth);
    f->day = field(kCellDay);
    f->year = field(kCellYear);
    f->year_digits = digits[kCellYear];
    f->hour = field(kCellHour);
    f->minute = field(kCellMinute);
    f->second = field(kCellSecond);
    for (int d : digits) f->typed |= d > 0;
    return true;
  }

  // The locale, fetched when first needed: plain digit fields never need it.
  const LocaleTables& locale() {
    if (locale_ == nullptr) locale_ = &Locale();
    return *locale_;
  }

  bool IsLetter(char c) {
    uint8_t u = static_cast<uint8_t>(c);
    if (u >= 128) return true;
    uint8_t cls = locale().char_class[u];
    return cls == kClassUpper || cls == kClassLower;
  }

  void SkipBlanks() {
    while (t_ < text_.size() && text_[t_] == ' ') ++t_;
  }

  // A number from a run of `n` digit cells. When another digit field follows directly, the
  // run's own positions bound it (a leading blank counts as one); otherwise blanks before it
  // are skipped and a year may take up to four digits.
  int Number(int first, int n, int* digits_read, Fields& f) {
    bool packed = false;
    if (first + n < p_.cells()) {
      CellCode next = p_.cell_code(first + n);
      packed = next == kCellMonth || next == kCellDay || next == kCellYear || next == kCellHour ||
               next == kCellMinute || next == kCellSecond;
    }
    // Blanks, or the fill character ('*' of a filled picture), lead the digits.
    char fill = IsDigit(p_.cell_char(first)) ? ' ' : p_.cell_char(first);
    auto leading = [&] { return text_[t_] == ' ' || text_[t_] == fill; };
    int limit = n;
    int used = 0;  // positions of the run taken
    if (packed) {
      while (used < n && t_ < text_.size() && leading()) ++t_, ++used;
    } else {
      while (t_ < text_.size() && leading()) ++t_;
      if (digits_read != nullptr && limit < 4) limit = 4;
    }
    int value = 0, count = 0;
    while (count < limit && (!packed || used < n) && t_ < text_.size() && IsDigit(text_[t_])) {
      value = value * 10 + (text_[t_++] - '0');
      ++count;
      ++used;
    }
    if (digits_read != nullptr) *digits_read = count;
    if (count == 0) return -1;
    f.typed = true;
    return value;
  }

  int MonthName(Fields& f) {
    SkipBlanks();
    size_t start = t_;
    while (t_ < text_.size() && IsLetter(text_[t_])) ++t_;
    if (t_ - start < 3) {
      f.bad = t_ > start;
      return -1;
    }
    f.typed = true;
    const LocaleTables& locale = this->locale();
    for (int m = 0; m < 12; ++m) {
      bool same = true;
      for (int k = 0; k < 3 && same; ++k) {
        same = UpperCase(static_cast<uint8_t>(text_[start + k])) ==
               UpperCase(static_cast<uint8_t>(locale.month_abbreviations[m][k]));
      }
      if (same) return m + 1;
    }
    f.bad = true;
    return -1;
  }

  int AmPm(char marker, Fields& f) {
    SkipBlanks();
    if (t_ >= text_.size() || !IsLetter(text_[t_])) return 0;
    const LocaleTables& locale = this->locale();
    const auto& texts = marker == kAmPmSystemTexts ? locale.windows_am_pm : locale.am_pm;
    uint8_t typed = UpperCase(static_cast<uint8_t>(text_[t_]));
    int result = 0;
    if (typed == UpperCase(static_cast<uint8_t>(texts[0][0]))) {
      result = 1;
    } else if (typed == UpperCase(static_cast<uint8_t>(texts[1][0]))) {
      result = 2;
    } else {
      f.bad = true;
    }
    while (t_ < text_.size() && IsLetter(text_[t_])) ++t_;
    return result;
  }

  std::string_view text_;
  const Picture& p_;
  const LocaleTables* locale_ = nullptr;
  size_t t_ = 0;
};

// A typed two-digit year in the window around today's year; 19xx when the clock is out of the
// date range.
int TwoDigitYear(int year) {
  CalendarDate today;
  if (!SplitDate(Today(), &today)) return year + 1900;
  return WindowedYear(year, today.year);
}

int32_t DeformatDate(std::string_view text, const Picture& p) {
  Fields f = CalendarReader(text, p).Read();
  if (f.bad || !f.typed) return 0;
  if (f.day < 0) {
    // Pictures without a day field mean the first of the month.
    bool has_day = false;
    for (int i = 0; i < p.cells(); ++i) has_day |= p.cell_code(i) == kCellDay;
    if (has_day) return 0;
    f.day = 1;
  }
  if (f.month < 0 || f.year < 0) return 0;
  if (f.year_digits <= 2) f.year = TwoDigitYear(f.year);
  int32_t n = DayNumber(f.year, f.month, f.day);
  return n < 0 ? 0 : n;
}

int32_t DeformatTime(std::string_view text, const Picture& p) {
  Fields f = CalendarReader(text, p).Read();
  if (f.bad || !f.typed || f.hour < 0) return 0;
  int hour = f.hour;
  if (f.am_pm == 2 && hour < 12) hour += 12;
  if (f.am_pm == 1 && hour == 12) hour = 0;
  int32_t t = BuildTime(hour, f.minute < 0 ? 0 : f.minute, f.second < 0 ? 0 : f.second, 0);
  if (t < 0) return 0;
  return t == 0 ? 1 : t;  // a typed midnight is midnight, not "no time"
}

DeformattedValue NumberValue(const DecimalDigits& d) {
  DeformattedValue v;
  v.number = ToDouble(d);
  v.decimal = ToDecimalText(d);
  return v;
}

DeformattedValue StandardValue(int32_t n) {
  DeformattedValue v;
  v.number = n;
  return v;
}

}  // namespace

double ParseNumberText(std::string_view text) {
  return ToDouble(ReadNumber(text, '.', true, 0));
}

DeformattedValue Deformat(std::string_view text, const Picture& p) {
  if (!p.valid()) return NumberValue(ReadNumber(text, '.', true, 0));
  switch (p.kind()) {
    case PictureKind::kDate:
      return StandardValue(DeformatDate(text, p));
    case PictureKind::kTime:
      return StandardValue(DeformatTime(text, p));
    case PictureKind::kPattern:
      return NumberValue(DeformatPattern(text, p));
    case PictureKind::kString: {
      DeformattedValue v;
      v.is_text = true;
      v.text = std::string(text.substr(0, p.width()));
      return v;
    }
    case PictureKind::kKeyIn: {
      DeformattedValue v;
      v.is_text = true;
      v.text = DeformatKeyIn(text, p);
      return v;
    }
    default:
      return NumberValue(DeformatNumber(text, p));
  }
}

bool KeyInFits(std::string_view entered, const Picture& p) {
  size_t next = 0;
  for (int i = 0; i < p.cells() && next < entered.size(); ++i) {
    CellCode code = p.cell_code(i);
    if (code == kCellLiteral) continue;
    char c = entered[next++];
    if (code == kCellDigit && !IsDigit(c)) return false;
    if (code == kCellSuppressed && !IsDigit(c) && c != ' ') return false;
  }
  return next == entered.size();
}

DeformattedValue Deformat(std::string_view text, std::string_view picture) {
  return Deformat(text, Picture(picture));
}

}  // namespace carelog::values
