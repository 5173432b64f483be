#include "runtime/values/locale.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace carelog::values {
namespace {

int Sign(int v) {
  return (v > 0) - (v < 0);
}

int Collated(const std::string& a, const std::string& b) {
  return Sign(CompareCollated(a.data(), a.size(), b.data(), b.size()));
}

int Text(const std::string& a, const std::string& b) {
  return Sign(CompareText(a.data(), a.size(), b.data(), b.size()));
}

// Restores the process-wide tables after a test changes them.
class LocaleTest : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = Locale(); }
  void TearDown() override { MutableLocale() = saved_; }
  LocaleTables saved_;
};

TEST_F(LocaleTest, DefaultsHold) {
  LocaleTables t = DefaultLocaleTables();
  EXPECT_STREQ(t.month_names[0], "January");
  EXPECT_STREQ(t.month_names[8], "September");
  EXPECT_STREQ(t.month_abbreviations[11], "Dec");
  EXPECT_STREQ(t.am_pm[0], "AM");
  EXPECT_STREQ(t.am_pm[1], "PM");
  EXPECT_EQ(t.digraphs[0][0], 0);
  EXPECT_FALSE(t.oem);
  for (int c = 0; c < 256; ++c) {
    EXPECT_EQ(t.collation[c], c);
    bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    if (!letter) {
      EXPECT_EQ(t.case_partner[c], 0) << c;
    }
  }
  EXPECT_EQ(t.char_class['7'], kClassDigit);
  EXPECT_EQ(t.char_class['q'], kClassLower);
  EXPECT_EQ(t.char_class[0xC4], kClassOther);
}

TEST_F(LocaleTest, CaseGoesThroughTheTables) {
  EXPECT_EQ(UpperCase('a'), 'A');
  EXPECT_EQ(UpperCase('A'), 'A');
  EXPECT_EQ(LowerCase('Z'), 'z');
  EXPECT_EQ(UpperCase('1'), '1');
  LocaleTables& t = MutableLocale();
  t.char_class[0xC4] = kClassUpper;
  t.char_class[0xE4] = kClassLower;
  t.case_partner[0xC4] = 0xE4;
  t.case_partner[0xE4] = 0xC4;
  EXPECT_EQ(UpperCase(0xE4), 0xC4);
  EXPECT_EQ(LowerCase(0xC4), 0xE4);
  char text[] = "m\xE4rz 9";
  UpperCaseText(text, std::strlen(text));
  EXPECT_STREQ(text, "M\xC4RZ 9");
  LowerCaseText(text, std::strlen(text));
  EXPECT_STREQ(text, "m\xE4rz 9");
}

TEST_F(LocaleTest, CollatedComparisonIgnoresCase) {
  EXPECT_EQ(Collated("Smith", "SMITH"), 0);
  EXPECT_EQ(Collated("abc", "ABD"), -1);
  EXPECT_EQ(Collated("ab", "abc"), -1);
  EXPECT_EQ(Collated("abc", "ab"), 1);
  EXPECT_EQ(Collated("", ""), 0);
  EXPECT_EQ(Collated("abc ", "abc"), 1);  // names: blanks count
}

TEST_F(LocaleTest, CollatedComparisonExpandsDigraphs) {
  LocaleTables& t = MutableLocale();
  const uint8_t entry[4] = {0xDF, 'S', 'S', 0};  // sharp s compares as "SS"
  std::memcpy(t.digraphs[0], entry, 4);
  EXPECT_EQ(Collated("Stra\xDF"
                     "e",
                     "STRASSE"),
            0);
  EXPECT_EQ(Collated("Stra\xDF", "strasse"), -1);
  EXPECT_EQ(Collated("Stra\xDF"
                     "f",
                     "strasse"),
            1);
}

TEST_F(LocaleTest, CollationWeightsDecide) {
  LocaleTables& t = MutableLocale();
  std::swap(t.collation['A'], t.collation['Z']);
  EXPECT_EQ(CollationWeight('Z'), 'A');
  EXPECT_EQ(Collated("Zeta", "Alpha"), -1);
  EXPECT_EQ(Text("Zeta", "Alpha"), -1);
  EXPECT_EQ(Text("B", "Z"), 1);
}

TEST_F(LocaleTest, TextComparisonPadsWithBlanks) {
  EXPECT_EQ(Text("abc", "abc   "), 0);
  EXPECT_EQ(Text("abc   ", "abc"), 0);
  EXPECT_EQ(Text("", ""), 0);
  EXPECT_EQ(Text("", "   "), 0);
  EXPECT_EQ(Text("abc", "abcd"), -1);
  EXPECT_EQ(Text("abc\x01", "abc"), -1);  // below a blank
  EXPECT_EQ(Text("abc", "ABC"), 1);       // case counts
}

TEST_F(LocaleTest, OverridesAreFoundByNumber) {
  EXPECT_EQ(MessageOverride(33), nullptr);
  MutableLocale().message_overrides[33] = "Kein Satz";
  MutableLocale().button_texts[1] = "Abbrechen";
  ASSERT_NE(MessageOverride(33), nullptr);
  EXPECT_EQ(*MessageOverride(33), "Kein Satz");
  EXPECT_EQ(*ButtonText(1), "Abbrechen");
  EXPECT_EQ(ButtonText(0), nullptr);
}

}  // namespace
}  // namespace carelog::values
