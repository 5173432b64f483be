#include "runtime/values/decimal_digits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>

namespace carelog::values {
namespace {

std::string Text(std::string_view in) {
  DecimalDigits d;
  if (!DigitsOfText(in, &d)) return "invalid";
  return ToDecimalText(d);
}

std::string Rounded(std::string_view in, int decimals) {
  DecimalDigits d;
  EXPECT_TRUE(DigitsOfText(in, &d)) << in;
  RoundToDecimals(d, decimals);
  return ToDecimalText(d);
}

TEST(DecimalDigits, ReadsDecimalTexts) {
  EXPECT_EQ(Text("  -001234.5600 "), "-1234.56");
  EXPECT_EQ(Text("0.000120"), "0.00012");
  EXPECT_EQ(Text("+.5"), "0.5");
  EXPECT_EQ(Text("12."), "12");
  EXPECT_EQ(Text("1.5e3"), "1500");
  EXPECT_EQ(Text("15E-3"), "0.015");
  EXPECT_EQ(Text("-0.000"), "0");
  EXPECT_EQ(Text("1e-99999999"), "0");
  for (const char* bad : {"", " ", "-", ".", "1.2.3", "12a", "1e", "1e+", "--1", "1 2"}) {
    EXPECT_EQ(Text(bad), "invalid") << bad;
  }
  // Digits past the 64 kept round the last kept digit.
  std::string many(64, '9');
  EXPECT_EQ(Text(many + "5"), "1" + std::string(65, '0'));
  EXPECT_EQ(Text(many + "4"), many + "0");
}

TEST(DecimalDigits, RoundsHalfUpAwayFromZeroWithCarry) {
  EXPECT_EQ(Rounded("2.675", 2), "2.68");
  EXPECT_EQ(Rounded("-2.675", 2), "-2.68");
  EXPECT_EQ(Rounded("2.674999", 2), "2.67");
  EXPECT_EQ(Rounded("999.995", 2), "1000");
  EXPECT_EQ(Rounded("0.005", 2), "0.01");
  EXPECT_EQ(Rounded("0.004", 2), "0");
  EXPECT_EQ(Rounded("-0.004", 2), "0");  // no negative zero
  EXPECT_EQ(Rounded("0.0005", 2), "0");
  EXPECT_EQ(Rounded("5", 0), "5");
  EXPECT_EQ(Rounded("0.5", 0), "1");
  DecimalDigits d;
  ASSERT_TRUE(DigitsOfText("99.96", &d));
  RoundToSignificant(d, 3);
  EXPECT_EQ(ToDecimalText(d), "100");
}

TEST(DecimalDigits, DoublesRoundTripThroughDigits) {
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> mantissa(-1, 1);
  std::uniform_int_distribution<int> exponent(-300, 300);
  for (int i = 0; i < 20000; ++i) {
    double v = std::ldexp(mantissa(random), exponent(random));
    DecimalDigits d = DigitsOfDouble(v);
    ASSERT_EQ(ToDouble(d), v) << ToDecimalText(d);
    DecimalDigits back;
    ASSERT_TRUE(DigitsOfText(ToDecimalText(d), &back));
    ASSERT_EQ(ToDouble(back), v);
  }
  EXPECT_EQ(ToDecimalText(DigitsOfDouble(0.1)), "0.1");
  EXPECT_EQ(ToDecimalText(DigitsOfDouble(-1234.5)), "-1234.5");
  EXPECT_EQ(ToDecimalText(DigitsOfDouble(std::nan(""))), "0");
  DecimalDigits inf = DigitsOfDouble(-std::numeric_limits<double>::infinity());
  EXPECT_TRUE(inf.negative);
  EXPECT_EQ(inf.point, kMaxDecimalPoint);
}

}  // namespace
}  // namespace carelog::values
