// The international settings (24-hour clock, hour leading zero, time separator, AM/PM texts,
// short and long date formats) and the system's own text order and case pairs, taken from the
// POSIX locale of the process environment (LC_ALL, then LC_TIME / LC_COLLATE, then LANG).
//
// How each setting is derived, and its default when the locale is "C"/"POSIX", unset, not
// installed, or lacks the value:
//   time_24hour        1 when the hour of T_FMT is %H or %k (also inside %T, %R), 0 for %I,
//                      %l or %r                                                   default 0
//   hour_leading_zero  1 for %H / %I (unless a '-' or '_' flag), 0 for %k / %l     default 1
//   time_separator     the character after the hour in T_FMT (after expanding %T %R %r)
//                                                                                  default ':'
//   am / pm            AM_STR / PM_STR in the ANSI set, cut to two characters      "AM" / "PM"
//   short_date         D_FMT rewritten in date-format letters (%d dd, %e d, %m MM, %y yy,
//                      %Y yyyy, %D MM/dd/yy, %F yyyy-MM-dd, %b MMM, %B MMMM)       "MM/dd/yy"
//   long_date          the date fields of D_T_FMT with the text between them, rewritten the
//                      same way; D_T_FMT is the locale's only full date layout
//                                                    default "ddd', 'MMMM' 'dd', 'yyyy"
#pragma once

#include <cstdint>
#include <string>

#include "runtime/values/locale.h"

namespace carelog::values {

// The strftime-style layouts of a locale, as nl_langinfo reports them.
struct LocaleLayouts {
  std::string t_fmt;       // T_FMT
  std::string t_fmt_ampm;  // T_FMT_AMPM
  std::string am_str;      // AM_STR, already in the ANSI set
  std::string pm_str;      // PM_STR, already in the ANSI set
  std::string d_fmt;       // D_FMT
  std::string d_t_fmt;     // D_T_FMT
};

// The settings that a locale's layouts give; missing or unusable parts keep their defaults.
IntlSettings IntlSettingsFrom(const LocaleLayouts& layouts);

// A strftime date layout rewritten in date-format letters; empty when it names no date field.
// With `dates_only` only the date fields and the text between them are kept.
std::string DateFormatFromStrftime(const std::string& layout, bool dates_only);

// The settings of the process environment's locale (defaults for the C locale).
IntlSettings ReadIntlSettings();

// Characters 1..254 in the order the locale's collation gives them (each compared as a
// one-character text; equal ones stay in code order).
void SystemCollationOrder(uint8_t order[254]);

// The system's case pairs of the ANSI set above 127: for every upper-case letter its lower-case
// form (0 where a character is not an upper-case letter with a partner).
void SystemCasePairs(uint8_t lower_of[256]);

}  // namespace carelog::values
