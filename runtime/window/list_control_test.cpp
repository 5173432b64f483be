// Lists over a procedure's queue, driven as a user drives them: the page-loaded list's keys,
// wheel and scroll bar become events without moving the selection, the queue-fed list moves
// and clamps its selection, alerted keys and mouse buttons queue EVENT:AlertKey, and the dump
// and the select command read and drive what the list shows.
#include <gtest/gtest.h>

#include <cstdlib>

#include <cstdio>

#include "runtime/host/message_queue.h"
#include "runtime/host/messages.h"
#include "runtime/window/list_state.h"
#include "runtime/window/properties.h"
#include "runtime/window/window_testing.h"

namespace carelog::window {
namespace {

using namespace testing;  // NOLINT

constexpr uint32_t kPoints = 0x300;
constexpr int kPage = 1, kQueue = 2, kDone = 3, kTree = 4;

Entry ListEntry(int id, Rect at, uint32_t attr, const std::string& format) {
  Entry e = Make(kKindList, id, at);
  e.attr = attr;
  e.strings[Field::kFormat] = format;
  return e;
}

std::vector<Entry> Lists() {
  Entry page = ListEntry(kPage, Rect{0, 0, 200, 120}, 0x803, "80L|M~Name~@s20@60D~Balance~@n9.2@");
  Entry queue = ListEntry(kQueue, Rect{0, 130, 200, 80}, 0x3, "120L~Name~@s20@40R~No~@n4@");
  Entry done = WithText(Make(kKindButton, kDone, Rect{0, 220, 60, 20}), "Done");
  Entry tree = ListEntry(kTree, Rect{210, 0, 80, 60}, 0x3, "60LT(B)@s20@");
  // Tall enough to show every control: focusing a control out of view scrolls the window, and a
  // press that scrolls its button away before the release would not click it.
  return {WindowEntry("LISTS$WINDOW", kPoints, {page, queue, done, tree}, Rect{0, 0, 300, 250})};
}

ListRecord Record(const std::string& name, double number) {
  return ListRecord{{ListField::Text(name), ListField::Number(number), ListField::Text("pos")}};
}

class ListControlTest : public ::testing::Test {
 protected:
  void Run(std::function<void(Structure&)> on_open = {}) {
    program_ = std::make_unique<Program>([this, on_open] {
      Structure w(StructureKind::kWindow, "LISTS$WINDOW", kModule, {});
      if (!Open(w)) return;
      for (int i = 1; i <= 5; ++i) page_.push_back(Record("Page " + std::to_string(i), i * 10.5));
      for (int i = 1; i <= 10; ++i) queue_.push_back(Record("Row " + std::to_string(i), i));
      SetListQueue(kPage, &page_);
      SetListQueue(kQueue, &queue_);
      SetProperty(kPage, prop::kSelected, "2");
      if (on_open) on_open(w);
      while (Accept()) {
        if (Event() == event::kOpenWindow) log_.Add("open");
        bool list_event = Field() == kPage || Field() == kQueue || Field() == kTree ||
                          Event() == event::kAlertKey;
        if (list_event && IsFieldEvent(Event())) {
          int row = std::stoi(GetProperty(Field(), prop::kSelected));
          log_.Add(Describe() + " row=" + std::to_string(row) +
                   " key=" + std::to_string(KeyCode()));
        }
        if (Accepted() == kDone) {
          log_.Add("widths " + GetProperty(kPage, prop::kListFormat + 1, 1) + " " +
                   GetProperty(kPage, prop::kListFormat + 1, 2));
          break;
        }
      }
      SetListQueue(kPage, nullptr);
      SetListQueue(kQueue, nullptr);
      log_.Add("closed");
    });
    ASSERT_TRUE(log_.WaitFor("open"));
    ASSERT_TRUE(automation_.WaitIdle().ok);
  }
  // A test that stopped before Finish leaves the window open: close it, so that the program's
  // thread ends and a failure is reported instead of waiting forever.
  void TearDown() override {
    if (!program_) return;
    if (!log_.WaitFor("closed", std::chrono::milliseconds(0))) {
      automation_.Click(std::to_string(kDone), false);
      if (!log_.WaitFor("closed", std::chrono::seconds(30))) {
        ADD_FAILURE() << "the list window did not close";
        std::_Exit(1);
      }
    }
    program_->Join();
  }
  void Finish() {
    ASSERT_TRUE(automation_.Click(std::to_string(kDone), false).ok);
    ASSERT_TRUE(log_.WaitFor("closed", std::chrono::seconds(30)))
        << ::testing::PrintToString(log_.Lines());
    program_->Join();
    EXPECT_TRUE(errors_.Seen().empty());
  }
  // The lines logged by the next steps: waits for the `expected` lines themselves, then for the
  // program to be idle, so that a line too many shows as well.
  std::vector<std::string> After(const std::function<void()>& steps, size_t expected) {
    size_t before = log_.Lines().size();
    steps();
    EXPECT_TRUE(log_.WaitForCount(before + expected)) << "waiting for " << expected << " lines";
    EXPECT_TRUE(automation_.WaitIdle().ok);
    std::vector<std::string> lines = log_.Lines();
    return std::vector<std::string>(lines.begin() + static_cast<long>(before), lines.end());
  }
  void Keys(std::initializer_list<const char*> keys) {
    for (const char* k : keys) {
      EXPECT_TRUE(automation_.Key(k).ok) << k;
      EXPECT_TRUE(automation_.WaitIdle().ok);
    }
  }
  void Post(int equate, uint32_t message, int x, int y) {
    host::PostMessage(ControlInfoOf(equate).window, message, 0, host::PackPoint(x, y));
  }

