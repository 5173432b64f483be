#include "runtime/host/automation.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdlib>
#include <thread>

#include "runtime/host/input.h"
#include "runtime/host/mdi.h"
#include "runtime/host/message_queue.h"
#include "runtime/host/window_system.h"

namespace carelog::host {

namespace {

std::atomic<AutomationPeer*> registered_peer{nullptr};

AutomationPeer* Peer() {
  return registered_peer.load();
}

WindowId MdiClientOf(WindowId frame) {
  for (WindowId c : ChildrenOf(frame)) {
    if (KindOf(c) == WindowKind::kMdiClient) return c;
  }
  return kNoWindow;
}

std::string DefaultKind(WindowId window) {
  switch (KindOf(window)) {
    case WindowKind::kMdiChild:
      return "mdi";
    case WindowKind::kTopLevel:
      return MdiClientOf(window) != kNoWindow ? "frame" : "window";
    default:
      return "window";
  }
}

// Child windows with a control id, depth first, leaving out MDI clients and their children
// (those are windows of their own).
void CollectControls(WindowId parent, std::vector<ControlInfo>* out) {
  for (WindowId c : ChildrenOf(parent)) {
    WindowKind kind = KindOf(c);
    if (kind == WindowKind::kMdiClient || kind == WindowKind::kMdiChild) continue;
    if (ControlIdOf(c) != 0) {
      ControlInfo info;
      info.window = c;
      info.equate = ControlIdOf(c);
      info.kind = ClassNameOf(c);
      info.text = WindowText(c);
      info.visible = IsVisible(c);
      info.enabled = IsEnabled(c);
      info.focused = FocusWindow() == c;
      out->push_back(std::move(info));
    }
    CollectControls(c, out);
  }
}

std::vector<ControlInfo> ControlsOf(WindowId window) {
  std::vector<ControlInfo> out;
  if (AutomationPeer* peer = Peer(); peer && peer->Controls(window, &out)) return out;
  CollectControls(window, &out);
  std::stable_sort(out.begin(), out.end(),
                   [](const ControlInfo& a, const ControlInfo& b) { return a.equate < b.equate; });
  return out;
}

bool IsNumber(const std::string& s) {
  if (s.empty()) return false;
  size_t start = s[0] == '-' ? 1 : 0;
  if (start == s.size()) return false;
  return std::all_of(s.begin() + start, s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string Quoted(const std::string& ansi) {
  std::string out = "\"";
  for (char c : AnsiToUtf8(ansi)) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else {
      out += c;
    }
  }
  return out + "\"";
}

void ClickWindowAt(WindowId control) {
  WindowId top = TopLevelOf(control);
  Point origin = ClientOriginInTopLevel(ParentOf(control));
  Rect r = WindowRect(control);
  Point center{origin.x + (r.left + r.right) / 2, origin.y + (r.top + r.bottom) / 2};
  InjectMouseButton(top, center, MouseButton::kLeft, true);
  InjectMouseButton(top, center, MouseButton::kLeft, false);
}

}  // namespace

void RegisterAutomationPeer(AutomationPeer* peer) {
  registered_peer.store(peer);
}

std::string WithoutHotkey(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) ++i;
    out += text[i];
  }
  return out;
}

char HotkeyOf(const std::string& text) {
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] == '&') {
      ++i;
      continue;
    }
    return static_cast<char>(std::toupper(static_cast<unsigned char>(text[i + 1])));
  }
  return 0;
}

