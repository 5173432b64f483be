#include <gtest/gtest.h>

#include <atomic>

#include "runtime/host/input.h"
#include "runtime/host/message_queue.h"
#include "runtime/host/messages.h"
#include "runtime/host/window_system.h"
#include "runtime/store/lodestar_driver.h"
#include "runtime/window/window_testing.h"

namespace carelog::window {
namespace {

using namespace testing;  // NOLINT

constexpr uint32_t kPoints = 0x300;

// A 150 x 75 point window with a button at its top, one far below and one far to the right.
Entry TallWindow() {
  Entry top = WithText(Make(kKindButton, 1, Rect{0, 0, 60, 20}), "Top");
  Entry low = WithText(Make(kKindButton, 2, Rect{0, 400, 60, 20}), "Low");
  Entry right = WithText(Make(kKindButton, 3, Rect{600, 0, 60, 20}), "Right");
  return WindowEntry("TALL$WINDOW", kPoints, {top, low, right}, Rect{0, 0, 150, 75});
}

// Where a control's window is now, within the window's client area.
std::string Placed(Structure& w, int equate) {
  Control* c = w.Find(equate);
  host::Rect r = host::WindowRect(c->handle);
  bool inside = host::ClientRect(w.handle).Intersect(r) == r;
  return std::to_string(r.left) + "," + std::to_string(r.top) + (inside ? " in" : " out");
}

TEST(WindowScrollTest, ASelectedControlIsScrolledIntoViewUnlessItSaysNo) {
  Definitions defs({TallWindow()});
  Log log;
  Program program([&] {
    Structure w(StructureKind::kWindow, "TALL$WINDOW", kModule, {});
    if (!Open(w)) return;
    w.Find(3)->flags |= control_flag::kNoScroll;
    std::vector<int> order = {2, 1, 3};
    size_t next = 0;
    while (Accept()) {
      if (Event() == event::kOpenWindow || Event() == event::kSelected) {
        if (Event() == event::kSelected) {
          log.Add(std::to_string(Field()) + " at " + Placed(w, Field()) + " top at " +
                  Placed(w, 1));
        }
        if (next == order.size()) break;
        Select(order[next++]);
      }
    }
  });
  program.Join();
  // 400 points are 533 pixels; the view is 100 pixels high, the button 27: scrolled by 460.
  EXPECT_EQ(log.Lines(),
            (std::vector<std::string>{"2 at 0,73 in top at 0,-460 out", "1 at 0,0 in top at 0,0 in",
                                      "3 at 800,0 out top at 0,0 in"}));
}

// A click at the middle of a control mostly below the bottom edge, as automation clicks: the
// press gives it the focus, and scrolling it up before the release would leave the release
// point below it and lose the click.
// Keyboard focus moves still scroll at once.
TEST(WindowScrollTest, AClickOnAPartlyHiddenControlScrollsAfterTheRelease) {
  Entry top = WithText(Make(kKindButton, 1, Rect{0, 0, 60, 20}), "Top");
  Entry low = WithText(Make(kKindButton, 2, Rect{0, 66, 60, 20}), "Low");
  Entry far = WithText(Make(kKindButton, 3, Rect{0, 400, 60, 20}), "Far");
  Definitions defs({WindowEntry("CLICK$WINDOW", kPoints, {top, low, far}, Rect{0, 0, 150, 75})});
  Log log;
  std::atomic<host::WindowId> window{host::kNoWindow}, button{host::kNoWindow};
  Program program([&] {
    Structure w(StructureKind::kWindow, "CLICK$WINDOW", kModule, {});
    if (!Open(w)) return;
    while (Accept()) {
      if (Event() == event::kOpenWindow) {
        button = w.Find(2)->handle;
        window = w.handle;
        log.Add("open");
      } else if (Event() == event::kSelected || Event() == event::kAccepted) {
        log.Add(Describe() + " at " + Placed(w, Field()));
      }
    }
    log.Add("closed");
  });
  ASSERT_TRUE(log.WaitFor("open"));
  host::WindowId top_level = host::TopLevelOf(window);
  host::Point origin = host::ClientOriginInTopLevel(host::ParentOf(button));
  host::Rect r = host::WindowRect(button);
  host::Point center{origin.x + (r.left + r.right) / 2, origin.y + (r.top + r.bottom) / 2};
  host::InjectMouseButton(top_level, center, host::MouseButton::kLeft, true);
  EXPECT_TRUE(log.WaitFor("Selected 2 at 0,88 out"));  // the program took the press first
  host::InjectMouseButton(top_level, center, host::MouseButton::kLeft, false);
  EXPECT_TRUE(log.WaitFor("Accepted 2 at 0,73 in"));
  host::InjectKey(host::key::kTab, true);
  host::InjectKey(host::key::kTab, false);
  EXPECT_TRUE(log.WaitFor("Selected 3 at 0,73 in"));
  host::InjectClose(top_level);
  ASSERT_TRUE(log.WaitFor("closed"));
  program.Join();
  std::vector<std::string> lines = log.Lines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "Accepted 2 at 0,73 in"), 1);
  EXPECT_EQ(lines.back(), "closed");
}

// A statement waiting for a lock keeps the thread's windows painted but takes no event.
TEST(LockWaitTest, WaitingServesPaintingOnly) {
  Definitions defs({TallWindow()});
  Log log;
  Program program([&] {
    Structure w(StructureKind::kWindow, "TALL$WINDOW", kModule, {});
    if (!Open(w)) return;
    host::Message m;
    while (host::PeekMessage(&m, host::kNoWindow, 0, 0, true)) host::DispatchMessage(m);
    host::Invalidate(w.handle);
    Post(event::kTimer);
    store::WaitBetweenAttempts();
    log.Add(std::string(
                host::PeekMessage(&m, host::kNoWindow, host::msg::kPaint, host::msg::kPaint, false)
                    ? "paint pending"
                    : "painted") +
            ", " + std::to_string(w.QueuedCount(event::kTimer)) + " timer queued");
  });
  program.Join();
  EXPECT_EQ(log.Lines(), std::vector<std::string>{"painted, 1 timer queued"});
}

}  // namespace
}  // namespace carelog::window
