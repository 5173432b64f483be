// What the window runtime tells the automation layer: the kind of each window, its controls in
// equate order with their state, clicks on controls without a window, and the message box.
// The peer reads windows while holding the global semaphore, as procedure code does.
#include <algorithm>
#include <map>
#include <mutex>
#include <optional>

#include "runtime/host/automation.h"
#include "runtime/host/window_system.h"
#include "runtime/window/control_classes.h"
#include "runtime/window/frame_layout.h"
#include "runtime/window/image_painter.h"
#include "runtime/window/list_state.h"
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

// The control whose host window is `handle`, looked for in `window` first. Call with the
// semaphore held.
Control* ControlByHandle(host::WindowId window, host::WindowId handle) {
  std::lock_guard<std::mutex> lock(open_mutex);
  std::vector<Structure*> order = open_structures;
  std::stable_partition(order.begin(), order.end(),
                        [window](const Structure* s) { return s->handle == window; });
  for (Structure* s : order) {
    for (auto& c : s->controls) {
      if (c->handle == handle && handle != host::kNoWindow) return c.get();
    }
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

std::string Quote(const std::string& text) {
  std::string out = "\"";
  for (char ch : text) {
    if (ch == '"' || ch == '\\') out += '\\';
    out += ch;
  }
  return out + "\"";
}

// A list as its user sees it: the headers, the rows in view with their cells as displayed,
// the selected row and the vertical scroll bar.
void DescribeList(const Control& c, host::ControlInfo* info) {
  info->selected_row = SelectedListRow(c);
  std::vector<std::string> headers = ListHeaders(c);
  std::string rows;
  for (int row = 1; row <= ListRowCount(c); ++row) {
    rows += (row > 1 ? "\t" : "") + ListCellText(c, row, 1);
  }
  info->properties.emplace_back("rows", rows);
  std::string line = "header";
  for (const std::string& h : headers) line += " " + Quote(h);
  info->detail.push_back(line);
  const ListState& s = ListOf(c);
  ListGeometry g = ListLayout(c);
  int last = std::min(ListRowCount(c), s.first_row + g.visible);
  for (int row = s.first_row + 1; row <= last; ++row) {
    line = "row " + std::to_string(row) + (row == s.selected ? " selected" : "");
    for (size_t col = 1; col <= headers.size(); ++col) {
      line += " " + Quote(ListCellText(c, row, static_cast<int>(col)));
    }
    info->detail.push_back(line);
  }
  info->detail.push_back(std::string("scrollbar ") + (g.bar.Empty() ? "off" : "on") + " thumb=" +
                         std::to_string(ListThumb(c)) + " visible=" + std::to_string(g.visible));
}

// A tab as its user sees it: whether the row of tabs shows its header (it may be scrolled
// away) and where, in the window's client coordinates.
// The tab headers of the sheets of one description, each sheet's row laid out once.
using SheetHeaders = std::map<const Control*, std::vector<std::optional<host::Rect>>>;

void DescribeTab(const Control& tab, SheetHeaders* sheets, host::ControlInfo* info) {
  auto [it, added] = sheets->try_emplace(tab.container);
  if (added) it->second = internal::TabHeaders(*tab.container);
  auto index = std::find(tab.container->children.begin(), tab.container->children.end(), &tab) -
               tab.container->children.begin();
  std::optional<host::Rect> header;
  if (static_cast<size_t>(index) < it->second.size())
    header = it->second[static_cast<size_t>(index)];
  info->properties.emplace_back("shown", header ? "1" : "0");
  if (!header) return;
  host::Rect r = header->Offset(tab.container->pixels.left, tab.container->pixels.top);
  info->properties.emplace_back("header", std::to_string(r.left) + "," + std::to_string(r.top) +
                                              "," + std::to_string(r.Width()) + "," +
                                              std::to_string(r.Height()));
}

// The tab that an automation description names.
Control* FindTab(Structure& s, const host::ControlInfo& info) {
  if (info.kind != std::string("tab")) return nullptr;
  for (auto& c : s.controls) {
    if (c->kind == kKindTab && c->equate == info.equate && c->text == info.text) return c.get();
  }
  return nullptr;
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
    SheetHeaders sheets;
    for (Control* c : ordered) {
      host::ControlInfo info;
      info.window = c->handle;
      info.equate = c->equate;
      info.kind = c->cls->automation_kind;
      info.text = c->text;
      // A tab's header shows with its sheet, whichever page is selected.
      bool visible =
          c->kind == kKindTab && c->container ? c->container->IsVisible() : c->IsVisible();
      info.visible = visible && s->is_open();
      info.enabled = c->IsEnabled();
      info.focused = c->handle != host::kNoWindow && c->handle == focus;
      if (c->kind == kKindCheck || c->kind == kKindRadio) {
        info.properties.emplace_back("checked", c->state ? "1" : "0");
      }
      if (c->kind == kKindSheet) info.properties.emplace_back("tab", std::to_string(c->state));
      if (c->kind == kKindTab && c->container) DescribeTab(*c, &sheets, &info);
      if ((c->cls == &kEntryClass || c->cls == &kTextClass) && Editing(*c).refused) {
        info.properties.emplace_back("refused", "1");
      }
      if (c->kind == kKindList) DescribeList(*c, &info);
      if (s->default_button == c) info.properties.emplace_back("default", "1");
      if (!c->tip.empty()) info.properties.emplace_back("tip", c->tip);
      if (c->kind == kKindImage && !c->image.empty()) {
        info.properties.emplace_back("image", c->image);
        if (ImageSetting(*c, kImageZoom) > 0) {
          info.properties.emplace_back("scroll",
                                       std::to_string(ImageSetting(*c, kImageScrollX)) + "," +
                                           std::to_string(ImageSetting(*c, kImageScrollY)));
        }
      }
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

  bool ClickWindowless(host::WindowId window, const host::ControlInfo& control) override {
    SemaphoreHold hold;
    Structure* s = FindStructure(window);
    if (!s) return false;
    if (Control* tab = FindTab(*s, control); tab && tab->container) {
      internal::ClickTab(*tab);
      return true;
    }
    for (auto& c : s->controls) {
      if (c->equate != control.equate || c->kind != kKindRegion || control.equate == 0) continue;
      host::Point centre{(c->pixels.left + c->pixels.right) / 2,
                         (c->pixels.top + c->pixels.bottom) / 2};
      return internal::ClickRegion(*s, centre);
    }
    return false;
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

  host::AutomationResult SelectRow(host::WindowId window, const host::ControlInfo& info,
                                   int row) override {
    SemaphoreHold hold;
    Control* list = ControlByHandle(window, info.window);
    if (!list || list->kind != kKindList) {
      return host::AutomationResult::Failure("control " + std::to_string(info.equate) +
                                             " is not a list");
    }
    int rows = ListRowCount(*list);
    if (row < 1 || row > rows) {
      return host::AutomationResult::Failure("the list has " + std::to_string(rows) +
                                             " rows, no row " + std::to_string(row));
    }
    internal::Focus(*list);
    list->window->last_key_code = mouse_key::kLeft;
    ChooseListRow(*list, row);
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
