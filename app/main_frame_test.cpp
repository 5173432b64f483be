// MAIN in process, headless, with its embedded frame definition.
#include "app/main_frame.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

#include "app/app_testing.h"
#include "app/procedure_globals.h"
#include "runtime/host/message_queue.h"
#include "runtime/host/messages.h"
#include "runtime/values/clock.h"
#include "runtime/values/picture.h"
#include "runtime/values/standard_date.h"
#include "runtime/window/properties.h"
#include "runtime/window/status_bar.h"
#include "runtime/window/window_testing.h"

namespace carelog::app {
namespace {

namespace wt = window::testing;
using std::chrono::milliseconds;

// What the test reads of the frame, under the global semaphore as procedure code would (only
// while the program runs: an ended program keeps the semaphore).
struct FrameView {
  bool open = false;
  host::WindowId handle = host::kNoWindow;
  std::string title;
  std::string date_zone, time_zone;
  host::FontSpec font;
  int timer = 0;
};

FrameView ReadFrame() {
  FrameView view;
  window::internal::TakeSemaphore();
  window::Structure* frame = window::TopWindowOf(1);
  if (frame && frame->is_open() && frame->kind() == window::StructureKind::kApplication) {
    view.open = true;
    view.handle = frame->handle;
    view.title = frame->title;
    view.date_zone = window::internal::StatusText(*frame, kDateZone);
    view.time_zone = window::internal::StatusText(*frame, kTimeZone);
    view.font = frame->font;
    view.timer = frame->timer_period;
  }
  window::internal::ReleaseSemaphore();
  return view;
}

template <typename Condition>
bool WaitUntil(Condition condition, milliseconds timeout = milliseconds(10000)) {
  auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(milliseconds(5));
  }
  return true;
}

class MainFrameTest : public ::testing::Test {
 protected:
  void SetUp() override { DisplayFont = DisplayFontSettings{}; }
  void TearDown() override {
    if (program_) Close();
    values::UseSystemClock();
    DisplayFont = DisplayFontSettings{};
  }

  // Starts MAIN as the program's first thread and waits for its frame.
  FrameView Start() {
    program_ = std::make_unique<wt::Program>([] { MAIN(); });
    EXPECT_TRUE(WaitUntil([] { return ReadFrame().open; }));
    host::Automation automation;
    EXPECT_TRUE(automation.WaitIdle().ok);
    return ReadFrame();
  }

  // Asks the frame to close, as its close box would, and waits until the program has ended.
  void Close() {
    FrameView frame = ReadFrame();
    if (frame.open) host::PostMessage(frame.handle, host::msg::kClose);
    program_->Join();
    program_.reset();
    DisposeAppFrame();
  }

