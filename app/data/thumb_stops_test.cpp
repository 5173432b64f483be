#include "app/data/thumb_stops.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace carelog::appdata {
namespace {

std::vector<std::string> TextStops(std::string_view low, std::string_view high, int32_t size,
                                   int32_t classes = kStopUpper) {
  InitTextThumbStops(low, high, size, classes);
  std::vector<std::string> stops;
  for (int i = 0; i < kThumbStops; ++i) stops.push_back(NextTextThumbStop());
  return stops;
}

TEST(NumericThumbStops, ZeroTo99GivesEveryWholeNumberAndANewSetupStartsOver) {
  InitNumericThumbStops(0, 99);
  for (int i = 0; i < kThumbStops; ++i) EXPECT_DOUBLE_EQ(NextNumericThumbStop(), i);
  EXPECT_DOUBLE_EQ(NextNumericThumbStop(), 100) << "past the 100th the formula goes on";
  InitNumericThumbStops(10, 10);
  EXPECT_DOUBLE_EQ(NextNumericThumbStop(), 10);
  EXPECT_DOUBLE_EQ(NextNumericThumbStop(), 10);
}

TEST(TextThumbStops, UpperCaseNamesRiseFromTheLowToTheHighTail) {
  std::vector<std::string> stops = TextStops("ADAMS", "ZIMMER", 20);
  EXPECT_EQ(stops.front(), "ADAM");
  EXPECT_EQ(stops.back(), "ZIMM");
  for (size_t i = 1; i < stops.size(); ++i) {
    EXPECT_LT(stops[i - 1], stops[i]) << i;
    EXPECT_EQ(stops[i].size(), 4u);
    for (char c : stops[i]) EXPECT_TRUE(c == ' ' || (c >= 'A' && c <= 'Z')) << stops[i];
  }
}

TEST(TextThumbStops, ACommonPrefixIsKeptAndLowerCaseFoldedWithoutTheLowerClass) {
  std::vector<std::string> stops = TextStops("smith", "SMYTHE", 20);
  EXPECT_EQ(stops.front(), "SMIT") << "no common prefix across cases; the tail upper case";
  stops = TextStops("SMITH", "SMYTHE", 20);
  EXPECT_EQ(stops.front(), "SMITH");
  EXPECT_EQ(stops.back(), "SMYTHE");
  for (const std::string& stop : stops) EXPECT_EQ(stop.substr(0, 2), "SM");
}

TEST(TextThumbStops, AShortHighTextIsPaddedSoEveryStopLiesInTheRange) {
  std::vector<std::string> stops = TextStops("100", "9", 4, kStopDigits);
  EXPECT_EQ(stops.front(), "100");
  EXPECT_EQ(stops.back(), "9999");
  for (const std::string& stop : stops) {
    EXPECT_GE(stop, "100");
    EXPECT_LE(stop, "9999");
  }
}

TEST(NameThumbStops, HundredLocatorsInOrderFromBlanks) {
  EXPECT_EQ(kNameThumbStops[0], "   ");
  EXPECT_EQ(kNameThumbStops[1], "ALB");
  EXPECT_EQ(kNameThumbStops[99], "YOR");
  for (size_t i = 1; i < kNameThumbStops.size(); ++i) {
    EXPECT_LT(kNameThumbStops[i - 1], kNameThumbStops[i]);
  }
}

}  // namespace
}  // namespace carelog::appdata
