#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

#include "runtime/host/input.h"
#include "runtime/host/message_queue.h"
#include "runtime/host/messages.h"
#include "runtime/host/window_system.h"
#include "runtime/window/help.h"
#include "runtime/window/menu_model.h"
#include "runtime/window/popup_menu.h"
#include "runtime/window/properties.h"
#include "runtime/window/window_testing.h"

namespace carelog::window {
namespace {

using namespace testing;  // NOLINT

// The program's own frame, embedded with the program's definitions.
constexpr const char* kFrameModule = "carelog.cpp$carelog";
constexpr uint32_t kPoints = 0x300;

Entry MenuEntry(uint8_t kind, int id, const std::string& text, uint32_t attr = 0) {
  Entry e;
  e.kind = kind;
  e.id = id;
  e.attr = attr;
  if (!text.empty()) e.strings[Field::kText] = text;
  return e;
}

Entry Menu(int id, const std::string& text, std::vector<Entry> items) {
  Entry menu = MenuEntry(kKindMenu, id, text);
  menu.children = std::move(items);
  return menu;
}

Entry WithMenuBar(Entry window, std::vector<Entry> menus) {
  Entry bar;
  bar.kind = kKindMenuBar;
  bar.children = std::move(menus);
  window.menubar = {bar};
  return window;
}

// An MDI window with an entry (1) and a menu that shares "&File" with the frame's, adds a
// "&Tools" menu, and has a disabled item.
Entry ChildWithMenu() {
  Entry entry = Make(kKindEntry, 1, Rect{8, 8, 120, 18});
  entry.use = UseType{0x12, 20};
  Entry save = MenuEntry(kKindItem, -2, "&Save");
  save.numbers[Field::kKey] = 'S' | host::modifier::kCtrl;
  return WithMenuBar(WindowEntry("CHILD$MENU", kPoints, {entry}, Rect{0, 0, 200, 100}),
                     {Menu(-1, "&FILE", {save, MenuEntry(kKindItem, -3, "E&xit")}),
                      Menu(-4, "&Tools",
                           {MenuEntry(kKindItem, -5, "&Check"),
                            MenuEntry(kKindItem, -6, "&Locked", menu_attr::kDisabled)})});
}

// An MDI window without a menu or status bar, with an entry (1) holding "Ann Lee".
Entry PlainChild(const std::string& label) {
  Entry entry = Make(kKindEntry, 1, Rect{8, 8, 120, 18});
  entry.use = UseType{0x12, 20};
  return WindowEntry(label, kPoints, {entry}, Rect{0, 0, 200, 100});
}

struct ChildVariables {
  char name[20];
  ChildVariables() {
    std::string text = "Ann Lee";
    text.resize(sizeof(name), ' ');
    std::memcpy(name, text.data(), sizeof(name));
  }
};

// MDI window procedure: logs "<name> <event>"; `on_open` runs on its OpenWindow.
void RunChild(const std::string& label, const std::string& name, Log* log,
              const std::function<void()>& on_open = {}) {
  ChildVariables v;
  Structure child(StructureKind::kMdi, label, kModule, {use::String(1, v.name)});
  if (!Open(child)) return;
  while (Accept()) {
    log->Add(name + " " + Describe());
    if (Event() == event::kOpenWindow && on_open) on_open();
  }
  log->Add(name + " closed");
}

// The frame procedure: opens MAIN$APPFRAME and starts one thread per child.
void RunFrame(Log* log, const std::vector<std::function<void()>>& children) {
  Structure frame(StructureKind::kApplication, "MAIN$APPFRAME", kFrameModule, {});
  if (!Open(frame)) return;
  while (Accept()) {
    log->Add("frame " + Describe());
    if (Event() != event::kOpenWindow) continue;
    SetProperty(0, prop::kStatusText, "Ready", 2);
    for (const auto& child : children) Start(child, 0);
  }
  log->Add("frame closed");
}

class MenuTest : public ::testing::Test {
 protected:
  host::WindowId WindowOfKind(const std::string& kind, const std::string& title = "") {
    for (const host::WindowInfo& w : automation.Windows()) {
      if (w.kind == kind && (title.empty() || w.title == title)) return w.window;
    }
    return host::kNoWindow;
  }
  host::WindowInfo InfoOf(host::WindowId window) {
    for (const host::WindowInfo& w : automation.Windows()) {
      if (w.window == window) return w;
    }
    return host::WindowInfo{};
  }
  const host::ControlInfo* Find(const host::WindowInfo& w, const std::string& text) {
    for (const host::ControlInfo& c : w.controls) {
      if (c.text == text || c.name == text) return &c;
    }
    return nullptr;
  }
  // Waits until zone `zone` of the frame shows `text` (the dropdowns run on their own).
  std::string ZoneShows(int zone, const std::string& text) {
    for (int i = 0; i < 1000 && ZoneText(zone) != text; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return ZoneText(zone);
  }
  std::string ZoneText(int zone) {
    host::WindowInfo frame = InfoOf(WindowOfKind("frame"));
    const host::ControlInfo* c = Find(frame, "zone" + std::to_string(zone));
    return c ? c->text : "<no zone>";
  }
  bool Choose(const std::vector<std::string>& path) {
    host::AutomationResult r = automation.Menu(path);
    EXPECT_TRUE(r.ok) << r.message;
    return r.ok && automation.WaitIdle().ok;
  }
  // Closes the MDI windows (title and name in the log), then the frame.
  void CloseAll(Log* log, const std::vector<std::pair<std::string, std::string>>& children) {
    for (const auto& [title, name] : children) {
      host::WindowId w = WindowOfKind("mdi", title);
      if (w) host::PostMessage(w, host::msg::kClose);
    }
    for (const auto& [title, name] : children) {
      ASSERT_TRUE(log->WaitFor(name + " closed")) << automation.Dump();
    }
    host::InjectClose(WindowOfKind("frame"));
    ASSERT_TRUE(log->WaitFor("frame closed"));
  }
  int Count(Log* log, const std::string& line) {
    auto lines = log->Lines();
    return static_cast<int>(std::count(lines.begin(), lines.end(), line));
  }

  host::Automation automation;
};

TEST(MenuModelTest, CommandNumbersAreSixteenBitsAboveTheEquate) {
  EXPECT_EQ(CommandOf(-2), 0x3FFE);
  EXPECT_EQ(CommandOf(5), 0x4005);
  for (int equate : {-300, -1, 0, 1, 2000}) EXPECT_EQ(EquateOfCommand(CommandOf(equate)), equate);
  EXPECT_EQ(host::HotkeyOf("Print &Notes"), 'N');
  EXPECT_EQ(host::HotkeyOf("Fish && &chips"), 'C');
  EXPECT_EQ(host::HotkeyOf("None"), 0);
}

TEST(MenuModelTest, MergingUpdatesEqualTextsInPlaceAndAddsTheRest) {
  std::vector<std::unique_ptr<Control>> owned;
  auto make = [&](uint8_t kind, const std::string& text, uint32_t attr = 0) {
    owned.push_back(std::make_unique<Control>());
    owned.back()->kind = kind;
    owned.back()->text = text;
    owned.back()->attr = attr;
    return MenuNode{owned.back().get(), {}};
  };
  MenuNode file = make(kKindMenu, "&File");
  file.children = {make(kKindItem, "&Open"), make(kKindItem, ""), make(kKindItem, "E&xit")};
  std::vector<MenuNode> frame = {file, make(kKindMenu, "&Help")};

  MenuNode child_file = make(kKindMenu, "&FILE");  // equal by the collating comparison
  MenuNode exit = make(kKindItem, "e&xit");
  child_file.children = {exit, make(kKindItem, ""), make(kKindMenu, "&Open")};
  std::string long_text(120, 'x');
  MenuNode tools = make(kKindMenu, long_text + "a");
  std::vector<MenuNode> merged = frame;
  MergeMenus(&merged, {child_file, tools});
  MergeMenus(&merged, {make(kKindMenu, long_text + "b")});  // equal in its first 100 characters

  ASSERT_EQ(merged.size(), 3u);
  EXPECT_EQ(merged[0].control, child_file.control);
  const std::vector<MenuNode>& items = merged[0].children;
  // "e&xit" replaced "E&xit"; the separator and the menu "&Open" (another kind than the item
  // "&Open") were added.
  ASSERT_EQ(items.size(), 5u);
  EXPECT_EQ(items[2].control, exit.control);
  EXPECT_TRUE(IsSeparator(*items[3].control));
  EXPECT_EQ(items[4].control->kind, kKindMenu);
  EXPECT_EQ(merged[2].control->text, long_text + "b");
  // The frame's own tree is left as it was.
  EXPECT_EQ(frame[0].children.size(), 3u);
}

TEST_F(MenuTest, FrameMenuComesFromItsDefinitionAndItemsQueueAccepted) {
  FatalErrors errors;
  Log log;
  Program program([&] { RunFrame(&log, {}); });
  ASSERT_TRUE(log.WaitFor("frame OpenWindow"));
  ASSERT_TRUE(automation.WaitIdle().ok);
  host::WindowInfo frame = InfoOf(WindowOfKind("frame"));
  std::vector<std::string> menus, report;
  for (const host::ControlInfo& c : frame.controls) {
    if (c.kind == "menu") menus.push_back(c.text);
  }
  std::sort(menus.begin(), menus.end());
  EXPECT_EQ(menus, (std::vector<std::string>{"&Browse", "&Calendar", "&Edit", "&File", "&Help",
                                             "&Report", "&Window"}));
  const host::ControlInfo* setup = Find(frame, "&Print Setup ...");
  ASSERT_TRUE(setup);
  EXPECT_EQ(setup->equate, -2);
  EXPECT_EQ(Property(*setup, "command"), std::to_string(0x3FFE));
  EXPECT_EQ(Property(*setup, "message"), "Setup printer");
  int separators = 0;
  for (const host::ControlInfo& c : frame.controls) separators += Property(c, "separator") == "1";
  EXPECT_EQ(separators, 2);

  ASSERT_TRUE(Choose({"&Browse", "&Browse Patients"}));
  ASSERT_TRUE(log.WaitFor("frame Accepted -11"));
  // A standard action is performed instead: tiling with no MDI window queues nothing.
  ASSERT_TRUE(Choose({"&Window", "T&ile"}));
  // Wrong paths and menus are refused with what was offered.
  host::AutomationResult wrong = automation.Menu({"&Browse", "Browse Patients"});
  EXPECT_FALSE(wrong.ok);
  EXPECT_NE(wrong.message.find("\"&Browse Patients\""), std::string::npos) << wrong.message;
  EXPECT_FALSE(automation.Menu({"&Browse"}).ok);
  // Command 0 is the alert key.
  host::PostMessage(frame.window, host::msg::kCommand, 0);
  ASSERT_TRUE(log.WaitFor("frame AlertKey"));
  // Print Setup opens the printer setup dialog on the frame's thread; Cancel closes it.
  ASSERT_TRUE(automation.Menu({"&File", "&Print Setup ..."}).ok);
  ASSERT_TRUE(automation.WaitIdle().ok);
  EXPECT_EQ(automation.CurrentTitle(), "Print Setup");
  ASSERT_TRUE(automation.Click("Cancel", true).ok);
  ASSERT_TRUE(automation.WaitIdle().ok);
  EXPECT_EQ(WindowOfKind("window"), host::kNoWindow);
  // Exit closes the frame through EVENT:CloseWindow.
  ASSERT_TRUE(automation.Menu({"&File", "E&xit"}).ok);
  ASSERT_TRUE(log.WaitFor("frame closed"));
  program.Join();
  auto lines = log.Lines();
  EXPECT_EQ(lines,
            (std::vector<std::string>{"frame OpenWindow", "frame Accepted -11", "frame AlertKey",
                                      "frame CloseWindow", "frame closed"}));
  EXPECT_TRUE(errors.Seen().empty());
}

TEST_F(MenuTest, ChildMenuMergesIntoTheFrameWhileActiveAndDisabledItemsRefuse) {
  Definitions defs({ChildWithMenu(), PlainChild("PLAIN$WINDOW")});
  FatalErrors errors;
  Log log;
  Program program([&] { RunFrame(&log, {[&] { RunChild("CHILD$MENU", "child", &log); }}); });
  ASSERT_TRUE(log.WaitFor("child OpenWindow"));
  ASSERT_TRUE(automation.WaitIdle().ok);
  // "&FILE" equals the frame's "&File": the child's menu takes its place, the frame's items
  // stay and the child's "E&xit" replaces the frame's.
  EXPECT_FALSE(automation.Menu({"&File", "&Save"}).ok);
  ASSERT_TRUE(Choose({"&FILE", "&Save"}));
  ASSERT_TRUE(log.WaitFor("child Accepted -2"));
  ASSERT_TRUE(Choose({"&FILE", "E&xit"}));
  ASSERT_TRUE(log.WaitFor("child Accepted -3"));
  ASSERT_TRUE(Choose({"&Tools", "&Check"}));
  ASSERT_TRUE(log.WaitFor("child Accepted -5"));
  // An item's key chooses it wherever the focus is in the window.
  ASSERT_TRUE(automation.Key("Ctrl+S").ok);
  ASSERT_TRUE(automation.WaitIdle().ok);
  EXPECT_EQ(Count(&log, "child Accepted -2"), 2);
  ASSERT_TRUE(Choose({"&Browse", "Browse Doc&tors"}));
  ASSERT_TRUE(log.WaitFor("frame Accepted -13"));
  host::AutomationResult locked = automation.Menu({"&Tools", "&Locked"});
  EXPECT_FALSE(locked.ok);
  EXPECT_NE(locked.message.find("disabled"), std::string::npos) << locked.message;
  ASSERT_TRUE(automation.WaitIdle().ok);
  EXPECT_EQ(Count(&log, "child Accepted -6"), 0);
  // Once the child has closed, the frame shows its own menus again.
  host::PostMessage(WindowOfKind("mdi"), host::msg::kClose);
  ASSERT_TRUE(log.WaitFor("child closed"));
  ASSERT_TRUE(automation.WaitIdle().ok);
  EXPECT_FALSE(automation.Menu({"&Tools", "&Check"}).ok);
  ASSERT_TRUE(Choose({"&File", "&Default Font"}));
  ASSERT_TRUE(log.WaitFor("frame Accepted -3"));
  CloseAll(&log, {});
  program.Join();
  EXPECT_TRUE(errors.Seen().empty());
}

TEST_F(MenuTest, WindowActionsArrangeMdiWindowsAndQueueNoEvent) {
  Definitions defs({PlainChild("ONE$WINDOW"), PlainChild("TWO$WINDOW")});
  FatalErrors errors;
  Log log;
  Program program([&] {
    RunFrame(&log, {[&] { RunChild("ONE$WINDOW", "one", &log); },
                    [&] { RunChild("TWO$WINDOW", "two", &log); }});
  });
  ASSERT_TRUE(log.WaitFor("one OpenWindow"));
  ASSERT_TRUE(log.WaitFor("two OpenWindow"));
  ASSERT_TRUE(automation.WaitIdle().ok);
  host::WindowId one = WindowOfKind("mdi", "ONE$WINDOW");
  host::WindowId two = WindowOfKind("mdi", "TWO$WINDOW");
  host::Rect client = host::ClientRect(host::ParentOf(one));

  ASSERT_TRUE(Choose({"&Window", "T&ile"}));
  host::Rect a = host::WindowRect(one), b = host::WindowRect(two);
  // Side by side, each as tall as the client area, together as wide.
  EXPECT_EQ(a.Height(), client.Height());
  EXPECT_EQ(b.Height(), client.Height());
  EXPECT_NEAR(a.Width() + b.Width(), client.Width(), 1);
  EXPECT_NE(a.left, b.left);

  ASSERT_TRUE(Choose({"&Window", "&Cascade"}));
  a = host::WindowRect(one);
  b = host::WindowRect(two);
  EXPECT_NE(a.top, b.top);
  EXPECT_NE(a.left, b.left);
  EXPECT_EQ(a.Width(), b.Width());
  EXPECT_TRUE(errors.Seen().empty());
  CloseAll(&log, {{"ONE$WINDOW", "one"}, {"TWO$WINDOW", "two"}});
  program.Join();
  for (const std::string& line : log.Lines()) {
    EXPECT_EQ(line.find("Accepted"), std::string::npos) << line;
  }
}

TEST_F(MenuTest, EditActionsGoThroughTheClipboardToTheFocusedEntry) {
  Definitions defs({PlainChild("EDIT$WINDOW")});
  FatalErrors errors;
  Log log;
  Program program([&] { RunFrame(&log, {[&] { RunChild("EDIT$WINDOW", "edit", &log); }}); });
  ASSERT_TRUE(log.WaitFor("edit OpenWindow"));
  ASSERT_TRUE(automation.WaitIdle().ok);
  ASSERT_TRUE(automation.Click("1", false).ok);
  ASSERT_TRUE(automation.WaitIdle().ok);
  host::SetClipboardText("");
  ASSERT_TRUE(Choose({"&Edit", "&Copy"}));
  EXPECT_EQ(host::ClipboardText(), "Ann Lee");
  ASSERT_TRUE(Choose({"&Edit", "Cu&t"}));
  EXPECT_EQ(ControlInfoOf(1).text, "");
  host::SetClipboardText("Bea Moss\nsecond line");
  ASSERT_TRUE(Choose({"&Edit", "&Paste"}));
  EXPECT_EQ(ControlInfoOf(1).text, "Bea Moss");
  ASSERT_TRUE(Choose({"&Edit", "&Copy"}));  // nothing is selected after the paste
  EXPECT_EQ(host::ClipboardText(), "Bea Moss\nsecond line");
  EXPECT_EQ(Count(&log, "frame Accepted -6") + Count(&log, "frame Accepted -7") +
                Count(&log, "frame Accepted -8"),
            0);
  CloseAll(&log, {{"EDIT$WINDOW", "edit"}});
  program.Join();
  EXPECT_TRUE(errors.Seen().empty());
}

TEST_F(MenuTest, StatusZonesShowProcedureTextsAndHighlightedMessages) {
  Definitions defs({PlainChild("NOTE$WINDOW")});
  FatalErrors errors;
  Log log;
  Program program([&] {
    RunFrame(&log, {[&] {
      RunChild("NOTE$WINDOW", "note", &log,
               [] { SetProperty(0, prop::kStatusText, "Visits: 3", 3); });
    }});
  });
  ASSERT_TRUE(log.WaitFor("note OpenWindow"));
  ASSERT_TRUE(automation.WaitIdle().ok);
  // The MDI window, painted on its own thread, stays drawn over the frame's client area.
  host::WindowId child = WindowOfKind("mdi");
  host::Point at = host::ClientOriginInTopLevel(host::ParentOf(child));
  host::Rect caption = host::WindowRect(child).Offset(at.x, at.y);
  uint32_t pixel =
      host::SurfaceOf(WindowOfKind("frame"))->Pixel(caption.left + 40, caption.top + 10);
  EXPECT_NE(pixel & 0xFFFFFF, 0xABABABu);
  EXPECT_EQ(ZoneText(1), "");
  EXPECT_EQ(ZoneText(2), "Ready");
  // The MDI window has no status bar: it writes into the frame's.
  EXPECT_EQ(ZoneText(3), "Visits: 3");
  EXPECT_EQ(ZoneText(4), "");
  // F10 highlights the first menu, Right moves on; zone 1 shows the highlighted menu's message.
  ASSERT_TRUE(automation.Key("F10").ok);
  ASSERT_TRUE(automation.WaitIdle().ok);
  for (int i = 0; i < 2; ++i) ASSERT_TRUE(automation.Key("Right").ok);
  ASSERT_TRUE(automation.WaitIdle().ok);
  EXPECT_EQ(ZoneText(1), "Browse data");
  ASSERT_TRUE(automation.Key("Right").ok);
  ASSERT_TRUE(automation.WaitIdle().ok);
  EXPECT_EQ(ZoneText(1), "Print a report");
  ASSERT_TRUE(automation.Key("Escape").ok);
  ASSERT_TRUE(automation.WaitIdle().ok);
  EXPECT_EQ(ZoneText(1), "");
  // The arrows went to the menu bar: the entry still has its whole text selected.
  ASSERT_TRUE(automation.Type("x").ok);
  ASSERT_TRUE(automation.WaitIdle().ok);
  EXPECT_EQ(ControlInfoOf(1).text, "x");
  CloseAll(&log, {{"NOTE$WINDOW", "note"}});
  program.Join();
  EXPECT_TRUE(errors.Seen().empty());
}

// Waits until `depth` popup levels are open; the texts of the innermost one.
std::vector<std::string> OpenDropdown(size_t depth) {
  for (int i = 0; i < 2000; ++i) {
    std::vector<OpenPopupLevel> levels = OpenPopupMenus();
    if (levels.size() == depth) return depth ? levels.back().texts : std::vector<std::string>{};
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  ADD_FAILURE() << "no dropdown of depth " << depth;
  return {};
}

TEST_F(MenuTest, DropdownsOpenByAltHotkeyF10AndClicksAndMoveWithArrows) {
  FatalErrors errors;
  Log log;
  Program program([&] { RunFrame(&log, {}); });
  ASSERT_TRUE(log.WaitFor("frame OpenWindow"));
  ASSERT_TRUE(automation.WaitIdle().ok);
  const std::vector<std::string> browse = {"&Browse Patients", "Browse by &Date", "Browse Doc&tors",
                                           "&Browse Progress Notes"};
  // Alt+B opens "&Browse" with its first item highlighted; Down and Enter choose the second.
  ASSERT_TRUE(automation.Key("Alt+B").ok);
  EXPECT_EQ(OpenDropdown(1), browse);
  EXPECT_EQ(ZoneShows(1, ""), "");  // "&Browse Patients" has no message
  ASSERT_TRUE(automation.Key("Down").ok);
  ASSERT_TRUE(automation.Key("Enter").ok);
  ASSERT_TRUE(log.WaitFor("frame Accepted -12"));
  OpenDropdown(0);
  // F10, Right, Down: "&Edit" opens; Right moves on to "&Browse"; Escape goes back to the bar
  // and a second one leaves it.
  ASSERT_TRUE(automation.Key("F10").ok);
  ASSERT_TRUE(automation.WaitIdle().ok);
  ASSERT_TRUE(automation.Key("Right").ok);
  ASSERT_TRUE(automation.WaitIdle().ok);
  ASSERT_TRUE(automation.Key("Down").ok);
  EXPECT_EQ(OpenDropdown(1), (std::vector<std::string>{"Cu&t", "&Copy", "&Paste", ""}));
  ASSERT_TRUE(automation.Key("Down").ok);
  EXPECT_EQ(ZoneShows(1, "Copy item to Windows Clipboard"), "Copy item to Windows Clipboard");
  ASSERT_TRUE(automation.Key("Right").ok);
  for (int i = 0; i < 500 && OpenDropdown(1) != browse; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  EXPECT_EQ(OpenDropdown(1), browse);
  ASSERT_TRUE(automation.Key("Escape").ok);
  OpenDropdown(0);
  ASSERT_TRUE(automation.WaitIdle().ok);
  EXPECT_EQ(ZoneText(1), "Browse data");  // the title stays highlighted
  ASSERT_TRUE(automation.Key("Escape").ok);
  ASSERT_TRUE(automation.WaitIdle().ok);
  EXPECT_EQ(ZoneText(1), "");
  // Alt pressed and released alone starts the keyboard mode too.
  ASSERT_TRUE(automation.Key("Alt").ok);
  ASSERT_TRUE(automation.WaitIdle().ok);
  for (int i = 0; i < 2; ++i) ASSERT_TRUE(automation.Key("Left").ok);  // round to "&Window"
  ASSERT_TRUE(automation.WaitIdle().ok);
  EXPECT_EQ(ZoneText(1), "Create and Arrange windows");
  ASSERT_TRUE(automation.Key("Alt").ok);
  ASSERT_TRUE(automation.WaitIdle().ok);
  EXPECT_EQ(ZoneText(1), "");
  // A click on a title opens its dropdown under it; a click on an item chooses it.
  host::WindowId frame = WindowOfKind("frame");
  host::WindowId bar = host::kNoWindow;
  for (host::WindowId c : host::ChildrenOf(frame)) {
    if (host::ClassNameOf(c) == "TamMenuBar") bar = c;
  }
  ASSERT_NE(bar, host::kNoWindow);
  host::Point origin = host::ClientOriginInTopLevel(bar);
  host::InjectMouseButton(frame, host::Point{origin.x + 4, origin.y + 8}, host::MouseButton::kLeft,
                          true);
  host::InjectMouseButton(frame, host::Point{origin.x + 4, origin.y + 8}, host::MouseButton::kLeft,
                          false);
  EXPECT_EQ(OpenDropdown(1),
            (std::vector<std::string>{"&Print Setup ...", "&Default Font", "E&xit"}));
  std::vector<OpenPopupLevel> levels = OpenPopupMenus();
  ASSERT_EQ(levels.size(), 1u);
  host::Rect item = levels[0].items[1];
  host::Point in_popup{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
  host::InjectMouseMove(levels[0].window, in_popup);
  host::InjectMouseButton(levels[0].window, in_popup, host::MouseButton::kLeft, true);
  host::InjectMouseButton(levels[0].window, in_popup, host::MouseButton::kLeft, false);
  ASSERT_TRUE(log.WaitFor("frame Accepted -3"));
  OpenDropdown(0);
  ASSERT_TRUE(automation.Menu({"&File", "E&xit"}).ok);
  ASSERT_TRUE(log.WaitFor("frame closed"));
  program.Join();
  EXPECT_TRUE(errors.Seen().empty());
}

TEST_F(MenuTest, ButtonsCarryStandardActionsAndCommandsReachControls) {
  Entry close = WithText(Make(kKindButton, 1, Rect{8, 8, 60, 20}), "Close");
  close.numbers[Field::kAction] = 15;
  Entry ok = WithText(Make(kKindButton, 2, Rect{80, 8, 60, 20}), "OK");
  Entry help = WithText(Make(kKindButton, 3, Rect{150, 8, 60, 20}), "Help");
  help.numbers[Field::kAction] = 5;
  Definitions defs({WindowEntry("BUTTONS$WINDOW", kPoints, {close, ok, help})});
  FatalErrors errors;
  Log log;
  std::vector<HelpRequest> requests;
  HelpLauncher previous =
      SetHelpLauncher([&](const std::string&, HelpRequest request, const std::string&) {
        requests.push_back(request);
        return true;
      });
  auto help_file =
      std::filesystem::temp_directory_path() / ("menus_help_" + std::to_string(getpid()) + ".hlp");
  Program program([&] {
    Structure w(StructureKind::kWindow, "BUTTONS$WINDOW", kModule, {});
    if (!Open(w)) return;
    while (Accept()) {
      if (Event() != event::kSelected) log.Add(Describe());
      if (Event() == event::kAccepted && Field() == 2) {
        log.Add(HelpStarted(w) ? "help started" : "no help");
      }
    }
    log.Add("closed");
  });
  ASSERT_TRUE(log.WaitFor("OpenWindow"));
  ASSERT_TRUE(automation.WaitIdle().ok);
  // Help with no help file set does nothing but mark the window.
  SetHelpFile("");
  ASSERT_TRUE(automation.Click("3", false).ok);
  ASSERT_TRUE(automation.WaitIdle().ok);
  EXPECT_TRUE(requests.empty());
  // A help file that is nowhere to be found is reported, not handed over.
  SetHelpFile(help_file.string(), {help_file.string() + ".missing"});
  ASSERT_TRUE(automation.Click("3", false).ok);
  ASSERT_TRUE(automation.WaitIdle().ok);
  ASSERT_TRUE(automation.ExpectMessage(HelpNotFoundText(help_file.string())).ok);
  ASSERT_TRUE(automation.Answer("OK").ok);
  ASSERT_TRUE(automation.WaitIdle().ok);
  EXPECT_TRUE(requests.empty());
  // Found under the name it is shipped as, when not under its own.
  auto shipped = help_file;
  shipped += ".html";
  { std::ofstream(shipped) << "guide"; }
  SetHelpFile("NOSUCH.HLP", {help_file.string(), shipped.string()});
  EXPECT_EQ(LocateHelpFile(), shipped.string());
  { std::ofstream(help_file) << "help"; }
  EXPECT_EQ(LocateHelpFile(), help_file.string());  // the earlier place wins
  SetHelpFile(help_file.string());
  ASSERT_TRUE(automation.Click("3", false).ok);
  ASSERT_TRUE(automation.WaitIdle().ok);
  EXPECT_EQ(requests, std::vector<HelpRequest>{HelpRequest::kContents});
  // A viewer that cannot be started is reported too.
  HelpLauncher recording =
      SetHelpLauncher([](const std::string&, HelpRequest, const std::string&) { return false; });
  ASSERT_TRUE(automation.Click("3", false).ok);
  ASSERT_TRUE(automation.WaitIdle().ok);
  ASSERT_TRUE(automation.ExpectMessage(HelpNotShownText(help_file.string())).ok);
  ASSERT_TRUE(automation.Answer("OK").ok);
  ASSERT_TRUE(automation.WaitIdle().ok);
  SetHelpLauncher(recording);
  // A command for a button presses it.
  host::WindowId window = WindowOfKind("window");
  host::PostMessage(window, host::msg::kCommand, static_cast<uint64_t>(CommandOf(2)));
  ASSERT_TRUE(log.WaitFor("Accepted 2"));
  ASSERT_TRUE(log.WaitFor("help started"));
  ASSERT_TRUE(automation.Click("1", false).ok);
  ASSERT_TRUE(log.WaitFor("closed"));
  program.Join();
  SetHelpLauncher(previous);
  SetHelpFile("");
  std::filesystem::remove(help_file);
  std::filesystem::remove(shipped);
  EXPECT_EQ(log.Lines(), (std::vector<std::string>{"OpenWindow", "Accepted 2", "help started",
                                                   "CloseWindow", "closed"}));
  EXPECT_TRUE(errors.Seen().empty());
}

TEST_F(MenuTest, PlainWindowWithMenuAndStatusBarLaysOutAndRenders) {
  Entry name = Make(kKindEntry, 1, Rect{8, 8, 120, 18});
  name.use = UseType{0x12, 20};
  Entry window = WithMenuBar(WindowEntry("SHOWN$WINDOW", kPoints, {name}, Rect{0, 0, 240, 120}),
                             {Menu(-1, "&Visit", {MenuEntry(kKindItem, -2, "&New")}),
                              Menu(-3, "&Help", {MenuEntry(kKindItem, -4, "&About")})});
  window.zones = {-1, 60};
  Definitions defs({window});
  FatalErrors errors;
  Log log;
  ChildVariables v;
  Program program([&] {
    Structure w(StructureKind::kWindow, "SHOWN$WINDOW", kModule, {use::String(1, v.name)});
    if (!Open(w)) return;
    while (Accept()) {
      log.Add(Describe());
      if (Event() == event::kOpenWindow) SetProperty(0, prop::kStatusText, "Saved", 2);
    }
    log.Add("closed");
  });
  ASSERT_TRUE(log.WaitFor("OpenWindow"));
  ASSERT_TRUE(automation.WaitIdle().ok);
  host::WindowId top = WindowOfKind("window");
  host::Rect client = host::ClientRect(top);
  // The entry sits below the menu bar: 8 points are 10 or 11 pixels.
  host::Rect entry = host::WindowRect(ControlInfoOf(1).window);
  EXPECT_GT(entry.top, 20);
  // The client area holds the menu bar, the 120-point controls' area and the status bar.
  EXPECT_GT(client.Height(), 160 + 30);
  host::WindowInfo info = InfoOf(top);
  const host::ControlInfo* zone2 = Find(info, "zone2");
  ASSERT_TRUE(zone2);
  EXPECT_EQ(zone2->text, "Saved");

  auto png = std::filesystem::temp_directory_path() /
             ("menus_render_" + std::to_string(getpid()) + ".png");
  ASSERT_TRUE(automation.Screenshot(png.string()).ok);
  std::shared_ptr<host::Surface> shot = host::Surface::LoadPng(png.string());
  std::filesystem::remove(png);
  ASSERT_TRUE(shot);
  EXPECT_EQ(shot->Width(), host::WindowRect(top).Width());
  // Dark text pixels in the menu bar's first title, in the status bar's second zone, and a
  // frame line between the controls' area and the status bar.
  auto dark_in = [&](host::Rect r) {
    int dark = 0;
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) {
        uint32_t p = shot->Pixel(x, y);
        int sum = ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF);
        dark += sum < 200;
      }
    }
    return dark;
  };
  host::Point origin = host::ClientOriginInTopLevel(top);
  EXPECT_GT(dark_in(host::Rect::FromSize(origin.x + 4, origin.y + 2, 40, 16)), 5);
  int status_top = origin.y + client.Height() - 22;
  EXPECT_GT(dark_in(host::Rect{origin.x + client.Width() - 78, status_top + 2,
                               origin.x + client.Width() - 4, origin.y + client.Height() - 2}),
            5);
  EXPECT_EQ(dark_in(host::Rect::FromSize(origin.x + 180, origin.y + 60, 100, 40)), 0);

  ASSERT_TRUE(Choose({"&Visit", "&New"}));
  ASSERT_TRUE(log.WaitFor("Accepted -2"));
  host::InjectClose(top);
  ASSERT_TRUE(log.WaitFor("closed"));
  program.Join();
  EXPECT_TRUE(errors.Seen().empty());
}

TEST_F(MenuTest, ToolbarLiesUnderTheMenuBarAndEverythingFollowsResizing) {
  Entry name = Make(kKindEntry, 1, Rect{8, 8, 120, 18});
  name.use = UseType{0x12, 20};
  name.strings[Field::kMessage] = "Type the patient's name";
  Entry toolbar = Make(kKindToolbar, 0, Rect{0, 0, 0, 24});
  toolbar.children = {WithText(Make(kKindButton, 2, Rect{3, 3, 45, 18}), "&New"),
                      WithText(Make(kKindButton, 3, Rect{51, 3, 45, 18}), "&Find")};
  Entry window =
      WithMenuBar(WindowEntry("TOOLS$WINDOW", kPoints, {toolbar, name}, Rect{0, 0, 240, 90}),
                  {Menu(-1, "&Visit", {MenuEntry(kKindItem, -2, "&New")})});
  window.zones = {-1, 60};
  Definitions defs({window});
  FatalErrors errors;
  Log log;
  ChildVariables v;
  Program program([&] {
    Structure w(StructureKind::kWindow, "TOOLS$WINDOW", kModule, {use::String(1, v.name)});
    if (!Open(w)) return;
    while (Accept()) log.Add(Describe());
    log.Add("closed");
  });
  ASSERT_TRUE(log.WaitFor("OpenWindow"));
  ASSERT_TRUE(automation.WaitIdle().ok);
  host::WindowId top = WindowOfKind("window");
  auto child_of_class = [&](const std::string& cls) {
    for (host::WindowId c : host::ChildrenOf(top)) {
      if (host::ClassNameOf(c) == cls) return host::WindowRect(c);
    }
    return host::Rect{};
  };
  auto check_layout = [&] {
    host::Rect client = host::ClientRect(top);
    host::Rect bar = child_of_class("TamMenuBar");
    host::Rect tools = child_of_class("TamToolBar");
    host::Rect status = child_of_class("TamStatusBar");
    EXPECT_EQ(bar.top, 0);
    EXPECT_EQ(bar.Width(), client.Width());
    EXPECT_EQ(tools, host::Rect::FromSize(0, bar.bottom, client.Width(), 32));  // 24 points
    EXPECT_EQ(status.bottom, client.bottom);
    EXPECT_EQ(status.Width(), client.Width());
    // Toolbar buttons lie in the toolbar (3 points are 4 pixels), the entry below it.
    EXPECT_EQ(host::WindowRect(ControlInfoOf(2).window).top, tools.top + 4);
    EXPECT_EQ(host::WindowRect(ControlInfoOf(3).window).left, 68);
    EXPECT_EQ(host::WindowRect(ControlInfoOf(1).window).top, tools.bottom + 11);
    EXPECT_LT(host::WindowRect(ControlInfoOf(1).window).bottom, status.top);
  };
  check_layout();
  host::Rect outer = host::WindowRect(top);
  host::MoveWindow(
      top, host::Rect::FromSize(outer.left, outer.top, outer.Width() + 100, outer.Height() + 50));
  ASSERT_TRUE(automation.WaitIdle().ok);
  check_layout();
  // The focused entry's message shows in zone 1 until the focus leaves it.
  ASSERT_TRUE(automation.Click("1", false).ok);
  ASSERT_TRUE(automation.WaitIdle().ok);
  host::WindowInfo info = InfoOf(top);
  EXPECT_EQ(Find(info, "zone1")->text, "Type the patient's name");
  ASSERT_TRUE(automation.Click("2", false).ok);
  ASSERT_TRUE(log.WaitFor("Accepted 2"));
  ASSERT_TRUE(automation.WaitIdle().ok);
  info = InfoOf(top);
  EXPECT_EQ(Find(info, "zone1")->text, "");
  host::InjectClose(top);
  ASSERT_TRUE(log.WaitFor("closed"));
  program.Join();
  EXPECT_TRUE(errors.Seen().empty());
}

TEST_F(MenuTest, FrameToolbarPushesTheMdiClientDown) {
  Entry toolbar = Make(kKindToolbar, 0, Rect{0, 0, 0, 24});
  toolbar.children = {WithText(Make(kKindButton, 1, Rect{3, 3, 45, 18}), "&Patients")};
  Entry exit = MenuEntry(kKindItem, -2, "E&xit");
  exit.numbers[Field::kAction] = 15;
  Entry frame = WithMenuBar(WindowEntry("TOOLS$FRAME", kPoints, {toolbar}, Rect{0, 0, 400, 300}),
                            {Menu(-1, "&File", {exit})});
  frame.menubar[0].attr = menu_attr::kFrameOnly;
  frame.zones = {-1, 80};
  Definitions defs({frame, PlainChild("PLAIN$WINDOW")});
  FatalErrors errors;
  Log log;
  Program program([&] {
    Structure w(StructureKind::kApplication, "TOOLS$FRAME", kModule, {});
    if (!Open(w)) return;
    while (Accept()) {
      log.Add(Describe());
      if (Accepted() == 1) Start([&] { RunChild("PLAIN$WINDOW", "plain", &log); }, 0);
    }
    log.Add("closed");
  });
  ASSERT_TRUE(log.WaitFor("OpenWindow"));
  ASSERT_TRUE(automation.WaitIdle().ok);
  host::WindowId top = WindowOfKind("frame");
  host::Rect tools, client, status;
  for (host::WindowId c : host::ChildrenOf(top)) {
    std::string cls = host::ClassNameOf(c);
    if (cls == "TamToolBar") tools = host::WindowRect(c);
    if (cls == "MDIClient") client = host::WindowRect(c);
    if (cls == "TamStatusBar") status = host::WindowRect(c);
  }
  EXPECT_GT(tools.top, 0);
  EXPECT_EQ(tools.Height(), 32);
  EXPECT_EQ(client.top, tools.bottom);
  EXPECT_EQ(client.bottom, status.top);
  EXPECT_EQ(client.Width(), host::ClientRect(top).Width());
  // The frame's menu bar stays its own: an MDI window without a menu shows none.
  ASSERT_TRUE(automation.Click("1", false).ok);
  ASSERT_TRUE(log.WaitFor("plain OpenWindow"));
  ASSERT_TRUE(automation.WaitIdle().ok);
  EXPECT_FALSE(automation.Menu({"&File", "E&xit"}).ok);
  host::PostMessage(WindowOfKind("mdi"), host::msg::kClose);
  ASSERT_TRUE(log.WaitFor("plain closed"));
  ASSERT_TRUE(automation.WaitIdle().ok);
  ASSERT_TRUE(automation.Menu({"&File", "E&xit"}).ok);
  ASSERT_TRUE(log.WaitFor("closed"));
  program.Join();
  EXPECT_TRUE(errors.Seen().empty());
}

}  // namespace
}  // namespace carelog::window
