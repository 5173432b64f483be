// TEMPORARY (not to be landed): stand-ins until the value layer lands.
#include "runtime/eval/values_bridge.h"

namespace carelog::eval {
uint8_t UpperCaseOf(uint8_t c) { return c >= 'a' && c <= 'z' ? c - 32 : c; }
uint8_t LowerCaseOf(uint8_t c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; }
int CollationWeightOf(uint8_t c) { return c; }
int CompareNamesCollated(std::string_view a, std::string_view b) {
  for (size_t i = 0;; ++i) {
    if (i == a.size() || i == b.size()) return (i < a.size()) - (i < b.size());
    int x = UpperCaseOf(a[i]), y = UpperCaseOf(b[i]);
    if (x != y) return x - y;
  }
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
