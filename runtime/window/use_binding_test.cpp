#include "runtime/window/use_binding.h"

#include <gtest/gtest.h>

#include <cstring>

namespace carelog::window {
namespace {

TEST(UseBindingTest, StorageOfEachTypeRoundTrips) {
  uint8_t decimal[4] = {};
  UseVariable dec{decimal, 2};
  UseValue v;
  v.number = -123.45;
  ASSERT_TRUE(WriteUse(dec, UseType{0x0A, 4}, v));
  EXPECT_EQ(decimal[0], 0xF0);  // sign nibble, then 0012345
  EXPECT_EQ(decimal[1], 0x01);
  EXPECT_EQ(decimal[2], 0x23);
  EXPECT_EQ(decimal[3], 0x45);
  EXPECT_DOUBLE_EQ(ReadUse(dec, UseType{0x0A, 4}).number, -123.45);
  v.number = 100000;  // needs 8 digits with two places: does not fit 7
  EXPECT_FALSE(WriteUse(dec, UseType{0x0A, 4}, v));

  char text[6];
  UseVariable str{text};
  UseValue t;
  t.is_text = true;
  t.text = "abcdefgh";
  ASSERT_TRUE(WriteUse(str, UseType{0x12, 6}, t));
  EXPECT_EQ(std::string(text, 6), "abcdef");
  ASSERT_TRUE(WriteUse(str, UseType{0x13, 6}, t));
  EXPECT_STREQ(text, "abcde");
  ASSERT_TRUE(WriteUse(str, UseType{0x14, 6}, t));
  EXPECT_EQ(ReadUse(str, UseType{0x14, 6}).text, "abcde");

  uint8_t byte = 0;
  UseValue big;
  big.number = 300;
  EXPECT_FALSE(WriteUse(UseVariable{&byte}, UseType{1, 1}, big));
  EXPECT_EQ(byte, 0);
}

TEST(UseBindingTest, EntryTextIsCheckedAgainstPictureAndType) {
  UseValue v;
  const UseType long_type{6, 4};
  EXPECT_TRUE(ParseEntryText("1,234", "@n6", long_type, &v));
  EXPECT_DOUBLE_EQ(v.number, 1234);
  EXPECT_FALSE(ParseEntryText("12a", "@n6", long_type, &v));
  EXPECT_FALSE(ParseEntryText("1234567", "@n3", long_type, &v));   // too many digits
  EXPECT_FALSE(ParseEntryText("99999999999", "", long_type, &v));  // does not fit a LONG
  EXPECT_TRUE(ParseEntryText("-17", "", long_type, &v));
  EXPECT_DOUBLE_EQ(v.number, -17);
  EXPECT_FALSE(ParseEntryText("13/45/2020", "@d2", long_type, &v));
  EXPECT_TRUE(ParseEntryText("", "@d2", long_type, &v));
  EXPECT_TRUE(ParseEntryText("any text", "@s20", UseType{0x12, 20}, &v));
  EXPECT_EQ(v.text, "any text");
}

// Pattern and key-in entries into text fields: the text as the picture lays it out, with the
// picture's literals; a key-in value keeps only the characters entered, each suited to its place.
TEST(UseBindingTest, PatternAndKeyInEntriesTakeWhatTheirPlacesAllowAndMayBeCleared) {
  UseValue v;
  const UseType text_type{0x12, 12};
  const char* medicare = "@k###-##-####@k";
  ASSERT_TRUE(ParseEntryText("123-45-6789A", medicare, text_type, &v));
  EXPECT_EQ(v.text, "123456789A");
  EXPECT_FALSE(ParseEntryText("12O-45-6789A", medicare, text_type, &v));   // a letter for a digit
  EXPECT_FALSE(ParseEntryText("123456789A", medicare, text_type, &v));     // without its dashes
  EXPECT_FALSE(ParseEntryText("123-45-6789AB", medicare, text_type, &v));  // one too many
  for (const char* picture : {medicare, "@p<<<-<<-<<<<p"}) {
    v.text = "old";
    ASSERT_TRUE(ParseEntryText("  ", picture, text_type, &v)) << picture;
    EXPECT_EQ(v.text, "") << picture;
  }
  ASSERT_TRUE(ParseEntryText("", "@p(###)-###-####p", UseType{6, 4}, &v));
  EXPECT_DOUBLE_EQ(v.number, 0);
}

TEST(UseBindingTest, ParenthesisedSignPicturesShowAndTakeNegatives) {
  int32_t amount = -1234;
  UseType long_type{6, 4};
  EXPECT_EQ(DisplayText({&amount}, long_type, "@n(10)"), "(1,234)");
  EXPECT_EQ(DisplayText({&amount}, long_type, "@n(12.2)"), "(1,234.00)");
  amount = 56;
  EXPECT_EQ(DisplayText({&amount}, long_type, "@n(10)"), "56");
  UseValue v;
  ASSERT_TRUE(ParseEntryText("(1,234)", "@n(10)", long_type, &v));
  EXPECT_EQ(v.number, -1234);
  ASSERT_TRUE(ParseEntryText("(12.50)", "@n(12.2)", UseType{9, 8}, &v));
  EXPECT_EQ(v.number, -12.5);
  EXPECT_FALSE(ParseEntryText("(1,234,567)", "@n(6)", long_type, &v));  // does not fit
}

TEST(UseBindingTest, DisplayFormatsThroughThePicture) {
  int32_t n = 1234567;
  EXPECT_EQ(DisplayText(UseVariable{&n}, UseType{6, 4}, "@n10"), "1,234,567");
  EXPECT_EQ(DisplayText(UseVariable{&n}, UseType{6, 4}, ""), "1234567");
  char s[8] = {'a', 'b', ' ', ' ', ' ', ' ', ' ', ' '};
  EXPECT_EQ(DisplayText(UseVariable{s}, UseType{0x12, 8}, ""), "ab");
}

// A blank-when-zero tenths entry (a weight not taken): a typed zero is taken and shows blank, a
// letter is still refused. A variable's "nothing recorded" value shows blank, every other value
// through the picture.
TEST(UseBindingTest, ZerosAndNothingRecordedShowBlank) {
  const UseType long_type{6, 4};
  UseValue v;
  for (const char* zero : {"0", "0.0", "000.0"}) {
    v.number = 5;
    ASSERT_TRUE(ParseEntryText(zero, "@p<<<.<pB", long_type, &v)) << zero;
    EXPECT_DOUBLE_EQ(v.number, 0) << zero;
  }
  EXPECT_FALSE(ParseEntryText("x", "@p<<<.<pB", long_type, &v));
  EXPECT_FALSE(ParseEntryText("0", "@p<<<.<p", long_type, &v)) << "shows \".\", not \"0\"";
  int32_t weight = 0;
  EXPECT_EQ(DisplayText({&weight}, long_type, "@p<<<.<pB"), "");

  int32_t pulse = 150;
  UseVariable lowest{&pulse, 0, 150};
  EXPECT_EQ(DisplayText(lowest, long_type, "@n4B"), "");
  EXPECT_EQ(DisplayText(lowest, long_type, ""), "");
  pulse = 58;
  EXPECT_EQ(DisplayText(lowest, long_type, "@n4B"), "58");
}

}  // namespace
}  // namespace carelog::window
