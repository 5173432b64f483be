#include "app/data/thumb_stops.h"

#include <algorithm>
#include <cctype>

namespace carelog::appdata {
namespace {

constexpr int kTailLength = 4;
constexpr std::string_view kPunctuation = "`!\"\xA3$%^&*()'-=_+][#;~@:/.,?\\| ";

struct NumericStops {
  double low = 0, high = 0, step = 0;
  int32_t counter = 0;
};

struct TextStops {
  std::string alphabet;
  std::string prefix;
  std::string low_tail, high_tail;
  int64_t low_number = 0, high_number = 0;
  int64_t increment = 0;
  int32_t counter = 0;
  int64_t base() const { return static_cast<int64_t>(alphabet.size()) + 1; }
};

thread_local NumericStops numeric;
thread_local TextStops text;

bool Taken(unsigned char c, int32_t classes) {
  if (c >= '0' && c <= '9') return (classes & kStopDigits) != 0;
  if (kPunctuation.find(static_cast<char>(c)) != std::string_view::npos) {
    return (classes & kStopPunctuation) != 0;
  }
  if (c >= 'A' && c <= 'Z') return (classes & kStopUpper) != 0;
  if (c >= 'a' && c <= 'z') return (classes & kStopUpper) && (classes & kStopLower);
  return false;
}

std::string AlphabetOf(int32_t classes) {
  std::string alphabet;
  for (int c = 1; c <= 255; ++c) {
    if (Taken(static_cast<unsigned char>(c), classes)) alphabet += static_cast<char>(c);
  }
  return alphabet;
}

int64_t TailNumber(std::string_view tail) {
  int64_t number = 0;
  for (int i = 0; i < kTailLength; ++i) {
    number *= text.base();
    if (i < static_cast<int>(tail.size())) {
      size_t place = text.alphabet.find(tail[i]);
      if (place != std::string::npos) number += static_cast<int64_t>(place) + 1;
    }
  }
  return number;
}

std::string Clip(std::string_view value) {
  size_t end = value.find_last_not_of(' ');
  return std::string(end == std::string_view::npos ? std::string_view() : value.substr(0, end + 1));
}

}  // namespace

void InitNumericThumbStops(double low, double high) {
  numeric = {low, high, (high - low) / (kThumbStops - 1), 0};
}

double NextNumericThumbStop() {
  ++numeric.counter;
  if (numeric.counter == 1) return numeric.low;
  if (numeric.counter == kThumbStops) return numeric.high;
  return numeric.low + numeric.step * (numeric.counter - 1);
}

void InitTextThumbStops(std::string_view low, std::string_view high, int32_t size,
                        int32_t classes) {
  text = TextStops{};
  text.alphabet = AlphabetOf(classes);
  size_t width = static_cast<size_t>(std::max(size, 0));
  std::string low_text(low.substr(0, std::min(width, low.size())));
  std::string high_text = Clip(high.substr(0, std::min(width, high.size())));
  // A short high text is padded with the alphabet's last character, so that no stop lies above
  // the range.
  if (!text.alphabet.empty()) high_text.resize(width, text.alphabet.back());
  size_t clipped_low = Clip(low_text).size();
  size_t common = 0;
  while (common < width && common < clipped_low && common < high_text.size() &&
         low_text[common] == high_text[common]) {
    ++common;
  }
  text.prefix = low_text.substr(0, common);
  text.low_tail = low_text.substr(common, kTailLength);
  text.high_tail = high_text.substr(common, kTailLength);
  if ((classes & kStopUpper) && !(classes & kStopLower)) {
    for (char& c : text.low_tail)
      c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (char& c : text.high_tail)
      c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  text.low_number = TailNumber(text.low_tail);
  text.high_number = TailNumber(text.high_tail);
  text.increment = (text.high_number - text.low_number) / (kThumbStops - 1);
}

std::string NextTextThumbStop() {
  ++text.counter;
  if (text.counter == 1) return text.prefix + text.low_tail;
  if (text.counter == kThumbStops) return text.prefix + text.high_tail;
  int64_t value = text.low_number + text.increment * (text.counter - 1);
  std::string tail;
  for (int i = 0; i < kTailLength; ++i) {
    int64_t digit = ((value % text.base()) + text.base()) % text.base();
    // Digit 0 names no character: a blank keeps the tail four characters long.
    tail.insert(tail.begin(), digit == 0 ? ' ' : text.alphabet[digit - 1]);
    value = (value - digit) / text.base();
  }
  return text.prefix + tail;
}

const std::array<std::string_view, kThumbStops> kNameThumbStops = {
    "   ", "ALB", "AME", "ARN", "BAK", "BAT", "BEN", "BIA", "BOB", "BRA", "BRO", "BUA", "CAC",
    "CAR", "CEN", "CHR", "COE", "CON", "COR", "CRU", "DAS", "DEL", "DIA", "DON", "DUR", "ELD",
    "EVE", "FEL", "FIS", "FLO", "FRE", "FUT", "GAR", "GIB", "GOL", "GOS", "GRE", "GUT", "HAM",
    "HEM", "HOB", "HOT", "ING", "JAS", "JON", "KAG", "KEA", "KIR", "KOR", "KYO", "LAT", "LEO",
    "LIG", "LOU", "MAC", "MAQ", "MAR", "MAU", "MCK", "MER", "MIL", "MON", "MOR", "NAT", "NOL",
    "OKE", "PAG", "PAU", "PET", "PIN", "POR", "PUL", "RAU", "REY", "ROB", "ROS", "RUB", "SAL",
    "SCA", "SCH", "SCR", "SHA", "SIG", "SKI", "SNA", "SOU", "STE", "STI", "SUN", "TAY", "TIR",
    "TUC", "VAN", "WAC", "WAS", "WEI", "WIE", "WIM", "WOL", "YOR"};

}  // namespace carelog::appdata
