#include <gtest/gtest.h>

#include <unistd.h>
#include <atomic>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "runtime/host/input.h"
#include "runtime/host/message_queue.h"
#include "runtime/host/messages.h"
#include "runtime/host/window_system.h"
#include "runtime/values/standard_date.h"
#include "runtime/window/window_testing.h"

namespace carelog::window {
namespace {

using namespace testing;  // NOLINT

// Three entries with USE variables: LONG through @n3 (1), LONG through @n3 (2), STRING (3).
Entry Fields() {
  Entry a = Make(kKindEntry, 1, Rect{0, 0, 60, 16});
  a.use = UseType{6, 4};
  a.strings[Field::kPicture] = "@n3";
  Entry b = Make(kKindEntry, 2, Rect{0, 20, 60, 16});
  b.use = UseType{6, 4};
  b.strings[Field::kPicture] = "@n3";
  Entry c = Make(kKindEntry, 3, Rect{0, 40, 60, 16});
  c.use = UseType{0x12, 8};
  Entry w = WindowEntry("FIELDS$WINDOW", 0x300, {a, b, c});
  return w;
}

Entry Plain(const std::string& label) {
  return WindowEntry(label, 0x300, {}, Rect{0, 0, 80, 40});
}

TEST(AcceptTest, AcceptAllReportsEveryFieldThenCompleted) {
  Definitions defs({Fields()});
  FatalErrors errors;
  Log log;
  int32_t a = 1, b = 2;
  char c[8] = {'x', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
  Program program([&] {
    Structure w(StructureKind::kWindow, "FIELDS$WINDOW", kModule,
                {use::Long(1, &a), use::Long(2, &b), use::String(3, c)});
    Open(w);
    bool started = false;
    while (Accept()) {
      if (Event() == event::kSelected) {
        if (log.Lines().size() > 6) {
          log.Add("selected " + std::to_string(Field()) + " mode " + GetProperty(0, 0x7C9A));
          Post(event::kCloseWindow);
        }
        continue;
      }
      log.Add(Describe());
      if (Event() == event::kOpenWindow && !started) {
        started = true;
        Select(0);
        log.Add("mode " + GetProperty(0, 0x7C9A));
      }
      if (Event() == event::kCompleted) {
        // Second round: a field whose text the picture rejects stops the mode there.
        SetProperty(2, 0x7C00, "abc");
        SetProperty(0, 0x7C9A, "1");
      }
    }
    log.Add("closed");
  });
  ASSERT_TRUE(log.WaitFor("closed"));
  program.Join();
  EXPECT_EQ(log.Lines(),
            (std::vector<std::string>{"OpenWindow", "mode 1", "Accepted 1", "Accepted 2",
                                      "Accepted 3", "Completed", "Accepted 1", "selected 2 mode 0",
                                      "CloseWindow", "closed"}));
  EXPECT_TRUE(errors.Seen().empty());
}

// Accepting every field reads back only what the user edited: a date shown with a two-digit
// year keeps its century, while an edited one is read from its text.
TEST(AcceptTest, AcceptAllKeepsTheValuesOfUntouchedEntries) {
  Entry day = Make(kKindEntry, 1, Rect{0, 0, 60, 16});
  day.use = UseType{6, 4};
  day.strings[Field::kPicture] = "@d1";
  Entry other = day;
  other.id = 2;
  other.at.y = 20;
  Definitions defs({WindowEntry("DATES$WINDOW", 0x300, {day, other})});
  FatalErrors errors;
  Log log;
  const int32_t shown = values::DayNumber(2026, 12, 10);
  int32_t kept = shown, edited = shown;
  Program program([&] {
    Structure w(StructureKind::kWindow, "DATES$WINDOW", kModule,
                {use::Long(1, &kept), use::Long(2, &edited)});
    Open(w);
    while (Accept()) {
      if (Event() == event::kOpenWindow) {
        SetProperty(2, 0x7C00, "3/04/1905");
        Select(0);
      }
      if (Event() == event::kCompleted) Post(event::kCloseWindow);
    }
    log.Add("closed");
  });
  ASSERT_TRUE(log.WaitFor("closed"));
  program.Join();
  EXPECT_EQ(kept, shown);
  EXPECT_EQ(edited, values::DayNumber(1905, 3, 4));
  EXPECT_TRUE(errors.Seen().empty());
}

// Showing the variables again takes what was typed and not yet taken instead of throwing it
// away; a text its picture refuses stays shown, its variable untouched.
TEST(AcceptTest, DisplayTakesTypedTextFirstAndKeepsARefusedOne) {
  Definitions defs({Fields()});
  FatalErrors errors;
  Log log;
  int32_t a = 1, b = 2;
  char c[8] = {'x', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
  Program program([&] {
    Structure w(StructureKind::kWindow, "FIELDS$WINDOW", kModule,
                {use::Long(1, &a), use::Long(2, &b), use::String(3, c)});
    Open(w);
    while (Accept()) {
      if (Event() != event::kOpenWindow) continue;
      SetProperty(2, 0x7C00, "abc");
      SetProperty(3, 0x7C00, "typed");
      a = 5;
      Display();
      log.Add(GetProperty(1, 0x7C00) + "|" + GetProperty(2, 0x7C00) + "|" + GetProperty(3, 0x7C00));
      Post(event::kCloseWindow);
    }
    log.Add("closed");
  });
  ASSERT_TRUE(log.WaitFor("closed"));
  program.Join();
  EXPECT_EQ(log.Lines(), (std::vector<std::string>{"5|abc|typed", "closed"}));
  EXPECT_EQ(std::string(c, sizeof c), "typed   ");
  EXPECT_EQ(b, 2);
  EXPECT_TRUE(errors.Seen().empty());
}

TEST(AcceptTest, SelectedForAnOldTargetIsDroppedAndCloseDiscardsQueuedEvents) {
  Definitions defs({Fields()});
  FatalErrors errors;
  Log log;
  int32_t a = 1, b = 2;
  char c[8] = {};
  Program program([&] {
    Structure w(StructureKind::kWindow, "FIELDS$WINDOW", kModule,
                {use::Long(1, &a), use::Long(2, &b), use::String(3, c)});
    Open(w);
    while (Accept()) {
      log.Add(Describe());
      if (Event() == event::kOpenWindow) {
        w.queue.clear();
        Select(2);
        Select(3);  // the Selected event of 2 is no longer for the target
      }
      if (Event() == event::kSelected) {
        Post(event::kAccepted, 1);
        Post(event::kAccepted, 2);
        log.Add("queued " + std::to_string(w.queue.size()));
        Close(w);
        log.Add("after close " + std::to_string(w.queue.size()));
      }
    }
    log.Add("closed");
  });
  ASSERT_TRUE(log.WaitFor("closed"));
  program.Join();
  EXPECT_EQ(log.Lines(), (std::vector<std::string>{"OpenWindow", "Selected 3", "queued 2",
                                                   "after close 0", "closed"}));
}

TEST(AcceptTest, TimerOfOneOnABusyWindowQueuesOneTimerEvent) {
  Entry w = Plain("TIMED$WINDOW");
  w.numbers[Field::kTimer] = 1;
  Definitions defs({w});
  FatalErrors errors;
  Log log;
  Program program([&] {
    Structure s(StructureKind::kWindow, "TIMED$WINDOW", kModule, {});
    Open(s);
    int timers = 0;
    while (Accept()) {
      if (Event() != event::kTimer) continue;
      // Busy for a while: the timer fires many times, but only one tick may wait.
      std::this_thread::sleep_for(std::chrono::milliseconds(60));
      for (int i = 0; i < 5; ++i) {
        host::DispatchMessage(host::Message{s.handle, host::msg::kTimer, 1, 0});
      }
      log.Add("queued timers " + std::to_string(s.QueuedCount(event::kTimer)));
      if (++timers == 3) SetProperty(0, 0x7C86, "0"), Post(event::kCloseWindow);
    }
    log.Add("closed");
  });
  ASSERT_TRUE(log.WaitFor("closed"));
  program.Join();
  for (const std::string& line : log.Lines()) {
    if (line.rfind("queued timers", 0) == 0) {
      EXPECT_EQ(line, "queued timers 1");
    }
  }
}

TEST(AcceptTest, PostReachesAnotherThreadsWindowAndNothingWithoutOne) {
  Definitions defs({Plain("MAIN$WINDOW"), Plain("WORKER$WINDOW")});
  FatalErrors errors;
  Log log;
  Program program([&] {
    Post(event::kAccepted, 0, 5);  // no such thread: nothing happens
    Post(event::kAccepted, 0, 1);  // the main thread has no window yet: nothing happens
    int worker = Start(
        [&] {
          Structure w(StructureKind::kWindow, "WORKER$WINDOW", kModule, {});
          Open(w);
          while (Accept()) {
            log.Add("worker " + Describe());
            if (Event() == event::kOpenWindow) Post(0x400 + 1, 0, 1);
          }
        },
        0);
    log.Add("worker thread " + std::to_string(worker) + " stack " +
            std::to_string(StackSizeOf(worker)));
    Structure m(StructureKind::kWindow, "MAIN$WINDOW", kModule, {});
    Open(m);
    while (Accept()) {
      if (Event() == 0x401) {
        log.Add("main got 0x401");
        Post(event::kCloseWindow, 0, worker);
        Post(event::kCloseWindow);
      }
    }
  });
  ASSERT_TRUE(log.WaitFor("main got 0x401"));
  program.Join();
  EXPECT_TRUE(log.WaitFor("worker thread 2 stack 20000"));
  EXPECT_TRUE(log.WaitFor("worker CloseWindow"));
  EXPECT_TRUE(errors.Seen().empty());
}

TEST(AcceptTest, StartRefusesWhenAllSlotsRunAndOnlyOneThreadRunsProcedureCode) {
  Definitions defs({Plain("WORKER$WINDOW")});
  FatalErrors errors;
  Log log;
  std::atomic<int> inside{0};
  std::atomic<int> clashes{0};
  std::atomic<int> opened{0};
  int refused = -1;
  int overlaps_before = SemaphoreOverlaps();
  Program program([&] {
    std::vector<int> threads;
    for (int i = 0; i < 63; ++i) {
      threads.push_back(Start(
          [&] {
            Structure w(StructureKind::kWindow, "WORKER$WINDOW", kModule, {});
            Open(w);
            while (Accept()) {
              if (inside.fetch_add(1) != 0 || !HoldsSemaphore()) clashes.fetch_add(1);
              if (Event() == event::kOpenWindow) opened.fetch_add(1);
              std::this_thread::yield();
              inside.fetch_sub(1);
            }
          },
          8000));
    }
    refused = Start([] {}, 0);
    // Wait, with the semaphore released, until every worker has opened its window.
    Structure self(StructureKind::kWindow, "WORKER$WINDOW", kModule, {});
    Open(self);
    SetProperty(0, 0x7C86, "1");
    while (Accept()) {
      if (inside.fetch_add(1) != 0) clashes.fetch_add(1);
      inside.fetch_sub(1);
      if (Event() == event::kTimer && opened.load() == 63) {
        for (int t : threads) Post(event::kCloseWindow, 0, t);
        Post(event::kCloseWindow);
      }
    }
    log.Add("done");
  });
  program.Join();
  EXPECT_EQ(refused, 0);
  EXPECT_EQ(opened.load(), 63);
  EXPECT_EQ(clashes.load(), 0);
  EXPECT_EQ(SemaphoreOverlaps(), overlaps_before);
  EXPECT_EQ(RunningThreads(), 0);
}

TEST(AcceptTest, StartIsRefusedWhileModalAndAcceptWithoutWindowIs537) {
  FatalErrors errors;
  int started = -1;
  Program program([&] {
    RaiseModal();
    started = Start([] {}, 0);
    LowerModal();
    EXPECT_EQ(Event(), 0);
    EXPECT_FALSE(Accept());
  });
  program.Join();
  EXPECT_EQ(started, 0);
  EXPECT_EQ(errors.Seen(), std::vector<int>{537});
}

TEST(ErrorLogTest, FirstWriteEmptiesTheLogAndRecordsHaveTheirFormat) {
  auto dir = std::filesystem::temp_directory_path() / ("winrt_log_" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir);
  { std::ofstream(kErrorLogName) << "old contents\n"; }
  StartNewErrorLog();
  uintptr_t trace[kTraceLines] = {0x401000, 0x1234ABCD};
  ASSERT_TRUE(AppendErrorLog("Window is not open", trace));
  ASSERT_TRUE(AppendErrorLogPosition("ctlentry", 120));
  std::stringstream text;
  text << std::ifstream(kErrorLogName, std::ios::binary).rdbuf();
  std::filesystem::current_path(previous);
  std::filesystem::remove_all(dir);
  std::string expected = "Error: Window is not open\r\n   00401000\r\n   1234abcd\r\n";
  for (int i = 2; i < kTraceLines; ++i) expected += "   00000000\r\n";
  expected += "----------------------------------\r\nError @(File,Line) (ctlentry, 120)\n";
  EXPECT_EQ(text.str(), expected);
}

TEST(ErrorLogTest, DefinitionLoaderFailuresTakeTheRuntimePath) {
  FatalErrors errors;
  InstallFatalErrorPath();
  Program program([] {
    Structure missing(StructureKind::kWindow, "NOWHERE$WINDOW", "none.cpp$none", {});
    EXPECT_FALSE(Open(missing));
    EXPECT_FALSE(missing.is_open());
  });
  program.Join();
  EXPECT_EQ(errors.Seen(), std::vector<int>{502});
}

TEST(ErrorLogTest, MessagesComeFromTheTable) {
  EXPECT_EQ(RuntimeMessage(532), "Unable to open MDI window on APPLICATION's thread");
  EXPECT_EQ(RuntimeMessage(537), "ACCEPT loop requires a window");
  EXPECT_EQ(EventName(0x20B), "EVENT:Timer");
  EXPECT_EQ(EventByName("event:tabchanging"), 21);
  EXPECT_EQ(PrivateMessageName(0x241D), "QUERY_EDITDONE");
}

}  // namespace
}  // namespace carelog::window
