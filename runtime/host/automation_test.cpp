#include "runtime/host/automation.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <future>
#include <sstream>
#include <thread>

#include <unistd.h>

#include "runtime/host/automation_script.h"
#include "runtime/host/display.h"
#include "runtime/host/message_queue.h"
#include "runtime/host/messages.h"
#include "runtime/host/window_system.h"

namespace carelog::host {
namespace {

constexpr uint32_t kStop = msg::kFirstPrivate + 50;
constexpr uint32_t kRetitle = msg::kFirstPrivate + 51;  // the entry renames the form

// A small program on a thread of its own: a "Patient" window with an entry (1) that takes
// typed characters and a button "&Save" (2) that asks "Saved." with Yes and No. Posted
// kRetitle, the entry renames the form "Patient - later".
class PatientProgram {
 public:
  PatientProgram() {
    std::promise<void> ready;
    thread_ = std::thread([this, &ready] {
      Build();
      ready.set_value();
      Message m;
      while (GetMessage(&m) && m.number != kStop) DispatchMessage(m);
      DestroyWindow(form_);
    });
    ready.get_future().wait();
  }
  ~PatientProgram() {
    PostThreadMessage(ThreadOf(form_), kStop);
    thread_.join();
  }
  WindowId form() const { return form_; }
  WindowId entry() const { return entry_; }

 private:
  WindowId Control(WindowId parent, int id, const char* kind, const char* text, Rect rect,
                   WindowProc proc = {}) {
    WindowSpec spec;
    spec.kind = WindowKind::kChild;
    spec.parent = parent;
    spec.control_id = id;
    spec.class_name = kind;
    spec.title = text;
    spec.rect = rect;
    spec.style = style::kVisible | style::kTabStop | style::kBorder;
    spec.proc = std::move(proc);
    return CreateWindow(spec);
  }

  void Build() {
    WindowSpec spec;
    spec.title = "Patient";
    spec.rect = Rect::FromSize(0, 0, 240, 120);
    form_ = CreateWindow(spec);
    entry_ =
        Control(form_, 1, "entry", "", Rect::FromSize(10, 10, 120, 22), [this](const Message& m) {
          if (m.number == msg::kChar) {
            SetWindowText(m.window, WindowText(m.window) + static_cast<char>(m.wparam));
          }
          if (m.number == kRetitle) SetWindowText(form_, "Patient - later");
          return DefaultWindowProc(m);
        });
    Control(form_, 2, "button", "&Save", Rect::FromSize(10, 50, 80, 24), [this](const Message& m) {
      if (m.number == msg::kLButtonUp) Ask();
      return DefaultWindowProc(m);
    });
  }

  void Ask() {
    WindowSpec spec;
    spec.kind = WindowKind::kPopup;
    spec.owner = form_;
    spec.title = "Question";
    spec.style = style::kVisible | style::kModal;
    spec.rect = Rect::FromSize(40, 40, 160, 80);
    WindowId box = CreateWindow(spec);
    Control(box, 1, "text", "Saved.", Rect::FromSize(8, 8, 140, 20));
    auto answer = [this, box](const char* title) {
      return [this, box, title](const Message& m) -> int64_t {
        if (m.number == msg::kLButtonUp) {
          SetWindowText(form_, title);
          DestroyWindow(box);
          return 0;
        }
        return DefaultWindowProc(m);
      };
    };
    Control(box, 2, "button", "&Yes", Rect::FromSize(8, 40, 60, 24), answer("Patient - saved"));
    Control(box, 3, "button", "&No", Rect::FromSize(80, 40, 60, 24), answer("Patient"));
  }

  std::thread thread_;
  WindowId form_ = kNoWindow;
  WindowId entry_ = kNoWindow;
};

class AutomationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(StartDisplay(DisplayChoice::kHeadless, &error)) << error;
  }
  void TearDown() override { StopDisplay(); }

  // Runs a script on this thread (which owns no window) against the program's thread.
  int Run(const std::string& source, std::string* out, std::string* err) {
    std::vector<ScriptCommand> commands;
    std::string error;
    if (!ParseScript(source, &commands, &error)) {
      *err = error;
      return -1;
    }
    std::ostringstream o, e;
    int status = RunScript(commands, "session.txt", o, e);
    *out = o.str();
    *err = e.str();
    return status;
  }
};

