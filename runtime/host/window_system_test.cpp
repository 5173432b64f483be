#include "runtime/host/window_system.h"

#include <gtest/gtest.h>

#include <vector>

#include "runtime/host/mdi.h"
#include "runtime/host/message_queue.h"
#include "runtime/host/messages.h"

namespace carelog::host {
namespace {

// Records the window-system messages each window receives.
struct Log {
  std::vector<std::pair<WindowId, uint32_t>> entries;
  WindowProc For() {
    return [this](const Message& m) -> int64_t {
      if (m.number != msg::kPaint) entries.push_back({m.window, m.number});
      return DefaultWindowProc(m);
    };
  }
  bool Has(WindowId w, uint32_t number) const {
    for (auto& e : entries) {
      if (e.first == w && e.second == number) return true;
    }
    return false;
  }
};

class WindowSystemTest : public ::testing::Test {
 protected:
  Log log;  // outlives the windows that TearDown destroys
  void TearDown() override {
    for (WindowId w : TopLevelWindows()) DestroyWindow(w);
    UpdateWindows();
    Message m;
    while (PeekMessage(&m)) {
    }
  }

  WindowId TopLevel(const char* title, WindowProc proc = {}) {
    WindowSpec spec;
    spec.title = title;
    spec.rect = Rect::FromSize(0, 0, 400, 300);
    spec.proc = std::move(proc);
    return CreateWindow(spec);
  }
  WindowId Popup(WindowId owner, uint32_t extra_style = 0) {
    WindowSpec spec;
    spec.kind = WindowKind::kPopup;
    spec.owner = owner;
    spec.rect = Rect::FromSize(50, 50, 100, 80);
    spec.style = style::kVisible | extra_style;
    return CreateWindow(spec);
  }
  WindowId Child(WindowId parent, Rect rect, int id = 0, WindowProc proc = {}) {
    WindowSpec spec;
    spec.kind = WindowKind::kChild;
    spec.parent = parent;
    spec.rect = rect;
    spec.control_id = id;
    spec.proc = std::move(proc);
    return CreateWindow(spec);
  }
};

TEST_F(WindowSystemTest, ShowingATopLevelActivatesItAndRaisesIt) {
  WindowId a = TopLevel("A"), b = TopLevel("B");
  EXPECT_EQ(ActiveWindow(), b);
  EXPECT_EQ(TopLevelWindows(), (std::vector<WindowId>{b, a}));
  EXPECT_EQ(SetActiveWindow(a), b);
  EXPECT_EQ(TopLevelWindows(), (std::vector<WindowId>{a, b}));
  EXPECT_EQ(FocusWindow(), a);
}

TEST_F(WindowSystemTest, OwnedPopupsStayAboveTheirOwner) {
  WindowId a = TopLevel("A");
  WindowId p = Popup(a);
  WindowId b = TopLevel("B");
  EXPECT_EQ(TopLevelWindows(), (std::vector<WindowId>{b, p, a}));
  SetActiveWindow(a);
  EXPECT_EQ(TopLevelWindows(), (std::vector<WindowId>{p, a, b}));
  EXPECT_EQ(ActiveWindow(), a);
}

TEST_F(WindowSystemTest, DestroyingTheActivePopupActivatesItsOwner) {
  WindowId a = TopLevel("A");
  TopLevel("B");
  WindowId p = Popup(a);
  EXPECT_EQ(ActiveWindow(), p);
  DestroyWindow(p);
  EXPECT_EQ(ActiveWindow(), a);
}

TEST_F(WindowSystemTest, AModalPopupDisablesItsOwnerUntilItGoes) {
  WindowId a = TopLevel("A");
  WindowId p = Popup(a, style::kModal);
  EXPECT_FALSE(IsEnabled(a));
  EXPECT_EQ(SetActiveWindow(a), kNoWindow);  // a disabled window cannot be activated
  EXPECT_EQ(ActiveWindow(), p);
  DestroyWindow(p);
  EXPECT_TRUE(IsEnabled(a));
  EXPECT_EQ(ActiveWindow(), a);
}

TEST_F(WindowSystemTest, DestroyingAWindowDestroysChildrenAndOwnedPopupsDeepestFirst) {
  WindowId a = TopLevel("A", log.For());
  WindowId c = Child(a, Rect::FromSize(0, 0, 10, 10), 1, log.For());
  WindowId g = Child(c, Rect::FromSize(0, 0, 5, 5), 2, log.For());
  WindowId p = Popup(a);
  SetWindowProc(p, log.For());
  log.entries.clear();
  DestroyWindow(a);
  for (WindowId w : {a, c, g, p}) EXPECT_FALSE(IsWindow(w));
  std::vector<WindowId> destroyed;
  for (auto& [w, n] : log.entries) {
    if (n == msg::kDestroy) destroyed.push_back(w);
  }
  EXPECT_EQ(destroyed, (std::vector<WindowId>{p, g, c, a}));
  EXPECT_EQ(ActiveWindow(), kNoWindow);
  EXPECT_EQ(FocusWindow(), kNoWindow);
}

TEST_F(WindowSystemTest, AWindowDestroyingItselfAgainIsDestroyedOnce) {
  int destroys = 0;
  WindowId a = TopLevel("A", [&](const Message& m) -> int64_t {
    if (m.number == msg::kDestroy) {
      ++destroys;
      EXPECT_FALSE(DestroyWindow(m.window));
    }
    return DefaultWindowProc(m);
  });
  EXPECT_TRUE(DestroyWindow(a));
  EXPECT_EQ(destroys, 1);
  EXPECT_FALSE(DestroyWindow(a));
}

TEST_F(WindowSystemTest, FocusMovesWithMessagesAndActivatesTheTopLevel) {
  WindowId a = TopLevel("A");
  WindowId field1 = Child(a, Rect::FromSize(0, 0, 50, 20), 1, log.For());
  WindowId field2 = Child(a, Rect::FromSize(0, 30, 50, 20), 2, log.For());
  WindowId b = TopLevel("B");
  ASSERT_EQ(ActiveWindow(), b);
  SetFocus(field1);
  EXPECT_EQ(ActiveWindow(), a);
  EXPECT_EQ(FocusWindow(), field1);
  EXPECT_EQ(SetFocus(field2), field1);
  EXPECT_TRUE(log.Has(field1, msg::kSetFocus));
  EXPECT_TRUE(log.Has(field1, msg::kKillFocus));
  EXPECT_TRUE(log.Has(field2, msg::kSetFocus));
}

TEST_F(WindowSystemTest, ReactivationGivesBackTheFocusTheWindowHad) {
  WindowId a = TopLevel("A");
  Child(a, Rect::FromSize(0, 0, 50, 20), 1);
  WindowId field2 = Child(a, Rect::FromSize(0, 30, 50, 20), 2);
  SetFocus(field2);
  WindowId box = Popup(a, style::kModal);
  EXPECT_EQ(FocusWindow(), box);
  DestroyWindow(box);
  EXPECT_EQ(ActiveWindow(), a);
  EXPECT_EQ(FocusWindow(), field2);
  WindowId b = TopLevel("B");
  EXPECT_EQ(FocusWindow(), b);
  ShowWindow(field2, ShowState::kHidden);
  SetActiveWindow(a);
  EXPECT_EQ(FocusWindow(), a);  // the old focus is hidden now
}

TEST_F(WindowSystemTest, HiddenOrDisabledWindowsCannotTakeOrKeepTheFocus) {
  WindowId a = TopLevel("A");
  WindowId group = Child(a, Rect::FromSize(0, 0, 100, 100));
  WindowId field = Child(group, Rect::FromSize(0, 0, 50, 20));
  SetFocus(field);
  ASSERT_EQ(FocusWindow(), field);
  EnableWindow(group, false);
  EXPECT_EQ(FocusWindow(), kNoWindow);
  EXPECT_FALSE(IsEnabled(field));
  EXPECT_EQ(SetFocus(field), kNoWindow);
  EnableWindow(group, true);
  ShowWindow(field, ShowState::kHidden);
  EXPECT_EQ(SetFocus(field), kNoWindow);
  EXPECT_EQ(FocusWindow(), kNoWindow);
}

TEST_F(WindowSystemTest, CaptureGoesToOneWindowAndTheLoserIsTold) {
  WindowId a = TopLevel("A");
  WindowId x = Child(a, Rect::FromSize(0, 0, 10, 10), 1, log.For());
  WindowId y = Child(a, Rect::FromSize(20, 0, 10, 10), 2, log.For());
  SetCapture(x);
  EXPECT_EQ(SetCapture(y), x);
  EXPECT_TRUE(log.Has(x, msg::kCaptureLost));
  DestroyWindow(y);
  EXPECT_EQ(CaptureWindow(), kNoWindow);
}

TEST_F(WindowSystemTest, WindowAtFindsTheTopmostVisibleChild) {
  // Children stack in creation order, the first one on top, as tab order expects.
  WindowId a = TopLevel("A");
  WindowId over = Child(a, Rect::FromSize(50, 50, 100, 100));
  WindowId under = Child(a, Rect::FromSize(10, 10, 100, 100));
  WindowId inner = Child(over, Rect::FromSize(5, 5, 10, 10));
  EXPECT_EQ(WindowAt(a, Point{20, 20}), under);
  EXPECT_EQ(WindowAt(a, Point{60, 60}), inner);
  EXPECT_EQ(WindowAt(a, Point{70, 70}), over);
  BringToTop(under);
  EXPECT_EQ(WindowAt(a, Point{60, 60}), under);
  ShowWindow(under, ShowState::kHidden);
  EXPECT_EQ(WindowAt(a, Point{60, 60}), inner);
  EXPECT_EQ(WindowAt(a, Point{300, 200}), a);
}

TEST_F(WindowSystemTest, ToggleKeysFlipOnKeyDownAndShowInTheModifierBits) {
  bool caps = IsKeyToggled(key::kCapsLock);
  SetKeyDown(key::kCapsLock, true);
  SetKeyDown(key::kCapsLock, true);  // auto-repeat does not flip it again
  SetKeyDown(key::kCapsLock, false);
  EXPECT_EQ(IsKeyToggled(key::kCapsLock), !caps);
  SetKeyToggled(key::kCapsLock, true);
  SetKeyDown(key::kCtrl, true);
  SetKeyDown(key::kShift, true);
  EXPECT_EQ(ModifierBits() & 0x1700u, modifier::kCtrl | modifier::kShift | modifier::kCapsLock);
  SetKeyDown(key::kCtrl, false);
  SetKeyDown(key::kShift, false);
  SetKeyToggled(key::kCapsLock, caps);
}

TEST_F(WindowSystemTest, CaretFollowsItsOwnerAndDiesWithIt) {
  WindowId a = TopLevel("A");
  WindowId field = Child(a, Rect::FromSize(0, 0, 50, 20));
  ASSERT_TRUE(CreateCaret(field, 1, 14));
  EXPECT_FALSE(SetCaretPosition(a, Point{3, 2}));  // not the owner
  ASSERT_TRUE(SetCaretPosition(field, Point{3, 2}));
  ShowCaret(field, true);
  EXPECT_EQ(Caret().rect, Rect::FromSize(3, 2, 1, 14));
  EXPECT_TRUE(Caret().visible);
  DestroyWindow(field);
  EXPECT_EQ(Caret().window, kNoWindow);
}

TEST_F(WindowSystemTest, ClipboardKeepsTextWithoutADisplay) {
  SetClipboardText("Caf\xE9");
  EXPECT_EQ(ClipboardText(), "Caf\xE9");
}

// --- MDI -------------------------------------------------------------------------------

class MdiTest : public WindowSystemTest {
 protected:
  void SetUp() override {
    frame_ = TopLevel("Frame");
    WindowSpec spec;
    spec.kind = WindowKind::kMdiClient;
    spec.parent = frame_;
    spec.rect = Rect::FromSize(0, 0, 600, 400);
    client_ = CreateWindow(spec);
  }
  WindowId MdiChild(const char* title, Rect rect = Rect::FromSize(10, 10, 200, 150)) {
    WindowSpec spec;
    spec.kind = WindowKind::kMdiChild;
    spec.parent = client_;
    spec.title = title;
    spec.rect = rect;
    spec.style = style::kVisible | style::kCaption | style::kMinimizeBox | style::kMaximizeBox;
    return CreateWindow(spec);
  }
  WindowId frame_ = kNoWindow, client_ = kNoWindow;
};

TEST_F(MdiTest, ANewChildBecomesActiveAndTopmost) {
  WindowId a = MdiChild("A"), b = MdiChild("B");
  EXPECT_EQ(MdiActiveChild(client_), b);
  EXPECT_EQ(MdiChildren(client_), (std::vector<WindowId>{b, a}));
  EXPECT_EQ(FocusWindow(), b);
  MdiActivate(a);
  EXPECT_EQ(MdiChildren(client_), (std::vector<WindowId>{a, b}));
  DestroyWindow(a);
  EXPECT_EQ(MdiActiveChild(client_), b);
}

TEST_F(MdiTest, FocusInsideAnInactiveChildActivatesIt) {
  WindowId a = MdiChild("A");
  WindowSpec spec;
  spec.kind = WindowKind::kChild;
  spec.parent = a;
  spec.rect = Rect::FromSize(0, 0, 20, 20);
  WindowId field = CreateWindow(spec);
  MdiChild("B");
  SetFocus(field);
  EXPECT_EQ(MdiActiveChild(client_), a);
  EXPECT_EQ(FocusWindow(), field);
}

TEST_F(MdiTest, TileVerticalMakesColumnsAndHorizontalMakesRows) {
  WindowId a = MdiChild("A"), b = MdiChild("B"), c = MdiChild("C");
  MdiTile(client_, TileDirection::kVertical);
  EXPECT_EQ(WindowRect(c), Rect(0, 0, 200, 400));  // the active child first
  EXPECT_EQ(WindowRect(b), Rect(200, 0, 400, 400));
  EXPECT_EQ(WindowRect(a), Rect(400, 0, 600, 400));
  MdiTile(client_, TileDirection::kHorizontal);
  EXPECT_EQ(WindowRect(c), Rect(0, 0, 600, 133));
  EXPECT_EQ(WindowRect(a), Rect(0, 266, 600, 400));
  WindowId d = MdiChild("D");
  MdiTile(client_, TileDirection::kHorizontal);  // four make a two-by-two grid
  EXPECT_EQ(WindowRect(d), Rect(0, 0, 300, 200));
  EXPECT_EQ(WindowRect(c), Rect(300, 0, 600, 200));
  EXPECT_EQ(WindowRect(a), Rect(300, 200, 600, 400));
}

TEST_F(MdiTest, CascadeStepsDownWithTheActiveChildOnTop) {
  WindowId a = MdiChild("A"), b = MdiChild("B"), c = MdiChild("C");
  MdiActivate(a);
  MdiCascade(client_);
  const int step = kCaptionHeight + kFrameWidth;
  EXPECT_EQ(WindowRect(a).left, 2 * step);
  EXPECT_EQ(WindowRect(a).top, 2 * step);
  EXPECT_EQ(WindowRect(c).left, step);
  EXPECT_EQ(WindowRect(b).left, 0);
  EXPECT_EQ(MdiChildren(client_).front(), a);
  EXPECT_EQ(MdiActiveChild(client_), a);
  EXPECT_LE(WindowRect(a).right, 600);
  EXPECT_LE(WindowRect(a).bottom, 400);
}

TEST_F(MdiTest, MaximizedStatePassesToTheNextActiveChild) {
  Rect original = Rect::FromSize(30, 30, 200, 150);
  WindowId a = MdiChild("A", original), b = MdiChild("B");
  MdiMaximize(b);
  EXPECT_EQ(ShowStateOf(b), ShowState::kMaximized);
  EXPECT_EQ(ClientRect(b), Rect(0, 0, 600, 400));
  EXPECT_EQ(ClientOriginInTopLevel(b), ClientOriginInTopLevel(client_));
  MdiActivate(a);
  EXPECT_EQ(ShowStateOf(a), ShowState::kMaximized);
  EXPECT_EQ(ShowStateOf(b), ShowState::kNormal);
  EXPECT_EQ(DisplayedTitle(frame_), "Frame - [A]");
  MdiRestore(a);
  EXPECT_EQ(DisplayedTitle(frame_), "Frame");
  EXPECT_EQ(WindowRect(a), original);
  MdiMaximize(a);
  MoveWindow(client_, Rect::FromSize(0, 0, 500, 300));  // the frame shrank
  EXPECT_EQ(ClientRect(a), Rect(0, 0, 500, 300));
}

TEST_F(MdiTest, MinimizingTheActiveChildActivatesTheNextAndParksAnIcon) {
  WindowId a = MdiChild("A"), b = MdiChild("B"), c = MdiChild("C");
  MdiMinimize(c);
  EXPECT_EQ(MdiActiveChild(client_), b);
  EXPECT_EQ(WindowRect(c), Rect::FromSize(0, 400 - (kCaptionHeight + 2 * kFrameWidth),
                                          kMinimizedWidth, kCaptionHeight + 2 * kFrameWidth));
  MdiMinimize(a);
  EXPECT_EQ(WindowRect(a).left, 0);  // created first: first slot
  EXPECT_EQ(WindowRect(c).left, kMinimizedWidth);
  MdiTile(client_, TileDirection::kVertical);  // tiling leaves the icon row free
  EXPECT_EQ(WindowRect(b), Rect(0, 0, 600, 400 - (kCaptionHeight + 2 * kFrameWidth)));
  MdiRestore(c);
  EXPECT_EQ(ShowStateOf(c), ShowState::kNormal);
}

TEST_F(MdiTest, NextSendsTheActiveChildToTheBottom) {
  WindowId a = MdiChild("A"), b = MdiChild("B"), c = MdiChild("C");
  MdiNext(client_, false);
  EXPECT_EQ(MdiActiveChild(client_), b);
  EXPECT_EQ(MdiChildren(client_), (std::vector<WindowId>{b, a, c}));
  MdiNext(client_, true);
  EXPECT_EQ(MdiActiveChild(client_), c);
}

}  // namespace
}  // namespace carelog::host
