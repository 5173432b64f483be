// The window system: a tree of windows with their geometry, visibility, z-order, activation,
// keyboard focus, mouse capture, caret and painting, plus the program-wide cursor, keyboard
// state, clipboard and beep.
//
// Window kinds:
//   top-level  a window of its own on the display (the application frame, a plain window);
//   popup      a top-level window with an owner: it always stays above its owner and is
//              destroyed with it (message boxes, plain windows of a procedure);
//   child      a window inside its parent's client area (controls, the MDI client);
//   MDI child  a child of an MDI client, with a caption drawn by this layer, that can be
//              activated, maximized, minimized and arranged (see mdi.h).
//
// Invariants:
//   1. Each window belongs to the thread that created it; its procedure runs on that thread
//      (messages from other threads arrive through the queues, message_queue.h).
//   2. Z-order lists run top first. A popup is always above its owner among top-levels.
//   3. The active window is a visible, enabled top-level window or none. The focus window is
//      none or a visible, enabled window whose top-level ancestor is the active window.
//   4. Destroying a window destroys its children and owned popups first (deepest first),
//      sends each msg::kDestroy, and moves activation and focus elsewhere.
//   5. Each top-level window has a backing surface of its size; children draw into it at
//      their offset, clipped to their visible part. Painting goes parents first.
//
// All functions may be called from any thread; the window table is guarded by one lock that
// is never held while a window procedure runs.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "runtime/host/graphics.h"
#include "runtime/host/types.h"