TEST_F(AutomationTest, AScriptDrivesAWholeSession) {
  PatientProgram program;
  std::string shot = (std::filesystem::temp_directory_path() /
                      ("carelog_session_" + std::to_string(getpid()) + ".png"))
                         .string();
  std::string out, err;
  int status =
      Run("# a short session\n"
          "click 1\n"
          "type \"Ann\"\n"
          "expect-text 1 \"Ann\"\n"
          "click \"Save\"\n"
          "expect-message \"Saved.\"\n"
          "answer \"&Yes\"\n"
          "expect-title \"Patient - saved\"\n"
          "dump\n"
          "screenshot " +
              shot + "\n",
          &out, &err);
  EXPECT_EQ(status, 0) << err;
  EXPECT_EQ(out,
            "window window \"Patient - saved\" active\n"
            "  1 - entry \"Ann\" visible enabled\n"
            "  2 - button \"&Save\" visible enabled focused\n");
  auto picture = Surface::LoadPng(shot);
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->Width(), 240);
  std::filesystem::remove(shot);
}

TEST_F(AutomationTest, AFailedExpectationNamesTheLineAndEndsWithStatusOne) {
  PatientProgram program;
  std::string out, err;
  int status = Run("click 1\ntype \"x\"\nexpect-title \"Visits\"\ndump\n", &out, &err);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(err, "session.txt:3: expect-title: the title is \"Patient\", not \"Visits\"\n");
  EXPECT_EQ(out, "");  // the dump after the failure never ran

  status = Run("answer \"&Yes\"\n", &out, &err);
  EXPECT_EQ(status, 1);
  EXPECT_NE(err.find("no button \"&Yes\""), std::string::npos) << err;
  status = Run("click 9\n", &out, &err);
  EXPECT_EQ(err, "session.txt:1: click: no control 9 in \"Patient\"\n");
}

// A program whose thread opens its first window late is idle before that window exists: the
// wait for a window outlasts that moment, and one for a title never shown fails naming it.
TEST_F(AutomationTest, WaitForWindowOutlastsAProgramThatHasNotOpenedItYet) {
  std::atomic<WindowId> late{kNoWindow};
  std::thread program([&late] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    WindowSpec spec;
    spec.title = "Late";
    spec.rect = Rect::FromSize(0, 0, 200, 100);
    late = CreateWindow(spec);
    Message m;
    while (GetMessage(&m) && m.number != kStop) DispatchMessage(m);
    DestroyWindow(late);
  });
  Automation automation;
  EXPECT_TRUE(automation.WaitForWindow("Late").ok);
  EXPECT_EQ(automation.CurrentTitle(), "Late");
  AutomationResult missing = automation.WaitForWindow("Never", std::chrono::milliseconds(40));
  EXPECT_FALSE(missing.ok);
  EXPECT_NE(missing.message.find("\"Never\""), std::string::npos) << missing.message;
  if (late != kNoWindow) PostThreadMessage(ThreadOf(late), kStop);
  program.join();
}

// A title that comes a moment after the program was last idle (as a report's preview comes
// up from its timer) is waited for; one that never comes still fails.
TEST_F(AutomationTest, ExpectTitleWaitsForATitleStillToCome) {
  PatientProgram program;
  std::thread later([&program] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    PostMessage(program.entry(), kRetitle);
  });
  std::string out, err;
  EXPECT_EQ(Run("expect-title \"Patient - later\"\n", &out, &err), 0) << err;
  later.join();
  EXPECT_EQ(Run("expect-title \"Patient - never\"\n", &out, &err), 1);
  EXPECT_EQ(
      err,
      "session.txt:1: expect-title: the title is \"Patient - later\", not \"Patient - never\"\n");
}

TEST_F(AutomationTest, DisabledControlsCannotBeClicked) {
  PatientProgram program;
  EnableWindow(ChildWithId(program.form(), 2), false);
  std::string out, err;
  EXPECT_EQ(Run("click \"Save\"\n", &out, &err), 1);
  EXPECT_EQ(err, "session.txt:1: click: control \"Save\" is disabled\n");
}

// What the window runtime would register: names, menus and message boxes of its own.
class FakeRuntime : public AutomationPeer {
 public:
  bool ResolveEquate(WindowId, const std::string& name, int* equate) override {
    if (name != "?PAT:NAME") return false;
    *equate = 1;
    return true;
  }
  AutomationResult ChooseMenu(WindowId, const std::vector<std::string>& path) override {
    chosen = path;
    if (path.size() == 2 && path[1] == "&Browse Patients") return AutomationResult{};
    return AutomationResult::Failure("no menu item \"" + path.back() + "\"");
  }
  AutomationResult SelectRow(WindowId, const ControlInfo& control, int row) override {
    selected.push_back(control.equate * 100 + row);
    return AutomationResult{};
  }
  std::vector<std::string> chosen;
  std::vector<int> selected;  // equate x 100 + row
};

