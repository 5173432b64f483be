#include "runtime/window/message_box.h"

#include <mutex>

#include "runtime/host/message_queue.h"
#include "runtime/host/messages.h"
#include "runtime/host/window_system.h"

namespace carelog::window {
namespace {

std::mutex box_mutex;
host::WindowId shown_box = host::kNoWindow;
std::string shown_text;

constexpr int kOkId = 1;

}  // namespace

void ShowMessageBox(const std::string& title, const std::string& text) {
  bool done = false;
  host::WindowSpec spec;
  spec.kind = host::WindowKind::kTopLevel;
  spec.title = title;
  spec.class_name = "TamPopup";
  spec.rect = host::Rect::FromSize(300, 250, 380, 140);
  spec.style = host::style::kVisible | host::style::kCaption | host::style::kSystemMenu;
  spec.proc = [&done](const host::Message& m) -> int64_t {
    if (m.number == host::msg::kClose) {
      done = true;
      return 0;
    }
    if (m.number == host::msg::kPaint) {
      auto dc = host::BeginPaint(m.window);
      if (!dc) return 0;
      dc->FillRect(host::ClientRect(m.window), host::Color{243, 243, 243});
      dc->DrawIcon(host::StandardIcon::kStop, host::Rect::FromSize(16, 16, 32, 32));
      dc->SetFont(host::FontSpec{"Arial", 10});
      dc->SetTextColor(host::Color{26, 26, 26});
      std::lock_guard<std::mutex> lock(box_mutex);
      dc->DrawText(host::Rect{60, 16, 370, 80}, shown_text, host::text::kWordWrap);
      host::EndPaint(m.window, std::move(dc));
      return 0;
    }
    return host::DefaultWindowProc(m);
  };
  {
    std::lock_guard<std::mutex> lock(box_mutex);
    shown_text = text;
  }
  host::WindowId box = host::CreateWindow(spec);
  host::WindowSpec ok;
  ok.kind = host::WindowKind::kChild;
  ok.parent = box;
  ok.control_id = kOkId;
  ok.class_name = "button";
  ok.title = "OK";
  ok.rect = host::Rect::FromSize(280, 80, 80, 26);
  ok.style = host::style::kVisible | host::style::kTabStop | host::style::kBorder;
  ok.proc = [&done](const host::Message& m) -> int64_t {
    if (m.number == host::msg::kLButtonUp ||
        (m.number == host::msg::kKeyDown &&
         (m.wparam == host::key::kEnter || m.wparam == host::key::kSpace))) {
      done = true;
      return 0;
    }
    return host::DefaultWindowProc(m);
  };
  host::WindowId button = host::CreateWindow(ok);
  {
    std::lock_guard<std::mutex> lock(box_mutex);
    shown_box = box;
  }
  host::SetActiveWindow(box);
  host::SetFocus(button);
  host::Message m;
  while (!done && host::GetMessage(&m)) {
    if (m.window == box || m.window == button || m.window == host::kNoWindow) {
      host::DispatchMessage(m);
    }
  }
  {
    std::lock_guard<std::mutex> lock(box_mutex);
    shown_box = host::kNoWindow;
  }
  host::DestroyWindow(box);
}

bool CurrentMessageBox(host::WindowId* window, std::string* text) {
  std::lock_guard<std::mutex> lock(box_mutex);
  if (shown_box == host::kNoWindow) return false;
  *window = shown_box;
  *text = shown_text;
  return true;
}

}  // namespace carelog::window
