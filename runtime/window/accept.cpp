// The ACCEPT loop: waiting for the next event of the thread's top window with the global
// semaphore released, the dialog handling of keys, the default processing of events before
// the procedure sees them, accept-all mode, POST and SELECT.
//
// Waiting for a lock: while a statement of a procedure waits for a record or file lock (LOCK,
// reads under HOLD), the record store calls back between its attempts. The thread then keeps
// its windows served without running procedure code: messages sent by other threads are
// answered and invalid windows repainted; every other message stays queued for ACCEPT. The
// semaphore stays with the waiting thread.
#include <algorithm>
#include <thread>

#include "runtime/host/message_queue.h"
#include "runtime/host/messages.h"
#include "runtime/host/window_system.h"
#include "runtime/store/lodestar_driver.h"
#include "runtime/window/close_down.h"
#include "runtime/window/fatal_error.h"
#include "runtime/window/menu_bar.h"
#include "runtime/window/runtime_errors.h"
#include "runtime/window/threads.h"
#include "runtime/window/window_runtime.h"

namespace carelog::window {
namespace {

thread_local int synchronous_depth = 0;

Structure* Top() {
  return TopWindowOf(0);
}

bool OwnsWindow(const Structure& w, host::WindowId id) {
  for (host::WindowId up = id; up != host::kNoWindow; up = host::ParentOf(up)) {
    if (up == w.handle) return true;
  }
  return false;
}

Control* ControlOf(Structure& w, host::WindowId id) {
  for (auto& c : w.controls) {
    if (c->handle == id && id != host::kNoWindow) return c.get();
  }
  return nullptr;
}

bool CanFocus(const Control& c) {
  return c.handle && (host::StyleOf(c.handle) & host::style::kTabStop) && c.IsVisible() &&
         c.IsEnabled();
}

void MoveFocus(Structure& w, bool backwards) {
  std::vector<Control*> order;
  for (auto& c : w.controls) {
    if (CanFocus(*c)) order.push_back(c.get());
  }
  if (order.empty()) return;
  Control* now = ControlOf(w, host::FocusWindow());
  auto it = std::find(order.begin(), order.end(), now);
  size_t i = it == order.end() ? 0 : static_cast<size_t>(it - order.begin());
  size_t n = order.size();
  size_t next =
      it == order.end() ? (backwards ? n - 1 : 0) : (backwards ? (i + n - 1) % n : (i + 1) % n);
  internal::Focus(*order[next]);
}

// The sheet that Ctrl+Tab turns: the one holding the focus, else the window's first shown one.
Control* SheetOf(Structure& w, Control* focus) {
  for (Control* up = focus; up; up = up->container) {
    if (up->kind == kKindSheet) return up;
  }
  for (auto& c : w.controls) {
    if (c->kind == kKindSheet && c->IsVisible() && c->IsEnabled()) return c.get();
  }
  return nullptr;
}

// Keys that the window handles for its controls: Tab moves the focus, Ctrl+Tab and
// Ctrl+Shift+Tab turn a sheet's tabs, Enter presses the default button (after the focused
// entry has been checked), a control's key selects or presses it. True when the key was
// consumed.
bool DialogKey(Structure& w, const host::Message& m) {
  if (m.number != host::msg::kKeyDown || !OwnsWindow(w, m.window)) return false;
  auto vk = static_cast<int>(m.wparam);
  uint32_t mods = static_cast<uint32_t>(m.lparam) & 0x700;
  w.last_key_code = static_cast<uint32_t>(vk) | mods;
  Control* focus = ControlOf(w, host::FocusWindow());
  if (internal::RaiseAlert(w, focus, w.last_key_code)) return true;
  if (vk == host::key::kTab && !(mods & host::modifier::kCtrl)) {
    MoveFocus(w, (mods & host::modifier::kShift) != 0);
    return true;
  }
  if (vk == host::key::kTab) {
    Control* sheet = SheetOf(w, focus);
    if (!sheet) return false;
    internal::StepTab(*sheet, (mods & host::modifier::kShift) ? -1 : 1);
    if (!focus || !focus->IsVisible()) internal::Focus(*sheet);  // its page went away
    return true;
  }
  if (vk == host::key::kEnter && (!focus || focus->kind != kKindTextBox)) {
    if (focus && focus->kind == kKindButton) {
      internal::Press(*focus);
      return true;
    }
    if (w.default_button && w.default_button->IsEnabled() && w.default_button->IsVisible()) {
      if (focus && focus->changed && !internal::CheckEntry(*focus, true)) return true;
      internal::Press(*w.default_button);
      return true;
    }
    return false;
  }
  uint32_t code = w.last_key_code;
  for (auto& c : w.controls) {
    if (c->key != 0 && (c->key & 0x7FF) == code && c->IsEnabled() && c->IsVisible()) {
      if (c->kind == kKindButton || c->kind == kKindCheck || c->kind == kKindRadio) {
        internal::Press(*c);
      } else {
        internal::Focus(*c);
      }
      return true;
    }
  }
  return false;
}

// The USE controls in field-equate order, as accept-all mode visits them.
std::vector<Control*> UseControls(Structure& w) {
  std::vector<Control*> out;
  for (auto& c : w.controls) {
    if (c->use) out.push_back(c.get());
  }
  std::stable_sort(out.begin(), out.end(),
                   [](const Control* a, const Control* b) { return a->equate < b->equate; });
  return out;
}

void AcceptAllStep(Structure& w) {
  std::vector<Control*> controls = UseControls(w);
  if (w.accept_all_position >= static_cast<int>(controls.size())) {
    w.accept_all = false;
    w.accept_all_checking = nullptr;
    w.Queue(event::kCompleted, nullptr);
    return;
  }
  Control* c = controls[static_cast<size_t>(w.accept_all_position++)];
  w.accept_all_checking = c;
  bool ok = true;
  if (c->kind == kKindEntry || c->kind == kKindSpin || c->kind == kKindTextBox) {
    ok = internal::CheckEntry(*c, false);
  }
  if (!ok) {
    w.accept_all = false;
    w.accept_all_checking = nullptr;
    internal::Focus(*c);
    return;
  }
  w.Queue(event::kAccepted, c);
}

// Shows each USE variable whose text changed since it was last shown (entries being edited
// keep what the user typed).
void RefreshChanged(Structure& w) {
  for (auto& c : w.controls) {
    if (c->use && !c->changed) internal::Refresh(*c);
  }
}

void HandleMessage(Structure& w, const host::Message& m) {
  if (m.number == kBringToTopMessage) {
    host::BringToTop(host::TopLevelOf(w.handle));
    return;
  }
  if (m.number == host::msg::kTimer && m.window == host::kNoWindow) {
    if (internal::CurrentSlot() == 0) {
      if (auto callback = internal::ProgramTimerCallback()) callback();
    }
    return;
  }
  if (internal::MenuKey(w, m) || DialogKey(w, m)) return;
  host::DispatchMessage(m);
}

// A refused entry keeps the focus: the focus moved on (Tab, a click on another control of the
// window) before the entry's text was checked, so it goes back, leaving the user's text and
// the entry's red frame as they are. A focus gone to another window stays there.
void KeepFocusOnRefused(Structure& w, Control* refused) {
  if (!refused || !refused->handle || !refused->IsVisible() || !refused->IsEnabled()) return;
  host::WindowId focus = host::FocusWindow();
  if (focus == refused->handle || (focus != host::kNoWindow && !OwnsWindow(w, focus))) return;
  internal::Focus(*refused);
}

// Takes queued records until one is for the procedure; false when none is.
bool NextEvent(Structure& w) {
  while (!w.queue.empty()) {
    EventRecord record = w.queue.front();
    w.queue.pop_front();
    switch (record.code()) {
      case event::kSelected:
        if (record.control != w.selection_target) continue;
        w.selected_field = record.control ? record.control->equate : 0;
        if (record.control && !(record.control->flags & control_flag::kNoScroll)) {
          internal::ScrollToSelected(w, *record.control);
        }
        break;
      case event::kCloseWindow:
      case event::kCloseDown:
        w.closing = true;
        break;
      case event::kOpenFailed:
        continue;
      case event::kTimer:
        w.timer_pending = false;
        break;
      case event::kRejected:
        KeepFocusOnRefused(w, record.control);
        break;
      default:
        break;
    }
    w.current = record;
    return true;
  }
  return false;
}

bool HasFieldEvents(const Structure& w) {
  return std::any_of(w.queue.begin(), w.queue.end(),
                     [](const EventRecord& r) { return r.control != nullptr; });
}

}  // namespace

bool Accept() {
  Structure* w = Top();
  if (!w || !w->is_open()) {
    if (!w) FatalRuntimeError(runtime_error::kAcceptWithoutWindow);
    return false;
  }
  if (synchronous_depth > 0) {
    FatalRuntimeError(runtime_error::kAcceptWhileModal);
    return false;
  }
  if (w->current && w->current->code() == event::kAccepted && w->accept_all_checking &&
      w->current->control == w->accept_all_checking) {
    w->accept_all_checking = nullptr;
  }
  internal::NoteCloseDownAnswer(*w);
  w->current.reset();
  if (w->closing && !HasFieldEvents(*w) && internal::ReadyToClose(*w)) {
    Close(*w);
    return false;
  }
  RefreshChanged(*w);
  host::UpdateWindows();
  while (w->is_open()) {
    internal::ScrollAfterRelease(*w);
    if (NextEvent(*w)) return true;
    if (w->closing && internal::ReadyToClose(*w)) break;
    if (w->accept_all) {
      AcceptAllStep(*w);
      continue;
    }
    host::Message m;
    if (!internal::WaitForMessage(&m)) {
      w->Queue(event::kCloseDown, nullptr);
      continue;
    }
    if (Top() != w) {
      // A window opened above this one on the same thread serves the messages now.
      host::DispatchMessage(m);
      continue;
    }
    HandleMessage(*w, m);
    host::UpdateWindows();
  }
  if (w->is_open()) Close(*w);
  return false;
}

void RefuseClose() {
  if (Structure* w = Top()) w->closing = false;
}

int Event() {
  Structure* w = Top();
  return w && w->current ? w->current->code() : 0;
}

int Field() {
  Structure* w = Top();
  if (!w || !w->current || !w->current->control) return 0;
  return w->current->control->equate;
}

int Accepted() {
  return Event() == event::kAccepted ? Field() : 0;
}

uint32_t KeyCode() {
  Structure* w = Top();
  return w && w->current ? (w->current->key_code & 0x7FF) : 0;
}

void Post(int event, int control, int thread) {
  Structure* w = TopWindowOf(thread);
  if (!w || !w->is_open()) return;
  Control* c = w->Find(control);
  if (control != 0 && w->kind() == StructureKind::kReport) {
    FatalRuntimeError(runtime_error::kEventToReportControl);
    return;
  }
  w->Queue(event, c);
}

void Select(int control) {
  Structure* w = Top();
  if (!w) return;
  if (control == 0) {
    w->accept_all = true;
    w->accept_all_position = 0;
    w->accept_all_checking = nullptr;
    return;
  }
  Control* c = w->Find(control);
  if (!c) return;
  if (w->accept_all) {
    if (c != w->accept_all_checking) return;
    w->accept_all = false;
    w->accept_all_checking = nullptr;
  }
  w->selection_target = c;
  if (c->kind == kKindTab && c->container && c->container->kind == kKindSheet) {
    auto& tabs = c->container->children;
    internal::SelectTab(
        *c->container, static_cast<int>(std::find(tabs.begin(), tabs.end(), c) - tabs.begin()) + 1);
    return;
  }
  internal::Focus(*c);
}

// Text typed into a field and not yet taken is taken first, so that showing the variables
// again never throws away what the user typed; a text that its picture refuses stays shown as
// typed. The field's EVENT:Accepted still comes when it loses the focus.
void Display() {
  Structure* w = Top();
  if (!w) return;
  for (auto& c : w->controls) {
    if (c->changed && c->use) internal::CheckEntry(*c, false);
  }
  for (auto& c : w->controls) {
    if (!c->changed) internal::Refresh(*c);
  }
}

namespace internal {

void ServeWindowsWhileWaiting() {
  if (CurrentThread() != 0 && HoldsSemaphore()) {
    host::Message m;
    while (host::PeekMessage(&m, host::kNoWindow, host::msg::kPaint, host::msg::kPaint)) {
      host::DispatchMessage(m);
    }
  }
  std::this_thread::yield();
}

void InstallStoreWaitHook() {
  store::SetWaitHook(&ServeWindowsWhileWaiting);
}

bool DispatchingSynchronously() {
  return synchronous_depth > 0;
}

bool DispatchSynchronously(Structure& w, int event, Control* control, int value) {
  if (!w.synchronous_handler) return true;
  std::optional<EventRecord> saved = w.current;
  EventRecord record;
  record.message = static_cast<uint32_t>(event) + kEventBase;
  record.control = control;
  record.key_code = w.last_key_code;
  w.current = record;
  RaiseModal();
  ++synchronous_depth;
  bool allowed = w.synchronous_handler(control ? control->equate : 0, value);
  --synchronous_depth;
  LowerModal();
  w.current = saved;
  return allowed;
}

}  // namespace internal
}  // namespace carelog::window
