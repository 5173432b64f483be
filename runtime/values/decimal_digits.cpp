#include "runtime/values/decimal_digits.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace carelog::values {
namespace {

void Trim(DecimalDigits& d) {
  int lead = 0;
  while (lead < d.count && d.digits[lead] == '0') ++lead;
  if (lead > 0) {
    for (int i = lead; i < d.count; ++i) d.digits[i - lead] = d.digits[i];
    d.count -= lead;
    d.point -= lead;
  }
  while (d.count > 0 && d.digits[d.count - 1] == '0') --d.count;
  if (d.count == 0) d.point = 0;
}

// Keeps the first `keep` digits and adds one unit in the last kept place when `up`.
void KeepDigits(DecimalDigits& d, int keep, bool up) {
  d.count = keep;
  if (up) {
    int i = keep - 1;
    while (i >= 0 && d.digits[i] == '9') d.digits[i--] = '0';
    if (i >= 0) {
      ++d.digits[i];
    } else {
      // Every kept digit carried (or none was kept): the value becomes 1 at the next place.
      d.digits[0] = '1';
      d.count = 1;
      d.point += 1;
    }
  }
  Trim(d);
}

// Keeps the first `keep` digits, rounding half up on the digit after them.
void RoundAt(DecimalDigits& d, int keep) {
  if (keep >= d.count) return;
  if (keep < 0) {
    d.count = 0;
    d.point = 0;
    return;
  }
  KeepDigits(d, keep, d.digits[keep] >= '5');
}

}  // namespace

DecimalDigits DigitsOfDouble(double value) {
  DecimalDigits d;
  if (std::isinf(value)) {
    // Larger than anything a picture shows: it formats as '#'.
    d.negative = value < 0;
    d.digits[0] = '1';
    d.count = 1;
    d.point = kMaxDecimalPoint;
    return d;
  }
  if (std::isnan(value) || value == 0) return d;
  char buffer[40];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
  const char* p = buffer;
  if (*p == '-') {
    d.negative = true;
    ++p;
  }
  for (; p < result.ptr && *p != 'e'; ++p) {
    if (*p >= '0' && *p <= '9') d.digits[d.count++] = *p;
  }
  int exponent = 0;
  if (p < result.ptr) std::from_chars(p + (p[1] == '+' ? 2 : 1), result.ptr, exponent);
  d.point = exponent + 1;
  Trim(d);
  return d;
}

void DigitCollector::Digit(char c) {
  any_digit_ = true;
  if (d_.count == 0 && c == '0') {
    if (seen_point_) --d_.point;  // a zero between the point and the first digit moves it
    return;
  }
  if (!seen_point_) ++before_point_;
  if (d_.count < kMaxDecimalDigits) {
    d_.digits[d_.count++] = c;
  } else if (!dropped_) {
    dropped_ = true;
    round_up_ = c >= '5';
  }
}

void DigitCollector::Exponent(int exponent) {
  if (exponent > 100000) exponent = 100000;
  if (exponent < -100000) exponent = -100000;
  exponent_ += exponent;
}

const DecimalDigits& DigitCollector::Finish(bool negative) {
  DecimalDigits& d = d_;
  d.point += before_point_ + exponent_;
  if (round_up_) KeepDigits(d, d.count, true);
  Trim(d);
  // Beyond these bounds a value neither fits any picture nor differs from zero in one.
  if (d.point > kMaxDecimalPoint) d.point = kMaxDecimalPoint;
  if (d.point < -kMaxDecimalPoint) d = DecimalDigits{};
  d.negative = negative && d.count > 0;
  return d;
}

bool DigitsOfText(std::string_view text, DecimalDigits* out) {
  DigitCollector collector;
  size_t i = 0;
  auto skip_blanks = [&] {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  };
  skip_blanks();
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  for (; i < text.size(); ++i) {
    char c = text[i];
    if (c == '.' && !collector.seen_point()) {
      collector.Point();
    } else if (c >= '0' && c <= '9') {
      collector.Digit(c);
    } else {
      break;
    }
  }
  if (!collector.any_digit()) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    bool negative_exponent = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative_exponent = text[i++] == '-';
    if (i >= text.size() || text[i] < '0' || text[i] > '9') return false;
    int exponent = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
      if (exponent < 100000) exponent = exponent * 10 + (text[i] - '0');
    }
    collector.Exponent(negative_exponent ? -exponent : exponent);
  }
  skip_blanks();
  if (i != text.size()) return false;
  *out = collector.Finish(negative);
  return true;
}

void RoundToDecimals(DecimalDigits& d, int decimals) {
  RoundAt(d, d.point + decimals);
  if (d.count == 0) d.negative = false;
}

void RoundToSignificant(DecimalDigits& d, int count) {
  RoundAt(d, count);
}

std::string ToDecimalText(const DecimalDigits& d) {
  if (d.count == 0) return "0";
  // Sign, "0." and leading zeros (at most kMaxDecimalPoint), or the integer digits (at most
  // kMaxDecimalPoint), then the point and the remaining digits.
  char buffer[kMaxDecimalPoint + kMaxDecimalDigits + 4];
  char* p = buffer;
  if (d.negative) *p++ = '-';
  if (d.point <= 0) {
    *p++ = '0';
    *p++ = '.';
    for (int i = d.point; i < 0; ++i) *p++ = '0';
    std::memcpy(p, d.digits, static_cast<size_t>(d.count));
    p += d.count;
  } else {
    for (int i = 0; i < d.point; ++i) *p++ = d.at(i);
    if (d.count > d.point) {
      *p++ = '.';
      std::memcpy(p, d.digits + d.point, static_cast<size_t>(d.count - d.point));
      p += d.count - d.point;
    }
  }
  return std::string(buffer, static_cast<size_t>(p - buffer));
}

double ToDouble(const DecimalDigits& d) {
  if (d.count == 0) return 0;
  // Up to 15 digits scaled by a power of ten up to 10^22 are exact in a double, so one
  // multiplication or division rounds correctly.
  static constexpr double kPowers[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                         1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  int scale = d.point - d.count;  // value = integer of the digits x 10^scale
  if (d.count <= 15 && scale >= -22 && scale <= 22) {
    int64_t mantissa = 0;
    for (int i = 0; i < d.count; ++i) mantissa = mantissa * 10 + (d.digits[i] - '0');
    double value = static_cast<double>(mantissa);
    value = scale < 0 ? value / kPowers[-scale] : value * kPowers[scale];
    return d.negative ? -value : value;
  }
  char buffer[kMaxDecimalDigits + 24];
  char* p = buffer;
  if (d.negative) *p++ = '-';
  *p++ = '0';
  *p++ = '.';
  for (int i = 0; i < d.count; ++i) *p++ = d.digits[i];
  *p++ = 'e';
  auto r = std::to_chars(p, buffer + sizeof buffer, d.point);
  double value = 0;
  auto parsed = std::from_chars(buffer, r.ptr, value);
  if (parsed.ec == std::errc::result_out_of_range) {
    return d.point > 0 ? (d.negative ? -HUGE_VAL : HUGE_VAL) : 0.0;
  }
  return value;
}

}  // namespace carelog::values
