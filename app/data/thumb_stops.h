// Evenly spaced stops for a browse's scroll-bar thumb: 100 locator values between the lowest
// and highest first key component of the browsed range, thumb position i taking stop i.
//
// Numeric: InitNumericThumbStops(low, high) sets step = (high - low) / 99; the n-th call of
// NextNumericThumbStop returns low (n = 1), high (n = 100), else low + step * (n - 1).
//
// Text: InitTextThumbStops(low, high, size, classes) builds the stop alphabet from the
// character classes (bit 1 upper-case letters, with bit 8 lower case too, bit 2 punctuation and
// the blank, bit 4 digits; default 1), keeps the common prefix of the two texts cut to `size`,
// and reads the next four characters of each as a number in base (alphabet length + 1). The
// n-th call of NextTextThumbStop returns the prefix and the low tail (n = 1), the high tail
// (n = 100), or the four characters of low + increment * (n - 1).
// Choices: a high text shorter than `size` is padded with the alphabet's last character to
// `size`, so every stop lies within the range; a digit 0 becomes a blank, so a tail keeps
// four characters.
//
// State is kept per thread: each browse thread sets up and reads its own stops.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace carelog::appdata {

inline constexpr int kThumbStops = 100;

void InitNumericThumbStops(double low, double high);
double NextNumericThumbStop();

inline constexpr int32_t kStopUpper = 1;
inline constexpr int32_t kStopPunctuation = 2;
inline constexpr int32_t kStopDigits = 4;
inline constexpr int32_t kStopLower = 8;

void InitTextThumbStops(std::string_view low, std::string_view high, int32_t size,
                        int32_t classes = kStopUpper);
std::string NextTextThumbStop();

// The locator texts of lists ordered by name: entry i for thumb position i (entry 0 is three
// blanks).
extern const std::array<std::string_view, kThumbStops> kNameThumbStops;

}  // namespace carelog::appdata
