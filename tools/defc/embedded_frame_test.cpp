// The program's definitions as the build embeds them: found in the executable's resources.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/window/definition_loader.h"

namespace carelog::window {
namespace {

constexpr const char* kProgramModule = "carelog.cpp$carelog";

struct MenuRow {
  int depth;         // 0 menu, 1 item
  const char* text;  // nullptr: separator
  int32_t id;
  const char* message;  // nullptr: none
  int64_t action;
};

// The frame's menu bar, in order.
constexpr MenuRow kFrameMenu[] = {
    {0, "&File", -1, nullptr, 0},
    {1, "&Print Setup ...", -2, "Setup printer", 16},
    {1, "&Default Font", -3, nullptr, 0},
    {1, "E&xit", -4, "Exit this application", 15},
    {0, "&Edit", -5, nullptr, 0},
    {1, "Cu&t", -6, "Remove item to Windows Clipboard", 10},
    {1, "&Copy", -7, "Copy item to Windows Clipboard", 11},
    {1, "&Paste", -8, "Paste contents of Windows Clipboard", 12},
    {1, nullptr, -9, nullptr, 0},
    {0, "&Browse", -10, "Browse data", 0},
    {1, "&Browse Patients", -11, nullptr, 0},
    {1, "Browse by &Date", -12, nullptr, 0},
    {1, "Browse Doc&tors", -13, nullptr, 0},
    {1, "&Browse Progress Notes", -14, nullptr, 0},
    {0, "&Report", -15, "Print a report", 0},
    {1, "Print Daily &Visit Log", -16, nullptr, 0},
    {1, nullptr, -17, nullptr, 0},
    {1, "Print &Notes", -18, nullptr, 0},
    {0, "&Calendar", -19, nullptr, 0},
    {1, "BrowseDates", -20, nullptr, 0},
    {0, "&Window", 0, "Create and Arrange windows", 0},
    {1, "T&ile", -21, "Make all open windows visible", 2},
    {1, "&Cascade", -22, "Stack all open windows", 3},
    {1, "&Arrange Icons", -23, "Align all window icons", 4},
    {0, "&Help", 0, "Windows Help", 0},
    {1, "&Contents", -24, "View the contents of the help file", 5},
    {1, "&Search for Help On...", -25, "Search for help on a subject", 7},
    {1, "&How to Use Help", -26, "How to use Windows Help", 6},
};

TEST(EmbeddedFrame, IsFoundInTheExecutable) {
  DefinitionLoader loader;
  ASSERT_EQ(loader.Open(kProgramModule, "MAIN$APPFRAME"), DefinitionError::kOk);
  ASSERT_NE(loader.module(), nullptr);
  EXPECT_STREQ(loader.module()->name, "executable");
  const Entry& frame = loader.structure();
  EXPECT_EQ(*frame.String(Field::kTitle), "The Care Log");
  EXPECT_EQ(*frame.String(Field::kIcon), "RUDIV.ICO");
  EXPECT_EQ(frame.Number(Field::kFrame), 0x5822);
  int64_t timer = frame.Number(Field::kTimer);
  EXPECT_TRUE(timer >= 1 && timer <= 100) << timer;
  EXPECT_EQ(frame.zones, (std::vector<int32_t>{-1, 80, 120, 45}));
  EXPECT_EQ(frame.attr & kUnitMask, 0u);
}

TEST(EmbeddedFrame, HasEveryMenuItemWithItsTextNumberMessageAndAction) {
  DefinitionLoader loader;
  ASSERT_EQ(loader.Open(kProgramModule, "MAIN$APPFRAME"), DefinitionError::kOk);
  ASSERT_EQ(loader.structure().menubar.size(), 1u);
  std::vector<const Entry*> flat;
  std::vector<int> depths;
  for (const Entry& menu : loader.structure().menubar[0].children) {
    flat.push_back(&menu);
    depths.push_back(0);
    for (const Entry& item : menu.children) {
      flat.push_back(&item);
      depths.push_back(1);
    }
  }
  ASSERT_EQ(flat.size(), std::size(kFrameMenu));
  for (size_t i = 0; i < flat.size(); ++i) {
    const MenuRow& row = kFrameMenu[i];
    const Entry& entry = *flat[i];
    SCOPED_TRACE(row.text ? row.text : "separator");
    EXPECT_EQ(depths[i], row.depth);
    EXPECT_EQ(entry.kind, row.depth == 0 ? kKindMenu : kKindItem);
    if (row.text) {
      ASSERT_NE(entry.String(Field::kText), nullptr);
      EXPECT_EQ(*entry.String(Field::kText), row.text);
    } else {
      EXPECT_EQ(entry.String(Field::kText), nullptr);
      EXPECT_TRUE(entry.attr & 0x10);
    }
    EXPECT_EQ(entry.id, row.id);
    if (row.message) {
      ASSERT_NE(entry.String(Field::kMessage), nullptr);
      EXPECT_EQ(*entry.String(Field::kMessage), row.message);
    } else {
      EXPECT_EQ(entry.String(Field::kMessage), nullptr);
    }
    if (row.depth == 1) {
      EXPECT_EQ(entry.Number(Field::kAction), row.action);
    }
  }
}

TEST(EmbeddedModules, CommonDialogsAndWindowlessModulesAreThere) {
  DefinitionLoader loader;
  for (const char* label : {"PRINTSETUP$DIALOG", "SAVEFILE$DIALOG", "FONTCHOICE$DIALOG"}) {
    EXPECT_EQ(loader.Open("carelog.cpp$carlg_sf", label), DefinitionError::kOk) << label;
  }
  // Modules without windows have a resource with an empty list: any label is internal error 02.
  static std::vector<int> codes;
  codes.clear();
  FatalErrorHandler previous =
      SetFatalErrorHandler([](int code, const char*) { codes.push_back(code); });
  EXPECT_EQ(loader.Open("carelog.cpp$carlg064", "MAIN$APPFRAME"), DefinitionError::kLabelNotFound);
  SetFatalErrorHandler(previous);
  EXPECT_EQ(codes, std::vector<int>{502});
  EXPECT_NE(FindResource("dabdump", "CARLG_RU_rsc"), nullptr);
}

}  // namespace
}  // namespace carelog::window
