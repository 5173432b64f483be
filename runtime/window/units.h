// Conversion of definition coordinates to pixels.
//
// Bits 0x300 of a window's or report's attribute word choose the unit of every coordinate and
// size in its tree:
//   0x000 dialog units   x: v * (2 * average character width) / 8,  y: v * character height / 8
//   0x100 1/25 inch      v * pixels per inch / 25
//   0x200 1/1000 inch    v * pixels per inch / 1000
//   0x300 points         v * pixels per inch / 72; 1 unit = 1 pixel on a device without a
//                        resolution
// A scale is two multipliers and a common divisor; conversions multiply then divide with
// rounding half away from zero (MulDiv). The value 0x80000000 means "not given" and converts
// to 0.
#pragma once

#include <cstdint>

namespace carelog::window {

enum class Unit : uint8_t { kDialog = 0, kInch25 = 1, kInch1000 = 2, kPoint = 3 };

Unit UnitOf(uint32_t attribute_word);

// The window font's metrics in pixels: average character width and character height.
struct FontMetrics {
  int32_t average_width = 0;
  int32_t height = 0;
};

// The device's resolution in pixels per inch; 0 when the device reports none.
struct Resolution {
  int32_t x = 0;
  int32_t y = 0;
};

struct UnitScale {
  int32_t x_multiplier = 1;
  int32_t y_multiplier = 1;
  int32_t divisor = 1;
};

UnitScale ScaleFor(Unit unit, FontMetrics font, Resolution device);

// a * b / c computed in 64 bits and rounded half away from zero; -1 when c is 0 or the result
// does not fit in 32 bits.
int32_t MulDiv(int32_t a, int32_t b, int32_t c);

// A coordinate in window units to pixels; 0x80000000 (not given) gives 0.
int32_t ToPixelsX(const UnitScale& scale, int32_t value);
int32_t ToPixelsY(const UnitScale& scale, int32_t value);

// Pixel height of a font of `points` on a device of `vertical_ppi` pixels per inch, negative
// as font requests take it (a character height, not a cell height).
int32_t FontPixelHeight(int32_t points, int32_t vertical_ppi);

}  // namespace carelog::window
