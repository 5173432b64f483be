#include "runtime/window/close_down.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <atomic>

#include "runtime/host/input.h"
#include "runtime/host/window_system.h"
#include "runtime/window/message_box.h"
#include "runtime/window/window_testing.h"

namespace carelog::window {
namespace {

using namespace testing;  // NOLINT

constexpr int kChildReady = 0x401;

struct Family {
  Log log;
  std::atomic<int> refusals{0};      // CloseDown refusals left for child 2
  std::atomic<bool> closable{true};  // SetCloseDownAllowed for both children
};

void RunChild(Family* f, int n) {
  Structure w(StructureKind::kMdi, "CHILD$WINDOW", kModule, {});
  if (!Open(w)) return;
  std::string me = "child" + std::to_string(n);
  SetCloseDownAllowed(w, f->closable.load());
  while (Accept()) {
    if (Event() == event::kOpenWindow) Post(kChildReady, 0, 1);
    if (Event() == event::kCloseDown) {
      f->log.Add(me + " CloseDown");
      if (n == 2 && f->refusals.load() > 0) {
        --f->refusals;
        RefuseClose();
        f->log.Add(me + " refused");
      }
    }
    if (Event() == event::kCloseWindow) f->log.Add(me + " CloseWindow");
  }
  f->log.Add(me + " closed");
}

// The frame starts child 1, and child 2 once child 1 is open, so they open in that order.
void RunFrame(Family* f) {
  Structure frame(StructureKind::kApplication, "MAIN$APPFRAME", kModule, {});
  if (!Open(frame)) return;
  int children = 0;
  while (Accept()) {
    if (Event() == event::kOpenWindow || Event() == kChildReady) {
      if (children < 2) {
        ++children;
        Start([f, children] { RunChild(f, children); }, 0);
      } else {
        f->log.Add("ready");
      }
    }
    if (Event() == event::kCloseWindow) f->log.Add("frame CloseWindow");
  }
  f->log.Add("frame closed");
}

host::WindowId FrameWindow() {
  host::Automation automation;
  for (const host::WindowInfo& w : automation.Windows()) {
    if (w.kind == "frame") return w.window;
  }
  return host::kNoWindow;
}

// The lines of the log that contain `part`, in order.
std::vector<std::string> Lines(Log& log, const std::string& part) {
  std::vector<std::string> out;
  for (const std::string& l : log.Lines()) {
    if (l.find(part) != std::string::npos) out.push_back(l);
  }
  return out;
}

class CloseDownTest : public ::testing::Test {
 protected:
  Definitions defs{{WindowEntry("MAIN$APPFRAME", 0, {}, Rect{0, 0, 400, 300}),
                    WindowEntry("CHILD$WINDOW", 0, {}, Rect{0, 0, 100, 60})}};
  host::Automation automation;
};

TEST_F(CloseDownTest, ClosingTheFrameClosesItsMdiWindowsInOpeningOrder) {
  Family f;
  Program program([&] { RunFrame(&f); });
  ASSERT_TRUE(f.log.WaitFor("ready"));
  host::InjectClose(FrameWindow());
  ASSERT_TRUE(f.log.WaitFor("frame closed"));
  program.Join();
  EXPECT_EQ(Lines(f.log, " "),
            (std::vector<std::string>{"frame CloseWindow", "child1 CloseDown", "child1 closed",
                                      "child2 CloseDown", "child2 closed", "frame closed"}));
}

TEST_F(CloseDownTest, ARefusalAbandonsTheFrameClose) {
  Family f;
  f.refusals = 1;
  Program program([&] { RunFrame(&f); });
  ASSERT_TRUE(f.log.WaitFor("ready"));
  host::WindowId frame = FrameWindow();
  host::InjectClose(frame);
  ASSERT_TRUE(f.log.WaitFor("child2 refused"));
  ASSERT_TRUE(automation.WaitIdle().ok) << ::testing::PrintToString(f.log.Lines());
  EXPECT_TRUE(host::IsWindow(frame));
  EXPECT_EQ(Lines(f.log, "closed"), std::vector<std::string>{"child1 closed"});
  // The refusal was used up: a second close closes child 2, then the frame.
  host::InjectClose(frame);
  ASSERT_TRUE(f.log.WaitFor("frame closed"));
  program.Join();
  EXPECT_EQ(Lines(f.log, "closed"),
            (std::vector<std::string>{"child1 closed", "child2 closed", "frame closed"}));
}

TEST_F(CloseDownTest, NoClosableMdiWindowAbandonsWithABeep) {
  Family f;
  f.closable = false;
  Program program([&] { RunFrame(&f); });
  ASSERT_TRUE(f.log.WaitFor("ready"));
  host::WindowId frame = FrameWindow();
  int beeps = host::BeepCount();
  host::InjectClose(frame);
  ASSERT_TRUE(f.log.WaitFor("frame CloseWindow"));
  ASSERT_TRUE(automation.WaitIdle().ok);
  EXPECT_EQ(host::BeepCount(), beeps + 1);
  EXPECT_TRUE(host::IsWindow(frame));
  EXPECT_TRUE(Lines(f.log, "closed").empty());
  // The session ending closes everything regardless.
  ASSERT_TRUE(InstallSessionSignals());
  raise(SIGHUP);
  ASSERT_TRUE(f.log.WaitFor("frame closed"));
  program.Join();
  RemoveSessionSignals();
  EXPECT_EQ(Lines(f.log, "CloseWindow").size(), 4u);  // the frame twice, each child once
}

TEST_F(CloseDownTest, TheSessionQueryIsRefusedWithAMessage) {
  Family f;
  Program program([&] { RunFrame(&f); });
  ASSERT_TRUE(f.log.WaitFor("ready"));
  ASSERT_TRUE(InstallSessionSignals());
  raise(SIGTERM);
  host::WindowId box = host::kNoWindow;
  std::string text;
  for (int i = 0; i < 2000 && !CurrentMessageBox(&box, &text); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  EXPECT_EQ(text, "Application still active.\n\nQuit the application before quitting Windows.");
  EXPECT_EQ(host::WindowText(box), "window_tests");
  // System modal: the children wait as well as the frame.
  for (const host::WindowInfo& w : automation.Windows()) {
    if (w.kind == "frame") {
      EXPECT_FALSE(host::IsEnabled(w.window));
    }
  }
  ASSERT_TRUE(automation.Answer("OK").ok);
  ASSERT_TRUE(automation.WaitIdle().ok);
  RemoveSessionSignals();
  EXPECT_TRUE(host::IsWindow(FrameWindow()));
  EXPECT_TRUE(Lines(f.log, "closed").empty());
  host::InjectClose(FrameWindow());
  ASSERT_TRUE(f.log.WaitFor("frame closed"));
}

}  // namespace
}  // namespace carelog::window
