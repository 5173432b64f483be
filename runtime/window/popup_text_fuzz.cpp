// Feeds arbitrary menu texts to the POPUP parser: it must never crash, number the items
// 1..n without gaps in text order, keep every label within the length limit and never nest
// deeper than the limit.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "runtime/window/popup.h"

namespace {

using carelog::window::MenuEntry;

void Check(const std::vector<MenuEntry>& entries, int depth, int* next) {
  if (!entries.empty() && depth > carelog::window::kMaxPopupDepth) std::abort();
  for (const MenuEntry& e : entries) {
    if (e.text.size() > carelog::window::kMaxPopupItemText) std::abort();
    if (e.separator || !e.submenu.empty()) {
      if (e.command != 0) std::abort();
      Check(e.submenu, depth + 1, next);
    } else if (e.command != 0) {
      if (e.command != ++*next) std::abort();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto text = std::string_view(reinterpret_cast<const char*>(data), size);
  carelog::window::PopupMenuText menu = carelog::window::ParsePopupText(text);
  int next = 0;
  Check(menu.entries, 0, &next);  // the top level is depth 0, each submenu one deeper
  if (next != menu.items) std::abort();
  return 0;
}
