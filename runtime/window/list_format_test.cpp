// The format parser: the definitions' formats to their exact column records, units converted
// to pixels, and malformed formats refused without losing the columns before the fault.
#include "runtime/window/list_format.h"

#include <gtest/gtest.h>

namespace carelog::window {
namespace {

constexpr UnitScale kPixels{1, 1, 1};
constexpr int kLine = 16;

ListFormat Parse(const char* text, UnitScale scale = kPixels) {
  ListFormat f;
  std::string error;
  EXPECT_TRUE(ParseListFormat(text, scale, kLine, &f, &error)) << text << ": " << error;
  return f;
}

TEST(ListFormat, TwoPlainColumnsTakeConsecutiveFieldsAndPictures) {
  ListFormat f = Parse("53L~Name~@s40@33L~Patient No~@n14@");
  ASSERT_EQ(f.columns.size(), 2u);
  EXPECT_EQ(f.columns[0].left, 0);
  EXPECT_EQ(f.columns[0].width, 53);
  EXPECT_EQ(f.columns[0].right, 52);
  EXPECT_EQ(f.columns[0].header, "Name");
  EXPECT_EQ(f.columns[0].picture, "@s40");
  EXPECT_EQ(f.columns[0].field, 1);
  EXPECT_EQ(f.columns[0].flags, 0u);
  EXPECT_EQ(f.columns[1].left, 53);
  EXPECT_EQ(f.columns[1].field, 2);
  EXPECT_EQ(f.columns[1].picture, "@n14");
  EXPECT_EQ(f.width, 86);
  EXPECT_EQ(f.header_height, kLine);
  EXPECT_EQ(f.displays.size(), 2u);
}

TEST(ListFormat, BordersResizingIndentsAndResizePartners) {
  ListFormat f = Parse("56L|M~Rec No~@n-13@");
  ASSERT_EQ(f.columns.size(), 1u);
  EXPECT_EQ(f.columns[0].flags, list_flag::kRightBorder | list_flag::kResizable);
  EXPECT_EQ(f.columns[0].picture, "@n-13");

  f = Parse("56L(0)|M~Date~@n-13@");
  EXPECT_EQ(f.columns[0].data_indent, 0);
  f = Parse("56L(4)M~A~20R~B~");
  EXPECT_EQ(f.columns[0].data_indent, 4);
  EXPECT_EQ(f.columns[0].header_indent, 4);
  EXPECT_EQ(f.columns[0].resize_partner, 1);
  EXPECT_EQ(f.columns[1].resize_partner, -1);
  EXPECT_EQ(f.columns[1].flags & list_flag::kJustify, 1u);
}

TEST(ListFormat, GroupWithWidthBorderHeaderAndMarkedColumn) {
  ListFormat f =
      Parse("[87L|M~Name~@s40@?32L|M~Next Visit~@d1B@](128)|51L|M~Phone Number~@p(###)-###-####p@");
  ASSERT_EQ(f.columns.size(), 3u);
  ASSERT_EQ(f.displays.size(), 2u);
  const ListDisplayColumn& group = f.displays[0];
  EXPECT_TRUE(group.group);
  EXPECT_EQ(group.first, 0);
  EXPECT_EQ(group.count, 2);
  EXPECT_EQ(group.width, 129);  // 128 and the border line
  EXPECT_EQ(group.flags, list_flag::kRightBorder);
  EXPECT_EQ(f.columns[0].flags,
            list_flag::kRightBorder | list_flag::kResizable | list_flag::kMarked);
  EXPECT_EQ(f.columns[1].left, 87);
  EXPECT_EQ(f.columns[1].picture, "@d1B");
  EXPECT_EQ(f.columns[1].display, 0);
  EXPECT_EQ(f.columns[2].left, 129);
  EXPECT_EQ(f.columns[2].display, 1);
  EXPECT_EQ(f.columns[2].field, 3);
  EXPECT_EQ(f.columns[2].picture, "@p(###)-###-####p");
  EXPECT_EQ(f.marked_field, 1);
  EXPECT_EQ(f.width, 180);
}

TEST(ListFormat, HeaderJustificationOverridesTheColumnsForTheHeaderOnly) {
  ListFormat f = Parse("99L|~Name~C@s40@");
  EXPECT_EQ(f.columns[0].data_justify(), Justify::kLeft);
  EXPECT_EQ(f.columns[0].header_justify(), Justify::kCenter);
  f = Parse("30R~Amount~L(6)@n10.2@");
  EXPECT_EQ(f.columns[0].data_justify(), Justify::kRight);
  EXPECT_EQ(f.columns[0].header_justify(), Justify::kLeft);
  EXPECT_EQ(f.columns[0].header_indent, 6);
  EXPECT_EQ(f.columns[0].data_indent, 0);
}

TEST(ListFormat, GroupHeadersTakeASecondHeaderLine) {
  ListFormat f = Parse("[28C|~In~@t3B@]|28C|~Out~@t3B@");
  ASSERT_EQ(f.columns.size(), 2u);
  EXPECT_EQ(f.columns[0].flags & list_flag::kJustify, 2u);
  EXPECT_EQ(f.columns[0].header_justify(), Justify::kCenter);
  EXPECT_EQ(f.displays[0].width, 29);
  EXPECT_EQ(f.header_height, kLine);
  f = Parse("[20L~a~20L~b~]~Both~");
  EXPECT_EQ(f.displays[0].header, "Both");
  EXPECT_EQ(f.header_height, 2 * kLine);
}

TEST(ListFormat, ZeroWidthColumnsStayAndConsumeAField) {
  ListFormat f = Parse("0L@n6@40L~Name~@s20@");
  ASSERT_EQ(f.columns.size(), 2u);
  EXPECT_EQ(f.columns[0].width, 0);
  EXPECT_EQ(f.columns[0].right, -1);
  EXPECT_EQ(f.columns[0].field, 1);
  EXPECT_EQ(f.columns[1].field, 2);
  EXPECT_EQ(f.columns[1].left, 0);
  EXPECT_EQ(f.zero_width, 1);
  // A zero width takes no indent: "(3)" is not read as one.
  ListFormat g;
  EXPECT_FALSE(ParseListFormat("0L(3)", kPixels, kLine, &g));
}

TEST(ListFormat, ModifiersFieldNumbersColoursTreesAndLines) {
  ListFormat f = Parse("20L*~A~#5#20LFS(60)H(30)_I20LT(LBI)[10L/10L]");
  ASSERT_EQ(f.columns.size(), 5u);
  EXPECT_EQ(f.columns[0].extra, list_extra::kColors);
  EXPECT_EQ(f.columns[0].field, 5);
  EXPECT_EQ(f.columns[1].field, 10);  // after the four colour fields
  EXPECT_EQ(f.columns[1].flags,
            list_flag::kFixed | list_flag::kScroll | list_flag::kUnderline | list_flag::kIcon);
  EXPECT_EQ(f.columns[1].scroll_width, 60);
  EXPECT_EQ(f.columns[1].header_height, 30);
  EXPECT_EQ(f.columns[1].extra, list_extra::kHeaderHeight);
  EXPECT_EQ(f.columns[2].flags, list_flag::kTree);
  EXPECT_EQ(f.columns[2].extra,
            list_extra::kTreeLines | list_extra::kTreeBoxes | list_extra::kTreeIndent);
  EXPECT_EQ(f.columns[3].field, 13);  // after the tree level
  EXPECT_EQ(f.columns[4].left, f.columns[3].left);
  EXPECT_EQ(f.columns[4].top, 1);
  EXPECT_EQ(f.lines, 2);
  EXPECT_EQ(f.fixed, 1);
  EXPECT_TRUE(f.any_scroll);
  EXPECT_EQ(f.header_height, 30);
}

TEST(ListFormat, WidthsAreConvertedThroughTheWindowsUnits) {
  ListFormat f = Parse("53L(2)~Name~H(10)", UnitScale{3, 5, 2});
  EXPECT_EQ(f.columns[0].width, 80);  // 53 * 3 / 2 rounded
  EXPECT_EQ(f.columns[0].data_indent, 3);
  EXPECT_EQ(f.columns[0].header_height, 25);
}

TEST(ListFormat, MalformedFormatsNameTheirFaultAndKeepEarlierColumns) {
  const char* bad[] = {"53",    "53X",  "53L~Name", "53L@s40",   "[53L", "[]",
                       "53L#2", "53LH", "53LT(Q)",  "99999999L", "53L(2"};
  for (const char* text : bad) {
    ListFormat f;
    std::string error;
    EXPECT_FALSE(ParseListFormat(text, kPixels, kLine, &f, &error)) << text;
    EXPECT_NE(error.find("at offset"), std::string::npos) << text;
  }
  ListFormat f;
  EXPECT_FALSE(ParseListFormat("20L~A~30Q", kPixels, kLine, &f));
  ASSERT_EQ(f.columns.size(), 1u);
  EXPECT_EQ(f.columns[0].header, "A");
}

}  // namespace
}  // namespace carelog::window
