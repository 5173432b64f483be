// The date picker driven from the keyboard: the arrows move the selected day across month and
// year ends, and Enter picks it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/calendar.h"
#include "app/procedure_globals.h"
#include "runtime/host/automation.h"
#include "runtime/values/standard_date.h"
#include "runtime/window/window_testing.h"

namespace carelog::app {
namespace {

namespace wt = window::testing;

TEST(CalendarDialogTest, ArrowKeysMoveTheSelectedDayAndEnterPicksIt) {
  int32_t picked = -1;
  {
    wt::Program program([&] { picked = Calendar(values::DayNumber(2026, 12, 31)); });
    host::Automation automation;
    ASSERT_TRUE(automation.WaitForWindow().ok);
    EXPECT_TRUE(automation.ExpectText("47", "December 2026").ok);
    for (const char* key : {"Right", "Up", "Down", "Down", "Left"}) {
      automation.Key(key);  // Jan 1, Dec 25, Jan 1, Jan 8, Jan 7
      EXPECT_TRUE(automation.WaitIdle().ok);
    }
    EXPECT_TRUE(automation.ExpectText("47", "January 2027").ok);
    host::ControlInfo cell;
    ASSERT_TRUE(automation.FindControl("12", false, &cell));  // January 2027 starts on a Friday
    EXPECT_TRUE(cell.focused);
    automation.Key("Enter");
  }
  EXPECT_EQ(picked, values::DayNumber(2027, 1, 7));
}

// For looking the dialog over: run with --gtest_also_run_disabled_tests and
// CARELOG_SCREENSHOTS=DIR. Saves DIR/calendar.png in the dialog's own font and
// DIR/calendar_<size>.png in the default display font, on the month with the longest name.
TEST(CalendarDialogTest, DISABLED_ScreenshotsAtDisplayFontSizes8And12) {
  const char* dir = std::getenv("CARELOG_SCREENSHOTS");
  ASSERT_NE(dir, nullptr);
  for (int size : {0, 8, 12}) {
    DisplayFont = size ? DisplayFontSettings{"MS Sans Serif", static_cast<uint8_t>(size), 0, 0}
                       : DisplayFontSettings{};
    wt::Program program([] { Calendar(values::DayNumber(2028, 9, 27)); });
    host::Automation automation;
    ASSERT_TRUE(automation.WaitForWindow().ok);
    std::string path = std::string(dir) + "/calendar" + (size ? "_" + std::to_string(size) : "");
    EXPECT_TRUE(automation.Screenshot(path + ".png").ok) << path;
    automation.Key("Escape");
  }
  DisplayFont = DisplayFontSettings{};
}

}  // namespace
}  // namespace carelog::app
