// The user's locale as the operating system describes it: the time and date layouts with the
// AM/PM texts, and the collation order of wide characters. The values layer turns these into
// its international settings and collation tables.
#pragma once

#include <memory>
#include <string>

namespace carelog::host {

// The user's LC_TIME layouts in strftime notation and its AM/PM texts, raw in the locale's
// character set (`utf8` tells which). `found` is false for the plain C locale or when the
// locale cannot be loaded.
struct TimeLocale {
  bool found = false;
  bool utf8 = false;
  std::string t_fmt, t_fmt_ampm, am_str, pm_str, d_fmt, d_t_fmt;
};
TimeLocale ReadTimeLocale();

// Orders single wide characters by the user's LC_COLLATE (C.UTF-8 for the plain C locale),
// or by code when no locale can be loaded.
class Collator {
 public:
  Collator();
  ~Collator();
  Collator(const Collator&) = delete;
  Collator& operator=(const Collator&) = delete;
  bool Less(wchar_t a, wchar_t b) const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace carelog::host
