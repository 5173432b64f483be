// TEMPORARY (not to be landed): stand-ins until the value layer lands.
#include "runtime/eval/values_bridge.h"

#include "runtime/values/locale.h"

namespace carelog::eval {
uint8_t UpperCaseOf(uint8_t c) { return values::UpperCase(c); }
uint8_t LowerCaseOf(uint8_t c) { return values::LowerCase(c); }
int CompareNamesCollated(std::string_view a, std::string_view b) {
  return values::CompareCollated(a.data(), a.size(), b.data(), b.size());
}
int32_t TodayNumber() { return 0; }
int32_t ClockNumber() { return 0; }
int32_t DateNumber(int32_t, int32_t, int32_t) { return 0; }
bool SplitDateNumber(int32_t, CalendarDate*) { return false; }
int32_t DayNumberOf(int32_t, int32_t, int32_t) { return 0; }
int32_t TimeNumberOf(int32_t, int32_t, int32_t, int32_t) { return 0; }
std::string FormatWithPicture(double, const std::string& t, const std::string&) { return t; }
std::string DeformatWithPicture(const std::string& t, const std::string&) { return t; }
double NumberInText(const std::string&) { return 0; }
}  // namespace carelog::eval
