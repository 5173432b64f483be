#include "runtime/window/units.h"

#include <gtest/gtest.h>

#include "runtime/window/definition_format.h"

namespace carelog::window {
namespace {

TEST(MulDiv, RoundsHalfAwayFromZero) {
  EXPECT_EQ(MulDiv(10, 1, 4), 3);    // 2.5
  EXPECT_EQ(MulDiv(-10, 1, 4), -3);  // -2.5
  EXPECT_EQ(MulDiv(9, 1, 4), 2);     // 2.25
  EXPECT_EQ(MulDiv(11, 1, 4), 3);    // 2.75
  EXPECT_EQ(MulDiv(10, -1, 4), -3);
  EXPECT_EQ(MulDiv(-10, -1, -4), -3);
}

TEST(MulDiv, UsesA64BitProductAndReportsFailureAsMinusOne) {
  EXPECT_EQ(MulDiv(2000000000, 3, 4), 1500000000);
  EXPECT_EQ(MulDiv(2000000000, 2, 1), -1);  // does not fit
  EXPECT_EQ(MulDiv(5, 5, 0), -1);
  EXPECT_EQ(MulDiv(INT32_MIN, 1, 1), INT32_MIN);
}

TEST(Units, DialogUnitsFollowTheWindowFont) {
  UnitScale scale = ScaleFor(Unit::kDialog, FontMetrics{7, 16}, Resolution{96, 96});
  EXPECT_EQ(ToPixelsX(scale, 100), 175);  // 100 * 14 / 8
  EXPECT_EQ(ToPixelsY(scale, 100), 200);  // 100 * 16 / 8
  EXPECT_EQ(ToPixelsX(scale, 3), 5);      // 5.25
  EXPECT_EQ(ToPixelsX(scale, -3), -5);
}

TEST(Units, InchFractionsAndPointsFollowTheDevice) {
  Resolution printer{600, 300};
  EXPECT_EQ(ToPixelsX(ScaleFor(Unit::kInch1000, {}, printer), 8500), 5100);
  EXPECT_EQ(ToPixelsY(ScaleFor(Unit::kInch1000, {}, printer), 11000), 3300);
  EXPECT_EQ(ToPixelsX(ScaleFor(Unit::kInch25, {}, printer), 25), 600);
  EXPECT_EQ(ToPixelsY(ScaleFor(Unit::kPoint, {}, printer), 72), 300);
  // A device without a resolution takes points as pixels.
  EXPECT_EQ(ToPixelsX(ScaleFor(Unit::kPoint, {}, Resolution{}), 72), 72);
}

TEST(Units, NotGivenConvertsToZero) {
  UnitScale scale = ScaleFor(Unit::kInch1000, {}, Resolution{96, 96});
  EXPECT_EQ(ToPixelsX(scale, kNotGiven), 0);
  EXPECT_EQ(ToPixelsY(scale, kNotGiven), 0);
}

TEST(Units, UnitBitsOfTheAttributeWord) {
  EXPECT_EQ(UnitOf(0x813), Unit::kDialog);
  EXPECT_EQ(UnitOf(0x100), Unit::kInch25);
  EXPECT_EQ(UnitOf(0x201), Unit::kInch1000);
  EXPECT_EQ(UnitOf(0x300), Unit::kPoint);
}

TEST(Units, FontPixelHeightIsNegativeCharacterHeight) {
  EXPECT_EQ(FontPixelHeight(10, 96), -13);  // 13.33
  EXPECT_EQ(FontPixelHeight(8, 96), -11);   // 10.67
  EXPECT_EQ(FontPixelHeight(12, 72), -12);
}

}  // namespace
}  // namespace carelog::window
