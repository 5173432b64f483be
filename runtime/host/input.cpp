#include "runtime/host/input.h"

#include <atomic>
#include <cctype>
#include <string>
#include <vector>

#include "runtime/host/mdi.h"
#include "runtime/host/message_queue.h"
#include "runtime/host/messages.h"
#include "runtime/host/window_internal.h"
#include "runtime/host/window_system.h"
#include "runtime/host/window_table.h"

namespace carelog::host {

namespace {

struct KeyName {
  const char* name;
  int key;
};

constexpr KeyName kKeyNames[] = {
    {"Backspace", key::kBack},    {"Back", key::kBack},
    {"Tab", key::kTab},           {"Enter", key::kEnter},
    {"Return", key::kEnter},      {"Shift", key::kShift},
    {"Ctrl", key::kCtrl},         {"Control", key::kCtrl},
    {"Alt", key::kAlt},           {"Pause", key::kPause},
    {"CapsLock", key::kCapsLock}, {"Esc", key::kEscape},
    {"Escape", key::kEscape},     {"Space", key::kSpace},
    {"PageUp", key::kPageUp},     {"PgUp", key::kPageUp},
    {"PageDown", key::kPageDown}, {"PgDn", key::kPageDown},
    {"End", key::kEnd},           {"Home", key::kHome},
    {"Left", key::kLeft},         {"Up", key::kUp},
    {"Right", key::kRight},       {"Down", key::kDown},
    {"Insert", key::kInsert},     {"Ins", key::kInsert},
    {"Delete", key::kDelete},     {"Del", key::kDelete},
    {"NumLock", key::kNumLock},   {"ScrollLock", key::kScrollLock},
    {"Multiply", key::kMultiply}, {"Add", key::kAdd},
    {"Subtract", key::kSubtract}, {"Decimal", key::kDecimal},
    {"Divide", key::kDivide},
};

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

// The character a key produces by itself, for the keys that type one without text input.
int CharOfKey(int vk) {
  switch (vk) {
    case key::kEnter:
    case key::kTab:
    case key::kBack:
    case key::kEscape:
      return vk;
    default:
      return -1;
  }
}

WindowId KeyboardTarget() {
  WindowId focus = FocusWindow();
  return focus != kNoWindow ? focus : ActiveWindow();
}

// Works the caption and frame of a child window that was pressed outside its client area.
void PressNonClient(WindowId window, internal::NonClientHit hit, bool double_click) {
  bool mdi = KindOf(window) == WindowKind::kMdiChild;
  switch (hit) {
    case internal::NonClientHit::kClose:
      PostMessage(window, msg::kClose);
      return;
    case internal::NonClientHit::kMaximize:
      if (mdi)
        ShowStateOf(window) == ShowState::kMaximized ? MdiRestore(window) : MdiMaximize(window);
      return;
    case internal::NonClientHit::kMinimize:
      if (mdi) MdiMinimize(window);
      return;
    case internal::NonClientHit::kCaption:
      if (mdi && double_click) {
        ShowStateOf(window) == ShowState::kNormal ? MdiMaximize(window) : MdiRestore(window);
        return;
      }
      if (mdi) MdiActivate(window);
      return;
    default:
      if (mdi) MdiActivate(window);
      return;
  }
}

}  // namespace

int VirtualKeyByName(std::string_view name) {
  if (name.size() == 1) {
    unsigned char c = static_cast<unsigned char>(name[0]);
    if (std::isalpha(c)) return std::toupper(c);
    if (std::isdigit(c)) return c;
  }
  if (name.size() >= 2 && (name[0] == 'F' || name[0] == 'f')) {
    int n = 0;
    for (size_t i = 1; i < name.size(); ++i) {
      if (!std::isdigit(static_cast<unsigned char>(name[i]))) return -1;
      n = n * 10 + (name[i] - '0');
      if (n > 24) return -1;
    }
    return n >= 1 ? key::kF1 + n - 1 : -1;
  }
  for (const KeyName& k : kKeyNames) {
    if (EqualsIgnoringCase(name, k.name)) return k.key;
  }
  return -1;
}

void InjectKey(int vk, bool down) {
  if (vk < 0 || vk >= key::kCount) return;
  SetKeyDown(vk, down);
  WindowId target = KeyboardTarget();
  if (target == kNoWindow) return;
  PostMessage(target, down ? msg::kKeyDown : msg::kKeyUp, static_cast<uint64_t>(vk),
              ModifierBits());
  int c = CharOfKey(vk);
  if (down && c >= 0 && !IsKeyDown(key::kCtrl) && !IsKeyDown(key::kAlt)) {
    PostMessage(target, msg::kChar, static_cast<uint64_t>(c), ModifierBits());
  }
}

void InjectChar(char ansi) {
  WindowId target = KeyboardTarget();
  if (target == kNoWindow) return;
  PostMessage(target, msg::kChar, static_cast<uint8_t>(ansi), ModifierBits());
}

void InjectText(std::string_view ansi) {
  for (char c : ansi) InjectChar(c);
}

bool InjectTypedUtf8(std::string_view utf8) {
  std::string ansi;
  if (!Utf8ToAnsiExact(utf8, &ansi)) {
    Beep();
    return false;
  }
  InjectText(ansi);
  return true;
}

void InjectWindowState(WindowId top_level, ShowState state) {
  if (KindOf(top_level) != WindowKind::kTopLevel && KindOf(top_level) != WindowKind::kPopup) {
    return;
  }
  if (ShowStateOf(top_level) == ShowState::kHidden) return;
  internal::ShowWindowFrom(top_level, state, true);
}

bool InjectKeyCombination(std::string_view combination) {
  std::vector<int> keys;
  size_t start = 0;
  while (start <= combination.size()) {
    size_t plus = combination.find('+', start);
    // A trailing "+" (as in "Ctrl++") names the plus key itself.
    if (plus == start && start + 1 == combination.size()) plus = std::string_view::npos;
    std::string_view part = combination.substr(
        start, plus == std::string_view::npos ? std::string_view::npos : plus - start);
    int vk = part == "+" ? key::kAdd : VirtualKeyByName(part);
    if (vk < 0) return false;
    keys.push_back(vk);
    if (plus == std::string_view::npos) break;
    start = plus + 1;
  }
  if (keys.empty()) return false;
  for (int vk : keys) InjectKey(vk, true);
  for (auto it = keys.rbegin(); it != keys.rend(); ++it) InjectKey(*it, false);
  return true;
}

namespace {

std::atomic<int64_t> mouse_position{0};
std::atomic<bool> left_button_held{false};

void NoteMousePosition(WindowId top_level, Point p) {
  Rect r = WindowRect(top_level);
  mouse_position.store(PackPoint(r.left + p.x, r.top + p.y));
}

// `p` (client coordinates of `top_level`) in the client coordinates of `target`, which may lie
// in another top-level window when it holds the mouse capture.
Point ToClientOf(WindowId target, WindowId top_level, Point p) {
  WindowId target_top = TopLevelOf(target);
  if (target_top != top_level) {
    Rect from = WindowRect(top_level), to = WindowRect(target_top);
    p.x += from.left - to.left;
    p.y += from.top - to.top;
  }
  Point origin = ClientOriginInTopLevel(target);
  return Point{p.x - origin.x, p.y - origin.y};
}

}  // namespace

void InjectMouseButton(WindowId top_level, Point p, MouseButton button, bool down,
                       bool double_click) {
  NoteMousePosition(top_level, p);
  if (button == MouseButton::kLeft) left_button_held.store(down);
  WindowId target = CaptureWindow();
  if (target == kNoWindow) target = WindowAt(top_level, p);
  if (target == kNoWindow) return;
  Point local = ToClientOf(target, top_level, p);
  if (down && button == MouseButton::kLeft && CaptureWindow() == kNoWindow) {
    if (!IsEnabled(target)) {
      Beep();
      return;
    }
    if (ActiveWindow() != TopLevelOf(target)) SetActiveWindow(target);
    // Outside the client area the press lands on a frame or caption of this layer's own.
    if (target != top_level && !ClientRect(target).Contains(local)) {
      Point parent_origin = ClientOriginInTopLevel(ParentOf(target));
      Point in_parent{p.x - parent_origin.x, p.y - parent_origin.y};
      PressNonClient(target, internal::HitTestNonClient(target, in_parent), double_click);
      return;
    }
    if (StyleOf(target) & style::kTabStop) {
      SetFocus(target);
    } else {
      for (WindowId w = target; w != kNoWindow; w = ParentOf(w)) {
        if (KindOf(w) == WindowKind::kMdiChild) {
          if (MdiActiveChild(ParentOf(w)) != w) MdiActivate(w);
          break;
        }
      }
    }
  }
  uint32_t number =
      button == MouseButton::kLeft
          ? (down ? (double_click ? msg::kLButtonDouble : msg::kLButtonDown) : msg::kLButtonUp)
          : (down ? msg::kRButtonDown : msg::kRButtonUp);
  PostMessage(target, number, ModifierBits(), PackPoint(local.x, local.y));
}

void InjectMouseMove(WindowId top_level, Point p) {
  NoteMousePosition(top_level, p);
  WindowId target = CaptureWindow();
  if (target == kNoWindow) target = WindowAt(top_level, p);
  if (target == kNoWindow) return;
  Point local = ToClientOf(target, top_level, p);
  PostMessage(target, msg::kMouseMove, ModifierBits(), PackPoint(local.x, local.y));
}

void InjectMouseWheel(WindowId top_level, Point p, int notches) {
  WindowId target = KeyboardTarget();
  if (target == kNoWindow) target = WindowAt(top_level, p);
  if (target == kNoWindow) return;
  PostMessage(target, msg::kMouseWheel, PackWheel(notches, ModifierBits()), PackPoint(p.x, p.y));
}

Point MousePosition() {
  int64_t packed = mouse_position.load();
  return Point{UnpackX(packed), UnpackY(packed)};
}

bool LeftButtonHeld() {
  return left_button_held.load();
}

void InjectClose(WindowId top_level) {
  PostMessage(top_level, msg::kClose);
}

}  // namespace carelog::host
