// List boxes: the selection as keys, type-ahead and the selected-row property move it, with the
// selected row kept in view and each move the user makes reported as EVENT:NewSelection.
#include <gtest/gtest.h>

#include "runtime/window/list_rows.h"
#include "runtime/window/list_state.h"
#include "runtime/window/properties.h"
#include "runtime/window/window_testing.h"

namespace carelog::window {
namespace {

using namespace testing;  // NOLINT

constexpr uint32_t kPoints = 0x300;

// A list three rows high (1) and a button (2) to move the focus to.
std::vector<Entry> ListWindow() {
  Entry list = Make(kKindList, 1, Rect{0, 0, 120, 3 * 17});
  Entry button = WithText(Make(kKindButton, 2, Rect{0, 80, 60, 20}), "Done");
  return {WindowEntry("LIST$WINDOW", kPoints, {list, button})};
}

TEST(ListBox, KeysTypeAheadAndTheSelectedPropertyMoveTheSelection) {
  Definitions defs(ListWindow());
  FatalErrors errors;
  Log log;
  host::Automation automation;
  int first_row_at_end = -1;
  std::string property_after_set;
  Program program([&] {
    Structure w(StructureKind::kWindow, "LIST$WINDOW", kModule, {});
    if (!Open(w)) return;
    Control& list = *w.Find(1);
    SetListRows(list, {"apple", "banana", "cherry", "cranberry", "date", "elder", "fig"});
    while (Accept()) {
      if (Event() == event::kOpenWindow) log.Add("open");
      if (Event() == event::kNewSelection) log.Add("row " + std::to_string(SelectedListRow(list)));
      if (Event() == event::kAccepted && Field() == 2) {
        first_row_at_end = ListOf(list).first_row;
        SetProperty(1, prop::kSelected, "2");
        property_after_set = GetProperty(1, prop::kSelected) + " " + list.text;
        log.Add("done");
        break;
      }
    }
  });
  ASSERT_TRUE(log.WaitFor("open"));
  ASSERT_TRUE(automation.WaitIdle().ok);
  auto row_after = [&](const char* key, const char* typed) {
    EXPECT_TRUE(key ? automation.Key(key).ok : automation.Type(typed).ok);
    EXPECT_TRUE(automation.WaitIdle().ok);
    return ControlInfoOf(1).selected_row;
  };
  ASSERT_TRUE(automation.Click("1", false).ok);
  EXPECT_EQ(row_after("Home", nullptr), 1);
  // Type-ahead goes to the next row with that letter, wrapping round.
  EXPECT_EQ(row_after(nullptr, "c"), 3);
  EXPECT_EQ(row_after(nullptr, "C"), 4);
  EXPECT_EQ(row_after(nullptr, "a"), 1);
  EXPECT_EQ(row_after(nullptr, "z"), 1);
  // A page is the rows in view; End goes to the last row, which scrolls into view.
  ASSERT_TRUE(automation.Key("PageDown").ok);
  ASSERT_TRUE(automation.WaitIdle().ok);
  int page = ControlInfoOf(1).selected_row - 1;
  EXPECT_GE(page, 2);
  ASSERT_TRUE(automation.Key("End").ok);
  ASSERT_TRUE(log.WaitFor("row 7"));
  ASSERT_TRUE(automation.WaitIdle().ok);
  EXPECT_EQ(ControlInfoOf(1).text, "fig");
  // Down on the last row stays there without a new event.
  size_t events = log.Lines().size();
  ASSERT_TRUE(automation.Key("Down").ok);
  ASSERT_TRUE(automation.WaitIdle().ok);
  EXPECT_EQ(log.Lines().size(), events);
  ASSERT_TRUE(automation.Click("2", false).ok);
  ASSERT_TRUE(log.WaitFor("done"));
  program.Join();
  EXPECT_EQ(first_row_at_end, 7 - page);
  EXPECT_EQ(property_after_set, "2 banana");
  EXPECT_TRUE(errors.Seen().empty());
}

}  // namespace
}  // namespace carelog::window
