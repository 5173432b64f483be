#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "runtime/host/input.h"
#include "runtime/host/window_system.h"
#include "runtime/window/window_testing.h"

namespace carelog::window {
namespace {

using namespace testing;  // NOLINT

constexpr uint32_t kPoints = 0x300;
constexpr uint32_t kInch1000 = 0x200;
constexpr uint32_t kInch25 = 0x100;

// A form: an entry for a LONG through @n5 (1), a STRING entry (2), two default buttons
// (3 then 4), a check box (5), a disabled button (6) and a hidden prompt (7).
Entry Form() {
  Entry number = Make(kKindEntry, 1, Rect{72, 0, 72, 18});
  number.use = UseType{6, 4};
  number.strings[Field::kPicture] = "@n5";
  Entry name = Make(kKindEntry, 2, Rect{72, 24, 144, 18});
  name.use = UseType{0x12, 10};
  Entry first = WithText(Make(kKindButton, 3, Rect{0, 60, 60, 20}), "&First");
  first.numbers[Field::kFlags] = 1;
  Entry second = WithText(Make(kKindButton, 4, Rect{72, 60, 60, 20}), "&Second");
  second.numbers[Field::kFlags] = 1;
  Entry check = WithText(Make(kKindCheck, 5, Rect{0, 90, kNotGiven, kNotGiven}), "Active");
  check.use = UseType{1, 1};
  Entry off = WithText(Make(kKindButton, 6, Rect{144, 60, 60, 20}), "Off");
  off.attr = control_attr::kDisabled;
  Entry hidden = WithText(Make(kKindPrompt, 7, Rect{0, 120, 60, 12}), "Hidden");
  hidden.attr = control_attr::kHidden;
  return WindowEntry("FORM$WINDOW", kPoints, {number, name, first, second, check, off, hidden});
}

// FORM$WINDOW opened modally, as a form called from another window opens.
Entry ModalForm() {
  Entry form = Form();
  form.strings[Field::kLabel] = "MODAL$WINDOW";
  form.strings[Field::kTitle] = "MODAL$WINDOW";
  form.numbers[Field::kFrame] = 0x0008;
  return form;
}

struct FormVariables {
  int32_t number = 42;
  char name[10];
  uint8_t active = 0;
  FormVariables() { std::memcpy(name, "Ann       ", 10); }
  UseTable Table() { return {use::Long(1, &number), use::String(2, name), use::Byte(5, &active)}; }
};

// Opens FORM$WINDOW (or `label`) and logs every event until the window closes.
void RunForm(FormVariables* v, Log* log, const char* label = "FORM$WINDOW") {
  Structure form(StructureKind::kWindow, label, kModule, v->Table());
  if (!Open(form)) return;
  while (Accept()) log->Add(Describe());
  log->Add("closed");
}

class WindowTest : public ::testing::Test {
 protected:
  host::Automation automation;
};

TEST_F(WindowTest, OpensWithOpenWindowFirstAndControlsWherePointsPut) {
  Definitions defs({Form()});
  FatalErrors errors;
  FormVariables v;
  Log log;
  {
    Program program([&] { RunForm(&v, &log); });
    ASSERT_TRUE(log.WaitFor("OpenWindow"));
    ASSERT_TRUE(automation.WaitIdle().ok);
    EXPECT_EQ(log.Lines().front(), "OpenWindow");
    // 72 points are one inch, 96 pixels.
    EXPECT_EQ(Property(ControlInfoOf(1), "rect"), "96,0,96,24");
    EXPECT_EQ(ControlInfoOf(1).text, "42");
    EXPECT_EQ(ControlInfoOf(2).text, "Ann");
    // The later of two default buttons wins.
    EXPECT_EQ(Property(ControlInfoOf(3), "default"), "");
    EXPECT_EQ(Property(ControlInfoOf(4), "default"), "1");
    // An open width and height come from the content.
    std::string check_rect = Property(ControlInfoOf(5), "rect");
    EXPECT_NE(check_rect, "0,120,1,1");
    EXPECT_FALSE(ControlInfoOf(6).enabled);
    EXPECT_FALSE(ControlInfoOf(7).visible);
    host::InjectClose(host::TopLevelOf(ControlInfoOf(1).window));
    ASSERT_TRUE(log.WaitFor("closed"));
  }
  EXPECT_TRUE(errors.Seen().empty());
}

// In a modal window as in a modeless one: a refused entry keeps the focus.
TEST_F(WindowTest, EntryRejectsBadTextAndStoresGoodTextThroughItsPicture) {
  Definitions defs({Form(), ModalForm()});
  for (const char* label : {"FORM$WINDOW", "MODAL$WINDOW"}) {
    SCOPED_TRACE(label);
    FatalErrors errors;
    FormVariables v;
    Log log;
    Program program([&] { RunForm(&v, &log, label); });
    ASSERT_TRUE(log.WaitFor("OpenWindow"));
    ASSERT_TRUE(automation.WaitIdle().ok);
    ASSERT_TRUE(automation.Click("1", false).ok);
    ASSERT_TRUE(automation.Type("12x").ok);
    int beeps = host::BeepCount();
    ASSERT_TRUE(automation.Key("Tab").ok);
    ASSERT_TRUE(log.WaitFor("Rejected 1"));
    ASSERT_TRUE(automation.WaitIdle().ok);
    // The refused text stays as typed, with a beep, the field marked until a check takes it
    // and the focus still on it.
    EXPECT_EQ(ControlInfoOf(1).text, "12x");
    EXPECT_EQ(Property(ControlInfoOf(1), "refused"), "1");
    EXPECT_EQ(host::BeepCount(), beeps + 1);
    EXPECT_TRUE(ControlInfoOf(1).focused);
    EXPECT_FALSE(ControlInfoOf(2).focused);
    EXPECT_EQ(Property(ControlInfoOf(2), "refused"), "");
    ASSERT_TRUE(automation.Click("1", false).ok);
    ASSERT_TRUE(automation.Type("123").ok);
    ASSERT_TRUE(automation.Key("Tab").ok);
    ASSERT_TRUE(log.WaitFor("Accepted 1"));
    ASSERT_TRUE(automation.WaitIdle().ok);
    EXPECT_EQ(ControlInfoOf(1).text, "123");
    EXPECT_EQ(Property(ControlInfoOf(1), "refused"), "");
    EXPECT_TRUE(ControlInfoOf(2).focused);
    ASSERT_TRUE(automation.Click("5", false).ok);
    ASSERT_TRUE(log.WaitFor("Accepted 5"));
    ASSERT_TRUE(automation.WaitIdle().ok);
    EXPECT_EQ(Property(ControlInfoOf(5), "checked"), "1");
    host::InjectClose(host::TopLevelOf(ControlInfoOf(1).window));
    ASSERT_TRUE(log.WaitFor("closed"));
    program.Join();
    EXPECT_EQ(v.number, 123);
    EXPECT_EQ(v.active, 1);
    EXPECT_TRUE(errors.Seen().empty());
  }
}

TEST_F(WindowTest, UnitsConvertToPixels) {
  Entry a = WithText(Make(kKindPrompt, 1, Rect{25, 50, 50, 25}), "a");
  Entry b = WithText(Make(kKindPrompt, 1, Rect{1000, 500, 2000, 250}), "b");
  Definitions defs(
      {WindowEntry("A$WINDOW", kInch25, {a}), WindowEntry("B$WINDOW", kInch1000, {b})});
  FatalErrors errors;
  Log log;
  std::vector<std::string> rects;
  Program program([&] {
    for (const char* label : {"A$WINDOW", "B$WINDOW"}) {
      Structure w(StructureKind::kWindow, label, kModule, {});
      Open(w);
      host::Rect r = w.Find(1)->pixels;
      rects.push_back(std::to_string(r.left) + "," + std::to_string(r.top) + "," +
                      std::to_string(r.Width()) + "," + std::to_string(r.Height()));
      Close(w);
    }
  });
  program.Join();
  EXPECT_EQ(rects, (std::vector<std::string>{"96,192,192,96", "96,48,192,24"}));
  EXPECT_TRUE(errors.Seen().empty());
}

TEST_F(WindowTest, SheetTabChangesAndRefusals) {
  Entry sheet = Make(kKindSheet, 10, Rect{0, 0, 200, 120});
  Entry one = WithText(Make(kKindTab, 11, Rect{}), "One");
  one.children = {WithText(Make(kKindButton, 12, Rect{10, 30, 50, 20}), "On one")};
  Entry two = WithText(Make(kKindTab, 13, Rect{}), "Two");
  two.children = {WithText(Make(kKindButton, 14, Rect{10, 30, 50, 20}), "On two")};
  Entry three = WithText(Make(kKindTab, 15, Rect{}), "Three");
  sheet.children = {one, two, three};
  Definitions defs({WindowEntry("SHEET$WINDOW", kPoints, {sheet})});
  FatalErrors errors;
  Log log;
  Program program([&] {
    Structure w(StructureKind::kWindow, "SHEET$WINDOW", kModule, {});
    Open(w);
    // Refuses to leave tab two.
    w.synchronous_handler = [&](int field, int tab) {
      log.Add("TabChanging " + std::to_string(field) + " to " + std::to_string(tab) + " event " +
              std::to_string(Event()));
      return w.Find(10)->state != 2;
    };
    while (Accept()) log.Add(Describe());
    log.Add("closed");
  });
  ASSERT_TRUE(log.WaitFor("OpenWindow"));
  ASSERT_TRUE(automation.WaitIdle().ok);
  EXPECT_TRUE(ControlInfoOf(12).visible);
  EXPECT_FALSE(ControlInfoOf(14).visible);
  ASSERT_TRUE(automation.Click("10", false).ok);
  ASSERT_TRUE(automation.Key("Right").ok);
  ASSERT_TRUE(log.WaitFor("NewSelection 10"));
  ASSERT_TRUE(automation.WaitIdle().ok);
  EXPECT_TRUE(log.WaitFor("TabChanging 10 to 2 event 21"));
  EXPECT_FALSE(ControlInfoOf(12).visible);
  EXPECT_TRUE(ControlInfoOf(14).visible);
  ASSERT_TRUE(automation.Key("Right").ok);
  ASSERT_TRUE(log.WaitFor("TabChanging 10 to 3 event 21"));
  ASSERT_TRUE(automation.WaitIdle().ok);
  EXPECT_EQ(Property(ControlInfoOf(10), "tab"), "2");
  host::InjectClose(host::TopLevelOf(ControlInfoOf(10).window));
  ASSERT_TRUE(log.WaitFor("closed"));
}

// A sheet of eight tabs, 200 points wide: the row of tabs is wider than the sheet. The first
// tab holds button 12, the last button 14.
Entry WideSheetWindow() {
  Entry sheet = Make(kKindSheet, 10, Rect{0, 0, 200, 120});
  const char* names[] = {"First", "Second", "Third",   "Fourth",
                         "Fifth", "Sixth",  "Seventh", "Eighth"};
  for (int i = 0; i < 8; ++i)
    sheet.children.push_back(WithText(Make(kKindTab, 0, Rect{}), names[i]));
  sheet.children.front().children = {
      WithText(Make(kKindButton, 12, Rect{10, 30, 50, 20}), "On one")};
  sheet.children.back().children = {
      WithText(Make(kKindButton, 14, Rect{10, 30, 50, 20}), "On eight")};
  return WindowEntry("WIDE$WINDOW", kPoints, {sheet});
}

host::ControlInfo TabInfo(const std::string& text) {
  host::Automation automation;
  host::ControlInfo info;
  EXPECT_TRUE(automation.FindControl(text, true, &info)) << text;
  return info;
}

bool TabShown(const std::string& text) {
  return Property(TabInfo(text), "shown") == "1";
}

int NewSelections(Log& log) {
  std::vector<std::string> lines = log.Lines();
  return static_cast<int>(std::count(lines.begin(), lines.end(), "NewSelection 10"));
}

TEST_F(WindowTest, ARowOfTabsWiderThanItsSheetScrollsAndEveryTabIsReachable) {
  Definitions defs({WideSheetWindow()});
  FatalErrors errors;
  Log log;
  Program program([&] {
    Structure w(StructureKind::kWindow, "WIDE$WINDOW", kModule, {});
    Open(w);
    while (Accept()) log.Add(Describe());
    log.Add("closed");
  });
  ASSERT_TRUE(log.WaitFor("OpenWindow"));
  ASSERT_TRUE(automation.WaitIdle().ok);
  EXPECT_TRUE(TabShown("First"));
  EXPECT_FALSE(TabShown("Eighth"));
  EXPECT_TRUE(TabInfo("Eighth").visible) << "a tab scrolled away is still there to click";

  // The forward arrow at the right end of the row scrolls it by one tab and selects nothing.
  host::ControlInfo sheet = ControlInfoOf(10);
  int x = 0, y = 0, width = 0, height = 0;
  std::sscanf(Property(sheet, "rect").c_str(), "%d,%d,%d,%d", &x, &y, &width, &height);
  host::WindowId top = host::TopLevelOf(sheet.window);
  host::Point origin = host::ClientOriginInTopLevel(host::ParentOf(sheet.window));
  host::Point forward{origin.x + x + width - 9, origin.y + y + 12};
  host::InjectMouseButton(top, forward, host::MouseButton::kLeft, true);
  host::InjectMouseButton(top, forward, host::MouseButton::kLeft, false);
  ASSERT_TRUE(automation.WaitIdle().ok);
  EXPECT_FALSE(TabShown("First"));
  EXPECT_TRUE(TabShown("Second"));
  EXPECT_EQ(Property(ControlInfoOf(10), "tab"), "1");
  EXPECT_EQ(NewSelections(log), 0);

  // A click on a tab scrolled away brings it into the row and selects it.
  ASSERT_TRUE(automation.Click("Eighth", true).ok);
  ASSERT_TRUE(log.WaitFor("NewSelection 10"));
  ASSERT_TRUE(automation.WaitIdle().ok);
  EXPECT_TRUE(TabShown("Eighth"));
  EXPECT_TRUE(ControlInfoOf(14).visible);

  // Ctrl+Tab turns the tabs from anywhere in the window, wrapping round, and the row follows.
  ASSERT_TRUE(automation.Click("14", false).ok);
  ASSERT_TRUE(automation.Key("Ctrl+Tab").ok);
  ASSERT_TRUE(automation.WaitIdle().ok);
  EXPECT_EQ(Property(ControlInfoOf(10), "tab"), "1");
  EXPECT_TRUE(TabShown("First"));
  EXPECT_TRUE(ControlInfoOf(10).focused) << "the focus left the page that went away";
  ASSERT_TRUE(automation.Key("Ctrl+Shift+Tab").ok);
  ASSERT_TRUE(automation.WaitIdle().ok);
  EXPECT_EQ(Property(ControlInfoOf(10), "tab"), "8");

  // On the focused sheet, Home and End pick the first and the last tab.
  ASSERT_TRUE(automation.Key("Home").ok);
  ASSERT_TRUE(automation.WaitIdle().ok);
  EXPECT_EQ(Property(ControlInfoOf(10), "tab"), "1");
  EXPECT_TRUE(TabShown("First"));
  ASSERT_TRUE(automation.Key("End").ok);
  ASSERT_TRUE(automation.WaitIdle().ok);
  EXPECT_EQ(Property(ControlInfoOf(10), "tab"), "8");
  EXPECT_TRUE(TabShown("Eighth"));
  EXPECT_FALSE(TabShown("First"));
  host::InjectClose(top);
  ASSERT_TRUE(log.WaitFor("closed"));
  EXPECT_TRUE(errors.Seen().empty());
}

TEST_F(WindowTest, HiddenAndDisabledPropertiesAndDefaultButtonProperty) {
  Definitions defs({Form()});
  FatalErrors errors;
  FormVariables v;
  Log log;
  Program program([&] {
    Structure form(StructureKind::kWindow, "FORM$WINDOW", kModule, v.Table());
    Open(form);
    SetProperty(7, 0x7C65, "0");
    SetProperty(6, 0x7C5F, "0");
    SetProperty(2, 0x7C5F, "1");
    SetProperty(3, 0x7C5E, "1");
    log.Add("disabled " + GetProperty(2, 0x7C5F) + " default " + GetProperty(3, 0x7C5E) +
            GetProperty(4, 0x7C5E));
    while (Accept()) log.Add(Describe());
    log.Add("closed");
  });
  ASSERT_TRUE(log.WaitFor("OpenWindow"));
  ASSERT_TRUE(automation.WaitIdle().ok);
  EXPECT_TRUE(log.WaitFor("disabled 64 default 10"));
  EXPECT_TRUE(ControlInfoOf(7).visible);
  EXPECT_TRUE(ControlInfoOf(6).enabled);
  EXPECT_FALSE(ControlInfoOf(2).enabled);
  EXPECT_EQ(Property(ControlInfoOf(3), "default"), "1");
  host::InjectClose(host::TopLevelOf(ControlInfoOf(1).window));
  ASSERT_TRUE(log.WaitFor("closed"));
}

TEST_F(WindowTest, SecondFrameIs526AndMdiOnTheFrameThreadIs532) {
  Entry frame = WindowEntry("MAIN$APPFRAME", 0, {});
  Definitions defs({frame, WindowEntry("CHILD$WINDOW", 0, {}), Form()});
  FatalErrors errors;
  Program program([&] {
    Structure main(StructureKind::kApplication, "MAIN$APPFRAME", kModule, {});
    Structure again(StructureKind::kApplication, "MAIN$APPFRAME", kModule, {});
    Structure child(StructureKind::kMdi, "CHILD$WINDOW", kModule, {});
    EXPECT_TRUE(Open(main));
    EXPECT_FALSE(Open(main));   // 535
    EXPECT_FALSE(Open(again));  // 526
    EXPECT_FALSE(Open(child));  // 532
    EXPECT_TRUE(Close(main));
    EXPECT_FALSE(Close(main));  // 536
    EXPECT_FALSE(Open(child));  // 530
    Structure form(StructureKind::kWindow, "FORM$WINDOW", kModule, {});
    EXPECT_FALSE(Open(form));  // 501: its USE table is empty
    EXPECT_FALSE(Accept());    // 537 once that failure left no window
  });
  program.Join();
  std::vector<int> seen = errors.Seen();
  ASSERT_GE(seen.size(), 6u);
  EXPECT_EQ(std::vector<int>(seen.begin(), seen.begin() + 6),
            (std::vector<int>{535, 526, 532, 536, 530, 501}));
}

// A font set on control 0 reaches the unnumbered controls that follow the window's font (a
// heading, a group box and what it holds, the tabs of a sheet), not those with a font of their
// own nor the numbered ones, which are set by number.
TEST_F(WindowTest, FontOfControlZeroReachesUnnumberedControlsThatFollowTheWindow) {
  Entry heading = WithText(Make(kKindString, 0, Rect{0, 0, 60, 12}), "Heading");
  Entry own = WithText(Make(kKindPrompt, 0, Rect{0, 14, 60, 12}), "Own");
  own.font = Font{"Arial", 8};
  Entry numbered = WithText(Make(kKindPrompt, 1, Rect{0, 28, 60, 12}), "Numbered");
  Entry group = WithText(Make(kKindGroup, 0, Rect{0, 42, 100, 40}), "Group");
  group.font = Font{"Courier New", 9};
  group.children.push_back(WithText(Make(kKindPrompt, 0, Rect{4, 54, 60, 12}), "Inside"));
  Definitions defs({WindowEntry("FONTS$WINDOW", kPoints, {heading, own, numbered, group})});
  FatalErrors errors;
  std::vector<std::string> faces;
  {
    Program program([&] {
      Structure w(StructureKind::kWindow, "FONTS$WINDOW", kModule, UseTable{});
      ASSERT_TRUE(Open(w));
      SetFont(0, "Times New Roman", 14, -1, 0);
      auto named = [](const host::FontSpec& f) {
        return f.face + " " + std::to_string(static_cast<int>(f.points));
      };
      for (const auto& c : w.controls) faces.push_back(named(c->font));
      faces.push_back(named(w.font));
      Close(w);
    });
  }
  EXPECT_EQ(faces,
            (std::vector<std::string>{"Times New Roman 14", "Arial 8", "System 10", "Courier New 9",
                                      "Courier New 9", "Times New Roman 14"}));
  EXPECT_TRUE(errors.Seen().empty());
}

// A radio is on when its option's variable holds what choosing it stores: in a one-character
// variable "F" is Female, and choosing Male stores "M".
TEST_F(WindowTest, ARadioIsOnWhenItsOptionHoldsWhatChoosingItStores) {
  Entry option = WithText(Make(kKindOption, 1, Rect{0, 0, 200, 40}), "Sex");
  option.use = UseType{0x12, 1};
  option.children.push_back(WithText(Make(kKindRadio, 2, Rect{8, 14, 80, 16}), "Male"));
  option.children.push_back(WithText(Make(kKindRadio, 3, Rect{100, 14, 80, 16}), "Female"));
  Definitions defs({WindowEntry("OPTION$WINDOW", kPoints, {option})});
  FatalErrors errors;
  char sex[1] = {'F'};
  std::vector<int> states;
  Log log;
  {
    Program program([&] {
      Structure w(StructureKind::kWindow, "OPTION$WINDOW", kModule, {use::String(1, sex)});
      ASSERT_TRUE(Open(w));
      Display();
      for (int equate : {2, 3}) states.push_back(w.Find(equate)->state);
      while (Accept()) log.Add(Describe());
      log.Add("closed");
    });
    ASSERT_TRUE(log.WaitFor("OpenWindow"));
    ASSERT_TRUE(automation.WaitIdle().ok);
    ASSERT_TRUE(automation.Click("Male", true).ok);
    ASSERT_TRUE(automation.WaitIdle().ok);
    EXPECT_EQ(Property(ControlInfoOf(2), "checked"), "1");
    EXPECT_EQ(Property(ControlInfoOf(3), "checked"), "0");
    host::InjectClose(host::TopLevelOf(ControlInfoOf(2).window));
    ASSERT_TRUE(log.WaitFor("closed"));
  }
  EXPECT_EQ(states, (std::vector<int>{0, 1}));
  EXPECT_EQ(sex[0], 'M');
  EXPECT_TRUE(errors.Seen().empty());
}

}  // namespace
}  // namespace carelog::window