  testing::TempWorkingDirectory directory_;
  std::unique_ptr<wt::Program> program_;
};

int32_t Wednesday() {
  return values::DayNumber(2026, 12, 9);
}

TEST(DateZone, DayNamesClippedBeforeTheComma) {
  EXPECT_EQ(DayAndDateText(Wednesday()).substr(0, 11), "Wednesday, ");
  EXPECT_EQ(DayAndDateText(Wednesday() + 2).substr(0, 8), "Friday, ");
  EXPECT_EQ(DayAndDateText(Wednesday() + 4).substr(0, 8), "Sunday, ");
  EXPECT_EQ(DayAndDateText(Wednesday() + 6).substr(0, 9), "Tuesday, ");
  EXPECT_EQ(DayAndDateText(4).substr(0, 10), "Thursday, ") << "1 January 1801";
}

TEST_F(MainFrameTest, OpensTheFrameWithItsTitleTimerAndDateAndTimeZones) {
  values::FixClock(Wednesday(), values::BuildTime(10, 30, 0, 0));
  FrameView frame = Start();
  EXPECT_EQ(frame.title, "The Care Log");
  EXPECT_EQ(frame.timer, 100);
  EXPECT_EQ(frame.date_zone, "Wednesday, " + values::Format(Wednesday(), "@D4"));
  EXPECT_EQ(frame.time_zone, TimeText(values::BuildTime(10, 30, 0, 0)));
  EXPECT_EQ(window::SystemProperty(window::prop::kKey), 1) << "set before the frame opens";
}

TEST_F(MainFrameTest, TheTimeZoneKeepsThePicturesLeadingBlank) {
  EXPECT_EQ(TimeText(values::BuildTime(9, 5, 0, 0)), " 9:05AM");
  values::FixClock(Wednesday(), values::BuildTime(9, 5, 0, 0));
  EXPECT_EQ(Start().time_zone, " 9:05AM");
}

TEST_F(MainFrameTest, OnAFridayTheNameIsClippedToSixLetters) {
  values::FixClock(Wednesday() + 2, values::BuildTime(9, 0, 0, 0));
  FrameView frame = Start();
  EXPECT_EQ(frame.date_zone.substr(0, 8), "Friday, ");
}

TEST_F(MainFrameTest, TheTimeZoneFollowsTheClockOnTheTimer) {
  values::FixClock(Wednesday(), values::BuildTime(10, 30, 0, 0));
  FrameView before = Start();
  values::FixClock(Wednesday() + 1, values::BuildTime(14, 45, 0, 0));
  std::string later = TimeText(values::BuildTime(14, 45, 0, 0));
  ASSERT_NE(before.time_zone, later);
  EXPECT_TRUE(WaitUntil([&] { return ReadFrame().time_zone == later; }, milliseconds(5000)))
      << ReadFrame().time_zone;
  EXPECT_EQ(ReadFrame().date_zone.substr(0, 10), "Thursday, ");
}

TEST_F(MainFrameTest, AFontOfSevenPointsOrMoreIsTheFramesFont) {
  testing::WriteFontsFile({{"Courier New", 12, 0, 700}});
  FrameView frame = Start();
  EXPECT_EQ(frame.font.face, "Courier New");
  EXPECT_EQ(frame.font.points, 12);
  EXPECT_EQ(frame.font.weight, 700);
  EXPECT_EQ(DisplayFont.typeface, "Courier New");
}

TEST_F(MainFrameTest, AFontOfSixPointsOrLessChangesNothing) {
  FrameView plain = Start();
  Close();
  testing::WriteFontsFile({{"Courier New", 6, 0, 700}});
  FrameView frame = Start();
  EXPECT_EQ(frame.font, plain.font);
  EXPECT_EQ(DisplayFont.size, 6);
}

// A browse stand-in: an MDI child on a thread of its own that logs how its loop ended.
void RunChild(wt::Log* log, const std::string& name) {
  window::Structure child(window::StructureKind::kMdi, "CHILD$WINDOW", wt::kModule,
                          window::UseTable{});
  if (!window::Open(child)) return;
  log->Add(name + " open");
  while (window::Accept()) {
    if (window::Event() == window::event::kCloseDown) log->Add(name + " close-down");
  }
  log->Add(name + " ended");
}

TEST_F(MainFrameTest, ClosingTheFrameClosesTwoMdiWindowsFirstInOpeningOrder) {
  testing::RegisterTestWindows();
  wt::Log log;
  Start();
  ASSERT_NE(window::Start([&] { RunChild(&log, "first"); }, 25000), 0);
  ASSERT_TRUE(log.WaitFor("first open"));
  ASSERT_NE(window::Start([&] { RunChild(&log, "second"); }, 25000), 0);
  ASSERT_TRUE(log.WaitFor("second open"));
  Close();  // returns once MAIN and both threads have ended
  EXPECT_EQ(log.Lines(),
            (std::vector<std::string>{"first open", "second open", "first close-down",
                                      "first ended", "second close-down", "second ended"}));
}

TEST_F(MainFrameTest, ATimerIntervalOutsideOneToAHundredBecomesAHundred) {
  testing::RegisterTestWindows();
  for (auto [defined, expected] : {std::pair{0, 100}, std::pair{1, 1}, std::pair{50, 50},
                                   std::pair{100, 100}, std::pair{101, 100}, std::pair{150, 100}}) {
    SCOPED_TRACE(defined);
    static std::string label;
    label = "TIMER" + std::to_string(defined) + "$APPFRAME";
    program_ = std::make_unique<wt::Program>([] {
      RunFrameProcedure(FrameProcedureTable{"TESTFRAME", wt::kModule, label.c_str(), {}});
    });
    ASSERT_TRUE(WaitUntil([] { return ReadFrame().open; }));
    EXPECT_EQ(ReadFrame().timer, expected);
    Close();
  }
}

TEST_F(MainFrameTest, ExitClosesTheFrameAndEndsTheProgram) {
  Start();
  host::Automation automation;
  host::AutomationResult chosen = automation.Menu({"&File", "E&xit"});
  ASSERT_TRUE(chosen.ok) << chosen.message;
  EXPECT_TRUE(WaitUntil([&] { return automation.Windows().empty(); }));
  program_->Join();
  program_.reset();
  DisposeAppFrame();
}

TEST_F(MainFrameTest, ChoosingAProcedureThatIsNotBuiltDoesNothing) {
  Start();
  host::Automation automation;
  for (std::vector<std::string> path :
       {std::vector<std::string>{"&Report", "Print Daily &Visit Log"},
        {"&Report", "Print &Notes"}}) {
    host::AutomationResult chosen = automation.Menu(path);
    EXPECT_TRUE(chosen.ok) << chosen.message;
    EXPECT_TRUE(automation.WaitIdle().ok);
  }
  EXPECT_EQ(automation.Windows().size(), 1u);
  EXPECT_EQ(window::RunningThreads(), 0);
  EXPECT_TRUE(ReadFrame().open);
}

TEST_F(MainFrameTest, ClosingTheFrameEndsTheProgram) {
  Start();
  Close();  // would hang if MAIN's loop did not end
  EXPECT_EQ(ProcResponse, kRespCancelled);
}

}  // namespace
}  // namespace carelog::app
