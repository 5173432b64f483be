// Message boxes: layout from the dialog font, the box and button windows, and the modal loop.
#include "runtime/window/message_box.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <memory>
#include <mutex>

#include "runtime/host/automation.h"
#include "runtime/host/display.h"
#include "runtime/host/message_queue.h"
#include "runtime/host/messages.h"
#include "runtime/host/window_system.h"
#include "runtime/values/locale.h"
#include "runtime/window/builtin_icons.h"
#include "runtime/window/threads.h"
#include "runtime/window/window_runtime.h"

namespace carelog::window {
namespace {

struct ButtonKind {
  int value;
  const char* text;
};

constexpr ButtonKind kButtonKinds[] = {
    {message_button::kOk, "OK"},         {message_button::kYes, "&Yes"},
    {message_button::kNo, "&No"},        {message_button::kAbort, "&Abort"},
    {message_button::kRetry, "&Retry"},  {message_button::kIgnore, "&Ignore"},
    {message_button::kCancel, "Cancel"}, {message_button::kHelp, "&Help"},
};

// The text a standard button shows: the environment's text for its slot (the number of the
// button's bit: OK 0, Yes 1 ... Help 7) when one is set, else the built-in text.
std::string StandardText(const ButtonKind& kind) {
  int slot = std::countr_zero(static_cast<unsigned>(kind.value));
  if (const std::string* text = values::ButtonText(slot)) return *text;
  return kind.text;
}

// Posted to the box's thread when the box ends while its loop may be waiting inside
// GetMessage (destroyed from another thread); dropped by the loop.
constexpr uint32_t kBoxEnded = 0x2420;
constexpr int kIconSize = 32;
constexpr int kMaxTextWidth = 420;

host::FontSpec DialogFont() {
  host::FontSpec font;
  font.face = "Helv";
  font.points = 8;
  font.weight = 700;
  return font;
}

struct Box {
  std::string text;
  std::string caption;
  host::StandardIcon icon = host::StandardIcon::kApplication;
  bool has_icon = false;
  std::shared_ptr<host::Surface> named_icon;
  std::vector<MessageBoxButton> buttons;
  host::WindowId window = host::kNoWindow;
  host::Rect icon_rect, text_rect;
  host::Size client;
  host::Size button_size;
  std::vector<host::Rect> button_rects;
  host::WindowId pressed = host::kNoWindow;  // a button held down by the mouse
  int answer = 0;
  bool done = false;
};

std::mutex boxes_mutex;
std::vector<Box*> shown_boxes;  // in the order they were shown

// Measures with the dialog font: buttons of 50 x 14 dialog units (widened for their text),
// margins of 8 units, the text wrapped at most kMaxTextWidth pixels wide.
void Lay(Box& box) {
  auto surface = host::Surface::Create(1, 1);
  host::DeviceContext dc(surface);
  dc.SetFont(DialogFont());
  int average = std::max(
      1, (dc.TextExtent("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ").width + 26) / 52);
  int line = std::max(1, dc.Metrics().height);
  int margin_x = 2 * average, margin_y = line;
  int button_width = 50 * average / 4, button_height = 14 * line / 8;
  for (const MessageBoxButton& b : box.buttons) {
    button_width = std::max(button_width, dc.TextExtent(b.text).width + 2 * average);
  }
  box.button_size = host::Size{button_width, button_height};
  int natural = 0;
  for (size_t start = 0; start <= box.text.size();) {
    size_t end = box.text.find('\n', start);
    if (end == std::string::npos) end = box.text.size();
    natural = std::max(natural, dc.TextExtent(box.text.substr(start, end - start)).width);
    start = end + 1;
  }
  int text_width = std::clamp(natural + 2, 1, kMaxTextWidth);
  int text_height = box.text.empty() ? 0
                                     : dc.DrawText(host::Rect{0, 0, text_width, 1 << 20}, box.text,
                                                   host::text::kWordWrap);
  int text_left = margin_x + (box.has_icon ? kIconSize + margin_x : 0);
  int content = std::max(text_height, box.has_icon ? kIconSize : 0);
  int gap = average;
  int count = static_cast<int>(box.buttons.size());
  int row = count * button_width + (count - 1) * gap;
  int width = std::max({text_left + text_width + margin_x, row + 2 * margin_x, 160});
  box.icon_rect = host::Rect::FromSize(margin_x, margin_y, kIconSize, kIconSize);
  box.text_rect = host::Rect::FromSize(text_left, margin_y + (content - text_height) / 2,
                                       text_width, text_height);
  int buttons_top = margin_y + content + margin_y;
  box.button_rects.clear();
  for (int i = 0; i < count; ++i) {
    box.button_rects.push_back(host::Rect::FromSize((width - row) / 2 + i * (button_width + gap),
                                                    buttons_top, button_width, button_height));
  }
  box.client = host::Size{width, buttons_top + button_height + margin_y};
}

void PaintBox(const Box& box, host::WindowId window) {
  std::unique_ptr<host::DeviceContext> dc = host::BeginPaint(window);
  if (!dc) return;
  dc->FillRect(host::ClientRect(window), theme::kWindow);
  if (box.named_icon) {
    dc->DrawBitmap(*box.named_icon, box.icon_rect);
  } else if (box.has_icon) {
    dc->DrawIcon(box.icon, box.icon_rect);
  }
  dc->SetFont(DialogFont());
  dc->SetTextColor(theme::kText);
  dc->DrawText(box.text_rect, box.text, host::text::kWordWrap);
  host::EndPaint(window, std::move(dc));
}

void PaintButton(const Box& box, const MessageBoxButton& b, host::WindowId window) {
  std::unique_ptr<host::DeviceContext> dc = host::BeginPaint(window);
  if (!dc) return;
  host::Rect r = host::ClientRect(window);
  bool down = box.pressed == window;
  dc->FillRect(r, down ? theme::kAccentLight : theme::kFace);
  dc->FrameRect(r, b.is_default ? theme::kAccent : theme::kBorder);
  if (b.is_default) dc->FrameRect(host::Rect{1, 1, r.right - 1, r.bottom - 1}, theme::kAccent);
  dc->SetFont(DialogFont());
  dc->SetTextColor(theme::kText);
  dc->DrawText(r, b.text, host::text::kCenter | host::text::kVCenter | host::text::kHotkeyPrefix);
  if (host::FocusWindow() == window) dc->FocusRect(host::Rect{3, 3, r.right - 3, r.bottom - 3});
  host::EndPaint(window, std::move(dc));
}

void Answer(Box& box, int value) {
  box.answer = value;
  box.done = true;
}

// Esc and the close box: Cancel when shown, OK when it is the only button.
void Dismiss(Box& box) {
  for (const MessageBoxButton& b : box.buttons) {
    if (b.value == message_button::kCancel) return Answer(box, b.value);
  }
  if (box.buttons.size() == 1 && box.buttons[0].value == message_button::kOk) {
    Answer(box, message_button::kOk);
  }
}

int FocusedButton(const Box& box) {
  host::WindowId focus = host::FocusWindow();
  for (size_t i = 0; i < box.buttons.size(); ++i) {
    if (box.buttons[i].window == focus) return static_cast<int>(i);
  }
  return -1;
}

bool PressHotkey(Box& box, char c) {
  char wanted = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  for (const MessageBoxButton& b : box.buttons) {
    if (wanted != 0 && host::HotkeyOf(b.text) == wanted) {
      Answer(box, b.value);
      return true;
    }
  }
  return false;
}

// The box's keys; true when the message was one of them.
bool BoxKey(Box& box, const host::Message& m) {
  if (m.number == host::msg::kChar) {
    if (static_cast<unsigned char>(m.wparam) >= 0x20) PressHotkey(box, static_cast<char>(m.wparam));
    return true;
  }
  if (m.number != host::msg::kKeyDown) return m.number == host::msg::kKeyUp;
  auto vk = static_cast<int>(m.wparam);
  bool shift = (static_cast<uint32_t>(m.lparam) & host::modifier::kShift) != 0;
  int focused = FocusedButton(box);
  int count = static_cast<int>(box.buttons.size());
  switch (vk) {
    case host::key::kEnter:
    case host::key::kSpace: {
      int i = focused;
      if (i < 0 && vk == host::key::kEnter) {
        for (int j = 0; j < count; ++j) {
          if (box.buttons[static_cast<size_t>(j)].is_default) i = j;
        }
      }
      if (i >= 0) Answer(box, box.buttons[static_cast<size_t>(i)].value);
      return true;
    }
    case host::key::kEscape:
      Dismiss(box);
      return true;
    case host::key::kTab:
    case host::key::kLeft:
    case host::key::kRight:
    case host::key::kUp:
    case host::key::kDown: {
      bool back =
          vk == host::key::kLeft || vk == host::key::kUp || (vk == host::key::kTab && shift);
      int next = focused < 0 ? 0 : (focused + (back ? count - 1 : 1)) % count;
      host::SetFocus(box.buttons[static_cast<size_t>(next)].window);
      return true;
    }
    default:
      if ((static_cast<uint32_t>(m.lparam) & host::modifier::kAlt) && vk >= 'A' && vk <= 'Z') {
        PressHotkey(box, static_cast<char>(vk));
        return true;
      }
      return false;
  }
}

int64_t ButtonProc(Box* box, size_t index, const host::Message& m) {
  const MessageBoxButton& b = box->buttons[index];
  switch (m.number) {
    case host::msg::kPaint:
      PaintButton(*box, b, m.window);
      return 0;
    case host::msg::kLButtonDown:
      box->pressed = m.window;
      host::SetCapture(m.window);
      host::SetFocus(m.window);
      host::Invalidate(m.window);
      return 0;
    case host::msg::kLButtonUp: {
      bool was_pressed = box->pressed == m.window;
      box->pressed = host::kNoWindow;
      if (host::CaptureWindow() == m.window) host::ReleaseCapture();
      host::Invalidate(m.window);
      host::Point p{host::UnpackX(m.lparam), host::UnpackY(m.lparam)};
      if (was_pressed && host::ClientRect(m.window).Contains(p)) Answer(*box, b.value);
      return 0;
    }
    case host::msg::kSetFocus:
    case host::msg::kKillFocus:
      host::Invalidate(m.window);
      return host::DefaultWindowProc(m);
    default:
      return host::DefaultWindowProc(m);
  }
}

bool CreateBoxWindows(Box& box, host::WindowId owner) {
  Lay(box);
  // Centred over the owner (the screen when there is none), and never off the screen.
  host::Rect screen = host::ScreenWorkArea();
  host::Rect area = owner != host::kNoWindow ? host::WindowRect(owner) : screen;
  if (owner != host::kNoWindow && host::ShowStateOf(owner) == host::ShowState::kMinimized) {
    area = screen;
  }
  int x = area.left + (area.Width() - box.client.width) / 2;
  int y = area.top + (area.Height() - box.client.height) / 2;
  host::Rect placed =
      host::Rect::FromSize(x, y, box.client.width, box.client.height).KeptWithin(screen);
  x = placed.left;
  y = placed.top;
  host::WindowSpec spec;
  spec.kind = owner != host::kNoWindow ? host::WindowKind::kPopup : host::WindowKind::kTopLevel;
  spec.owner = owner;
  spec.title = box.caption;
  spec.class_name = "TamPopup";
  spec.rect = host::Rect::FromSize(x, y, box.client.width, box.client.height);
  spec.background = theme::kWindow;
  spec.style = host::style::kCaption | host::style::kSystemMenu |
               (owner != host::kNoWindow ? host::style::kModal : 0);
  Box* self = &box;
  spec.proc = [self](const host::Message& m) -> int64_t {
    if (m.number == host::msg::kPaint) {
      PaintBox(*self, m.window);
      return 0;
    }
    if (m.number == host::msg::kClose) {
      Dismiss(*self);
      return 0;
    }
    // Destroyed with its owner before an answer: the box ends with none.
    if (m.number == host::msg::kDestroy && !self->done) {
      Answer(*self, 0);
      host::PostThreadMessage(host::CurrentThreadId(), kBoxEnded);
    }
    return host::DefaultWindowProc(m);
  };
  box.window = host::CreateWindow(spec);
  if (box.window == host::kNoWindow) return false;
  for (size_t i = 0; i < box.buttons.size(); ++i) {
    host::WindowSpec button;
    button.kind = host::WindowKind::kChild;
    button.parent = box.window;
    button.control_id = box.buttons[i].value;
    button.class_name = "button";
    button.title = box.buttons[i].text;
    button.rect = box.button_rects[i];
    button.style = host::style::kVisible | host::style::kTabStop;
    button.proc = [self, i](const host::Message& m) { return ButtonProc(self, i, m); };
    box.buttons[i].window = host::CreateWindow(button);
  }
  return true;
}

bool BelongsTo(const Box& box, host::WindowId window) {
  return window != host::kNoWindow &&
         (window == box.window || host::ParentOf(window) == box.window);
}

bool IsInput(uint32_t n) {
  return (n >= host::msg::kKeyDown && n <= host::msg::kChar) ||
         (n >= host::msg::kMouseMove && n <= host::msg::kMouseWheel);
}

struct RunOptions {
  host::WindowId owner = host::kNoWindow;
  bool release_semaphore = true;
  bool serve_others = true;  // paint other windows and keep their messages for later
  bool system_modal = false;
};

// Disables every other top-level window of a system-modal box; returns those it disabled.
std::vector<host::WindowId> DisableOthers(const Box& box) {
  std::vector<host::WindowId> disabled;
  for (host::WindowId w : host::TopLevelWindows()) {
    if (w != box.window && host::IsEnabled(w)) {
      host::EnableWindow(w, false);
      disabled.push_back(w);
    }
  }
  return disabled;
}

// The box's loop: its own messages are handled, other windows are painted (with the semaphore
// taken back while their code runs) and their other non-input messages kept in `deferred`.
void ServeBox(Box& box, const RunOptions& options, bool held,
              std::vector<host::Message>* deferred) {
  while (!box.done) {
    host::Message m;
    if (!host::GetMessage(&m)) {
      host::PostQuitMessage(static_cast<int>(m.wparam));
      break;
    }
    if (m.window == host::kNoWindow && m.number == kBoxEnded) continue;
    if (BelongsTo(box, m.window)) {
      if (!BoxKey(box, m)) host::DispatchMessage(m);
    } else if (m.number == host::msg::kPaint) {
      if (!options.serve_others) {
        host::EndPaint(m.window, host::BeginPaint(m.window));  // only marks it painted
      } else if (held) {
        internal::TakeSemaphore();
        host::DispatchMessage(m);
        internal::ReleaseSemaphore();
      } else {
        host::DispatchMessage(m);
      }
    } else if (options.serve_others && !IsInput(m.number)) {
      deferred->push_back(m);
    }
  }
}

void Repost(const std::vector<host::Message>& deferred) {
  for (const host::Message& d : deferred) {
    if (d.window == host::kNoWindow) {
      host::PostThreadMessage(host::CurrentThreadId(), d.number, d.wparam, d.lparam);
    } else {
      host::PostMessage(d.window, d.number, d.wparam, d.lparam);
    }
  }
}

// Shows the box and runs its loop until it is answered; returns the answer.
int RunBox(Box& box, const RunOptions& options) {
  if (!CreateBoxWindows(box, options.owner)) return 0;
  std::vector<host::WindowId> disabled;
  if (options.system_modal) disabled = DisableOthers(box);
  host::WindowId previous_focus = host::FocusWindow();
  {
    std::lock_guard<std::mutex> lock(boxes_mutex);
    shown_boxes.push_back(&box);
  }
  host::ShowWindow(box.window, host::ShowState::kNormal);
  host::SetActiveWindow(box.window);
  for (const MessageBoxButton& b : box.buttons) {
    if (b.is_default) host::SetFocus(b.window);
  }
  bool held = options.release_semaphore && HoldsSemaphore();
  if (held) internal::ReleaseSemaphore();
  std::vector<host::Message> deferred;
  ServeBox(box, options, held, &deferred);
  if (held) internal::TakeSemaphore();
  {
    std::lock_guard<std::mutex> lock(boxes_mutex);
    shown_boxes.erase(std::remove(shown_boxes.begin(), shown_boxes.end(), &box), shown_boxes.end());
  }
  for (host::WindowId w : disabled) host::EnableWindow(w, true);
  host::DestroyWindow(box.window);
  if (previous_focus != host::kNoWindow && host::IsWindow(previous_focus)) {
    host::SetFocus(previous_focus);
  }
  Repost(deferred);
  return box.answer;
}

void ChooseButtons(Box& box, int buttons, int default_button) {
  if ((buttons & 0xFF) == 0) buttons = message_button::kOk;
  for (const ButtonKind& kind : kButtonKinds) {
    if (buttons & kind.value) {
      MessageBoxButton b;
      b.value = kind.value;
      b.text = StandardText(kind);
      b.is_default = kind.value == default_button;
      box.buttons.push_back(b);
    }
  }
  bool any_default = std::any_of(box.buttons.begin(), box.buttons.end(),
                                 [](const MessageBoxButton& b) { return b.is_default; });
  if (!any_default) box.buttons.front().is_default = true;
}

void ChooseIcon(Box& box, int icon, const std::string& icon_name) {
  switch (icon & 0xF0) {
    case message_icon::kStop:
      box.icon = host::StandardIcon::kStop;
      break;
    case message_icon::kQuestion:
      box.icon = host::StandardIcon::kQuestion;
      break;
    case message_icon::kExclamation:
      box.icon = host::StandardIcon::kExclamation;
      break;
    case message_icon::kInformation:
      box.icon = host::StandardIcon::kInformation;
      break;
    case message_icon::kNamed:
      box.named_icon = icon_name.empty() ? nullptr : LoadControlImage(icon_name);
      box.has_icon = box.named_icon != nullptr;
      return;
    default:
      return;
  }
  box.has_icon = true;
}

// The thread's top window, else the application frame, else the active window.
host::WindowId DefaultOwner() {
  if (Structure* top = TopWindowOf(0); top && top->is_open()) {
    return host::TopLevelOf(top->handle);
  }
  if (Structure* frame = internal::ApplicationFrame(); frame && frame->is_open()) {
    return frame->handle;
  }
  return host::ActiveWindow();
}

}  // namespace

std::string MessageButtonText(int value) {
  for (const ButtonKind& kind : kButtonKinds) {
    if (kind.value == value) return StandardText(kind);
  }
  return std::string();
}

int Message(const std::string& text, const std::string& caption, int icon, int buttons,
            int default_button, int style, const std::string& icon_name) {
  Box box;
  box.text = text;
  box.caption = caption;
  ChooseButtons(box, buttons, default_button);
  ChooseIcon(box, icon, icon_name);
  RunOptions options;
  options.owner = DefaultOwner();
  options.system_modal = (style & message_style::kSystemModal) != 0;
  return RunBox(box, options);
}

void ShowMessageBox(const std::string& title, const std::string& text) {
  Box box;
  box.text = text;
  box.caption = title;
  ChooseButtons(box, message_button::kOk, message_button::kOk);
  ChooseIcon(box, message_icon::kStop, std::string());
  RunOptions options;
  options.release_semaphore = false;
  options.serve_others = false;
  RunBox(box, options);
}

bool CurrentMessageBox(host::WindowId* window, std::string* text) {
  std::lock_guard<std::mutex> lock(boxes_mutex);
  if (shown_boxes.empty()) return false;
  *window = shown_boxes.back()->window;
  *text = shown_boxes.back()->text;
  return true;
}

bool MessageBoxButtons(host::WindowId box, std::vector<MessageBoxButton>* out) {
  std::lock_guard<std::mutex> lock(boxes_mutex);
  for (const Box* b : shown_boxes) {
    if (b->window == box) {
      *out = b->buttons;
      return true;
    }
  }
  return false;
}

}  // namespace carelog::window
