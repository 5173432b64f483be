// Feeds arbitrary format strings to the list format parser: it must never crash, and whatever
// it keeps must be consistent (display columns cover their columns in order, widths are not
// negative, the list width is the sum of the display columns').
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "runtime/window/list_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace carelog::window;
  auto text = std::string_view(reinterpret_cast<const char*>(data), size);
  ListFormat f;
  bool ok = ParseListFormat(text, UnitScale{3, 5, 2}, 16, &f);
  int next = 0, width = 0;
  for (const ListDisplayColumn& d : f.displays) {
    if (d.first != next || d.count < 1 || d.width < 0) std::abort();
    next += d.count;
    width += d.width;
  }
  if (next != static_cast<int>(f.columns.size())) std::abort();
  for (const ListColumn& c : f.columns) {
    if (c.width < 0 || c.field < 1 || c.right != c.left + c.width - 1) std::abort();
    if (c.display < 0 || c.display >= static_cast<int>(f.displays.size())) std::abort();
  }
  if (ok && width != f.width) std::abort();
  return 0;
}
