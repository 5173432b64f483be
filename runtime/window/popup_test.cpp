#include "runtime/window/popup.h"

#include <gtest/gtest.h>

#include "runtime/host/input.h"
#include "runtime/host/window_system.h"
#include "runtime/window/window_testing.h"

namespace carelog::window {
namespace {

using namespace testing;  // NOLINT

// "text#command" per entry, separators as "-", submenus in braces, greyed "~", checked "+".
std::string Outline(const std::vector<MenuEntry>& entries) {
  std::string out;
  for (const MenuEntry& e : entries) {
    if (!out.empty()) out += " ";
    if (e.separator) {
      out += "-";
      continue;
    }
    out += (e.greyed ? "~" : "") + std::string(e.checked ? "+" : "") + e.text;
    if (e.command) out += "#" + std::to_string(e.command);
    if (!e.submenu.empty()) out += "{" + Outline(e.submenu) + "}";
  }
  return out;
}

TEST(PopupTextTest, ItemsAreNumberedInTextOrderAcrossSubmenus) {
  PopupMenuText menu = ParsePopupText("Insert|Change|-|Delete");
  EXPECT_EQ(Outline(menu.entries), "Insert#1 Change#2 - Delete#3");
  EXPECT_EQ(menu.items, 3);
  EXPECT_EQ(Outline(ParsePopupText("~A|+B|-C|~+D").entries), "~A#1 +B#2 C#3 ~+D#4");
  EXPECT_EQ(Outline(ParsePopupText("New|Open{One|Two{Deep}|Three}|Exit").entries),
            "New#1 Open{One#2 Two{Deep#3} Three#4} Exit#5");
}

TEST(PopupTextTest, MalformedTextIsReadLeniently) {
  // Unmatched closing braces end nothing; missing ones are supplied.
  EXPECT_EQ(Outline(ParsePopupText("a}|b}}|c").entries), "a#1 b#2 c#3");
  EXPECT_EQ(Outline(ParsePopupText("a{b|c{d").entries), "a{b#1 c{d#2}}");
  // Empty items vanish; an empty submenu greys its title.
  EXPECT_EQ(Outline(ParsePopupText("||a||{}|").entries), "a#1 ~");
  EXPECT_EQ(Outline(ParsePopupText("").entries), "");
  // A lone '-' after '~' is an empty greyed item, not a separator.
  EXPECT_EQ(Outline(ParsePopupText("~-").entries), "~#1");
  // Labels are cut to the limit.
  PopupMenuText big = ParsePopupText(std::string(5000, 'x') + "|y");
  EXPECT_EQ(big.entries[0].text.size(), kMaxPopupItemText);
  EXPECT_EQ(big.entries[1].command, 2);
  // Nesting beyond the limit is flattened, and the numbering goes on.
  std::string deep;
  for (int i = 0; i < 40; ++i) deep += "s{";
  deep += "leaf}|after";
  PopupMenuText flat = ParsePopupText(deep);
  EXPECT_EQ(flat.items, 2);
  int depth = 0;
  for (const std::vector<MenuEntry>* level = &flat.entries;
       !level->empty() && !level->front().submenu.empty(); level = &level->front().submenu) {
    ++depth;
  }
  EXPECT_EQ(depth, kMaxPopupDepth);
}

Entry PlainWindow() {
  return WindowEntry("POP$WINDOW", 0, {}, Rect{0, 0, 200, 100});
}

std::vector<OpenPopupLevel> WaitForMenu(size_t levels) {
  for (int i = 0; i < 2000; ++i) {
    std::vector<OpenPopupLevel> open = OpenPopupMenus();
    if (open.size() == levels) return open;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  ADD_FAILURE() << "no popup menu with " << levels << " levels";
  return {};
}

// Runs POPUP in a window's procedure and logs "chose N".
void RunPopup(const std::string& text, int64_t x, int64_t y, Log* log) {
  Structure w(StructureKind::kWindow, "POP$WINDOW", kModule, {});
  if (!Open(w)) return;
  while (Accept()) {
    if (Event() == event::kOpenWindow) {
      log->Add("chose " + std::to_string(Popup(text, x, y)));
      break;
    }
  }
}

TEST(PopupTest, ChoosesByKeysAndMouseAndCancelsToZero) {
  Definitions defs({PlainWindow()});
  {
    Log log;
    Program program([&] { RunPopup("Insert|Change|-|Delete", 10, 20, &log); });
    std::vector<OpenPopupLevel> open = WaitForMenu(1);
    ASSERT_EQ(open.size(), 1u);
    host::Rect frame = host::WindowRect(host::OwnerOf(open[0].window));
    host::Point origin = host::ClientOriginInTopLevel(host::OwnerOf(open[0].window));
    EXPECT_EQ(open[0].rect.left, frame.left + origin.x + 10);
    EXPECT_EQ(open[0].rect.top, frame.top + origin.y + 20);
    for (const char* k : {"Down", "Down", "Down", "Enter"}) host::InjectKeyCombination(k);
    EXPECT_TRUE(log.WaitFor("chose 3"));
  }
  {
    Log log;
    Program program([&] { RunPopup("Insert|Change{A|B}|Delete", 10, 20, &log); });
    std::vector<OpenPopupLevel> open = WaitForMenu(1);
    ASSERT_EQ(open.size(), 1u);
    const host::Rect& change = open[0].items[1];
    host::InjectMouseMove(open[0].window, host::Point{change.left + 5, change.top + 5});
    open = WaitForMenu(2);
    ASSERT_EQ(open.size(), 2u);
    const host::Rect& b = open[1].items[1];
    host::InjectMouseButton(open[1].window, host::Point{b.left + 5, b.top + 5},
                            host::MouseButton::kLeft, true);
    host::InjectMouseButton(open[1].window, host::Point{b.left + 5, b.top + 5},
                            host::MouseButton::kLeft, false);
    EXPECT_TRUE(log.WaitFor("chose 3"));
  }
  {
    Log log;
    Program program([&] { RunPopup("~Greyed|Other", 10, 20, &log); });
    WaitForMenu(1);
    host::InjectKeyCombination("Down");  // highlights the greyed item: Enter does nothing
    host::InjectKeyCombination("Enter");
    host::InjectKeyCombination("Escape");
    EXPECT_TRUE(log.WaitFor("chose 0"));
  }
}

TEST(PopupTest, AMenuDestroyedWithItsOwnerChoosesNothing) {
  Definitions defs({PlainWindow()});
  Log log;
  Program program([&] { RunPopup("One|Two", 0, 0, &log); });
  std::vector<OpenPopupLevel> open = WaitForMenu(1);
  ASSERT_EQ(open.size(), 1u);
  host::DestroyWindow(host::OwnerOf(open[0].window));
  EXPECT_TRUE(log.WaitFor("chose 0"));
}

TEST(PopupTest, TheMousePointerPlacesTheMenu) {
  Definitions defs({PlainWindow()});
  Log log;
  Program program([&] {
    Structure w(StructureKind::kWindow, "POP$WINDOW", kModule, {});
    if (!Open(w)) return;
    while (Accept()) {
      if (Event() == event::kOpenWindow) {
        host::WindowId top = host::TopLevelOf(w.handle);
        host::InjectMouseMove(top, host::Point{30, 40});
        host::Rect r = host::WindowRect(top);
        log.Add("pointer " + std::to_string(r.left + 30) + "," + std::to_string(r.top + 40));
        log.Add("chose " + std::to_string(Popup("One|Two")));
        break;
      }
    }
  });
  std::vector<OpenPopupLevel> open = WaitForMenu(1);
  ASSERT_EQ(open.size(), 1u);
  EXPECT_TRUE(log.WaitFor("pointer " + std::to_string(open[0].rect.left) + "," +
                          std::to_string(open[0].rect.top)));
  host::InjectText("t");  // no hotkey marks: nothing happens
  host::InjectKeyCombination("Escape");
  EXPECT_TRUE(log.WaitFor("chose 0"));
}

}  // namespace
}  // namespace carelog::window
