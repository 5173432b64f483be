// Packed decimals: the storage of DECIMAL(d, p) fields.
//
// A DECIMAL of n bytes holds 2n nibbles, most significant first:
//   nibble 0          sign: 0 for a positive value or zero, any other value negative
//                     (written as 0xF)
//   nibbles 1..2n-1   the decimal digits 0-9 of the unscaled value, most significant first
// The value is the unscaled integer divided by 10^p; p is part of the declaration, not the bytes.
// DECIMAL(11, 0) is 6 bytes: a sign and eleven digits.
//
// Bytes come from stored records and are not trusted: decoding reports a digit nibble above 9
// instead of returning a value, and comparison orders any bytes without reading outside them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace carelog::appdata {

// The storage of a DECIMAL(kDigits, kPlaces) field in a packed record.
template <int kDigits, int kPlaces>
struct PackedDecimal {
  static constexpr int kDigitCount = kDigits;
  static constexpr int kPlaceCount = kPlaces;
  uint8_t bytes[(kDigits + 1) / 2];

  std::span<uint8_t> span() { return bytes; }
  std::span<const uint8_t> span() const { return bytes; }
};

inline constexpr uint8_t kDecimalNegative = 0xF;

enum class DecimalStatus : uint8_t {
  kOk,
  kBadDigit,  // a digit nibble above 9
  kOverflow,  // the value does not fit the target
};

// Writes `unscaled` into `out`. Fails with kOverflow, leaving `out` unchanged, when the value
// has more digits than `out` holds (2 × size − 1). Zero is always written positive.
DecimalStatus EncodeDecimal(int64_t unscaled, std::span<uint8_t> out);

// Reads the unscaled value. A negative zero reads as 0.
DecimalStatus DecodeDecimal(std::span<const uint8_t> in, int64_t* unscaled);

// Numeric comparison of two decimals with the same number of places but possibly different
// sizes: < 0, 0 or > 0. Negative and positive zero are equal. Digit nibbles above 9 compare by
// their nibble value, so corrupt bytes still order consistently.
int CompareDecimal(std::span<const uint8_t> a, std::span<const uint8_t> b);

// The value as a real number, for expressions; kBadDigit leaves *value unchanged.
DecimalStatus DecimalToDouble(std::span<const uint8_t> in, int places, double* value);

// Rounds `value` half away from zero to `places` decimals and writes it; kOverflow (out
// unchanged) when it does not fit or is not a finite number.
DecimalStatus DecimalFromDouble(double value, int places, std::span<uint8_t> out);

}  // namespace carelog::appdata
