// The process-wide locale tables: month names and abbreviations, AM/PM texts, the character
// case and class tables, the collation weights, digraphs, button texts, message overrides and
// the international date and time settings.
//
// Life cycle: the tables are filled once, on the first call of any function below, in three
// steps: built-in defaults, then the international settings of the operating system's locale
// (intl.h), then the environment file beside the executable (environment.h). Later changes come
// only from the settings entry points of environment.h.
//
// Invariants:
//   1. case_partner and char_class agree: a character of class 1 (upper) or 2 (lower) has a
//      non-zero partner of the other class; A-Z/a-z and the digits keep their defaults.
//   2. collation and oem_collation are permutations of 0..255, so distinct characters always
//      have distinct weights.
//   3. Every text slot is NUL-terminated within its size.
//
// Threads: reading is safe from any thread once the tables are filled. Changing settings
// (environment.h) must not run concurrently with readers; the application does it at start or
// from its own thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include "runtime/values/charset.h"

namespace carelog::values {

inline constexpr int kMonthNameSize = 13;   // 12 characters and a terminator
inline constexpr int kMonthAbbrevSize = 4;  // 3 characters and a terminator
inline constexpr int kAmPmSize = 3;         // 2 characters and a terminator
inline constexpr int kMaxDigraphs = 16;
inline constexpr uint16_t kFirstStandardButton = 0x7F00;

enum CharClass : uint8_t { kClassOther = 0, kClassUpper = 1, kClassLower = 2, kClassDigit = 4 };

// The international date and time settings, named after the keys they stand for.
struct IntlSettings {
  bool time_24hour = false;                            // iTime: 1 selects the 24-hour clock
  bool hour_leading_zero = true;                       // iTLzero: 1 shows the hour's leading zero
  char time_separator = ':';                           // sTime
  char am[kAmPmSize] = "AM";                           // s1159
  char pm[kAmPmSize] = "PM";                           // s2359
  std::string short_date = "MM/dd/yy";                 // sShortDate
  std::string long_date = "ddd', 'MMMM' 'dd', 'yyyy";  // sLongDate
};

struct LocaleTables {
  char month_names[12][kMonthNameSize];
  char month_abbreviations[12][kMonthAbbrevSize];
  char am_pm[2][kAmPmSize];          // [0] AM text, [1] PM text
  char windows_am_pm[2][kAmPmSize];  // the same from the international settings
  uint8_t case_partner[256];
  uint8_t char_class[256];
  uint8_t collation[256];      // weight of every ANSI character
  uint8_t oem_collation[256];  // weight of every OEM character
  // Each entry: a character, the two characters it stands for in comparisons, a terminator.
  // A zero first byte ends the list.
  uint8_t digraphs[kMaxDigraphs][4];
  bool oem = false;  // the environment file's texts are in the OEM character set
  IntlSettings intl;
  std::map<int, std::string> button_texts;       // n -> text of button 0x7F00 + n
  std::map<int, std::string> message_overrides;  // message number -> text
};

// The tables with their built-in defaults only (no locale, no environment file).
LocaleTables DefaultLocaleTables();

// The process-wide tables, filled on first use.
const LocaleTables& Locale();

// Writable access for the settings loaders (environment.h); not for general use.
LocaleTables& MutableLocale();

// How many times writable access was handed out: whatever was derived from the tables (a name
// looked up by the collated comparison, a compiled expression) is stale once it has moved.
uint64_t LocaleChanges();

// Case through the class and partner tables: a lower-case (upper-case) character becomes its
// partner; every other character is unchanged.
uint8_t UpperCase(uint8_t c);
uint8_t LowerCase(uint8_t c);
void UpperCaseText(char* text, size_t n);
void LowerCaseText(char* text, size_t n);

// Collation weight of an ANSI character.
uint8_t CollationWeight(uint8_t c);

// Case-insensitive collated comparison: lower-case letters are replaced by their partners,
// digraph characters by their two characters, and the first differing pair decides by the
// difference of their weights. A text that ends first is smaller. Blanks count like any other
// character. Returns <0, 0 or >0.
int CompareCollated(const char* a, size_t an, const char* b, size_t bn);

// Ordinary text comparison: case counts, the first differing byte decides by weight, and the
// longer text's remainder is compared with blanks, so trailing blanks never make two texts
// unequal. Returns <0, 0 or >0.
int CompareText(const char* a, size_t an, const char* b, size_t bn);

// The text of standard button 0x7F00 + n set by the environment, or nullptr for the built-in
// text. The pointer stays valid until the settings change.
const std::string* ButtonText(int n);

// The replacement text of runtime message `number`, or nullptr when it is not overridden. The
// pointer stays valid until the settings change.
const std::string* MessageOverride(int number);

}  // namespace carelog::values
