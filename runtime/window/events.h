// Event codes as procedures see them, their names, and the event records queued per window.
//
// An event travels inside the runtime as message number code + 0x1400. Codes 1-0xFF are
// field events (they name a control), 0x101 is the field-selection event, 0x200 and above are
// window events. The runtime's private messages lie in 0x2401-0x241D; 0x241B wakes a window's
// loop after an event was queued for it, 0x2415 brings the thread's top window to the top.
#pragma once

#include <cstdint>
#include <string>

namespace carelog::window {

inline constexpr uint32_t kEventBase = 0x1400;
inline constexpr uint32_t kWakeMessage = 0x241B;
inline constexpr uint32_t kBringToTopMessage = 0x2415;

namespace event {
inline constexpr int kAccepted = 1;
inline constexpr int kNewSelection = 2;
inline constexpr int kScrollUp = 3;
inline constexpr int kScrollDown = 4;
inline constexpr int kPageUp = 5;
inline constexpr int kPageDown = 6;
inline constexpr int kScrollTop = 7;
inline constexpr int kScrollBottom = 8;
inline constexpr int kLocate = 9;
inline constexpr int kMouseUp = 10;
inline constexpr int kMouseIn = 11;
inline constexpr int kMouseOut = 12;
inline constexpr int kMouseMove = 13;
inline constexpr int kVbxEvent = 14;
inline constexpr int kAlertKey = 15;
inline constexpr int kPreAlert = 16;
inline constexpr int kDragging = 17;
inline constexpr int kDrag = 18;
inline constexpr int kDrop = 19;
inline constexpr int kScrollDrag = 20;
inline constexpr int kTabChanging = 21;
inline constexpr int kExpanding = 22;
inline constexpr int kContracting = 23;
inline constexpr int kExpanded = 24;
inline constexpr int kContracted = 25;
inline constexpr int kRejected = 26;
inline constexpr int kDroppingDown = 27;
inline constexpr int kDroppedDown = 28;
inline constexpr int kSelected = 0x101;
inline constexpr int kCloseWindow = 0x201;
inline constexpr int kCloseDown = 0x202;
inline constexpr int kOpenWindow = 0x203;
inline constexpr int kOpenFailed = 0x204;
inline constexpr int kLoseFocus = 0x205;
inline constexpr int kGainFocus = 0x206;
inline constexpr int kSuspend = 0x208;
inline constexpr int kResume = 0x209;
inline constexpr int kNotify = 0x20A;
inline constexpr int kTimer = 0x20B;
inline constexpr int kDdeRequest = 0x20C;
inline constexpr int kDdeAdvise = 0x20D;
inline constexpr int kDdeData = 0x20E;
inline constexpr int kDdeExecute = 0x20F;
inline constexpr int kDdePoke = 0x210;
inline constexpr int kDdeClosed = 0x211;
inline constexpr int kMove = 0x220;
inline constexpr int kSize = 0x221;
inline constexpr int kRestore = 0x222;
inline constexpr int kMaximize = 0x223;
inline constexpr int kIconize = 0x224;
inline constexpr int kCompleted = 0x225;
inline constexpr int kMoved = 0x230;
inline constexpr int kSized = 0x231;
inline constexpr int kRestored = 0x232;
inline constexpr int kMaximized = 0x233;
inline constexpr int kIconized = 0x234;
}  // namespace event

inline bool IsFieldEvent(int code) {
  return code >= 1 && code <= 0xFF;
}

// "EVENT:Accepted" for 1; empty for a code without a name.
std::string EventName(int code);
// The code of a name ("EVENT:Timer" or "Timer", any case); 0 when unknown.
int EventByName(const std::string& name);

// Names of the runtime's private messages ("QUERY_SETUSE" for 0x2401); empty when unnamed.
std::string PrivateMessageName(uint32_t message);

struct Control;

// One queued event.
struct EventRecord {
  uint32_t message = 0;        // code + kEventBase
  Control* control = nullptr;  // none for window events
  uint32_t key_code = 0;       // KEYCODE() at the time of the event
  int code() const { return static_cast<int>(message - kEventBase); }
};

}  // namespace carelog::window
