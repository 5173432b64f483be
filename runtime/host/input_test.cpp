#include "runtime/host/input.h"

#include <gtest/gtest.h>

#include <vector>

#include "runtime/host/display.h"
#include "runtime/host/mdi.h"
#include "runtime/host/message_queue.h"
#include "runtime/host/messages.h"
#include "runtime/host/window_system.h"

namespace carelog::host {
namespace {

class InputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(StartDisplay(DisplayChoice::kHeadless, &error)) << error;
    WindowSpec spec;
    spec.title = "Form";
    spec.rect = Rect::FromSize(0, 0, 300, 200);
    form_ = CreateWindow(spec);
    spec.kind = WindowKind::kChild;
    spec.parent = form_;
    spec.style = style::kVisible | style::kTabStop;
    spec.rect = Rect::FromSize(10, 10, 100, 20);
    first_ = CreateWindow(spec);
    spec.rect = Rect::FromSize(10, 40, 100, 20);
    second_ = CreateWindow(spec);
    Drain();
  }
  void TearDown() override {
    DestroyWindow(form_);
    for (WindowId w : TopLevelWindows()) DestroyWindow(w);
    Drain();
    StopDisplay();
  }
  // Every posted message except paints, in order.
  std::vector<Message> Drain() {
    std::vector<Message> out;
    UpdateWindows();
    Message m;
    while (PeekMessage(&m)) {
      if (m.number != msg::kPaint) out.push_back(m);
    }
    return out;
  }
  WindowId form_ = kNoWindow, first_ = kNoWindow, second_ = kNoWindow;
};

TEST_F(InputTest, ACaptureInAnotherTopLevelGetsThePointInItsOwnCoordinates) {
  WindowSpec spec;
  spec.kind = WindowKind::kPopup;
  spec.owner = form_;
  spec.rect = Rect::FromSize(200, 150, 80, 60);
  WindowId popup = CreateWindow(spec);
  Drain();
  SetCapture(popup);
  InjectMouseButton(form_, Point{15, 45}, MouseButton::kLeft, true);
  InjectMouseMove(form_, Point{230, 170});
  ReleaseCapture();
  std::vector<Message> got = Drain();
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].window, popup);
  EXPECT_EQ((Point{UnpackX(got[0].lparam), UnpackY(got[0].lparam)}), (Point{-185, -105}));
  EXPECT_EQ((Point{UnpackX(got[1].lparam), UnpackY(got[1].lparam)}), (Point{30, 20}));
  EXPECT_EQ(MousePosition(), (Point{230, 170}));
  DestroyWindow(popup);
}

TEST_F(InputTest, AClickFocusesATabStopAndArrivesInClientCoordinates) {
  InjectMouseButton(form_, Point{15, 45}, MouseButton::kLeft, true);
  InjectMouseButton(form_, Point{15, 45}, MouseButton::kLeft, false);
  EXPECT_EQ(FocusWindow(), second_);
  std::vector<Message> got = Drain();
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].window, second_);
  EXPECT_EQ(got[0].number, msg::kLButtonDown);
  EXPECT_EQ(UnpackX(got[0].lparam), 5);
  EXPECT_EQ(UnpackY(got[0].lparam), 5);
  EXPECT_EQ(got[1].number, msg::kLButtonUp);
}

TEST_F(InputTest, AClickOnADisabledWindowBeepsAndDeliversNothing) {
  EnableWindow(second_, false);
  Drain();
  int beeps = BeepCount();
  InjectMouseButton(form_, Point{15, 45}, MouseButton::kLeft, true);
  EXPECT_EQ(BeepCount(), beeps + 1);
  EXPECT_TRUE(Drain().empty());
}