AutomationResult Automation::WaitIdle(std::chrono::milliseconds timeout) {
  auto deadline = std::chrono::steady_clock::now() + timeout;
  int quiet_checks = 0;
  while (quiet_checks < 3) {
    if (std::chrono::steady_clock::now() > deadline) {
      return AutomationResult::Failure("the program did not become idle within " +
                                       std::to_string(timeout.count()) + " ms");
    }
    quiet_checks = AllThreadsIdle() ? quiet_checks + 1 : 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return AutomationResult{};
}

AutomationResult Automation::WaitForWindow(const std::string& title,
                                           std::chrono::milliseconds timeout) {
  using std::chrono::steady_clock;
  auto deadline = steady_clock::now() + timeout;
  for (;;) {
    auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - steady_clock::now());
    if (left.count() <= 0) {
      std::string which = title.empty() ? "no window" : "no window \"" + title + "\"";
      return AutomationResult::Failure(which + " was open and idle within " +
                                       std::to_string(timeout.count()) + " ms");
    }
    // A wait for idle that ran out at the deadline is reported as the window not being there.
    if (AutomationResult idle = WaitIdle(left); !idle.ok) {
      if (steady_clock::now() < deadline) return idle;
      continue;
    }
    if (CurrentWindow() != kNoWindow && (title.empty() || CurrentTitle() == title)) {
      return AutomationResult{};
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

std::vector<WindowInfo> Automation::Windows() {
  std::vector<WindowId> tops = TopLevelWindows();
  std::sort(tops.begin(), tops.end());  // creation order: stable across runs
  std::vector<WindowInfo> out;
  WindowId active = ActiveWindow();
  auto describe = [&](WindowId w, bool is_active) {
    WindowInfo info;
    info.window = w;
    AutomationPeer* peer = Peer();
    if (!peer || !peer->WindowKindOf(w, &info.kind)) info.kind = DefaultKind(w);
    info.title = WindowText(w);
    info.active = is_active;
    info.controls = ControlsOf(w);
    out.push_back(std::move(info));
  };
  for (WindowId top : tops) {
    if (!IsVisible(top)) continue;
    describe(top, top == active);
    WindowId client = MdiClientOf(top);
    if (client == kNoWindow) continue;
    std::vector<WindowId> children = MdiChildren(client);
    std::sort(children.begin(), children.end());
    for (WindowId child : children) {
      if (IsVisible(child)) describe(child, top == active && MdiActiveChild(client) == child);
    }
  }
  return out;
}

WindowId Automation::CurrentWindow() {
  WindowId top = ActiveWindow();
  WindowId client = MdiClientOf(top);
  WindowId child = client != kNoWindow ? MdiActiveChild(client) : kNoWindow;
  return child != kNoWindow ? child : top;
}

std::string Automation::CurrentTitle() {
  return WindowText(CurrentWindow());
}

bool Automation::FindControl(const std::string& reference, bool by_text, ControlInfo* out) {
  std::vector<WindowId> places{CurrentWindow()};
  if (ActiveWindow() != places[0]) places.push_back(ActiveWindow());
  for (WindowId place : places) {
    if (place == kNoWindow) continue;
    int equate = 0;
    bool numeric = !by_text && IsNumber(reference);
    if (numeric) equate = std::atoi(reference.c_str());
    AutomationPeer* peer = Peer();
    bool resolved = !by_text && !numeric && peer && peer->ResolveEquate(place, reference, &equate);
    for (const ControlInfo& c : ControlsOf(place)) {
      bool match = by_text               ? WithoutHotkey(c.text) == WithoutHotkey(reference)
                   : numeric || resolved ? c.equate == equate
                                         : !c.name.empty() && c.name == reference;
      if (match) {
        *out = c;
        return true;
      }
    }
  }
  return false;
}

AutomationResult Automation::Key(const std::string& combination) {
  if (!InjectKeyCombination(combination)) {
    return AutomationResult::Failure("unknown key \"" + combination + "\"");
  }
  return AutomationResult{};
}

AutomationResult Automation::Type(const std::string& ansi_text) {
  if (ActiveWindow() == kNoWindow) return AutomationResult::Failure("no window takes the keys");
  InjectText(ansi_text);
  return AutomationResult{};
}

AutomationResult Automation::Click(const std::string& reference, bool by_text) {
  ControlInfo c;
  std::string shown = by_text ? "\"" + reference + "\"" : reference;
  if (!FindControl(reference, by_text, &c)) {
    return AutomationResult::Failure("no control " + shown + " in \"" + CurrentTitle() + "\"");
  }
  if (!c.visible) return AutomationResult::Failure("control " + shown + " is hidden");
  if (!c.enabled) return AutomationResult::Failure("control " + shown + " is disabled");
  if (c.window != kNoWindow) {
    ClickWindowAt(c.window);
    return AutomationResult{};
  }
  AutomationPeer* peer = Peer();
  if (peer && peer->ClickWindowless(CurrentWindow(), c)) return AutomationResult{};
  return AutomationResult::Failure("control " + shown + " cannot be clicked");
}

AutomationResult Automation::SelectRow(const std::string& reference, int row) {
  ControlInfo c;
  if (!FindControl(reference, false, &c)) {
    return AutomationResult::Failure("no control " + reference + " in \"" + CurrentTitle() + "\"");
  }
  if (!c.visible) return AutomationResult::Failure("control " + reference + " is hidden");
  if (!c.enabled) return AutomationResult::Failure("control " + reference + " is disabled");
  AutomationPeer* peer = Peer();
  if (!peer) return AutomationResult::Failure("this program has no lists");
  return peer->SelectRow(CurrentWindow(), c, row);
}

AutomationResult Automation::Menu(const std::vector<std::string>& path) {
  if (path.empty()) return AutomationResult::Failure("no menu item named");
  AutomationPeer* peer = Peer();
  if (!peer) return AutomationResult::Failure("this program has no menus to choose from");
  return peer->ChooseMenu(CurrentWindow(), path);
}

AutomationResult Automation::Answer(const std::string& button_text) {
  WindowId box = kNoWindow;
  std::string text;
  AutomationPeer* peer = Peer();
  if (!peer || !peer->CurrentMessage(&box, &text)) box = ActiveWindow();
  if (box == kNoWindow) return AutomationResult::Failure("no message box is shown");
  std::string offered;
  for (const ControlInfo& c : ControlsOf(box)) {
    if (c.kind.find("button") == std::string::npos) continue;
    if (WithoutHotkey(c.text) == WithoutHotkey(button_text) && c.visible && c.enabled) {
      if (c.window != kNoWindow) {
        ClickWindowAt(c.window);
        return AutomationResult{};
      }
      if (peer && peer->ClickWindowless(box, c)) return AutomationResult{};
    }
    offered += (offered.empty() ? "" : ", ") + std::string("\"") + c.text + "\"";
  }
  return AutomationResult::Failure("no button \"" + button_text + "\" in \"" + WindowText(box) +
                                   "\"; it offers " + (offered.empty() ? "none" : offered));
}

AutomationResult Automation::ExpectTitle(const std::string& title) {
  WindowId top = ActiveWindow();
  if (WindowText(CurrentWindow()) == title || WindowText(top) == title) return AutomationResult{};
  return AutomationResult::Failure("the title is \"" + CurrentTitle() + "\", not \"" + title +
                                   "\"");
}

AutomationResult Automation::ExpectText(const std::string& reference, const std::string& text) {
  ControlInfo c;
  if (!FindControl(reference, false, &c)) {
    return AutomationResult::Failure("no control " + reference + " in \"" + CurrentTitle() + "\"");
  }
  if (c.text == text) return AutomationResult{};
  return AutomationResult::Failure("control " + reference + " shows \"" + c.text + "\", not \"" +
                                   text + "\"");
}

AutomationResult Automation::ExpectMessage(const std::string& text) {
  WindowId box = kNoWindow;
  std::string shown;
  AutomationPeer* peer = Peer();
  if (!peer || !peer->CurrentMessage(&box, &shown)) {
    box = ActiveWindow();
    if (box == kNoWindow || KindOf(box) != WindowKind::kPopup) {
      return AutomationResult::Failure("no message box is shown");
    }
    shown.clear();
    for (const ControlInfo& c : ControlsOf(box)) {
      if (c.kind.find("button") != std::string::npos || c.text.empty()) continue;
      shown += (shown.empty() ? "" : "\n") + c.text;
    }
  }
  if (shown == text) return AutomationResult{};
  return AutomationResult::Failure("the message is \"" + shown + "\", not \"" + text + "\"");
}

std::string Automation::Dump() {
  std::string out;
  for (const WindowInfo& w : Windows()) {
    out += "window " + w.kind + " " + Quoted(w.title) + (w.active ? " active" : "") + "\n";
    for (const ControlInfo& c : w.controls) {
      out += "  " + std::to_string(c.equate) + " " + (c.name.empty() ? "-" : c.name) + " " +
             (c.kind.empty() ? "-" : c.kind) + " " + Quoted(c.text) + " " +
             (c.visible ? "visible" : "hidden") + " " + (c.enabled ? "enabled" : "disabled") +
             (c.focused ? " focused" : "") +
             (c.selected_row > 0 ? " row=" + std::to_string(c.selected_row) : "") + "\n";
      for (const std::string& line : c.detail) out += "    " + line + "\n";
    }
  }
  return out;
}

AutomationResult Automation::Screenshot(const std::string& path, ScreenshotSize size) {
  WindowId top = ActiveWindow();
  if (top == kNoWindow) {
    for (WindowId w : TopLevelWindows()) {
      if (IsVisible(w)) {
        top = w;
        break;
      }
    }
  }
  std::shared_ptr<Surface> surface = SurfaceOf(top);
  if (!surface) return AutomationResult::Failure("no window is open to take a picture of");
  if (size == ScreenshotSize::kLogical && surface->Scale() != 1) surface = surface->AtLogicalSize();
  if (!surface->SavePng(path)) return AutomationResult::Failure("cannot write " + path);
  return AutomationResult{};
}

}  // namespace carelog::host