TEST_F(AutomationTest, ThePeerNamesEquatesAndChoosesMenus) {
  PatientProgram program;
  FakeRuntime runtime;
  RegisterAutomationPeer(&runtime);
  std::string out, err;
  EXPECT_EQ(Run("click ?PAT:NAME\ntype \"Bo\"\nexpect-text ?PAT:NAME \"Bo\"\n"
                "menu \"&Browse\" \"&Browse Patients\"\n",
                &out, &err),
            0)
      << err;
  EXPECT_EQ(runtime.chosen, (std::vector<std::string>{"&Browse", "&Browse Patients"}));
  EXPECT_EQ(Run("select ?PAT:NAME 3\n", &out, &err), 0) << err;
  EXPECT_EQ(runtime.selected, std::vector<int>{103});
  EXPECT_EQ(Run("select ?PAT:NAME -1\n", &out, &err), 1);
  EXPECT_EQ(err, "session.txt:1: select: row \"-1\" is not a row number\n");
  EXPECT_EQ(Run("menu \"&File\" \"E&xit\"\n", &out, &err), 1);
  EXPECT_EQ(err, "session.txt:1: menu: no menu item \"E&xit\"\n");
  RegisterAutomationPeer(nullptr);
  EXPECT_EQ(Run("menu \"&File\"\n", &out, &err), 1);
}

TEST(AutomationScript, ParsesCommandsArgumentsAndComments) {
  std::vector<ScriptCommand> commands;
  std::string error;
  ASSERT_TRUE(
      ParseScript("wait\r\n\n  # comment\nkey Ctrl+PageDown Enter # two keys\n"
                  "type \"say \\\"hi\\\"\\n\"\nexpect-text ?OK \"\"\n",
                  &commands, &error))
      << error;
  ASSERT_EQ(commands.size(), 4u);
  EXPECT_EQ(commands[0].verb, ScriptVerb::kWait);
  EXPECT_EQ(commands[1].line, 4);
  ASSERT_EQ(commands[1].arguments.size(), 2u);
  EXPECT_EQ(commands[1].arguments[1].text, "Enter");
  EXPECT_EQ(commands[2].arguments[0].text, "say \"hi\"\n");
  EXPECT_TRUE(commands[3].arguments[1].quoted);
  EXPECT_EQ(commands[3].arguments[1].text, "");
}

TEST(AutomationScript, RejectsMalformedLinesNamingThem) {
  struct Case {
    const char* source;
    const char* error;
  } cases[] = {
      {"wait\nhover 3\n", "line 2: unknown command \"hover\""},
      {"type \"open\n", "line 1: the text has no closing quote"},
      {"type ann\n", "line 1: type: texts go in double quotes"},
      {"expect-text \"1\" \"x\"\n",
       "line 1: expect-text: the first argument is an equate, "
       "without quotes"},
      {"expect-text 1 x\n", "line 1: expect-text: texts go in double quotes"},
      {"dump now\n", "line 1: dump: takes 0 argument(s), not 1"},
      {"key\n", "line 1: key: takes at least 1 argument(s), not 0"},
      {"click a\"b\n", "line 1: a quote inside a word"},
      {"type \"a\"b\n", "line 1: a space must follow the closing quote"},
      {"type \"\\q\"\n", "line 1: unknown escape \\q"},
  };
  for (const Case& c : cases) {
    std::vector<ScriptCommand> commands;
    std::string error;
    EXPECT_FALSE(ParseScript(c.source, &commands, &error)) << c.source;
    EXPECT_EQ(error, c.error) << c.source;
  }
}

TEST(AutomationScript, FindsTheScriptArgument) {
  const char* argv[] = {"carelog", "--headless", "--script", "session.txt"};
  std::string path;
  ASSERT_TRUE(ScriptPathFromArguments(4, argv, &path));
  EXPECT_EQ(path, "session.txt");
  EXPECT_FALSE(ScriptPathFromArguments(3, argv, &path));
}

}  // namespace
}  // namespace carelog::host
