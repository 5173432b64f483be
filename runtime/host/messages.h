// Message numbers of the platform's window system, and the virtual key codes and modifier
// bits that keyboard messages carry.
//
// Numbers below 0x0400 belong to the window system; 0x0400 and above are free for the layers
// above (the window runtime uses 0x1400 + event code and 0x2401-0x241D).
#pragma once

#include <cstdint>

namespace carelog::host {

namespace msg {
inline constexpr uint32_t kCreate = 0x0001;           // after creation, before the window shows
inline constexpr uint32_t kDestroy = 0x0002;          // sent while the window is being destroyed
inline constexpr uint32_t kMove = 0x0003;             // lparam: new position (x | y << 32)
inline constexpr uint32_t kSize = 0x0005;             // wparam: show state, lparam: w | h << 32
inline constexpr uint32_t kActivate = 0x0006;         // wparam: 1 activated, 0 deactivated
inline constexpr uint32_t kSetFocus = 0x0007;         // wparam: window losing the focus
inline constexpr uint32_t kKillFocus = 0x0008;        // wparam: window gaining the focus
inline constexpr uint32_t kEnable = 0x000A;           // wparam: 1 enabled, 0 disabled
inline constexpr uint32_t kPaint = 0x000F;            // generated while the window is invalid
inline constexpr uint32_t kClose = 0x0010;            // the user asked to close the window
inline constexpr uint32_t kQueryEndSession = 0x0011;  // may the desktop session end now?
inline constexpr uint32_t kQuit = 0x0012;             // ends the thread's loop (wparam: code)
inline constexpr uint32_t kEndSession = 0x0016;       // the desktop session is ending
inline constexpr uint32_t kShow = 0x0018;             // wparam: 1 shown, 0 hidden
inline constexpr uint32_t kKeyDown = 0x0100;          // wparam: virtual key
inline constexpr uint32_t kKeyUp = 0x0101;            // wparam: virtual key
inline constexpr uint32_t kChar = 0x0102;             // wparam: ANSI character
inline constexpr uint32_t kCommand = 0x0111;          // wparam: command number
inline constexpr uint32_t kTimer = 0x0113;            // wparam: timer id
inline constexpr uint32_t kMouseMove = 0x0200;        // lparam: client point (x | y << 32)
inline constexpr uint32_t kLButtonDown = 0x0201;      // wparam: modifier bits
inline constexpr uint32_t kLButtonUp = 0x0202;
inline constexpr uint32_t kLButtonDouble = 0x0203;
inline constexpr uint32_t kRButtonDown = 0x0204;
inline constexpr uint32_t kRButtonUp = 0x0205;
// wparam: signed notches (up positive) in the low 32 bits, the modifier:: bits at the turn
// in the high 32 (PackWheel); lparam: the pointer in top-level client coordinates.
// Unhandled, it passes to the parent window.
inline constexpr uint32_t kMouseWheel = 0x020A;
inline constexpr uint32_t kCaptureLost = 0x0215;   // the window lost the mouse capture
inline constexpr uint32_t kMdiActivated = 0x0222;  // an MDI child became (wparam 1) / ceased
// Editing requests to the window with the keyboard focus (through the clipboard).
inline constexpr uint32_t kCut = 0x0300;
inline constexpr uint32_t kCopy = 0x0301;
inline constexpr uint32_t kPaste = 0x0302;
inline constexpr uint32_t kClear = 0x0303;
inline constexpr uint32_t kUndo = 0x0304;
inline constexpr uint32_t kFirstPrivate = 0x0400;
}  // namespace msg

// Points carried in lparam: x in the low 32 bits, y in the high 32 bits (both signed).
inline int64_t PackPoint(int x, int y) {
  return static_cast<int64_t>(static_cast<uint64_t>(static_cast<uint32_t>(x)) |
                              (static_cast<uint64_t>(static_cast<uint32_t>(y)) << 32));
}
inline int UnpackX(int64_t l) {
  return static_cast<int32_t>(static_cast<uint64_t>(l) & 0xFFFFFFFFu);
}
inline int UnpackY(int64_t l) {
  return static_cast<int32_t>(static_cast<uint64_t>(l) >> 32);
}

// The wheel's wparam: notches in the low 32 bits (signed), modifier bits in the high 32.
inline uint64_t PackWheel(int notches, uint32_t modifiers) {
  return static_cast<uint64_t>(static_cast<uint32_t>(notches)) |
         (static_cast<uint64_t>(modifiers) << 32);
}
inline int WheelNotches(uint64_t w) {
  return static_cast<int32_t>(w & 0xFFFFFFFFu);
}
inline uint32_t WheelModifiers(uint64_t w) {
  return static_cast<uint32_t>(w >> 32);
}

// Virtual key codes, as the runtime's key codes use them in their low byte.
namespace key {
inline constexpr int kBack = 0x08;
inline constexpr int kTab = 0x09;
inline constexpr int kEnter = 0x0D;
inline constexpr int kShift = 0x10;
inline constexpr int kCtrl = 0x11;
inline constexpr int kAlt = 0x12;
inline constexpr int kPause = 0x13;
inline constexpr int kCapsLock = 0x14;
inline constexpr int kEscape = 0x1B;
inline constexpr int kSpace = 0x20;
inline constexpr int kPageUp = 0x21;
inline constexpr int kPageDown = 0x22;
inline constexpr int kEnd = 0x23;
inline constexpr int kHome = 0x24;
inline constexpr int kLeft = 0x25;
inline constexpr int kUp = 0x26;
inline constexpr int kRight = 0x27;
inline constexpr int kDown = 0x28;
inline constexpr int kInsert = 0x2D;
inline constexpr int kDelete = 0x2E;
// '0'-'9' are 0x30-0x39 and 'A'-'Z' are 0x41-0x5A.
inline constexpr int kNumpad0 = 0x60;
inline constexpr int kMultiply = 0x6A;
inline constexpr int kAdd = 0x6B;
inline constexpr int kSubtract = 0x6D;
inline constexpr int kDecimal = 0x6E;
inline constexpr int kDivide = 0x6F;
inline constexpr int kF1 = 0x70;  // F1-F12 are 0x70-0x7B
inline constexpr int kNumLock = 0x90;
inline constexpr int kScrollLock = 0x91;
inline constexpr int kCount = 256;
}  // namespace key

// Modifier and toggle bits, as they are added to a key code.
namespace modifier {
inline constexpr uint32_t kShift = 0x100;
inline constexpr uint32_t kCtrl = 0x200;
inline constexpr uint32_t kAlt = 0x400;
inline constexpr uint32_t kCapsLock = 0x1000;
inline constexpr uint32_t kNumLock = 0x2000;
inline constexpr uint32_t kScrollLock = 0x4000;
inline constexpr uint32_t kInsert = 0x8000;
}  // namespace modifier

}  // namespace carelog::host
