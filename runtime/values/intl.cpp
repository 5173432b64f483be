#include "runtime/values/intl.h"

#include <cstring>
#include <vector>

#include "runtime/host/locale_source.h"
#include "runtime/values/charset.h"

namespace carelog::values {
namespace {

// A locale text in the ANSI set: UTF-8 is decoded, other single-byte sets pass as Latin-1.
std::string ToAnsi(const char* text, bool utf8) {
  std::string out;
  if (text == nullptr) return out;
  const auto* p = reinterpret_cast<const uint8_t*>(text);
  while (*p != 0) {
    uint32_t cp = *p++;
    if (utf8 && cp >= 0x80) {
      int extra = cp >= 0xF0 ? 3 : cp >= 0xE0 ? 2 : cp >= 0xC0 ? 1 : 0;
      cp &= 0x3F >> extra;
      for (; extra > 0 && (*p & 0xC0) == 0x80; --extra) cp = (cp << 6) | (*p++ & 0x3F);
      if (extra != 0) continue;  // malformed sequence: dropped
    }
    uint8_t c = UnicodeToAnsi(cp);
    if (c != 0) out.push_back(static_cast<char>(c));
  }
  return out;
}

// One piece of a strftime layout: a directive (with its flag) or a run of literal text.
struct Piece {
  bool directive = false;
  char flag = 0;
  char conversion = 0;
  std::string literal;
};

std::vector<Piece> SplitLayout(const std::string& layout) {
  std::vector<Piece> pieces;
  for (size_t i = 0; i < layout.size();) {
    if (layout[i] == '%' && i + 1 < layout.size() && layout[i + 1] != '%') {
      Piece p;
      p.directive = true;
      ++i;
      while (i < layout.size() && std::strchr("-_0^#EO", layout[i]) != nullptr) {
        if (p.flag == 0) p.flag = layout[i];
        ++i;
      }
      if (i < layout.size()) p.conversion = layout[i++];
      pieces.push_back(p);
      continue;
    }
    char c = layout[i];
    i += (c == '%') ? 2 : 1;
    if (pieces.empty() || pieces.back().directive) pieces.push_back(Piece{});
    pieces.back().literal.push_back(c);
  }
  return pieces;
}

// The date-format letters of a date directive; empty for directives that are not dates.
std::string DateLetters(const Piece& p) {
  bool no_pad = p.flag == '-' || p.flag == '_';
  switch (p.conversion) {
    case 'd':
      return no_pad ? "d" : "dd";
    case 'e':
      return p.flag == '0' ? "dd" : "d";
    case 'm':
      return no_pad ? "M" : "MM";
    case 'y':
      return "yy";
    case 'Y':
      return "yyyy";
    case 'D':
      return "MM/dd/yy";
    case 'F':
      return "yyyy-MM-dd";
    case 'b':
    case 'h':
      return "MMM";
    case 'B':
      return "MMMM";
    case 'a':
      return "ddd";
    case 'A':
      return "dddd";
    default:
      return "";
  }
}

// Literal text in a date format: letters go between single quotes.
std::string QuoteLiteral(const std::string& text) {
  std::string out;
  bool quoted = false;
  for (char c : text) {
    bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '\'';
    if (letter != quoted) {
      out.push_back('\'');
      quoted = letter;
    }
    out.push_back(c);
  }
  if (quoted) out.push_back('\'');
  return out;
}

void CopyAmPm(const std::string& text, char* slot) {
  if (text.empty()) return;
  size_t n = text.size() < kAmPmSize - 1 ? text.size() : kAmPmSize - 1;
  std::memcpy(slot, text.data(), n);
  slot[n] = 0;
}

}  // namespace

std::string DateFormatFromStrftime(const std::string& layout, bool dates_only) {
  std::vector<Piece> pieces = SplitLayout(layout);
  std::string out;
  std::string pending;  // literal text waiting for a following date field
  bool any_date = false;
  for (const Piece& p : pieces) {
    if (!p.directive) {
      pending += p.literal;
      continue;
    }
    std::string letters = DateLetters(p);
    if (letters.empty()) {
      if (dates_only) pending.clear();
      continue;
    }
    if (any_date || !dates_only) out += QuoteLiteral(pending);
    pending.clear();
    out += letters;
    any_date = true;
  }
  if (!dates_only) out += QuoteLiteral(pending);
  return any_date ? out : std::string();
}

IntlSettings IntlSettingsFrom(const LocaleLayouts& layouts) {
  IntlSettings s;
  // Expand the composite time directives, then find the hour.
  std::string time;
  for (size_t i = 0; i < layouts.t_fmt.size(); ++i) {
    char c = layouts.t_fmt[i];
    if (c == '%' && i + 1 < layouts.t_fmt.size()) {
      char next = layouts.t_fmt[i + 1];
      if (next == 'T' || next == 'R' || next == 'r') {
        time += next == 'T'                  ? "%H:%M:%S"
                : next == 'R'                ? "%H:%M"
                : layouts.t_fmt_ampm.empty() ? "%I:%M:%S %p"
                                             : layouts.t_fmt_ampm;
        ++i;
        continue;
      }
    }
    time.push_back(c);
  }
  std::vector<Piece> pieces = SplitLayout(time);
  for (size_t i = 0; i < pieces.size(); ++i) {
    const Piece& p = pieces[i];
    if (!p.directive || std::strchr("HkIl", p.conversion) == nullptr) continue;
    s.time_24hour = p.conversion == 'H' || p.conversion == 'k';
    bool padded_zero = p.conversion == 'H' || p.conversion == 'I';
    if (p.flag == '-' || p.flag == '_') padded_zero = false;
    if (p.flag == '0') padded_zero = true;
    s.hour_leading_zero = padded_zero;
    if (i + 1 < pieces.size() && !pieces[i + 1].directive) {
      s.time_separator = pieces[i + 1].literal[0];
    }
    break;
  }
  CopyAmPm(layouts.am_str, s.am);
  CopyAmPm(layouts.pm_str, s.pm);
  std::string short_date = DateFormatFromStrftime(layouts.d_fmt, false);
  if (!short_date.empty()) s.short_date = short_date;
  std::string long_date = DateFormatFromStrftime(layouts.d_t_fmt, true);
  if (!long_date.empty()) s.long_date = long_date;
  return s;
}

IntlSettings ReadIntlSettings() {
  host::TimeLocale t = host::ReadTimeLocale();
  if (!t.found) return IntlSettings{};
  LocaleLayouts layouts;
  layouts.t_fmt = t.t_fmt;
  layouts.t_fmt_ampm = t.t_fmt_ampm;
  layouts.am_str = ToAnsi(t.am_str.c_str(), t.utf8);
  layouts.pm_str = ToAnsi(t.pm_str.c_str(), t.utf8);
  layouts.d_fmt = t.d_fmt;
  layouts.d_t_fmt = t.d_t_fmt;
  return IntlSettingsFrom(layouts);
}

void SystemCollationOrder(uint8_t order[254]) {
  host::Collator collator;
  auto key = [](uint8_t c) {
    uint16_t cp = AnsiToUnicode(c);
    return static_cast<wchar_t>(cp == 0xFFFD ? c : cp);
  };
  auto less = [&](uint8_t a, uint8_t b) { return collator.Less(key(a), key(b)); };
  // Insertion sort keeps equal characters in code order.
  int n = 0;
  for (int c = 1; c <= 254; ++c) {
    int j = n;
    while (j > 0 && less(static_cast<uint8_t>(c), order[j - 1])) {
      order[j] = order[j - 1];
      --j;
    }
    order[j] = static_cast<uint8_t>(c);
    ++n;
  }
}

void SystemCasePairs(uint8_t lower_of[256]) {
  std::memset(lower_of, 0, 256);
  // The ANSI set's letters above 127 whose lower-case form is also in the set.
  for (int c = 0xC0; c <= 0xDE; ++c) {
    if (c != 0xD7) lower_of[c] = static_cast<uint8_t>(c + 0x20);
  }
  lower_of[0x8A] = 0x9A;  // S with caron
  lower_of[0x8C] = 0x9C;  // ligature OE
  lower_of[0x8E] = 0x9E;  // Z with caron
  lower_of[0x9F] = 0xFF;  // Y with diaeresis
}

}  // namespace carelog::values
