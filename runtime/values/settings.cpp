#include "runtime/values/settings.h"

#include <algorithm>
#include <cstring>

#include "runtime/values/intl.h"

namespace carelog::values {
namespace {

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x -= 32;
    if (y >= 'a' && y <= 'z') y -= 32;
    if (x != y) return false;
  }
  return true;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

// Copies at most `size` - 1 characters of `text` into a NUL-terminated slot.
void CopyToSlot(const std::string& text, char* slot, size_t size) {
  size_t n = std::min(text.size(), size - 1);
  std::memcpy(slot, text.data(), n);
  slot[n] = 0;
}

// A quoted list: "a","b" with "" inside an item standing for one quote.
std::vector<std::string> SplitQuoted(std::string_view value) {
  std::vector<std::string> items;
  size_t i = 0;
  while (i < value.size()) {
    while (i < value.size() && (value[i] == ' ' || value[i] == '\t')) ++i;
    if (i >= value.size()) break;
    std::string item;
    if (value[i] == '"') {
      ++i;
      while (i < value.size()) {
        if (value[i] == '"') {
          if (i + 1 < value.size() && value[i + 1] == '"') {
            item.push_back('"');
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        item.push_back(value[i++]);
      }
      while (i < value.size() && value[i] != ',') ++i;  // text after the closing quote
    } else {
      while (i < value.size() && value[i] != ',') item.push_back(value[i++]);
    }
    items.push_back(item);
    if (i < value.size() && value[i] == ',') ++i;
  }
  return items;
}

// The one item of a value whose commas are not separators.
std::string WholeItem(std::string_view value) {
  if (!value.empty() && value[0] == '"') {
    std::vector<std::string> items = SplitQuoted(value);
    return items.empty() ? std::string() : items[0];
  }
  return std::string(value);
}

void SetCasePairs(LocaleTables& t, const uint8_t lower_of[256]) {
  for (int c = 128; c < 256; ++c) {
    t.case_partner[c] = 0;
    t.char_class[c] = kClassOther;
  }
  for (int upper = 128; upper < 256; ++upper) {
    uint8_t lower = lower_of[upper];
    // Each character takes part in one pair at most, so the tables stay mirror images.
    if (lower < 128 || lower == upper || t.case_partner[upper] != 0 || t.case_partner[lower] != 0) {
      continue;
    }
    t.case_partner[upper] = lower;
    t.case_partner[lower] = static_cast<uint8_t>(upper);
    t.char_class[upper] = kClassUpper;
    t.char_class[lower] = kClassLower;
  }
}

void ApplyCase(LocaleTables& t, std::string_view value) {
  uint8_t lower_of[256] = {};
  if (EqualsNoCase(value, "WINDOWS")) {
    SystemCasePairs(lower_of);
  } else {
    std::vector<std::string> items = SplitItems(value);
    if (items.size() >= 2) {
      size_t n = std::min(items[0].size(), items[1].size());
      for (size_t i = 0; i < n; ++i) {
        uint8_t upper = items[0][i];
        uint8_t lower = items[1][i];
        if (upper >= 128 && lower_of[upper] == 0) lower_of[upper] = lower;
      }
    }
  }
  SetCasePairs(t, lower_of);
}

void ApplyCollation(LocaleTables& t, std::string_view value) {
  if (EqualsNoCase(value, "WINDOWS")) {
    uint8_t order[254];
    SystemCollationOrder(order);
    SetCollationSequence(t, std::string_view(reinterpret_cast<char*>(order), 254), false);
    return;
  }
  SetCollationSequence(t, value, t.oem);
}

void ApplyDigraphs(LocaleTables& t, const std::vector<std::string>& items) {
  std::memset(t.digraphs, 0, sizeof t.digraphs);
  int n = 0;
  for (const std::string& item : items) {
    for (size_t i = 0; i + 3 <= item.size() && n < kMaxDigraphs; i += 3) {
      if (item[i] == 0) break;  // a zero first byte would end the list
      std::memcpy(t.digraphs[n], item.data() + i, 3);
      t.digraphs[n][3] = 0;
      ++n;
    }
  }
}

// The message number after "TAMMSG", or -1 when the rest is not a plain number.
int MessageNumber(std::string_view digits) {
  if (digits.empty() || digits.size() > 9) return -1;
  int n = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return -1;
    n = n * 10 + (c - '0');
  }
  return n;
}

}  // namespace

std::vector<std::string> SplitItems(std::string_view value) {
  if (!value.empty() && value[0] == '"') return SplitQuoted(value);
  std::vector<std::string> items;
  size_t start = 0;
  for (size_t i = 0; i <= value.size(); ++i) {
    if (i == value.size() || value[i] == ',') {
      items.emplace_back(value.substr(start, i - start));
      start = i + 1;
    }
  }
  return items;
}

void CollationFromSequence(std::string_view sequence, uint8_t weights[256]) {
  for (int c = 0; c < 256; ++c) weights[c] = static_cast<uint8_t>(c);
  bool seen[256] = {};
  uint8_t chars[256];
  int n = 0;
  for (char ch : sequence) {
    uint8_t c = ch;
    if (seen[c]) continue;
    seen[c] = true;
    chars[n++] = c;
  }
  uint8_t codes[256];
  std::copy(chars, chars + n, codes);
  std::sort(codes, codes + n);
  for (int k = 0; k < n; ++k) weights[chars[k]] = codes[k];
}

void SetCollationSequence(LocaleTables& t, std::string_view sequence, bool sequence_is_oem) {
  std::string converted(sequence);
  if (sequence_is_oem) {
    OemToAnsi(converted.data(), converted.size());
    CollationFromSequence(converted, t.collation);
    CollationFromSequence(sequence, t.oem_collation);
  } else {
    AnsiToOem(converted.data(), converted.size());
    CollationFromSequence(sequence, t.collation);
    CollationFromSequence(converted, t.oem_collation);
  }
}

void ApplySetting(LocaleTables& t, std::string_view name, std::string_view raw_value) {
  if (EqualsNoCase(name, "TAMCOLSEQ")) {
    ApplyCollation(t, raw_value);
    return;
  }
  std::string value(raw_value);
  if (t.oem) OemToAnsi(value.data(), value.size());

  if (EqualsNoCase(name, "TAMCHARSET")) {
    t.oem = EqualsNoCase(value, "OEM");
  } else if (EqualsNoCase(name, "TAMCASE")) {
    ApplyCase(t, value);
  } else if (EqualsNoCase(name, "TAMMONTH") || EqualsNoCase(name, "TAMMON")) {
    bool full = name.size() == 8;
    std::vector<std::string> items = SplitItems(value);
    for (size_t m = 0; m < items.size() && m < 12; ++m) {
      if (items[m].empty()) continue;
      if (full) {
        CopyToSlot(items[m], t.month_names[m], kMonthNameSize);
      } else {
        CopyToSlot(items[m], t.month_abbreviations[m], kMonthAbbrevSize);
      }
    }
  } else if (EqualsNoCase(name, "TAMAMPM")) {
    if (EqualsNoCase(value, "WINDOWS")) {
      std::memcpy(t.am_pm, t.windows_am_pm, sizeof t.am_pm);
    } else {
      std::vector<std::string> items = SplitItems(value);
      for (size_t i = 0; i < items.size() && i < 2; ++i) {
        CopyToSlot(items[i], t.am_pm[i], kAmPmSize);
      }
    }
  } else if (EqualsNoCase(name, "TAMDIGRAPH")) {
    ApplyDigraphs(t, SplitItems(value));
  } else if (EqualsNoCase(name, "TAMBUTTON")) {
    std::vector<std::string> items = SplitItems(value);
    for (size_t n = 0; n < items.size() && n < 256; ++n) {
      if (items[n].empty()) continue;  // keeps the built-in text
      t.button_texts[static_cast<int>(n)] = items[n];
    }
  } else if (StartsWithNoCase(name, "TAMMSG")) {
    int number = MessageNumber(name.substr(6));
    if (number >= 0) t.message_overrides[number] = WholeItem(value);
  }
}

}  // namespace carelog::values
