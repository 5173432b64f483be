#include "app/data/packed_decimal.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace carelog::appdata {
namespace {

// Nibble i of a packed decimal (0 is the sign).
uint8_t Nibble(std::span<const uint8_t> bytes, size_t i) {
  uint8_t b = bytes[i / 2];
  return i % 2 == 0 ? static_cast<uint8_t>(b >> 4) : static_cast<uint8_t>(b & 0x0F);
}

size_t DigitCount(std::span<const uint8_t> bytes) {
  return bytes.empty() ? 0 : bytes.size() * 2 - 1;
}

bool IsNegative(std::span<const uint8_t> bytes) {
  return !bytes.empty() && Nibble(bytes, 0) != 0;
}

// Digit d (0 = least significant) of a decimal, 0 beyond its digits.
uint8_t DigitFromRight(std::span<const uint8_t> bytes, size_t d) {
  size_t digits = DigitCount(bytes);
  return d < digits ? Nibble(bytes, digits - d) : 0;
}

bool IsZero(std::span<const uint8_t> bytes) {
  for (size_t d = 0; d < DigitCount(bytes); ++d) {
    if (DigitFromRight(bytes, d) != 0) return false;
  }
  return true;
}

// Compares the magnitudes digit by digit from the most significant.
int CompareMagnitude(std::span<const uint8_t> a, std::span<const uint8_t> b) {
  size_t width = std::max(DigitCount(a), DigitCount(b));
  for (size_t d = width; d-- > 0;) {
    int da = DigitFromRight(a, d);
    int db = DigitFromRight(b, d);
    if (da != db) return da < db ? -1 : 1;
  }
  return 0;
}

}  // namespace

DecimalStatus EncodeDecimal(int64_t unscaled, std::span<uint8_t> out) {
  bool negative = unscaled < 0;
  // Work on the magnitude as unsigned, so that INT64_MIN has one too.
  uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(unscaled) : unscaled;
  std::vector<uint8_t> nibbles(out.size() * 2, 0);
  for (size_t i = nibbles.size(); i-- > 1 && magnitude != 0;) {
    nibbles[i] = static_cast<uint8_t>(magnitude % 10);
    magnitude /= 10;
  }
  if (magnitude != 0 || out.empty()) return DecimalStatus::kOverflow;
  if (negative) nibbles[0] = kDecimalNegative;
  for (size_t i = 0; i < out.size(); ++i) {
    out[i] = static_cast<uint8_t>(nibbles[2 * i] << 4 | nibbles[2 * i + 1]);
  }
  return DecimalStatus::kOk;
}

DecimalStatus DecodeDecimal(std::span<const uint8_t> in, int64_t* unscaled) {
  constexpr uint64_t kMax = std::numeric_limits<uint64_t>::max();
  uint64_t magnitude = 0;
  for (size_t i = 1; i <= DigitCount(in); ++i) {
    uint8_t digit = Nibble(in, i);
    if (digit > 9) return DecimalStatus::kBadDigit;
    if (magnitude > (kMax - digit) / 10) return DecimalStatus::kOverflow;
    magnitude = magnitude * 10 + digit;
  }
  bool negative = IsNegative(in);
  uint64_t max = negative ? uint64_t{1} << 63 : (uint64_t{1} << 63) - 1;
  if (magnitude > max) return DecimalStatus::kOverflow;
  *unscaled = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
  return DecimalStatus::kOk;
}

int CompareDecimal(std::span<const uint8_t> a, std::span<const uint8_t> b) {
  bool a_negative = IsNegative(a) && !IsZero(a);
  bool b_negative = IsNegative(b) && !IsZero(b);
  if (a_negative != b_negative) return a_negative ? -1 : 1;
  int magnitude = CompareMagnitude(a, b);
  return a_negative ? -magnitude : magnitude;
}

DecimalStatus DecimalToDouble(std::span<const uint8_t> in, int places, double* value) {
  double result = 0;
  for (size_t i = 1; i <= DigitCount(in); ++i) {
    uint8_t digit = Nibble(in, i);
    if (digit > 9) return DecimalStatus::kBadDigit;
    result = result * 10 + digit;
  }
  result /= std::pow(10.0, places);
  *value = IsNegative(in) && result != 0 ? -result : result;
  return DecimalStatus::kOk;
}

DecimalStatus DecimalFromDouble(double value, int places, std::span<uint8_t> out) {
  double scaled = std::round(value * std::pow(10.0, places));
  // Beyond 2^63 the value cannot be held as an unscaled integer (nor in 18 digits).
  if (!std::isfinite(scaled) || std::fabs(scaled) >= 9.2e18) return DecimalStatus::kOverflow;
  return EncodeDecimal(static_cast<int64_t>(scaled), out);
}

}  // namespace carelog::appdata
