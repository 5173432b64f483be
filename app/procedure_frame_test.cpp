#include "app/procedure_frame.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/app_testing.h"
#include "app/procedure_globals.h"
#include "runtime/window/window_testing.h"

namespace carelog::app {
namespace {

using window::Structure;
using window::StructureKind;
using window::UseTable;
namespace wt = window::testing;

void Dialog() {
  testing::RegisterTestWindows();
}

// Runs `procedure` as a program's main procedure and waits until it has ended.
void RunAsProgram(const window::Procedure& procedure) {
  wt::Program program(procedure);
  program.Join();
}

// What a callee saw on entry and what its caller got back.
struct Call {
  int32_t entry_request = -1;
  int32_t request_after_entry = -1;
  int32_t response_after_entry = -1;
  int32_t response = -1;
};

// A procedure without a window: records its entry and answers `answer` (0 leaves the local
// response alone).
std::function<void()> Callee(Call* call, int32_t answer) {
  return [call, answer] {
    Structure unused(StructureKind::kWindow, "PROC$WINDOW", wt::kModule, UseTable{});
    ProcedureFrame frame(unused, false);
    call->entry_request = frame.entry_request();
    call->request_after_entry = ProcRequest;
    call->response_after_entry = ProcResponse;
    if (answer != 0) frame.local_response = answer;
    frame.Return();
  };
}

TEST(RequestProtocol, TheCalleeTakesTheRequestAndTheCallerGetsTheResponse) {
  Call insert, plain, unanswered;
  RunAsProgram([&] {
    insert.response = CallProcedure(kReqInsert, Callee(&insert, kRespCompleted));
    // ProcResponse still holds 1 until the next call: the callee clears it on entry.
    plain.response = CallProcedure(kNoRequest, Callee(&plain, 0));
    unanswered.response = CallProcedure(kReqChange, nullptr);
  });
  EXPECT_EQ(insert.entry_request, kReqInsert);
  EXPECT_EQ(insert.request_after_entry, 0);
  EXPECT_EQ(insert.response, kRespCompleted);
  EXPECT_EQ(plain.entry_request, kNoRequest);
  EXPECT_EQ(plain.response_after_entry, 0);
  EXPECT_EQ(plain.response, kRespCancelled) << "no answer set: cancelled";
  EXPECT_EQ(unanswered.response, kRespCancelled) << "an absent procedure answers cancelled";
  EXPECT_EQ(ProcRequest, 0);
}

TEST(RequestProtocol, AFormPassesOnOnlyItsOwnResponse) {
  Call select, form;
  int32_t form_saw = -1;
  RunAsProgram([&] {
    form.response = CallProcedure(kReqChange, [&] {
      Structure unused(StructureKind::kWindow, "PROC$WINDOW", wt::kModule, UseTable{});
      ProcedureFrame frame(unused, false);
      form.entry_request = frame.entry_request();
      form_saw = CallProcedure(kReqSelect, Callee(&select, kRespCompleted));
      frame.Return();  // the form itself was cancelled
    });
  });
  EXPECT_EQ(select.entry_request, kReqSelect);
  EXPECT_EQ(form_saw, kRespCompleted);
  EXPECT_EQ(form.entry_request, kReqChange);
  EXPECT_EQ(form.response, kRespCancelled);
}

TEST(ProcedureFrame, ReturnClosesTheWindowOnceAndOnlyWhenItWasOpened) {
  Dialog();
  wt::FatalErrors fatal;
  bool open_before = false, open_after = true;
  RunAsProgram([&] {
    Structure w(StructureKind::kWindow, "PROC$WINDOW", wt::kModule, UseTable{});
    ProcedureFrame frame(w, false);
    ASSERT_TRUE(frame.Open());
    open_before = w.is_open() && frame.window_opened();
    frame.Return();
    frame.Return();
    open_after = w.is_open();
  });
  EXPECT_TRUE(open_before);
  EXPECT_FALSE(open_after);
  EXPECT_TRUE(fatal.Seen().empty()) << "closing twice would be runtime error 536";
}

TEST(ProcedureFrame, FirstOpenWindowInitialisesAndGainFocusForcesARefresh) {
  Dialog();
  std::vector<std::string> seen;
  RunAsProgram([&] {
    Structure w(StructureKind::kWindow, "PROC$WINDOW", wt::kModule, UseTable{});
    ProcedureFrame frame(w, false);
    ASSERT_TRUE(frame.Open());
    window::Post(window::event::kGainFocus);
    window::Post(window::event::kOpenWindow);
    // The focus lands on the first button too (EVENT:Selected): only window events count.
    while (seen.size() < 3 && window::Accept()) {
      if (!frame.TakeWindowEvent()) continue;
      seen.push_back(wt::Describe() + (frame.window_initialised() ? " initialised" : "") +
                     (frame.force_refresh() ? " forced" : ""));
    }
    frame.Return();
  });
  // The refresh routine clears the flag that GainFocus set.
  EXPECT_EQ(seen, (std::vector<std::string>{"OpenWindow initialised", "GainFocus initialised",
                                            "OpenWindow initialised"}));
}

TEST(ProcedureFrame, ARightButtonKeyCodeIsResetOnEntryAndOtherKeysAreKept) {
  Dialog();
  std::map<uint32_t, uint32_t> seen;  // key code set -> key code the callee saw
  RunAsProgram([&] {
    Structure w(StructureKind::kWindow, "PROC$WINDOW", wt::kModule, UseTable{});
    ASSERT_TRUE(window::Open(w));
    ASSERT_TRUE(window::Accept());  // EVENT:OpenWindow is current
    for (uint32_t code : {2u, 1u, 0x41u, 0x102u}) {
      window::SetKeyCode(code);
      CallProcedure(kNoRequest, [&] {
        Structure unused(StructureKind::kWindow, "PROC$WINDOW", wt::kModule, UseTable{});
        ProcedureFrame frame(unused, false);
        seen[code] = window::KeyCode();
      });
    }
    window::Close(w);
  });
  EXPECT_EQ(seen[2u], 0u);
  EXPECT_EQ(seen[1u], 1u);
  EXPECT_EQ(seen[0x41u], 0x41u);
  EXPECT_EQ(seen[0x102u], 0x102u) << "shift + right button is another key code";
}

// The fonts of the window (control 0) and of controls 1, 2, 5 and the unlabelled one.
std::vector<host::FontSpec> FontsAfterOpening(bool takes_default_font) {
  std::vector<host::FontSpec> fonts;
  RunAsProgram([&] {
    Structure w(StructureKind::kWindow, "PROC$WINDOW", wt::kModule, UseTable{});
    ProcedureFrame frame(w, takes_default_font);
    ASSERT_TRUE(frame.Open());
    fonts.push_back(w.font);
    for (const auto& control : w.controls) fonts.push_back(control->font);
    frame.Return();
  });
  return fonts;
}

TEST(DefaultFont, AppliedToTheWindowAndEveryControlWhenLargerThanSix) {
  Dialog();
  std::vector<host::FontSpec> plain = FontsAfterOpening(false);
  ASSERT_EQ(plain.size(), 5u);

  DisplayFont = DisplayFontSettings{"Courier New", 7, 0x0000FF, 0x1000 | 700};
  std::vector<host::FontSpec> fonted = FontsAfterOpening(true);
  ASSERT_EQ(fonted.size(), 5u);
  // The unlabelled prompt has no number; it follows the window's font, set as control 0.
  for (size_t i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(fonted[i].face, "Courier New");
    EXPECT_EQ(fonted[i].points, 7);
    EXPECT_EQ(fonted[i].weight, 700);
    EXPECT_TRUE(fonted[i].italic);
    EXPECT_EQ(fonted[i].color, (host::Color{255, 0, 0}));
  }
  EXPECT_EQ(FontsAfterOpening(false), plain) << "procedures without the step keep their fonts";

  DisplayFont = DisplayFontSettings{"Courier New", 6, 0x0000FF, 700};
  EXPECT_EQ(FontsAfterOpening(true), plain) << "6 points or less is no default font";
  DisplayFont = DisplayFontSettings{};
}

}  // namespace
}  // namespace carelog::app