TEST_F(InputTest, KeyCombinationsGoToTheFocusWithTheirModifiers) {
  SetFocus(first_);
  Drain();
  ASSERT_TRUE(InjectKeyCombination("Ctrl+PageDown"));
  std::vector<Message> got = Drain();
  ASSERT_EQ(got.size(), 4u);
  EXPECT_EQ(got[1].window, first_);
  EXPECT_EQ(got[1].number, msg::kKeyDown);
  EXPECT_EQ(got[1].wparam, static_cast<uint64_t>(key::kPageDown));
  EXPECT_TRUE(got[1].lparam & modifier::kCtrl);
  EXPECT_EQ(got[3].number, msg::kKeyUp);
  EXPECT_EQ(got[3].wparam, static_cast<uint64_t>(key::kCtrl));
  EXPECT_FALSE(IsKeyDown(key::kCtrl));

  ASSERT_TRUE(InjectKeyCombination("Enter"));
  got = Drain();
  ASSERT_EQ(got.size(), 3u);  // down, the character it types, up
  EXPECT_EQ(got[1].number, msg::kChar);
  EXPECT_EQ(got[1].wparam, 13u);

  InjectText("a\xE9");
  got = Drain();
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[1].wparam, 0xE9u);

  EXPECT_FALSE(InjectKeyCombination("Ctrl+Nothing"));
  EXPECT_FALSE(InjectKeyCombination(""));
  EXPECT_TRUE(Drain().empty());
}

TEST_F(InputTest, KeyNames) {
  EXPECT_EQ(VirtualKeyByName("F5"), key::kF1 + 4);
  EXPECT_EQ(VirtualKeyByName("pagedown"), key::kPageDown);
  EXPECT_EQ(VirtualKeyByName("x"), 'X');
  EXPECT_EQ(VirtualKeyByName("7"), '7');
  EXPECT_EQ(VirtualKeyByName("F0"), -1);
  EXPECT_EQ(VirtualKeyByName("F99"), -1);
}

TEST_F(InputTest, CaptionButtonsOfMdiChildrenWork) {
  WindowSpec spec;
  spec.kind = WindowKind::kMdiClient;
  spec.parent = form_;
  spec.rect = Rect::FromSize(0, 0, 300, 200);
  WindowId client = CreateWindow(spec);
  spec.kind = WindowKind::kMdiChild;
  spec.parent = client;
  spec.style = style::kVisible | style::kCaption | style::kMaximizeBox | style::kMinimizeBox;
  spec.rect = Rect::FromSize(0, 0, 150, 100);
  WindowId a = CreateWindow(spec);
  spec.rect = Rect::FromSize(100, 80, 150, 100);
  WindowId b = CreateWindow(spec);
  ASSERT_EQ(MdiActiveChild(client), b);
  Drain();
  // The caption of a, where b does not cover it.
  InjectMouseButton(form_, Point{6, 8}, MouseButton::kLeft, true);
  EXPECT_EQ(MdiActiveChild(client), a);
  // Its maximize button: the second from the right.
  int size = kCaptionHeight - 4;
  Point maximize{150 - kFrameWidth - 2 - size - 2 - size / 2, kFrameWidth + 2 + size / 2};
  InjectMouseButton(form_, maximize, MouseButton::kLeft, true);
  EXPECT_EQ(ShowStateOf(a), ShowState::kMaximized);
  Drain();
  MdiRestore(a);
  Point close{150 - kFrameWidth - 2 - size / 2, kFrameWidth + 2 + size / 2};
  InjectMouseButton(form_, close, MouseButton::kLeft, true);
  std::vector<Message> got = Drain();
  bool closed = false;
  for (const Message& m : got) closed |= m.window == a && m.number == msg::kClose;
  EXPECT_TRUE(closed);
}

TEST_F(InputTest, TypedTextIsEnteredInTheAnsiSetOrRefusedWholeWithABeep) {
  SetFocus(first_);
  Drain();
  int beeps = BeepCount();
  EXPECT_TRUE(
      InjectTypedUtf8("N\xC3\xBA\xC3\xB1"
                      "ez \xE2\x82\xAC"));         // "Núñez €"
  EXPECT_FALSE(InjectTypedUtf8("\xC5\x91"));       // o with double acute: not in the set
  EXPECT_FALSE(InjectTypedUtf8("a\xE4\xB8\xAD"));  // nothing of a mixed keystroke
  EXPECT_EQ(BeepCount(), beeps + 2);
  std::string typed;
  for (const Message& m : Drain()) {
    if (m.number == msg::kChar) typed += static_cast<char>(m.wparam);
  }
  EXPECT_EQ(typed,
            "N\xFA\xF1"
            "ez \x80");
}

