// A number as decimal digits, the form in which pictures round and lay out numbers, so that
// rounding is exact decimal rounding (half up) rather than binary.
//
// value = (negative ? -1 : 1) x 0.d1 d2 ... dn x 10^point
// `digits` holds no leading or trailing zeros; zero has no digits.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace carelog::values {

inline constexpr int kMaxDecimalDigits = 64;
// Texts with larger exponents are clamped: +1000 is still too wide for any picture, and
// anything below 10^-1000 reads as zero.
inline constexpr int kMaxDecimalPoint = 1000;

struct DecimalDigits {
  bool negative = false;
  int count = 0;                   // digits in use
  int point = 0;                   // digits before the decimal point (may be <= 0 or > count)
  char digits[kMaxDecimalDigits];  // '0'..'9'

  bool is_zero() const { return count == 0; }
  // The digit at position `i` counted from the first digit; '0' outside the digits.
  char at(int i) const { return i >= 0 && i < count ? digits[i] : '0'; }
  // Digits before the decimal point, without leading zeros.
  int integer_digits() const { return point > 0 ? point : 0; }
};

// The shortest decimal form that reads back as `value`. Infinities become a number too large
// for any picture; NaN becomes zero.
DecimalDigits DigitsOfDouble(double value);

// A decimal text: optional blanks, sign, digits with one '.', optional exponent, blanks.
// Returns false when the text is not such a number. Digits past kMaxDecimalDigits are rounded.
bool DigitsOfText(std::string_view text, DecimalDigits* out);

// Collects the digits of a number one character at a time, for parsers of their own syntax.
class DigitCollector {
 public:
  void Digit(char c);  // '0'..'9'
  void Point() { seen_point_ = true; }
  void Exponent(int exponent);  // adds to the exponent; each call is bounded to +-100000
  bool seen_point() const { return seen_point_; }
  bool any_digit() const { return any_digit_; }
  // The number; digits past kMaxDecimalDigits round the last one kept.
  // Call once; the result lives as long as the collector.
  const DecimalDigits& Finish(bool negative);

 private:
  DecimalDigits d_;
  int before_point_ = 0;
  int exponent_ = 0;
  bool seen_point_ = false;
  bool any_digit_ = false;
  bool dropped_ = false;
  bool round_up_ = false;
};

// Rounds half up, away from zero, keeping `decimals` digits after the point.
void RoundToDecimals(DecimalDigits& d, int decimals);

// Rounds half up to at most `count` significant digits (count >= 1).
void RoundToSignificant(DecimalDigits& d, int count);

std::string ToDecimalText(const DecimalDigits& d);
double ToDouble(const DecimalDigits& d);

}  // namespace carelog::values
