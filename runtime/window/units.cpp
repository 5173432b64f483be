#include "runtime/window/units.h"

#include <cstdlib>

#include "runtime/window/definition_format.h"

namespace carelog::window {

Unit UnitOf(uint32_t attribute_word) {
  return static_cast<Unit>((attribute_word & kUnitMask) >> 8);
}

UnitScale ScaleFor(Unit unit, FontMetrics font, Resolution device) {
  switch (unit) {
    case Unit::kDialog:
      return UnitScale{2 * font.average_width, font.height, 8};
    case Unit::kInch25:
      return UnitScale{device.x, device.y, 25};
    case Unit::kInch1000:
      return UnitScale{device.x, device.y, 1000};
    case Unit::kPoint:
      if (device.x <= 0 || device.y <= 0) return UnitScale{1, 1, 1};
      return UnitScale{device.x, device.y, 72};
  }
  return UnitScale{};
}

int32_t MulDiv(int32_t a, int32_t b, int32_t c) {
  if (c == 0) return -1;
  int64_t product = static_cast<int64_t>(a) * b;
  int64_t divisor = c;
  bool negative = (product < 0) != (divisor < 0);
  // |product| < 2^62 and |divisor| <= 2^31, so the rounding addition cannot overflow.
  uint64_t magnitude = static_cast<uint64_t>(product < 0 ? -product : product);
  uint64_t d = static_cast<uint64_t>(divisor < 0 ? -divisor : divisor);
  uint64_t quotient = (magnitude + d / 2) / d;
  if (quotient > (negative ? 0x80000000ull : 0x7FFFFFFFull)) return -1;
  return negative ? static_cast<int32_t>(-static_cast<int64_t>(quotient))
                  : static_cast<int32_t>(quotient);
}

int32_t ToPixelsX(const UnitScale& scale, int32_t value) {
  return value == kNotGiven ? 0 : MulDiv(value, scale.x_multiplier, scale.divisor);
}

int32_t ToPixelsY(const UnitScale& scale, int32_t value) {
  return value == kNotGiven ? 0 : MulDiv(value, scale.y_multiplier, scale.divisor);
}

int32_t FontPixelHeight(int32_t points, int32_t vertical_ppi) {
  return -MulDiv(points, vertical_ppi, 72);
}

}  // namespace carelog::window
