#include "app/patterns/thumb_stops.h"

#include <cctype>
#include <cstdint>

namespace carelog::app {
namespace {

constexpr size_t kTail = 4;
constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr int64_t kBase = sizeof(kAlphabet);  // 26 letters + 1: 0 stands for "none"

std::string Clip(std::string text) {
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

int64_t TailValue(const std::string& tail) {
  int64_t value = 0;
  for (size_t i = 0; i < kTail; ++i) {
    value *= kBase;
    if (i < tail.size()) {
      char c = static_cast<char>(std::toupper(static_cast<unsigned char>(tail[i])));
      if (c >= 'A' && c <= 'Z') value += c - 'A' + 1;
    }
  }
  return value;
}

std::string TailText(int64_t value) {
  std::string text;
  for (size_t i = 0; i < kTail; ++i) {
    int64_t digit = ((value % kBase) + kBase) % kBase;
    text.insert(text.begin(), digit == 0 ? ' ' : kAlphabet[digit - 1]);
    value = (value - digit) / kBase;
  }
  return text;
}

}  // namespace

std::vector<std::string> TextThumbStops(const std::string& low, const std::string& high,
                                        int count) {
  std::string a = Clip(low), b = Clip(high);
  size_t prefix = 0;
  while (prefix < a.size() && prefix < b.size() &&
         std::toupper(static_cast<unsigned char>(a[prefix])) ==
             std::toupper(static_cast<unsigned char>(b[prefix]))) {
    ++prefix;
  }
  std::string common = a.substr(0, prefix);
  std::string low_tail = a.substr(prefix, kTail), high_tail = b.substr(prefix, kTail);
  int64_t from = TailValue(low_tail), to = TailValue(high_tail);
  int64_t step = count > 1 ? (to - from) / (count - 1) : 0;
  std::vector<std::string> stops;
  stops.reserve(static_cast<size_t>(count));
  for (int k = 1; k <= count; ++k) {
    std::string tail = k == 1 ? low_tail : k == count ? high_tail : TailText(from + step * (k - 1));
    stops.push_back(common + tail);
  }
  return stops;
}

}  // namespace carelog::app
