// The date picker driven from the keyboard: the arrows move the selected day across month and
// year ends, and Enter picks it.
#include <gtest/gtest.h>

#include "app/calendar.h"
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

}  // namespace
}  // namespace carelog::app