  Definitions defs_{Lists()};
  FatalErrors errors_;
  Log log_;
  host::Automation automation_;
  ListQueue page_, queue_;
  std::unique_ptr<Program> program_;
};

TEST_F(ListControlTest, PageLoadedKeysQueueScrollEventsWithoutMovingTheSelection) {
  Run();
  ASSERT_TRUE(automation_.SelectRow(std::to_string(kPage), 3).ok);
  ASSERT_TRUE(log_.WaitFor("NewSelection 1 row=3 key=1"));
  EXPECT_EQ(After(
                [&] {
                  Keys({"Down", "Up", "PageDown", "PageUp", "Ctrl+PageDown", "Ctrl+PageUp", "Home",
                        "End"});
                },
                8),
            (std::vector<std::string>{"ScrollDown 1 row=3 key=40", "ScrollUp 1 row=3 key=38",
                                      "PageDown 1 row=3 key=34", "PageUp 1 row=3 key=33",
                                      "ScrollBottom 1 row=3 key=546", "ScrollTop 1 row=3 key=545",
                                      "ScrollTop 1 row=3 key=36", "ScrollBottom 1 row=3 key=35"}));
  // The wheel scrolls like the arrow keys, a notch an event.
  EXPECT_EQ(After(
                [&] {
                  host::PostMessage(ControlInfoOf(kPage).window, host::msg::kMouseWheel,
                                    static_cast<uint64_t>(-2), 0);
                },
                2),
            (std::vector<std::string>{"ScrollDown 1 row=3 key=35", "ScrollDown 1 row=3 key=35"}));
  // Typing leaves the locating to the procedure: one EVENT:Locate per character.
  std::vector<std::string> typed = After([&] { EXPECT_TRUE(automation_.Type("bo").ok); }, 2);
  ASSERT_EQ(typed.size(), 2u);
  EXPECT_EQ(typed[0].substr(0, 14), "Locate 1 row=3");
  Finish();
}

TEST_F(ListControlTest, ScrollBarRequestsAndTheThumbReleaseReachTheProcedure) {
  Run([](Structure&) { SetProperty(kPage, prop::kVScroll, "1"); });
  int width = 0, height = 0;
  ASSERT_EQ(
      std::sscanf(Property(ControlInfoOf(kPage), "rect").c_str(), "%*d,%*d,%d,%d", &width, &height),
      2);
  int bar_x = width - 1 - kListBarWidth / 2;
  std::vector<std::string> lines = After(
      [&] {
        Post(kPage, host::msg::kLButtonDown, bar_x, 4);  // the up arrow
        Post(kPage, host::msg::kLButtonUp, bar_x, 4);
        Post(kPage, host::msg::kLButtonDown, bar_x, height - 4);  // the down arrow
        Post(kPage, host::msg::kLButtonUp, bar_x, height - 4);
        Post(kPage, host::msg::kLButtonDown, bar_x, height * 3 / 4);  // the track below the thumb
        Post(kPage, host::msg::kLButtonUp, bar_x, height * 3 / 4);
      },
      3);
  EXPECT_EQ(lines, (std::vector<std::string>{"ScrollUp 1 row=2 key=0", "ScrollDown 1 row=2 key=0",
                                             "PageDown 1 row=2 key=0"}));
  // Dragging the thumb raises nothing; its release sets the position and queues ScrollDrag.
  int track_top = 1 + kListBarWidth, track_bottom = height - 1 - kListBarWidth;
  lines = After(
      [&] {
        Post(kPage, host::msg::kLButtonDown, bar_x, track_top + 2);
        Post(kPage, host::msg::kMouseMove, bar_x, track_top + 40);
        Post(kPage, host::msg::kMouseMove, bar_x, track_bottom + 50);
      },
      0);
  EXPECT_TRUE(lines.empty());
  lines = After([&] { Post(kPage, host::msg::kLButtonUp, bar_x, track_bottom + 50); }, 1);
  EXPECT_EQ(lines, (std::vector<std::string>{"ScrollDrag 1 row=2 key=0"}));
  EXPECT_NE(automation_.Dump().find("scrollbar on thumb=100"), std::string::npos);
  Finish();
}

TEST_F(ListControlTest, QueueFedListMovesAndClampsItsSelection) {
  int visible = 0, row_after_set = 0, empty_row = -1;
  Run([&](Structure& w) {
    Control& list = *w.Find(kQueue);
    visible = VisibleListRows(list);
    SetProperty(kQueue, prop::kSelected, "1000");
    row_after_set = SelectedListRow(list);
    ListQueue none;
    SetListQueue(list, &none);
    empty_row = SelectedListRow(list);
    SetListQueue(list, &queue_);
    SelectListRow(list, 0);
  });
  EXPECT_EQ(row_after_set, 10);  // row 1000 of 10 is the last
  EXPECT_EQ(empty_row, 0);       // an empty queue has no selected row
  ASSERT_GE(visible, 2);
  ASSERT_TRUE(automation_.SelectRow(std::to_string(kQueue), 1).ok);
  ASSERT_TRUE(log_.WaitFor("NewSelection 2 row=1 key=1"));
  std::vector<std::string> lines = After(
      [&] {
        Keys({"Down", "End", "Down", "Home", "PageDown"});
      },
      4);
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "NewSelection 2 row=2 key=40", "NewSelection 2 row=10 key=35",
                       "NewSelection 2 row=1 key=36",
                       "NewSelection 2 row=" + std::to_string(1 + visible) + " key=34"}));
  EXPECT_EQ(ControlInfoOf(kQueue).text, "Row " + std::to_string(1 + visible));
  EXPECT_FALSE(automation_.SelectRow(std::to_string(kQueue), 11).ok);
  Finish();
}

