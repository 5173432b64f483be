// The default-font item's dialog over Fonts.Lds, answered through automation as a user would.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "app/app_testing.h"
#include "app/display_font.h"
#include "app/main_frame.h"
#include "runtime/window/window_testing.h"

namespace carelog::app {
namespace {

namespace wt = window::testing;
using testing::FontsRow;

constexpr const char* kTitle = "Choose default display Font";

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class DefaultFontDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::RegisterTestWindows();
    // MAIN reads the first record into DisplayFont; the dialog is preset with it.
    testing::WriteFontsFile({{"Courier New", 12, 0x0000FF, 700}, {"Arial", 9, 0, 400}});
  }
  void TearDown() override { DisplayFont = DisplayFontSettings{}; }

  // Starts MAIN, chooses File > Default Font and presses `button` in the dialog.
  void ChooseAndPress(const std::string& button) {
    wt::Program program([] { MAIN(); });
    host::Automation automation;
    EXPECT_TRUE(WaitForTitle(automation, "The Care Log"));
    host::AutomationResult chosen = automation.Menu({"&File", "&Default Font"});
    EXPECT_TRUE(chosen.ok) << chosen.message;
    EXPECT_TRUE(WaitForTitle(automation, kTitle));
    EXPECT_TRUE(automation.WaitIdle().ok);
    host::AutomationResult pressed = automation.Click(button, true);
    EXPECT_TRUE(pressed.ok) << pressed.message;
    EXPECT_TRUE(WaitForTitle(automation, "The Care Log"));
    host::AutomationResult exited = automation.Menu({"&File", "E&xit"});
    EXPECT_TRUE(exited.ok) << exited.message;
    program.Join();
    DisposeAppFrame();
  }

  static bool WaitForTitle(host::Automation& automation, const std::string& title) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (automation.CurrentTitle() != title) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
  }

  testing::TempWorkingDirectory directory_;
};

TEST_F(DefaultFontDialogTest, CancelLeavesTheFileAndTheFontAsTheyWere) {
  std::string before = FileBytes("Fonts.Lds");
  ChooseAndPress("Cancel");
  EXPECT_EQ(FileBytes("Fonts.Lds"), before);
  EXPECT_EQ(DisplayFont.typeface, "Courier New");
  EXPECT_EQ(DisplayFont.size, 12);
}

TEST_F(DefaultFontDialogTest, OkReplacesTheRecordsWithTheOneChosen) {
  ChooseAndPress("OK");
  std::vector<FontsRow> rows = testing::ReadFontsFile();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].typeface, "Courier New");
  EXPECT_EQ(rows[0].size, 12);
  EXPECT_EQ(rows[0].color, 0x0000FF);
  EXPECT_EQ(rows[0].style, 700);
  EXPECT_EQ(DisplayFont.typeface, "Courier New");
}

}  // namespace
}  // namespace carelog::app
