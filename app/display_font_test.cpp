#include "app/display_font.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/app_testing.h"

namespace carelog::app {
namespace {

using testing::FontsRow;
using testing::ReadFontsFile;
using testing::TempWorkingDirectory;
using testing::WriteFontsFile;

class DisplayFontTest : public ::testing::Test {
 protected:
  void SetUp() override { DisplayFont = DisplayFontSettings{}; }
  void TearDown() override { DisplayFont = DisplayFontSettings{}; }
  TempWorkingDirectory directory;
};

TEST_F(DisplayFontTest, FirstRecordInFileOrderWithTheFieldRules) {
  WriteFontsFile({
      {"A typeface name longer than twenty characters", 0x010C, 0x00FF8040, -2},
      {"Courier New", 14, 0, 700},
  });
  ASSERT_EQ(LoadDisplayFont(), 0);
  EXPECT_EQ(DisplayFont.typeface, "A typeface name long");  // the first 20 characters
  EXPECT_EQ(DisplayFont.size, 12);                          // the low byte of 0x010C
  EXPECT_EQ(DisplayFont.color, 0x00FF8040);
  EXPECT_EQ(DisplayFont.style, -2);  // sign-extended
  EXPECT_TRUE(DisplayFont.IsSet());
}

TEST_F(DisplayFontTest, MissingOrEmptyFile) {
  DisplayFont.typeface = "Arial";
  DisplayFont.size = 9;
  EXPECT_NE(LoadDisplayFont(), 0);
  EXPECT_EQ(DisplayFont.typeface, "Arial") << "a missing file changes nothing";
  EXPECT_EQ(DisplayFont.size, 9);
  EXPECT_FALSE(std::filesystem::exists("Fonts.Lds")) << "reading never creates the file";

  WriteFontsFile({});
  ASSERT_EQ(LoadDisplayFont(), 0);
  EXPECT_EQ(DisplayFont.typeface, "");
  EXPECT_EQ(DisplayFont.size, 0);
  EXPECT_FALSE(DisplayFont.IsSet());
}

TEST_F(DisplayFontTest, AnEmptyFileReadsBlankEvenAfterAnotherRecordWasInTheBuffer) {
  WriteFontsFile({{"Arial", 12, 0, 0}});
  ASSERT_EQ(LoadDisplayFont(), 0);  // leaves Arial in the record buffer
  WriteFontsFile({});
  ASSERT_EQ(LoadDisplayFont(), 0);
  EXPECT_EQ(DisplayFont.size, 0);
  EXPECT_EQ(DisplayFont.typeface, "");
}

TEST_F(DisplayFontTest, SavingReplacesEveryRecordWithOne) {
  WriteFontsFile({{"Arial", 8, 0, 0}, {"Times New Roman", 10, 0, 0}});
  DisplayFontSettings font;
  font.typeface = "Courier New";
  font.size = 200;  // zero-extended, not negative
  font.color = 0x000000FF;
  font.style = 0x12BC;
  ASSERT_EQ(SaveDisplayFont(font), 0);
  std::vector<FontsRow> rows = ReadFontsFile();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].typeface, "Courier New");
  EXPECT_EQ(rows[0].size, 200);
  EXPECT_EQ(rows[0].color, 0x000000FF);
  EXPECT_EQ(rows[0].style, 0x12BC);

  font.style = 0x18000;  // only the low 16 bits are kept: 0x8000, read back as negative
  ASSERT_EQ(SaveDisplayFont(font), 0);
  DisplayFont = DisplayFontSettings{};
  ASSERT_EQ(LoadDisplayFont(), 0);
  EXPECT_EQ(DisplayFont.style, -32768);
  EXPECT_EQ(DisplayFont.size, 200);
  EXPECT_EQ(ReadFontsFile().size(), 1u);
}

}  // namespace
}  // namespace carelog::app
