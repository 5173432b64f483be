#include "runtime/values/locale.h"

#include <atomic>
#include <cstring>

#include "runtime/values/environment.h"

namespace carelog::values {
namespace {

constexpr const char* kMonthNames[12] = {"January",   "February", "March",    "April",
                                         "May",       "June",     "July",     "August",
                                         "September", "October",  "November", "December"};

LocaleTables& Storage() {
  static LocaleTables tables = DefaultLocaleTables();
  return tables;
}

// Completes the tables from the operating system's locale and the environment file, once.
void EnsureFilled() {
  static const bool filled = [] {
    CompleteLocaleTables(Storage());
    return true;
  }();
  (void)filled;
}

// Walks a text for the case-insensitive comparison, yielding upper-cased characters with every
// digraph character expanded into its two characters.
class CollatedReader {
 public:
  CollatedReader(const LocaleTables& t, const char* text, size_t n)
      : t_(t), p_(reinterpret_cast<const uint8_t*>(text)), end_(p_ + n) {}

  // Next character, or -1 at the end.
  int Next() {
    if (pending_ >= 0) {
      int c = pending_;
      pending_ = -1;
      return c;
    }
    if (p_ == end_) return -1;
    uint8_t original = *p_++;
    uint8_t c = Upper(original);
    for (const auto& d : t_.digraphs) {
      if (d[0] == 0) break;
      if (d[0] == c || d[0] == original) {
        pending_ = Upper(d[2]);
        return Upper(d[1]);
      }
    }
    return c;
  }

 private:
  uint8_t Upper(uint8_t c) const {
    return t_.char_class[c] == kClassLower ? t_.case_partner[c] : c;
  }

  const LocaleTables& t_;
  const uint8_t* p_;
  const uint8_t* end_;
  int pending_ = -1;
};

}  // namespace

LocaleTables DefaultLocaleTables() {
  LocaleTables t{};
  for (int m = 0; m < 12; ++m) {
    std::strncpy(t.month_names[m], kMonthNames[m], kMonthNameSize - 1);
    std::strncpy(t.month_abbreviations[m], kMonthNames[m], kMonthAbbrevSize - 1);
  }
  std::strcpy(t.am_pm[0], "AM");
  std::strcpy(t.am_pm[1], "PM");
  std::strcpy(t.windows_am_pm[0], t.intl.am);
  std::strcpy(t.windows_am_pm[1], t.intl.pm);
  for (int c = 0; c < 256; ++c) {
    t.collation[c] = c;
    t.oem_collation[c] = c;
  }
  for (int c = 'A'; c <= 'Z'; ++c) {
    t.char_class[c] = kClassUpper;
    t.char_class[c + 32] = kClassLower;
    t.case_partner[c] = c + 32;
    t.case_partner[c + 32] = c;
  }
  for (int c = '0'; c <= '9'; ++c) t.char_class[c] = kClassDigit;
  return t;
}

const LocaleTables& Locale() {
  EnsureFilled();
  return Storage();
}

namespace {
std::atomic<uint64_t> locale_changes{0};
}  // namespace

LocaleTables& MutableLocale() {
  EnsureFilled();
  locale_changes.fetch_add(1, std::memory_order_relaxed);
  return Storage();
}

uint64_t LocaleChanges() {
  return locale_changes.load(std::memory_order_relaxed);
}

uint8_t UpperCase(uint8_t c) {
  const LocaleTables& t = Locale();
  return t.char_class[c] == kClassLower ? t.case_partner[c] : c;
}

uint8_t LowerCase(uint8_t c) {
  const LocaleTables& t = Locale();
  return t.char_class[c] == kClassUpper ? t.case_partner[c] : c;
}

void UpperCaseText(char* text, size_t n) {
  const LocaleTables& t = Locale();
  for (size_t i = 0; i < n; ++i) {
    uint8_t c = text[i];
    if (t.char_class[c] == kClassLower) text[i] = t.case_partner[c];
  }
}

void LowerCaseText(char* text, size_t n) {
  const LocaleTables& t = Locale();
  for (size_t i = 0; i < n; ++i) {
    uint8_t c = text[i];
    if (t.char_class[c] == kClassUpper) text[i] = t.case_partner[c];
  }
}

uint8_t CollationWeight(uint8_t c) {
  return Locale().collation[c];
}

int CompareCollated(const char* a, size_t an, const char* b, size_t bn) {
  const LocaleTables& t = Locale();
  CollatedReader ra(t, a, an);
  CollatedReader rb(t, b, bn);
  for (;;) {
    int ca = ra.Next();
    int cb = rb.Next();
    if (ca < 0 || cb < 0) return (ca >= 0) - (cb >= 0);
    if (ca != cb) return int{t.collation[ca]} - int{t.collation[cb]};
  }
}

int CompareText(const char* a, size_t an, const char* b, size_t bn) {
  const uint8_t* w = Locale().collation;
  const auto* ua = reinterpret_cast<const uint8_t*>(a);
  const auto* ub = reinterpret_cast<const uint8_t*>(b);
  size_t common = an < bn ? an : bn;
  for (size_t i = 0; i < common; ++i) {
    if (ua[i] != ub[i]) return int{w[ua[i]]} - int{w[ub[i]]};
  }
  // The longer text's remainder against blanks.
  for (size_t i = common; i < an; ++i) {
    if (ua[i] != ' ') return int{w[ua[i]]} - int{w[uint8_t{' '}]};
  }
  for (size_t i = common; i < bn; ++i) {
    if (ub[i] != ' ') return int{w[uint8_t{' '}]} - int{w[ub[i]]};
  }
  return 0;
}

const std::string* ButtonText(int n) {
  const auto& texts = Locale().button_texts;
  auto it = texts.find(n);
  return it == texts.end() ? nullptr : &it->second;
}

const std::string* MessageOverride(int number) {
  const auto& texts = Locale().message_overrides;
  auto it = texts.find(number);
  return it == texts.end() ? nullptr : &it->second;
}

}  // namespace carelog::values
