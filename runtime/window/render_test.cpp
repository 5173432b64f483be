#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "runtime/host/input.h"
#include "runtime/host/window_system.h"
#include "runtime/window/list_control.h"
#include "runtime/window/properties.h"
#include "runtime/window/window_testing.h"

namespace carelog::window {
namespace {

using namespace testing;  // NOLINT

const std::string kReference = std::string(CARELOG_WINDOW_TESTDATA) + "/every_control.png";

// One control of every kind, in points.
Entry EveryControl() {
  Entry prompt = WithText(Make(kKindPrompt, 1, Rect{8, 8, 60, 14}), "&Name:");
  Entry entry = Make(kKindEntry, 2, Rect{70, 6, 120, 18});
  entry.use = UseType{0x12, 20};
  Entry button = WithText(Make(kKindButton, 3, Rect{200, 6, 60, 20}), "&OK");
  button.numbers[Field::kFlags] = 1;
  Entry cancel = WithText(Make(kKindButton, 4, Rect{200, 30, 60, 20}), "Cancel");
  Entry check = WithText(Make(kKindCheck, 5, Rect{8, 32, 80, 16}), "Active");
  check.use = UseType{1, 1};
  Entry option = WithText(Make(kKindOption, 6, Rect{8, 54, 120, 56}), "Visit");
  option.use = UseType{6, 4};
  option.children = {WithText(Make(kKindRadio, 7, Rect{16, 68, 100, 16}), "Home"),
                     WithText(Make(kKindRadio, 8, Rect{16, 86, 100, 16}), "Clinic")};
  Entry group = WithText(Make(kKindGroup, 9, Rect{136, 54, 124, 56}), "Notes");
  Entry text = Make(kKindTextBox, 10, Rect{144, 68, 108, 36});
  text.use = UseType{0x12, 40};
  group.children = {text};
  Entry progress = Make(kKindProgress, 11, Rect{8, 116, 120, 10});
  progress.use = UseType{6, 4};
  Entry string = WithText(Make(kKindString, 12, Rect{136, 116, 120, 12}), "Visits: 3");
  Entry line = Make(kKindLine, 13, Rect{8, 132, 252, 0});
  Entry box = Make(kKindBox, 14, Rect{8, 138, 40, 24});
  box.numbers[Field::kColor] = 0x404040;
  box.numbers[Field::kFill] = 0xF0D0B0;
  Entry region = Make(kKindRegion, 15, Rect{54, 138, 40, 24});
  region.numbers[Field::kColor] = 0x0000C0;
  Entry list = Make(kKindList, 16, Rect{100, 138, 70, 40});
  Entry drop = Make(kKindList, 17, Rect{176, 138, 84, 16});
  drop.numbers[Field::kDropRows] = 5;
  Entry sheet = Make(kKindSheet, 18, Rect{8, 184, 252, 60});
  Entry tab1 = WithText(Make(kKindTab, 19, Rect{}), "General");
  tab1.children = {WithText(Make(kKindPrompt, 20, Rect{8, 26, 100, 14}), "First page")};
  Entry tab2 = WithText(Make(kKindTab, 21, Rect{}), "Details");
  sheet.children = {tab1, tab2};
  Entry image = Make(kKindImage, 22, Rect{230, 250, 30, 30});
  image.strings[Field::kImage] = "RUDIV.ICO";
  Entry custom = WithText(Make(kKindCustom, 23, Rect{8, 250, 100, 30}), "custom");
  return WindowEntry("ALL$WINDOW", 0x300,
                     {prompt, entry, button, cancel, check, option, group, progress, string, line,
                      box, region, list, drop, sheet, image, custom},
                     Rect{0, 0, 270, 290});
}

// Share of pixels whose channels differ by more than 48.
double DifferentShare(const host::Surface& a, const host::Surface& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return 1.0;
  long different = 0;
  for (int y = 0; y < a.Height(); ++y) {
    for (int x = 0; x < a.Width(); ++x) {
      uint32_t p = a.Pixel(x, y), q = b.Pixel(x, y);
      for (int shift = 0; shift < 24; shift += 8) {
        int d = static_cast<int>((p >> shift) & 0xFF) - static_cast<int>((q >> shift) & 0xFF);
        if (d > 48 || d < -48) {
          ++different;
          break;
        }
      }
    }
  }
  return static_cast<double>(different) / (a.Width() * a.Height());
}

TEST(RenderTest, EveryControlKindLooksAsTheReference) {
  Definitions defs({EveryControl()});
  FatalErrors errors;
  Log log;
  char name[20] = "Ann Smith";
  uint8_t active = 1;
  int32_t visit = 2, done = 60;
  char notes[40] = "Morning visit";
  Program program([&] {
    Structure w(StructureKind::kWindow, "ALL$WINDOW", kModule,
                {use::String(2, name), use::Byte(5, &active), use::Long(6, &visit),
                 use::String(10, notes), use::Long(11, &done)});
    Open(w);
    while (Accept()) log.Add(Describe());
    log.Add("closed");
  });
  ASSERT_TRUE(log.WaitFor("OpenWindow"));
  host::Automation automation;
  ASSERT_TRUE(automation.WaitIdle().ok);
  auto shot = std::filesystem::temp_directory_path() / "carelog_every_control.png";
  ASSERT_TRUE(automation.Screenshot(shot.string()).ok);
  host::InjectClose(host::TopLevelOf(ControlInfoOf(2).window));
  ASSERT_TRUE(log.WaitFor("closed"));
  program.Join();
  if (std::getenv("CARELOG_UPDATE_REFERENCE")) {
    std::filesystem::copy_file(shot, kReference, std::filesystem::copy_options::overwrite_existing);
  }
  auto actual = host::Surface::LoadPng(shot.string());
  auto expected = host::Surface::LoadPng(kReference);
  ASSERT_TRUE(actual && expected) << "missing " << kReference;
  EXPECT_LT(DifferentShare(*actual, *expected), 0.02) << "see " << shot;
  EXPECT_TRUE(errors.Seen().empty());
}

// A browse-like list: an icon column, a group of two columns under a group header, bordered
// and resizable columns, a decimal column, queue colours on one cell and the selection bar.
TEST(RenderTest, ListLooksAsTheReference) {
  Entry list = Make(kKindList, 1, Rect{6, 6, 300, 120});
  list.attr = 0x803;
  list.strings[Field::kFormat] =
      "14C@s12@I[70L|M~Name~@s20@40R|~No~@n6@](110)|~Patient~44D|~Balance~@n9.2@"
      "50L*~Status~@s10@";
  Entry window = WindowEntry("LISTDRAW$WINDOW", 0x300, {list}, Rect{0, 0, 312, 132});
  Definitions defs({window});
  FatalErrors errors;
  Log log;
  ListQueue queue;
  const char* names[] = {"Ames, Ruth", "Baker, Tom", "Castro, Lena", "Dunn, Mary-Katherine",
                         "Ellis, Joe"};
  double balances[] = {12.5, 1304.25, 0, 7.125, 88};
  for (int i = 0; i < 5; ++i) {
    ListRecord r;
    r.fields = {ListField::Text(i % 2 ? "NEXT.ICO" : "PREVIOUS.ICO"),
                ListField::Text(names[i]),
                ListField::Number(80120 + i),
                ListField::Number(balances[i]),
                ListField::Text(i == 3 ? "Overdue" : "Open"),
                ListField::Number(i == 3 ? 0x0000B0 : -1),
                ListField::Number(i == 3 ? 0xE0E8FF : -1),
                ListField::Number(-1),
                ListField::Number(-1),
                ListField::Text("position")};
    queue.push_back(std::move(r));
  }
  Program program([&] {
    Structure w(StructureKind::kWindow, "LISTDRAW$WINDOW", kModule, {});
    Open(w);
    SetListQueue(1, &queue);
    SetProperty(1, prop::kSelected, "2");
    SetProperty(1, prop::kVScroll, "1");
    Select(1);
    while (Accept()) log.Add(Describe());
    SetListQueue(1, nullptr);
    log.Add("closed");
  });
  ASSERT_TRUE(log.WaitFor("OpenWindow"));
  host::Automation automation;
  ASSERT_TRUE(automation.WaitIdle().ok);
  const std::string reference = std::string(CARELOG_WINDOW_TESTDATA) + "/list.png";
  auto shot = std::filesystem::temp_directory_path() / "carelog_list.png";
  ASSERT_TRUE(automation.Screenshot(shot.string()).ok);
  host::InjectClose(host::TopLevelOf(ControlInfoOf(1).window));
  ASSERT_TRUE(log.WaitFor("closed"));
  program.Join();
  if (std::getenv("CARELOG_UPDATE_REFERENCE")) {
    std::filesystem::copy_file(shot, reference, std::filesystem::copy_options::overwrite_existing);
  }
  auto actual = host::Surface::LoadPng(shot.string());
  auto expected = host::Surface::LoadPng(reference);
  ASSERT_TRUE(actual && expected) << "missing " << reference;
  EXPECT_LT(DifferentShare(*actual, *expected), 0.02) << "see " << shot;
  EXPECT_TRUE(errors.Seen().empty());
}

}  // namespace
}  // namespace carelog::window
