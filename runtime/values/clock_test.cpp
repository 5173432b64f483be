#include "runtime/values/clock.h"

#include <gtest/gtest.h>

#include "runtime/values/standard_date.h"

namespace carelog::values {
namespace {

class ClockTest : public ::testing::Test {
 protected:
  void TearDown() override { UseSystemClock(); }
};

TEST_F(ClockTest, RunsFromTheGivenMomentAndBackToTheSystemClock) {
  int32_t system_today = Today();
  int32_t wednesday = DayNumber(2026, 12, 9);
  ASSERT_TRUE(RunClockFrom(wednesday, BuildTime(10, 0, 0, 0)));
  EXPECT_EQ(Today(), wednesday);
  int32_t now = TimeOfDay();
  EXPECT_GE(now, BuildTime(10, 0, 0, 0));
  EXPECT_LT(now, BuildTime(10, 0, 5, 0)) << "the shifted clock runs at the system's pace";

  // Fixing the clock wins over the shift until the system clock is taken back.
  FixClock(wednesday + 2, BuildTime(23, 59, 0, 0));
  EXPECT_EQ(Today(), wednesday + 2);
  UseSystemClock();
  EXPECT_EQ(Today(), system_today);
}

TEST_F(ClockTest, RefusesAMomentOutOfRangeAndKeepsTheClock) {
  int32_t today = Today();
  EXPECT_FALSE(RunClockFrom(0, BuildTime(10, 0, 0, 0)));
  EXPECT_FALSE(RunClockFrom(DayNumber(2026, 12, 9), 9000000));
  EXPECT_EQ(Today(), today);
}

}  // namespace
}  // namespace carelog::values
