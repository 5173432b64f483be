#include <gtest/gtest.h>

#include <string>

#include "runtime/host/types.h"

namespace carelog::host {
namespace {

TEST(Ansi, EveryDefinedByteSurvivesTheRoundTrip) {
  std::string all;
  for (int b = 1; b < 256; ++b) {
    if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D) continue;
    all += static_cast<char>(b);
  }
  EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(all)), all);
  EXPECT_EQ(AnsiToUtf8("\x80"), "\xE2\x82\xAC");  // the euro sign
  EXPECT_EQ(AnsiToUtf8("M\xFCller"), "M\xC3\xBCller");
}

TEST(Ansi, WhatHasNoAnsiCharacterBecomesAQuestionMark) {
  EXPECT_EQ(AnsiToUtf8("\x81"), "\xEF\xBF\xBD");
  EXPECT_EQ(Utf8ToAnsi("\xEF\xBF\xBD"), "?");
  EXPECT_EQ(Utf8ToAnsi("\xE4\xB8\xAD"), "?");        // outside the code page
  EXPECT_EQ(Utf8ToAnsi("\xF0\x9F\x98\x80!"), "?!");  // four bytes, one character
  EXPECT_EQ(Utf8ToAnsi("a\xC3"), "a?");              // cut short
  EXPECT_EQ(Utf8ToAnsi("\xC3(x"), "?(x");            // not a continuation
  EXPECT_EQ(Utf8ToAnsi("\xFF\xFE"), "??");
}

TEST(Ansi, ExactConversionRefusesWhatTheSetCannotHold) {
  std::string ansi = "kept";
  EXPECT_TRUE(Utf8ToAnsiExact("Zo\xC3\xAB ?", &ansi));
  EXPECT_EQ(ansi, "Zo\xEB ?");  // a question mark typed is a question mark
  ansi = "kept";
  EXPECT_FALSE(Utf8ToAnsiExact("\xE4\xB8\xAD", &ansi));
  EXPECT_FALSE(Utf8ToAnsiExact("\xEF\xBF\xBD", &ansi));  // the replacement character
  EXPECT_FALSE(Utf8ToAnsiExact("a\xC3", &ansi));
  EXPECT_EQ(ansi, "kept");
}

}  // namespace
}  // namespace carelog::host