TEST_F(ListControlTest, AlertedKeysAndButtonsQueueAlertKeyInsteadOfTheirAction) {
  Run([](Structure&) {
    SetProperty(kPage, prop::kAlertKey, "5", 252);    // double click
    SetProperty(kPage, prop::kAlertKey, "45", 253);   // Insert
    SetProperty(kPage, prop::kAlertKey, "525", 255);  // Ctrl+Enter
    SetProperty(kPage, prop::kAlertKey, "40", 254);   // Down, then taken back
    SetProperty(kPage, prop::kAlertKey, "0", 254);
  });
  ASSERT_TRUE(automation_.SelectRow(std::to_string(kPage), 1).ok);
  ASSERT_TRUE(log_.WaitFor("NewSelection 1 row=1 key=1"));
  std::vector<std::string> lines = After(
      [&] {
        Keys({"Insert", "Ctrl+Enter", "Down", "Delete"});
      },
      3);
  EXPECT_EQ(lines, (std::vector<std::string>{"AlertKey 1 row=1 key=45", "AlertKey 1 row=1 key=525",
                                             "ScrollDown 1 row=1 key=40"}));
  // A double click on a row; a right click selects the row under it with key code 2.
  lines = After([&] { Post(kPage, host::msg::kLButtonDouble, 20, 40); }, 1);
  EXPECT_EQ(lines, (std::vector<std::string>{"AlertKey 1 row=1 key=5"}));
  lines = After([&] { Post(kPage, host::msg::kRButtonDown, 20, 1); }, 1);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].substr(0, 16), "NewSelection 1 r");
  EXPECT_NE(lines[0].find("key=2"), std::string::npos);
  Finish();
}