namespace carelog::host {

using WindowProc = std::function<int64_t(const Message&)>;

enum class WindowKind : uint8_t { kTopLevel, kPopup, kChild, kMdiClient, kMdiChild };

enum class ShowState : uint8_t { kHidden, kNormal, kMinimized, kMaximized };

namespace style {
inline constexpr uint32_t kVisible = 0x0001;
inline constexpr uint32_t kDisabled = 0x0002;
inline constexpr uint32_t kCaption =
    0x0004;  // drawn for child windows; top-levels get the display's
inline constexpr uint32_t kBorder = 0x0008;  // one-unit frame around child windows
inline constexpr uint32_t kSizable = 0x0010;
inline constexpr uint32_t kMinimizeBox = 0x0020;
inline constexpr uint32_t kMaximizeBox = 0x0040;
inline constexpr uint32_t kSystemMenu = 0x0080;
inline constexpr uint32_t kTabStop = 0x0100;
inline constexpr uint32_t kModal = 0x0200;  // top-level: disables its owner while shown
}  // namespace style

// Heights of what this layer draws around MDI children and bordered child windows.
inline constexpr int kCaptionHeight = 20;
inline constexpr int kBorderWidth = 1;
inline constexpr int kFrameWidth = 4;  // sizable child windows
inline constexpr int kMinimizedWidth = 160;

struct WindowSpec {
  WindowKind kind = WindowKind::kTopLevel;
  WindowId parent = kNoWindow;  // child, MDI client, MDI child
  WindowId owner = kNoWindow;   // popup
  Rect rect;                    // outer rectangle: screen for top-levels, parent client else
  std::string title;            // ANSI
  uint32_t style = style::kVisible;
  int control_id = 0;      // identifies a child among its siblings (commands, automation)
  std::string class_name;  // what kind of control or window this is ("button", "entry")
  Color background{240, 240, 240};
  WindowProc proc;  // may be empty: DefaultWindowProc handles everything
};

// Creation sends msg::kCreate on the calling thread. kNoWindow when the parent or owner
// does not exist or the kind needs one that is missing.
WindowId CreateWindow(const WindowSpec& spec);
// From another thread the owner is asked to do it, and the caller waits for it.
bool DestroyWindow(WindowId window);
bool IsWindow(WindowId window);

// What a window procedure calls for messages it does not handle: paint draws the
// background and this layer's caption, close destroys the window, a click on a child makes it
// the focus when it has a tab stop.
int64_t DefaultWindowProc(const Message& message);
// Replaces the procedure; returns false for a missing window.
bool SetWindowProc(WindowId window, WindowProc proc);

WindowKind KindOf(WindowId window);
WindowId ParentOf(WindowId window);
WindowId OwnerOf(WindowId window);
WindowId TopLevelOf(WindowId window);  // the window itself for top-levels
ThreadId ThreadOf(WindowId window);
int ControlIdOf(WindowId window);
std::string ClassNameOf(WindowId window);
uint32_t StyleOf(WindowId window);
void SetStyle(WindowId window, uint32_t style);  // visibility and enabling have functions below
WindowId ChildWithId(WindowId parent, int control_id);

// Children, top of the z-order first.
std::vector<WindowId> ChildrenOf(WindowId window);
// Top-level and popup windows, top of the z-order first.
std::vector<WindowId> TopLevelWindows();

bool SetWindowText(WindowId window, const std::string& text);
std::string WindowText(WindowId window);
// The title the display shows for a top-level window: its own, followed by " - [Child]"
// while its active MDI child is maximized.
std::string DisplayedTitle(WindowId top_level);

// Geometry. WindowRect is the outer rectangle in parent client (or screen) coordinates;
// ClientRect is the client area in its own coordinates (origin 0,0).
bool MoveWindow(WindowId window, const Rect& rect);
Rect WindowRect(WindowId window);
Rect ClientRect(WindowId window);
// Offset of the window's client origin within its top-level window's surface.
Point ClientOriginInTopLevel(WindowId window);
// The deepest visible window under `p` (top-level client coordinates) within `top_level`.
WindowId WindowAt(WindowId top_level, Point p);

bool ShowWindow(WindowId window, ShowState state);
ShowState ShowStateOf(WindowId window);
bool IsVisible(WindowId window);  // shown, and every ancestor shown
bool EnableWindow(WindowId window, bool enable);
bool IsEnabled(WindowId window);  // enabled, and every ancestor enabled

// Raises the window among its siblings (and a top-level's owned popups above it).
bool BringToTop(WindowId window);

// Activation of top-level windows; sends msg::kActivate to the old and the new one.
// A child's top-level is activated instead. Returns the previously active window.
WindowId SetActiveWindow(WindowId window);
WindowId ActiveWindow();

// Keyboard focus; activates the focus window's top-level. Sends msg::kKillFocus and
// msg::kSetFocus. Returns the previous focus; kNoWindow and no change when the window cannot
// take the focus (hidden or disabled).
WindowId SetFocus(WindowId window);
WindowId FocusWindow();

// Mouse capture: every mouse message goes to the capturing window until it is released.
WindowId SetCapture(WindowId window);
void ReleaseCapture();
WindowId CaptureWindow();

// The caret: one for the program, owned by a window, drawn over the window when presented.
struct CaretState {
  WindowId window = kNoWindow;
  Rect rect;  // client coordinates of the owner
  bool visible = false;
};
bool CreateCaret(WindowId window, int width, int height);
bool SetCaretPosition(WindowId window, Point p);
bool ShowCaret(WindowId window, bool show);
void DestroyCaret();
CaretState Caret();

enum class CursorShape : uint8_t { kArrow, kHourglass, kIBeam, kCross, kHand };
void SetCursor(CursorShape shape);
CursorShape Cursor();

// Keyboard state, kept up to date from the input the display delivers.
bool IsKeyDown(int virtual_key);
bool IsKeyToggled(int virtual_key);  // Caps Lock, Num Lock, Scroll Lock, Insert
void SetKeyDown(int virtual_key, bool down);
void SetKeyToggled(int virtual_key, bool on);
// modifier:: bits of the current state (Shift, Ctrl, Alt and the toggles).
uint32_t ModifierBits();

// Clipboard text (ANSI). The display's clipboard when it has one, converted from and to the
// UTF-8 that other programs exchange; text holding a character outside the ANSI set reads as
// empty, with a beep.
void SetClipboardText(const std::string& text);
std::string ClipboardText();

void Beep();
int BeepCount();  // beeps since start, for tests and automation

// Painting. Invalidate queues a paint for the window and every descendant. BeginPaint gives a
// context on the top-level surface with the origin at the window's client origin, clipped to
// its visible client area; EndPaint hands the result to the display.
void Invalidate(WindowId window);
std::unique_ptr<DeviceContext> BeginPaint(WindowId window);
void EndPaint(WindowId window, std::unique_ptr<DeviceContext> context);
// The backing surface of a top-level window (nullptr for others).
std::shared_ptr<Surface> SurfaceOf(WindowId top_level);
// Paints every invalid window of the calling thread now, without waiting for the loop.
void UpdateWindows();

}  // namespace carelog::host
