// What the window runtime tells the automation layer: the kind of each window, its controls in
// equate order with their state, clicks on controls without a window, and the message box.
// The peer reads windows while holding the global semaphore, as procedure code does.
#include <algorithm>
#include <mutex>

#include "runtime/host/automation.h"
#include "runtime/host/window_system.h"
#include "runtime/window/frame_layout.h"
#include "runtime/window/menu_bar.h"
#include "runtime/window/message_box.h"
#include "runtime/window/status_bar.h"
#include "runtime/window/threads.h"
#include "runtime/window/window_runtime.h"

namespace carelog::window {
namespace {

std::mutex open_mutex;
std::vector<Structure*> open_structures;  // guarded by open_mutex

class SemaphoreHold {
 public:
  SemaphoreHold() { internal::TakeSemaphore(); }
  ~SemaphoreHold() { internal::ReleaseSemaphore(); }
};

Structure* FindStructure(host::WindowId window) {
  std::lock_guard<std::mutex> lock(open_mutex);
  for (Structure* s : open_structures) {
    if (s->handle == window) return s;
  }
  return nullptr;
}

// The zones of a window's own status bar, as controls of kind "statuszone" named "zone1"...
void AddStatusZones(Structure& s, std::vector<host::ControlInfo>* out) {
  if (!s.parts || !s.parts->status_bar) return;
  for (size_t i = 0; i < s.parts->zones.size(); ++i) {
    host::ControlInfo info;
    info.window = s.parts->status_bar;
    info.name = "zone" + std::to_string(i + 1);
    info.kind = "statuszone";
    info.text = internal::ShownStatusText(s, static_cast<int>(i) + 1);
    info.visible = s.is_open();
    info.enabled = true;
    out->push_back(std::move(info));
  }
}

// A message box's buttons, numbered by their values.
bool MessageBoxControls(host::WindowId window, std::vector<host::ControlInfo>* out) {
  std::vector<MessageBoxButton> buttons;
  if (!MessageBoxButtons(window, &buttons)) return false;
  host::WindowId focus = host::FocusWindow();
  for (const MessageBoxButton& b : buttons) {
    host::ControlInfo info;
    info.window = b.window;
    info.equate = b.value;
    info.kind = "button";
    info.text = b.text;
    info.visible = host::IsVisible(b.window);
    info.enabled = host::IsEnabled(b.window);
    info.focused = b.window == focus;
    if (b.is_default) info.properties.emplace_back("default", "1");
    out->push_back(std::move(info));
  }
  return true;
}

class Peer : public host::AutomationPeer {
 public:
  bool WindowKindOf(host::WindowId window, std::string* kind) override {
    host::WindowId box;
    std::string text;
    if (CurrentMessageBox(&box, &text) && box == window) {
      *kind = "message";
      return true;
    }
    Structure* s = FindStructure(window);
    if (!s) return false;
    switch (s->kind()) {
      case StructureKind::kApplication:
        *kind = "frame";
        break;
      case StructureKind::kMdi:
        *kind = "mdi";
        break;
      default:
        *kind = "window";
        break;
    }
    return true;
  }

  bool Controls(host::WindowId window, std::vector<host::ControlInfo>* out) override {
    if (MessageBoxControls(window, out)) return true;
    if (!FindStructure(window)) return false;
    SemaphoreHold hold;
    Structure* s = FindStructure(window);
    if (!s) return false;
    std::vector<Control*> ordered;
    for (auto& c : s->controls) ordered.push_back(c.get());
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const Control* a, const Control* b) { return a->equate < b->equate; });
    host::WindowId focus = host::FocusWindow();
    for (Control* c : ordered) {
      host::ControlInfo info;
      info.window = c->handle;
      info.equate = c->equate;
      info.kind = c->cls->automation_kind;
      info.text = c->text;
      info.visible = c->IsVisible() && s->is_open();
      info.enabled = c->IsEnabled();
      info.focused = c->handle != host::kNoWindow && c->handle == focus;
      if (c->kind == kKindCheck || c->kind == kKindRadio) {
        info.properties.emplace_back("checked", c->state ? "1" : "0");
      }
      if (c->kind == kKindSheet) info.properties.emplace_back("tab", std::to_string(c->state));
      if (c->kind == kKindList) {
        info.selected_row = c->state;
        std::string rows;
        for (const std::string& row : c->rows) rows += (rows.empty() ? "" : "\t") + row;
        info.properties.emplace_back("rows", rows);
      }
      if (s->default_button == c) info.properties.emplace_back("default", "1");
      if (c->kind == kKindMenu || c->kind == kKindItem) {
        info.properties.emplace_back("command", std::to_string(CommandOf(c->equate)));
        if (IsSeparator(*c)) info.properties.emplace_back("separator", "1");
        if (c->attr & menu_attr::kRight) info.properties.emplace_back("right", "1");
        if (!c->message.empty()) info.properties.emplace_back("message", c->message);
      }
      host::Rect r = c->pixels;
      info.properties.emplace_back("rect", std::to_string(r.left) + "," + std::to_string(r.top) +
                                               "," + std::to_string(r.Width()) + "," +
                                               std::to_string(r.Height()));
      out->push_back(std::move(info));
    }
    AddStatusZones(*s, out);
    return true;
  }

  host::AutomationResult ChooseMenu(host::WindowId window,
                                    const std::vector<std::string>& path) override {
    if (!FindStructure(window)) return host::AutomationResult::Failure("no window of this program");
    SemaphoreHold hold;
    Structure* s = FindStructure(window);
    if (!s) return host::AutomationResult::Failure("the window has closed");
    const std::vector<MenuNode>* menus = internal::ShownMenus(*s);
    std::string where = "\"" + s->title + "\"";
    if (!menus || menus->empty()) return host::AutomationResult::Failure(where + " shows no menu");
    std::string joined, offered;
    for (const std::string& text : path) joined += (joined.empty() ? "" : " > ") + text;
    const MenuNode* node = FindMenuPath(*menus, path, &offered);
    if (!node) {
      return host::AutomationResult::Failure("no menu item \"" + joined + "\" in " + where +
                                             "; that menu offers " + offered);
    }
    const Control& item = *node->control;
    if (IsMenuTitle(item)) {
      return host::AutomationResult::Failure("\"" + joined + "\" is a menu, not an item to choose");
    }
    if (!item.IsEnabled()) {
      return host::AutomationResult::Failure("menu item \"" + joined + "\" is disabled");
    }
    if (!internal::ChooseMenuItem(item)) {
      return host::AutomationResult::Failure("menu item \"" + joined + "\" cannot be chosen");
    }
    return host::AutomationResult{};
  }

  bool CurrentMessage(host::WindowId* window, std::string* text) override {
    return CurrentMessageBox(window, text);
  }
};

Peer peer;

}  // namespace

void RegisterAutomation() {
  host::RegisterAutomationPeer(&peer);
}

namespace internal {
void NoteOpen(Structure* s, bool open) {
  std::lock_guard<std::mutex> lock(open_mutex);
  auto it = std::find(open_structures.begin(), open_structures.end(), s);
  if (open && it == open_structures.end()) open_structures.push_back(s);
  if (!open && it != open_structures.end()) open_structures.erase(it);
}
}  // namespace internal

}  // namespace carelog::window
