#include "runtime/window/popup_menu.h"

#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "runtime/host/display.h"
#include "runtime/host/input.h"
#include "runtime/host/message_queue.h"
#include "runtime/host/window_system.h"

namespace carelog::window {
namespace {

MenuEntry Item(const std::string& text, int command) {
  MenuEntry e;
  e.text = text;
  e.command = command;
  e.message = text + " message";
  return e;
}

MenuEntry Separator() {
  MenuEntry e;
  e.separator = true;
  return e;
}

// Tracks a menu on a thread of its own that owns a plain window, and reports the result.
class MenuThread {
 public:
  MenuThread(std::vector<MenuEntry> entries, int x, int y, PopupOptions options = {})
      : entries_(std::move(entries)) {
    static bool started = [] {
      std::string error;
      return host::StartDisplay(host::DisplayChoice::kHeadless, &error);
    }();
    EXPECT_TRUE(started);
    thread_ = std::thread([this, x, y, options] {
      host::WindowSpec spec;
      spec.rect = host::Rect::FromSize(0, 0, 400, 300);
      spec.title = "Owner";
      owner_ = host::CreateWindow(spec);
      result_.set_value(TrackPopup(owner_, entries_, x, y, options));
      host::DestroyWindow(owner_);
    });
  }
  ~MenuThread() { thread_.join(); }

  // Waits until `depth` levels are open.
  std::vector<OpenPopupLevel> WaitForLevels(size_t depth) {
    for (int i = 0; i < 2000; ++i) {
      std::vector<OpenPopupLevel> levels = OpenPopupMenus();
      if (levels.size() == depth) return levels;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    ADD_FAILURE() << "the menu did not show " << depth << " levels";
    return {};
  }

  PopupResult Result() { return result_.get_future().get(); }

  host::WindowId owner_ = host::kNoWindow;

 private:
  std::vector<MenuEntry> entries_;
  std::promise<PopupResult> result_;
  std::thread thread_;
};

host::Point Centre(const host::Rect& r) {
  return host::Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

std::vector<MenuEntry> FileMenu() {
  MenuEntry recent = Item("&Recent", 0);
  recent.submenu = {Item("&One", 31), Item("&Two", 32)};
  MenuEntry off = Item("&Disabled", 40);
  off.greyed = true;
  return {Item("&New\tCtrl+N", 10), Item("&Open", 11), Separator(), recent, off, Item("E&xit", 12)};
}

TEST(PopupMenuTest, KeysMoveOverSeparatorsAndChoose) {
  MenuThread menu(FileMenu(), 50, 40);
  std::vector<OpenPopupLevel> levels = menu.WaitForLevels(1);
  ASSERT_EQ(levels.size(), 1u);
  EXPECT_EQ(levels[0].rect.left, 50);
  EXPECT_EQ(levels[0].texts[2], "");
  // Down x3: New, Open, then over the separator to Recent; Right opens it on its first item.
  for (const char* k : {"Down", "Down", "Down", "Right", "Down", "Enter"}) {
    ASSERT_TRUE(host::InjectKeyCombination(k));
  }
  PopupResult r = menu.Result();
  EXPECT_EQ(r.exit, PopupExit::kChosen);
  EXPECT_EQ(r.command, 32);
}

TEST(PopupMenuTest, HotkeysChooseAndGreyedEntriesAreNotChoosable) {
  {
    MenuThread menu(FileMenu(), 10, 10);
    menu.WaitForLevels(1);
    host::InjectText("d");  // greyed: ignored
    host::InjectText("x");
    EXPECT_EQ(menu.Result().command, 12);
  }
  {
    MenuThread menu(FileMenu(), 10, 10);
    menu.WaitForLevels(1);
    host::InjectText("r");  // a submenu title opens
    menu.WaitForLevels(2);
    host::InjectKeyCombination("Escape");  // closes the submenu only
    menu.WaitForLevels(1);
    host::InjectKeyCombination("Escape");
    PopupResult r = menu.Result();
    EXPECT_EQ(r.exit, PopupExit::kCancelled);
    EXPECT_EQ(r.command, 0);
  }
}

TEST(PopupMenuTest, MouseOpensSubmenusAndChoosesWithEitherButton) {
  MenuThread menu(FileMenu(), 900, 700);  // too near the corner: moved to stay on screen
  std::vector<OpenPopupLevel> levels = menu.WaitForLevels(1);
  ASSERT_EQ(levels.size(), 1u);
  EXPECT_LE(levels[0].rect.right, 1024);
  EXPECT_LE(levels[0].rect.bottom, 768);
  host::InjectMouseMove(levels[0].window, Centre(levels[0].items[3]));
  levels = menu.WaitForLevels(2);
  ASSERT_EQ(levels.size(), 2u);
  // No room on the right: the submenu opens on the left.
  EXPECT_LT(levels[1].rect.left, levels[0].rect.left);
  host::Point p = Centre(levels[1].items[0]);
  host::InjectMouseButton(levels[1].window, p, host::MouseButton::kRight, true);
  host::InjectMouseButton(levels[1].window, p, host::MouseButton::kRight, false);
  EXPECT_EQ(menu.Result().command, 31);
}

TEST(PopupMenuTest, PressOutsideCancelsAndReportsThePoint) {
  MenuThread menu(FileMenu(), 100, 100);
  std::vector<OpenPopupLevel> levels = menu.WaitForLevels(1);
  ASSERT_EQ(levels.size(), 1u);
  // The greyed entry is not chosen by a click either.
  host::Point off = Centre(levels[0].items[4]);
  host::InjectMouseButton(levels[0].window, off, host::MouseButton::kLeft, true);
  host::InjectMouseButton(levels[0].window, off, host::MouseButton::kLeft, false);
  host::InjectMouseButton(menu.owner_, host::Point{5, 6}, host::MouseButton::kLeft, true);
  PopupResult r = menu.Result();
  EXPECT_EQ(r.exit, PopupExit::kClickOutside);
  EXPECT_EQ(r.point, (host::Point{5, 6}));
}

TEST(PopupMenuTest, HighlightReportsMessagesAndLeftRightAreReported) {
  std::vector<std::string> seen;
  PopupOptions options;
  options.report_left_right = true;
  options.highlight_first = true;
  options.on_highlight = [&seen](const std::string& m) { seen.push_back(m); };
  MenuThread menu(FileMenu(), 10, 10, options);
  menu.WaitForLevels(1);
  host::InjectKeyCombination("Down");
  host::InjectKeyCombination("Right");
  PopupResult r = menu.Result();
  EXPECT_EQ(r.exit, PopupExit::kRight);
  EXPECT_EQ(seen, (std::vector<std::string>{"&New\tCtrl+N message", "&Open message", ""}));
}

}  // namespace
}  // namespace carelog::window
