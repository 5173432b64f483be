#include "runtime/window/message_box.h"

#include <gtest/gtest.h>

#include "runtime/host/input.h"
#include "runtime/host/window_system.h"
#include "runtime/values/locale.h"
#include "runtime/values/settings.h"
#include "runtime/window/window_testing.h"

namespace carelog::window {
namespace {

using namespace testing;  // NOLINT

Entry PlainWindow() {
  return WindowEntry("MSG$WINDOW", 0, {}, Rect{0, 0, 200, 100});
}

// Waits until a message box is shown; its window, kNoWindow after the timeout.
host::WindowId WaitForBox() {
  host::Automation automation;
  for (int i = 0; i < 2000; ++i) {
    for (const host::WindowInfo& w : automation.Windows()) {
      if (w.kind == "message") return w.window;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  ADD_FAILURE() << "no message box came up";
  return host::kNoWindow;
}

host::WindowInfo BoxInfo() {
  host::Automation automation;
  for (const host::WindowInfo& w : automation.Windows()) {
    if (w.kind == "message") return w;
  }
  return host::WindowInfo{};
}

// Opens a window and, once it is open, shows MESSAGE with these arguments; logs the answer.
void RunMessage(Log* log, int icon, int buttons, int default_button) {
  Structure w(StructureKind::kWindow, "MSG$WINDOW", kModule, {});
  if (!Open(w)) return;
  while (Accept()) {
    if (Event() == event::kOpenWindow) {
      int answer = Message("Delete this visit?", "Visits", icon, buttons, default_button);
      log->Add("answer " + std::to_string(answer));
      break;
    }
  }
}

class MessageTest : public ::testing::Test {
 protected:
  Definitions defs{{PlainWindow()}};
  host::Automation automation;
};

TEST_F(MessageTest, YesNoDefaultsToYesAndAnswersByButtonText) {
  for (const char* choice : {"No", "&Yes"}) {
    Log log;
    Program program([&] {
      RunMessage(&log, message_icon::kQuestion, message_button::kYes | message_button::kNo, 0);
    });
    ASSERT_NE(WaitForBox(), host::kNoWindow);
    ASSERT_TRUE(automation.ExpectMessage("Delete this visit?").ok);
    host::WindowInfo box = BoxInfo();
    EXPECT_EQ(box.title, "Visits");
    ASSERT_EQ(box.controls.size(), 2u);
    EXPECT_EQ(box.controls[0].text, "&Yes");
    EXPECT_EQ(Property(box.controls[0], "default"), "1");
    EXPECT_TRUE(box.controls[0].focused);
    EXPECT_EQ(Property(box.controls[1], "default"), "");
    // The owner waits while the box is up.
    EXPECT_FALSE(host::IsEnabled(host::OwnerOf(box.window)));
    ASSERT_TRUE(automation.Answer(choice).ok);
    EXPECT_TRUE(log.WaitFor(std::string("answer ") + (choice[0] == 'N' ? "4" : "2")));
  }
}

TEST_F(MessageTest, EveryButtonInTableOrderWithItsText) {
  Log log;
  Program program([&] { RunMessage(&log, 0, 0xFF, message_button::kRetry); });
  ASSERT_NE(WaitForBox(), host::kNoWindow);
  host::WindowInfo box = BoxInfo();
  std::vector<std::string> texts;
  std::string defaults;
  for (const host::ControlInfo& c : box.controls) {
    texts.push_back(c.text + "=" + std::to_string(c.equate));
    if (Property(c, "default") == "1") defaults += c.text;
  }
  EXPECT_EQ(texts, (std::vector<std::string>{"OK=1", "&Yes=2", "&No=4", "&Abort=8", "&Retry=16",
                                             "&Ignore=32", "Cancel=64", "&Help=128"}));
  EXPECT_EQ(defaults, "&Retry");
  // Buttons sit on one row, left to right, without overlapping.
  for (size_t i = 1; i < box.controls.size(); ++i) {
    host::Rect a = host::WindowRect(box.controls[i - 1].window);
    host::Rect b = host::WindowRect(box.controls[i].window);
    EXPECT_LE(a.right, b.left);
    EXPECT_EQ(a.top, b.top);
  }
  // Esc answers Cancel when it is shown.
  host::InjectKeyCombination("Escape");
  EXPECT_TRUE(log.WaitFor("answer 64"));
}

TEST_F(MessageTest, EnvironmentButtonTextsReplaceTheStandardOnes) {
  values::LocaleTables saved = values::Locale();
  values::ApplySetting(values::MutableLocale(), "TAMBUTTON", "Gut,&Ja,&Nein");
  Log log;
  Program program([&] {
    RunMessage(&log, 0, message_button::kOk | message_button::kNo | message_button::kCancel, 0);
  });
  ASSERT_NE(WaitForBox(), host::kNoWindow);
  std::vector<std::string> texts;
  for (const host::ControlInfo& c : BoxInfo().controls) texts.push_back(c.text);
  // Slots 0 and 2 are set; Cancel (slot 6) keeps its own text.
  EXPECT_EQ(texts, (std::vector<std::string>{"Gut", "&Nein", "Cancel"}));
  EXPECT_EQ(MessageButtonText(message_button::kYes), "&Ja");
  ASSERT_TRUE(automation.Answer("&Nein").ok);
  EXPECT_TRUE(log.WaitFor("answer 4"));
  program.Join();
  values::MutableLocale() = saved;
}

TEST_F(MessageTest, KeysPressButtons) {
  struct Case {
    int buttons, default_button;
    std::vector<std::string> keys;
    std::string answer;
  };
  std::vector<Case> cases = {
      {message_button::kYes | message_button::kNo, message_button::kNo, {"Enter"}, "answer 4"},
      {message_button::kAbort | message_button::kRetry | message_button::kIgnore,
       0,
       {"i"},
       "answer 32"},
      {message_button::kAbort | message_button::kRetry, 0, {"Alt+R"}, "answer 16"},
      {message_button::kOk | message_button::kCancel, 0, {"Tab", "Space"}, "answer 64"},
      // Esc without Cancel does nothing; OK alone is answered by Esc.
      {message_button::kYes | message_button::kNo, 0, {"Escape", "Right", "Enter"}, "answer 4"},
      {0, 0, {"Escape"}, "answer 1"},
  };
  for (const Case& c : cases) {
    Log log;
    Program program([&] { RunMessage(&log, 0, c.buttons, c.default_button); });
    ASSERT_NE(WaitForBox(), host::kNoWindow);
    for (const std::string& k : c.keys) {
      if (k.size() == 1) {
        host::InjectText(k);
      } else {
        host::InjectKeyCombination(k);
      }
    }
    EXPECT_TRUE(log.WaitFor(c.answer)) << c.keys.front() << " for buttons " << c.buttons;
  }
}

TEST_F(MessageTest, OtherThreadsRunWhileTheBoxIsUp) {
  Log log;
  Program program([&] {
    Structure w(StructureKind::kWindow, "MSG$WINDOW", kModule, {});
    if (!Open(w)) return;
    Start([&log] { log.Add("other thread ran"); }, 0);
    log.Add("answer " + std::to_string(Message("Wait", "", message_icon::kInformation)));
    EXPECT_TRUE(HoldsSemaphore());
  });
  ASSERT_TRUE(log.WaitFor("other thread ran"));
  EXPECT_EQ(log.Lines(), std::vector<std::string>{"other thread ran"});
  ASSERT_NE(WaitForBox(), host::kNoWindow);
  ASSERT_TRUE(automation.Answer("OK").ok);
  EXPECT_TRUE(log.WaitFor("answer 1"));
  program.Join();
  EXPECT_EQ(SemaphoreOverlaps(), 0);
}

// Counts the pixels of the box's top left corner (where the icon goes) that `match`.
template <typename Match>
int CornerPixels(host::WindowId box, Match match) {
  std::shared_ptr<host::Surface> surface = host::SurfaceOf(box);
  int n = 0;
  for (int y = 0; y < 36; ++y) {
    for (int x = 0; x < 40; ++x) {
      uint32_t p = surface->Pixel(x, y);
      n += match((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF) ? 1 : 0;
    }
  }
  return n;
}

TEST_F(MessageTest, IconsAreDrawnOrLoadedByName) {
  auto red = [](uint32_t r, uint32_t g, uint32_t b) { return r > 180 && g < 80 && b < 80; };
  auto blue = [](uint32_t r, uint32_t /*g*/, uint32_t b) { return b > 150 && r < 100; };
  struct Case {
    int icon;
    std::string name;
    bool red, blue;
  };
  for (const Case& c : {Case{message_icon::kStop, "", true, false},
                        Case{message_icon::kNamed, "RUDIV.ICO", false, true},
                        Case{message_icon::kNamed, "MISSING.ICO", false, false},
                        Case{message_icon::kNone, "", false, false}}) {
    Log log;
    Program program([&] {
      Structure w(StructureKind::kWindow, "MSG$WINDOW", kModule, {});
      if (!Open(w)) return;
      log.Add("answer " + std::to_string(Message("Text", "", c.icon, 1, 0, 0, c.name)));
    });
    host::WindowId box = WaitForBox();
    ASSERT_NE(box, host::kNoWindow);
    ASSERT_TRUE(automation.WaitIdle().ok);
    EXPECT_EQ(CornerPixels(box, red) > 20, c.red) << c.icon << c.name;
    EXPECT_EQ(CornerPixels(box, blue) > 20, c.blue) << c.icon << c.name;
    ASSERT_TRUE(automation.Answer("OK").ok);
    EXPECT_TRUE(log.WaitFor("answer 1"));
  }
}

TEST_F(MessageTest, ABoxDestroyedWithItsOwnerAnswersNothing) {
  Log log;
  Program program([&] { RunMessage(&log, 0, message_button::kOk, 0); });
  host::WindowId box = WaitForBox();
  ASSERT_NE(box, host::kNoWindow);
  host::DestroyWindow(host::OwnerOf(box));
  EXPECT_TRUE(log.WaitFor("answer 0"));
}

TEST_F(MessageTest, TheFatalPathBoxIsAnsweredLikeAnyOther) {
  Program({}).Join();  // starts the display when this test runs alone
  std::thread shower([] { ShowMessageBox("Error", "Something broke"); });
  ASSERT_NE(WaitForBox(), host::kNoWindow);
  EXPECT_TRUE(automation.ExpectMessage("Something broke").ok);
  EXPECT_EQ(BoxInfo().title, "Error");
  ASSERT_TRUE(automation.Answer("OK").ok);
  shower.join();
  host::WindowId window;
  std::string text;
  EXPECT_FALSE(CurrentMessageBox(&window, &text));
}

TEST_F(MessageTest, StoreInternalErrorsAreTitledRuntimeError) {
  Program({}).Join();
  for (int code : {kStoreInternalError, 529}) {
    std::thread shower([code] { ShowFatalErrorBox(code, "Internal error : ldsbt line 813"); });
    host::WindowId box = WaitForBox();
    ASSERT_NE(box, host::kNoWindow);
    ASSERT_TRUE(automation.WaitIdle().ok);
    EXPECT_EQ(BoxInfo().title, code == kStoreInternalError ? "Runtime error" : "Error");
    auto red = [](uint32_t r, uint32_t g, uint32_t b) { return r > 180 && g < 80 && b < 80; };
    EXPECT_GT(CornerPixels(box, red), 20);  // the error icon
    ASSERT_TRUE(automation.Answer("OK").ok);
    shower.join();
  }
}

}  // namespace
}  // namespace carelog::window
