// Windows grown and shrunk by whoever sizes them: the list takes the extra room, the controls
// beside and below it keep their distance from the right and bottom edges, and shrinking back
// restores the designed layout exactly.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/host/input.h"
#include "runtime/host/window_system.h"
#include "runtime/window/window_testing.h"

namespace carelog::window {
namespace {

using namespace testing;  // NOLINT

// In pixels: a locator prompt above a sheet drawn around the list, a button row under the list
// (Print on the left, Insert on the right), a column of buttons and a drop list to its right
// and Close in the bottom right corner.
Entry BrowseLike() {
  Entry sheet = Make(kKindSheet, 1, Rect{4, 20, 300, 196});
  sheet.children = {WithText(Make(kKindTab, 9, Rect{}), "All")};
  Entry drop = Make(kKindList, 8, Rect{310, 60, 80, 16});
  drop.numbers[Field::kDropRows] = 5;
  return WindowEntry("GROW$WINDOW", 0,
                     {WithText(Make(kKindPrompt, 6, Rect{4, 2, 60, 14}), "Locate:"), sheet,
                      Make(kKindList, 2, Rect{8, 42, 290, 140}),
                      WithText(Make(kKindButton, 3, Rect{250, 190, 50, 18}), "&Insert"),
                      WithText(Make(kKindButton, 4, Rect{10, 190, 50, 18}), "&Print"),
                      WithText(Make(kKindButton, 5, Rect{310, 42, 80, 18}), "Doctors"), drop,
                      WithText(Make(kKindButton, 7, Rect{330, 220, 60, 18}), "Close")},
                     Rect{kNotGiven, kNotGiven, 400, 242});
}

// Each control's move and stretch since the window opened: "id:dx,dy,dw,dh".
std::string Changes(Structure& s, const std::vector<host::Rect>& opened) {
  std::string out;
  for (int id = 1; id <= 8; ++id) {
    const host::Rect r = s.Find(id)->pixels;
    const host::Rect& o = opened[static_cast<size_t>(id - 1)];
    out += (id > 1 ? " " : "") + std::to_string(id) + ":" + std::to_string(r.left - o.left) + "," +
           std::to_string(r.top - o.top) + "," + std::to_string(r.Width() - o.Width()) + "," +
           std::to_string(r.Height() - o.Height());
  }
  return out;
}

// Opens the window and logs how its controls changed after each EVENT:Sized.
void RunLoggingChanges(const std::string& label, Log* log) {
  Structure s(StructureKind::kWindow, label, kModule, {});
  if (!Open(s)) return;
  std::vector<host::Rect> opened;
  for (int id = 1; id <= 8; ++id) opened.push_back(s.Find(id)->pixels);
  while (Accept()) {
    if (Event() == event::kOpenWindow) log->Add("opened");
    if (Event() == event::kSized) log->Add(Changes(s, opened));
  }
  log->Add("closed");
}

class ResizeLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(host::SetHeadlessScreenSize({1600, 1000})); }
  void TearDown() override { host::SetHeadlessScreenSize({1024, 768}); }

  // Sizes the window's outer rectangle by (dw, dh) from its opened size.
  void Grow(host::WindowId w, host::Rect opened, int dw, int dh) {
    host::MoveWindow(w, host::Rect::FromSize(opened.left, opened.top, opened.Width() + dw,
                                             opened.Height() + dh));
  }

  host::WindowId WindowTitled(const std::string& title) {
    for (int i = 0; i < 2000; ++i) {
      for (host::WindowId w : host::TopLevelWindows()) {
        if (host::WindowText(w) == title) return w;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    ADD_FAILURE() << "no window titled " << title;
    return host::kNoWindow;
  }

  host::Automation automation;
};

constexpr const char* kDesigned =
    "1:0,0,0,0 2:0,0,0,0 3:0,0,0,0 4:0,0,0,0 5:0,0,0,0 6:0,0,0,0 7:0,0,0,0 8:0,0,0,0";

TEST_F(ResizeLayoutTest, TheListTakesTheRoomAndTheButtonsKeepTheirEdges) {
  Definitions defs({BrowseLike()});
  FatalErrors errors;
  Log log;
  Program program([&] { RunLoggingChanges("GROW$WINDOW", &log); });
  host::WindowId w = WindowTitled("GROW$WINDOW");
  EXPECT_TRUE(log.WaitFor("opened"));
  ASSERT_TRUE(automation.WaitIdle().ok);
  const host::Rect opened = host::WindowRect(w);
  Grow(w, opened, 100, 60);
  // Sheet and list stretch; Insert (under the list's right half) and Close follow both edges;
  // Print follows the bottom only; Doctors and the drop list the right edge only; the locator
  // prompt above stays.
  EXPECT_TRUE(
      log.WaitFor("1:0,0,100,60 2:0,0,100,60 3:100,60,0,0 4:0,60,0,0 5:100,0,0,0 6:0,0,0,0 "
                  "7:100,60,0,0 8:100,0,0,0"))
      << log.Lines().back();
  // A second step applies only the difference.
  Grow(w, opened, 40, 10);
  EXPECT_TRUE(
      log.WaitFor("1:0,0,40,10 2:0,0,40,10 3:40,10,0,0 4:0,10,0,0 5:40,0,0,0 6:0,0,0,0 "
                  "7:40,10,0,0 8:40,0,0,0"))
      << log.Lines().back();
  // Smaller than designed: the designed layout comes back exactly and stays.
  Grow(w, opened, -120, -80);
  ASSERT_TRUE(automation.WaitIdle().ok);
  EXPECT_EQ(log.Lines().back(), kDesigned);
  host::InjectClose(w);
  ASSERT_TRUE(log.WaitFor("closed"));
  EXPECT_TRUE(errors.Seen().empty());
}

TEST_F(ResizeLayoutTest, AWindowWithoutAListKeepsItsControlsWhereTheyAre) {
  Entry form =
      WindowEntry("FIXED$WINDOW", 0, {WithText(Make(kKindButton, 1, Rect{250, 150, 50, 18}), "OK")},
                  Rect{kNotGiven, kNotGiven, 300, 180});
  Definitions defs({form});
  FatalErrors errors;
  Log log;
  Program program([&] {
    Structure s(StructureKind::kWindow, "FIXED$WINDOW", kModule, {});
    if (!Open(s)) return;
    const host::Rect opened = s.Find(1)->pixels;
    while (Accept()) {
      if (Event() == event::kSized) log.Add(s.Find(1)->pixels == opened ? "kept" : "moved");
    }
    log.Add("closed");
  });
  host::WindowId w = WindowTitled("FIXED$WINDOW");
  ASSERT_TRUE(automation.WaitIdle().ok);
  Grow(w, host::WindowRect(w), 200, 100);
  EXPECT_TRUE(log.WaitFor("kept"));
  host::InjectClose(w);
  ASSERT_TRUE(log.WaitFor("closed"));
  EXPECT_TRUE(errors.Seen().empty());
}

}  // namespace
}  // namespace carelog::window