TEST_F(ListControlTest, ClicksSelectRowsAndDraggingAResizableEdgeGivesThePartnerTheRest) {
  Run();
  std::vector<std::string> lines = After(
      [&] {
        // Below the header and two rows: the third or fourth row, by the font's height.
        Post(kPage, host::msg::kLButtonDown, 30, 70);
        Post(kPage, host::msg::kLButtonUp, 30, 70);
      },
      1);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_TRUE(lines[0] == "NewSelection 1 row=3 key=1" || lines[0] == "NewSelection 1 row=4 key=1")
      << lines[0];
  // The Name column (80 points, 107 pixels) ends at x = 108; drag its edge 20 pixels right.
  lines = After(
      [&] {
        Post(kPage, host::msg::kLButtonDown, 108, 5);
        Post(kPage, host::msg::kMouseMove, 118, 5);
        Post(kPage, host::msg::kMouseMove, 128, 5);
        Post(kPage, host::msg::kLButtonUp, 128, 5);
      },
      0);
  EXPECT_TRUE(lines.empty());
  Finish();
  EXPECT_TRUE(log_.WaitFor("widths 127 60"));
}

TEST_F(ListControlTest, TreeBoxesRaiseTheExpandAndContractEvents) {
  ListQueue nodes{ListRecord{{ListField::Text("Plans"), ListField::Number(1)}},
                  ListRecord{{ListField::Text("Addendum"), ListField::Number(-2)}}};
  int row_height = 0;
  Run([&](Structure& w) {
    SetListQueue(kTree, &nodes);
    row_height = ListLayout(*w.Find(kTree)).row_height;
  });
  // The first node is expanded (level 1, its box at the left); the second contracted (level
  // 2, its box one step in).
  std::vector<std::string> lines = After(
      [&] {
        Post(kTree, host::msg::kLButtonDown, 5, 1 + row_height / 2);
        Post(kTree, host::msg::kLButtonUp, 5, 1 + row_height / 2);
        Post(kTree, host::msg::kLButtonDown, 17, 1 + row_height + row_height / 2);
        Post(kTree, host::msg::kLButtonUp, 17, 1 + row_height + row_height / 2);
      },
      4);
  EXPECT_EQ(lines,
            (std::vector<std::string>{"Contracting 4 row=1 key=0", "Contracted 4 row=1 key=0",
                                      "Expanding 4 row=2 key=0", "Expanded 4 row=2 key=0"}));
  Finish();
  program_.reset();
}

TEST_F(ListControlTest, DumpShowsHeadersVisibleRowsAsDisplayedAndTheScrollBar) {
  Run();
  std::string dump = automation_.Dump();
  EXPECT_NE(dump.find("    header \"Name\" \"Balance\"\n"), std::string::npos) << dump;
  EXPECT_NE(dump.find("    row 1 \"Page 1\" \"10.50\"\n"), std::string::npos) << dump;
  EXPECT_NE(dump.find("    row 2 selected \"Page 2\" \"21.00\"\n"), std::string::npos) << dump;
  EXPECT_NE(dump.find("    row 5 \"Page 5\" \"52.50\"\n"), std::string::npos) << dump;
  EXPECT_NE(dump.find("    scrollbar off thumb=0"), std::string::npos) << dump;
  EXPECT_NE(dump.find("    header \"Name\" \"No\"\n"), std::string::npos) << dump;
  EXPECT_NE(dump.find("    row 1 \"Row 1\" \"1\"\n"), std::string::npos) << dump;
  EXPECT_NE(dump.find("scrollbar on"), std::string::npos) << dump;  // the queue-fed list: 10 rows
  Finish();
}

}  // namespace
}  // namespace carelog::window
