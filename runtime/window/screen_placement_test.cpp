// Windows on a screen that is not 1024 x 768: opening maximized and minimized, centring and
// keeping windows, message boxes and popup menus on the screen, and the placement events the
// procedure hears whoever moves its window.
#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "runtime/host/display.h"
#include "runtime/host/input.h"
#include "runtime/host/window_system.h"
#include "runtime/window/message_box.h"
#include "runtime/window/popup_menu.h"
#include "runtime/window/window_testing.h"

namespace carelog::window {
namespace {

using namespace testing;  // NOLINT

constexpr host::Rect kScreen{0, 0, 1600, 1000};

Entry FrameEntry(uint32_t frame_attr) {
  Entry frame = WindowEntry("MAIN$APPFRAME", 0, {}, Rect{kNotGiven, kNotGiven, 480, 300});
  frame.numbers[Field::kFrame] = frame_attr;
  return frame;
}

// A plain window in pixels (unit bits 0), placed where `at` says.
Entry PlainEntry(const std::string& label, Rect at) {
  return WindowEntry(label, 0, {}, at);
}

class ScreenPlacementTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(host::SetHeadlessScreenSize({1600, 1000})); }
  void TearDown() override { host::SetHeadlessScreenSize({1024, 768}); }

  // The top-level window of the open structure titled `title`.
  host::WindowId WindowTitled(const std::string& title) {
    // From the window system itself: automation would wait for procedures to be idle.
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

// Opens the structure and logs its events until it closes.
void RunLogged(StructureKind kind, const std::string& label, Log* log) {
  Structure s(kind, label, kModule, {});
  if (!Open(s)) return;
  while (Accept()) log->Add(Describe());
  log->Add("closed");
}

// Opens a frame with this attribute word; its state once open, and its rectangle after the
// program restored it.
host::ShowState OpenFrame(uint32_t frame_attr, host::Rect* opened, host::Rect* restored) {
  Definitions defs({FrameEntry(frame_attr)});
  Log log;
  Program program([&] { RunLogged(StructureKind::kApplication, "MAIN$APPFRAME", &log); });
  EXPECT_TRUE(log.WaitFor("OpenWindow"));
  host::Automation automation;
  EXPECT_TRUE(automation.WaitIdle().ok);
  host::WindowId frame = host::kNoWindow;
  for (const host::WindowInfo& w : automation.Windows()) {
    if (w.kind == "frame") frame = w.window;
  }
  host::ShowState state = host::ShowStateOf(frame);
  *opened = host::WindowRect(frame);
  host::ShowWindow(frame, host::ShowState::kNormal);
  EXPECT_TRUE(automation.WaitIdle().ok);
  *restored = host::WindowRect(frame);
  host::InjectClose(frame);
  EXPECT_TRUE(log.WaitFor("closed"));
  return state;
}

TEST_F(ScreenPlacementTest, TheFrameOpensMaximizedOrMinimizedAsItsDefinitionAsks) {
  FatalErrors errors;
  host::Rect opened, restored;
  EXPECT_EQ(OpenFrame(0x5822, &opened, &restored), host::ShowState::kMaximized);
  EXPECT_EQ(opened, kScreen);
  // Restoring brings back the size the definition gives, centred on this screen.
  EXPECT_LT(restored.Width(), 1600);
  EXPECT_LE(std::abs(restored.left + restored.right - 1600), 1);
  EXPECT_LE(std::abs(restored.top + restored.bottom - 1000), 1);
  // 0x8000 alone opens minimized; with 0x4000 the window opens maximized.
  EXPECT_EQ(OpenFrame(0x9822, &opened, &restored), host::ShowState::kMinimized);
  EXPECT_EQ(OpenFrame(0xC822, &opened, &restored), host::ShowState::kMaximized);
  EXPECT_EQ(OpenFrame(0x1822, &opened, &restored), host::ShowState::kNormal);
  EXPECT_EQ(opened, restored);
  EXPECT_TRUE(errors.Seen().empty());
}

TEST_F(ScreenPlacementTest, PlainWindowsAreCentredOnTheScreenAndKeptOnIt) {
  Definitions defs({PlainEntry("CENTRED", Rect{kNotGiven, kNotGiven, 400, 200}),
                    PlainEntry("OFF EDGE", Rect{1500, 950, 400, 200}),
                    PlainEntry("TOO BIG", Rect{kNotGiven, kNotGiven, 2000, 1400})});
  FatalErrors errors;
  Log log;
  std::promise<void> looked;
  std::shared_future<void> done = looked.get_future().share();
  Program program([&] {
    Structure centred(StructureKind::kWindow, "CENTRED", kModule, {});
    Structure edge(StructureKind::kWindow, "OFF EDGE", kModule, {});
    Structure big(StructureKind::kWindow, "TOO BIG", kModule, {});
    bool ok = Open(centred) && Open(edge) && Open(big);
    log.Add(ok ? "opened" : "failed");
    done.wait();
  });
  bool opened = log.WaitFor("opened", std::chrono::seconds(5));
  if (!opened) looked.set_value();
  ASSERT_TRUE(opened) << errors.Seen().size();
  host::Rect centred = host::WindowRect(WindowTitled("CENTRED"));
  EXPECT_LE(std::abs(centred.left + centred.right - 1600), 1);
  EXPECT_LE(std::abs(centred.top + centred.bottom - 1000), 1);
  // Asked to start past the bottom right corner, the window keeps its size within the screen.
  host::Rect edge = host::WindowRect(WindowTitled("OFF EDGE"));
  EXPECT_EQ(edge.Width(), centred.Width());
  EXPECT_EQ(edge.right, 1600);
  EXPECT_EQ(edge.bottom, 1000);
  EXPECT_EQ(host::WindowRect(WindowTitled("TOO BIG")), kScreen);
  looked.set_value();
  program.Join();
  EXPECT_TRUE(errors.Seen().empty());
}

TEST_F(ScreenPlacementTest, MovesSizesAndStateChangesReachTheProcedureOnce) {
  Definitions defs({FrameEntry(0x5822)});
  FatalErrors errors;
  Log log;
  Program program([&] { RunLogged(StructureKind::kApplication, "MAIN$APPFRAME", &log); });
  ASSERT_TRUE(log.WaitFor("OpenWindow"));
  host::WindowId frame = WindowTitled("MAIN$APPFRAME");
  ASSERT_TRUE(automation.WaitIdle().ok);
  // As a window manager does it: the state first, then the size it gave the window.
  host::InjectWindowState(frame, host::ShowState::kNormal);
  ASSERT_TRUE(log.WaitFor("Restored"));
  host::MoveWindow(frame, host::Rect::FromSize(10, 20, 500, 300));
  ASSERT_TRUE(log.WaitFor("Moved"));
  ASSERT_TRUE(log.WaitFor("Sized"));
  host::InjectWindowState(frame, host::ShowState::kMinimized);
  ASSERT_TRUE(log.WaitFor("Iconized"));
  host::InjectWindowState(frame, host::ShowState::kMaximized);
  ASSERT_TRUE(log.WaitFor("Maximized"));
  ASSERT_TRUE(automation.WaitIdle().ok);
  // The state reported by the display is not resized here: the display sends its own size.
  EXPECT_EQ(host::WindowRect(frame), host::Rect::FromSize(10, 20, 500, 300));
  host::InjectClose(frame);
  ASSERT_TRUE(log.WaitFor("closed"));
  std::vector<std::string> lines = log.Lines();
  EXPECT_EQ(lines, (std::vector<std::string>{"OpenWindow", "Restored", "Moved", "Sized", "Iconized",
                                             "Maximized", "CloseWindow", "closed"}));
  EXPECT_TRUE(errors.Seen().empty());
}

TEST_F(ScreenPlacementTest, AMessageBoxIsCentredOnTheMaximizedFrame) {
  Definitions defs({FrameEntry(0x5822)});
  FatalErrors errors;
  Log log;
  Program program([&] {
    Structure frame(StructureKind::kApplication, "MAIN$APPFRAME", kModule, {});
    if (!Open(frame)) return;
    while (Accept()) {
      if (Event() != event::kOpenWindow) continue;
      log.Add("answer " + std::to_string(Message("Saved.", "Visits", 0, 1, 0)));
      break;
    }
  });
  host::WindowId box = host::kNoWindow;
  for (int i = 0; i < 2000 && box == host::kNoWindow; ++i) {
    for (const host::WindowInfo& w : automation.Windows()) {
      if (w.kind == "message") box = w.window;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  ASSERT_NE(box, host::kNoWindow);
  host::Rect r = host::WindowRect(box);
  EXPECT_LE(std::abs(r.left + r.right - 1600), 1);
  EXPECT_LE(std::abs(r.top + r.bottom - 1000), 1);
  ASSERT_TRUE(automation.Answer("OK").ok);
  ASSERT_TRUE(log.WaitFor("answer 1"));
  program.Join();
  EXPECT_TRUE(errors.Seen().empty());
}

TEST_F(ScreenPlacementTest, APopupMenuNearTheEdgeStaysOnTheScreen) {
  std::string error;
  ASSERT_TRUE(host::StartDisplay(host::DisplayChoice::kHeadless, &error));
  MenuEntry open;
  open.text = "&Open";
  open.command = 1;
  MenuEntry more;
  more.text = "&More";
  more.submenu = {open};
  std::promise<PopupResult> result;
  std::thread menu([&] {
    host::WindowSpec spec;
    spec.rect = host::Rect::FromSize(1000, 600, 600, 400);
    spec.title = "Owner";
    host::WindowId owner = host::CreateWindow(spec);
    result.set_value(TrackPopup(owner, {open, more}, 1590, 990, PopupOptions{}));
    host::DestroyWindow(owner);
  });
  std::vector<OpenPopupLevel> levels;
  for (int i = 0; i < 2000 && levels.empty(); ++i) {
    levels = OpenPopupMenus();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  ASSERT_EQ(levels.size(), 1u);
  host::Rect first = levels[0].rect;
  EXPECT_EQ(first.right, 1600);
  EXPECT_EQ(first.bottom, 1000);
  // The submenu opens to the left, as there is no room to the right.
  host::InjectKeyCombination("Down");
  host::InjectKeyCombination("Down");
  host::InjectKeyCombination("Right");
  for (int i = 0; i < 2000 && levels.size() < 2; ++i) {
    levels = OpenPopupMenus();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  ASSERT_EQ(levels.size(), 2u);
  EXPECT_LE(levels[1].rect.right, first.left + 2);
  EXPECT_LE(levels[1].rect.bottom, 1000);
  host::InjectKeyCombination("Escape");
  host::InjectKeyCombination("Escape");
  menu.join();
  EXPECT_EQ(result.get_future().get().command, 0);
}

}  // namespace
}  // namespace carelog::window