TEST_F(InputTest, ATopLevelMaximizesToTheScreenAndTheDisplaysStateChangesKeepItsRect) {
  ASSERT_TRUE(SetHeadlessScreenSize(Size{1600, 1000}));
  EXPECT_EQ(ScreenWorkArea(), (Rect{0, 0, 1600, 1000}));
  MoveWindow(form_, Rect::FromSize(40, 30, 300, 200));
  Drain();
  ShowWindow(form_, ShowState::kMaximized);
  EXPECT_EQ(WindowRect(form_), (Rect{0, 0, 1600, 1000}));
  EXPECT_EQ(SurfaceOf(form_)->Width(), 1600);
  std::vector<uint64_t> sizes;
  SetWindowProc(form_, [&](const Message& m) {
    if (m.number == msg::kSize) sizes.push_back(m.wparam);
    return DefaultWindowProc(m);
  });
  ShowWindow(form_, ShowState::kMinimized);  // keeps the size, but the window is told
  EXPECT_EQ(sizes, (std::vector<uint64_t>{static_cast<uint64_t>(ShowState::kMinimized)}));
  ShowWindow(form_, ShowState::kNormal);
  EXPECT_EQ(WindowRect(form_), Rect::FromSize(40, 30, 300, 200));
  // What the window manager did is taken as done: the size it chose follows separately.
  InjectWindowState(form_, ShowState::kMaximized);
  EXPECT_EQ(ShowStateOf(form_), ShowState::kMaximized);
  EXPECT_EQ(WindowRect(form_), Rect::FromSize(40, 30, 300, 200));
  EXPECT_EQ(sizes.back(), static_cast<uint64_t>(ShowState::kMaximized));
  SetWindowProc(form_, nullptr);
  SetHeadlessScreenSize(Size{1024, 768});
}

TEST(Display, TheHeadlessScreenSizeComesFromTheArguments) {
  const char* wide[] = {"carelog", "--screen=1920x1080"};
  ASSERT_TRUE(ScreenSizeFromArguments(2, wide));
  EXPECT_EQ(HeadlessScreenSize(), (Size{1920, 1080}));
  for (const char* bad : {"--screen=1920", "--screen=0x600", "--screen=800x600x", "--screen=x",
                          "--screen=99999x600", "--screen=-5x600"}) {
    const char* args[] = {"carelog", bad};
    EXPECT_FALSE(ScreenSizeFromArguments(2, args)) << bad;
  }
  EXPECT_EQ(HeadlessScreenSize(), (Size{1920, 1080}));
  EXPECT_TRUE(SetHeadlessScreenSize(Size{1024, 768}));
}

TEST(Display, ArgumentsChooseTheBackend) {
  DisplayChoice choice;
  const char* headless[] = {"carelog", "--script", "x", "--headless"};
  ASSERT_TRUE(DisplayChoiceFromArguments(4, headless, &choice));
  EXPECT_EQ(choice, DisplayChoice::kHeadless);
  const char* sdl[] = {"carelog", "--display=sdl"};
  ASSERT_TRUE(DisplayChoiceFromArguments(2, sdl, &choice));
  EXPECT_EQ(choice, DisplayChoice::kSdl);
  const char* bad[] = {"carelog", "--display=vga"};
  EXPECT_FALSE(DisplayChoiceFromArguments(2, bad, &choice));
}

TEST(Display, AskingForTheScreenWithoutADisplaySaysSoPlainly) {
  std::string display = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
  std::string wayland = std::getenv("WAYLAND_DISPLAY") ? std::getenv("WAYLAND_DISPLAY") : "";
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  std::string error;
  EXPECT_FALSE(StartDisplay(DisplayChoice::kSdl, &error));
  EXPECT_NE(error.find("no display"), std::string::npos) << error;
  EXPECT_TRUE(StartDisplay(DisplayChoice::kAuto, &error));
  EXPECT_EQ(DisplayName(), "headless");
  StopDisplay();
  EXPECT_EQ(DisplayName(), "");
  if (!display.empty()) setenv("DISPLAY", display.c_str(), 1);
  if (!wayland.empty()) setenv("WAYLAND_DISPLAY", wayland.c_str(), 1);
}

}  // namespace
}  // namespace carelog::host
