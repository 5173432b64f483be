#include "runtime/host/locale_source.h"

#include <langinfo.h>
#include <locale.h>

#include <cstdlib>
#include <cstring>
#include <cwchar>

namespace carelog::host {
namespace {

// The locale name that decides `category`, by the POSIX precedence of the variables.
std::string EffectiveLocaleName(const char* category_variable) {
  for (const char* name : {"LC_ALL", category_variable, "LANG"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != 0) return value;
  }
  return "C";
}

bool IsPlainCLocale(const std::string& name) {
  return name == "C" || name == "POSIX" || name.rfind("C.", 0) == 0;
}

constexpr locale_t kNoLocale = static_cast<locale_t>(0);

}  // namespace

TimeLocale ReadTimeLocale() {
  TimeLocale t;
  if (IsPlainCLocale(EffectiveLocaleName("LC_TIME"))) return t;
  locale_t loc = newlocale(LC_TIME_MASK | LC_CTYPE_MASK, "", kNoLocale);
  if (loc == kNoLocale) return t;
  t.found = true;
  t.utf8 = std::strcmp(nl_langinfo_l(CODESET, loc), "UTF-8") == 0;
  t.t_fmt = nl_langinfo_l(T_FMT, loc);
  t.t_fmt_ampm = nl_langinfo_l(T_FMT_AMPM, loc);
  t.am_str = nl_langinfo_l(AM_STR, loc);
  t.pm_str = nl_langinfo_l(PM_STR, loc);
  t.d_fmt = nl_langinfo_l(D_FMT, loc);
  t.d_t_fmt = nl_langinfo_l(D_T_FMT, loc);
  freelocale(loc);
  return t;
}

struct Collator::State {
  locale_t loc = kNoLocale;
};

Collator::Collator() : state_(std::make_unique<State>()) {
  if (!IsPlainCLocale(EffectiveLocaleName("LC_COLLATE"))) {
    state_->loc = newlocale(LC_COLLATE_MASK | LC_CTYPE_MASK, "", kNoLocale);
  }
  if (state_->loc == kNoLocale) {
    state_->loc = newlocale(LC_COLLATE_MASK | LC_CTYPE_MASK, "C.UTF-8", kNoLocale);
  }
}

Collator::~Collator() {
  if (state_->loc != kNoLocale) freelocale(state_->loc);
}

bool Collator::Less(wchar_t a, wchar_t b) const {
  if (state_->loc == kNoLocale) return a < b;
  wchar_t wa[2] = {a, 0};
  wchar_t wb[2] = {b, 0};
  return wcscoll_l(wa, wb, state_->loc) < 0;
}

}  // namespace carelog::host
