// POPUP: parsing the menu text into entries and showing them with the popup menu tracker.
#include "runtime/window/popup.h"

#include <algorithm>

#include "runtime/host/input.h"
#include "runtime/host/window_system.h"
#include "runtime/window/threads.h"
#include "runtime/window/window_runtime.h"

namespace carelog::window {
namespace {

class Parser {
 public:
  explicit Parser(PopupMenuText* out) : out_(out) { levels_.push_back(&out->entries); }

  void Feed(char c) {
    switch (c) {
      case '|':
        EndItem(false);
        break;
      case '{':
        EndItem(true);
        break;
      case '}':
        EndItem(false);
        CloseLevel();
        break;
      default:
        raw_ += c;
        break;
    }
  }

  void Finish() {
    EndItem(false);
    flattened_ = 0;
    while (levels_.size() > 1) CloseLevel();
  }

 private:
  void EndItem(bool title) {
    std::string raw;
    raw.swap(raw_);
    if (raw.empty() && !title) return;
    MenuEntry e;
    if (raw == "-" && !title) {
      e.separator = true;
      levels_.back()->push_back(std::move(e));
      return;
    }
    size_t start = 0;
    if (start < raw.size() && raw[start] == '~') {
      e.greyed = true;
      ++start;
    }
    if (start < raw.size() && (raw[start] == '+' || raw[start] == '-')) {
      e.checked = raw[start] == '+';
      ++start;
    }
    e.text = raw.substr(start, kMaxPopupItemText);
    if (!title) {
      e.command = ++out_->items;
      levels_.back()->push_back(std::move(e));
      return;
    }
    std::vector<MenuEntry>* list = levels_.back();
    list->push_back(std::move(e));
    if (static_cast<int>(levels_.size()) > kMaxPopupDepth) {
      // Too deep: the title stays as a greyed entry and its items join this level.
      list->back().greyed = true;
      ++flattened_;
      return;
    }
    levels_.push_back(&list->back().submenu);
  }

  // Ends the innermost submenu; a submenu left without entries makes its title greyed.
  void CloseLevel() {
    if (flattened_ > 0) {
      --flattened_;
      return;
    }
    if (levels_.size() <= 1) return;  // an unmatched '}'
    levels_.pop_back();
    MenuEntry& title = levels_.back()->back();
    if (title.submenu.empty()) title.greyed = true;
  }

  PopupMenuText* out_;
  std::vector<std::vector<MenuEntry>*> levels_;  // innermost last; each is the back() title's
  std::string raw_;
  int flattened_ = 0;
};

int Coordinate(int64_t value, int origin, int pointer) {
  if (value == kAtMousePointer) return pointer;
  constexpr int64_t kLimit = 1 << 20;
  return origin + static_cast<int>(std::clamp<int64_t>(value, -kLimit, kLimit));
}

}  // namespace

PopupMenuText ParsePopupText(std::string_view text) {
  PopupMenuText out;
  Parser parser(&out);
  for (char c : text) parser.Feed(c);
  parser.Finish();
  return out;
}

int Popup(std::string_view text, int64_t x, int64_t y) {
  PopupMenuText menu = ParsePopupText(text);
  if (menu.entries.empty()) return 0;
  host::WindowId owner = host::ActiveWindow();
  host::Point origin;
  if (Structure* top = TopWindowOf(0); top && top->is_open()) {
    owner = host::TopLevelOf(top->handle);
    host::Rect outer = host::WindowRect(owner);
    host::Point inner = host::ClientOriginInTopLevel(top->handle);
    origin = host::Point{outer.left + inner.x, outer.top + inner.y};
  }
  host::Point pointer = host::MousePosition();
  return TrackPopupMenu(owner, menu.entries, Coordinate(x, origin.x, pointer.x),
                        Coordinate(y, origin.y, pointer.y));
}

}  // namespace carelog::window
