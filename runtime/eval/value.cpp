#include "runtime/eval/value.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "runtime/values/locale.h"

namespace carelog::eval {

int32_t RealToInteger(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (value <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

double TextToReal(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  const size_t start = i;
  auto digits = [&] {
    size_t n = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++n;
    return n;
  };
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  size_t count = digits();
  if (i < text.size() && text[i] == '.') {
    ++i;
    count += digits();
  }
  if (count == 0) return 0.0;
  size_t end = i;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    if (digits() > 0) end = i;
  }
  // strtod on the checked prefix only: it would also accept "inf", "nan" and hex forms.
  std::string prefix(text.substr(start, end - start));
  return FiniteOrZero(std::strtod(prefix.c_str(), nullptr));
}

std::string IntegerToText(int32_t value) {
  return std::to_string(value);
}

std::string RealToText(double value) {
  value = FiniteOrZero(value);
  if (value == 0) return "0";
  char buffer[40];
  if (value == std::trunc(value) && std::fabs(value) < 1e15) {
    std::snprintf(buffer, sizeof buffer, "%.0f", value);
    return buffer;
  }
  for (int precision : {15, 16, 17}) {
    std::snprintf(buffer, sizeof buffer, "%.*g", precision, value);
    if (std::strtod(buffer, nullptr) == value) break;
  }
  return buffer;
}

double FiniteOrZero(double value) {
  return std::isfinite(value) ? value : 0.0;
}

namespace {

int BinaryExponent(double value) {
  int exponent = 0;
  std::frexp(value == 0 ? 1.0 : value, &exponent);
  return exponent;
}

}  // namespace

int CompareReals(double left, double right) {
  if (left == right) return 0;
  const double difference = left - right;
  if (!std::isfinite(difference)) return left < right ? -1 : 1;
  const int larger = std::max(BinaryExponent(left), BinaryExponent(right));
  if (BinaryExponent(difference) + 50 < larger) return 0;
  return left < right ? -1 : 1;
}

int CompareTexts(std::string_view left, std::string_view right) {
  return values::CompareText(left.data(), left.size(), right.data(), right.size());
}

}  // namespace carelog::eval
