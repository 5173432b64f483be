#include "runtime/host/x_resources.h"

#include <X11/Xlib.h>

#include <charconv>

namespace carelog::host::internal {

double XftDpiOf(std::string_view resources) {
  constexpr std::string_view kName = "Xft.dpi:";
  double dpi = 0;
  while (!resources.empty()) {
    size_t end = resources.find('\n');
    std::string_view line = resources.substr(0, end);
    if (line.substr(0, kName.size()) == kName) {
      line.remove_prefix(kName.size());
      while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
      double value = 0;
      auto [ptr, ec] = std::from_chars(line.data(), line.data() + line.size(), value);
      if (ec == std::errc() && value > 0) dpi = value;  // the last one counts, as in X
    }
    if (end == std::string_view::npos) break;
    resources.remove_prefix(end + 1);
  }
  return dpi;
}

double XftDpi() {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return 0;
  const char* resources = XResourceManagerString(display);
  double dpi = resources ? XftDpiOf(resources) : 0;
  XCloseDisplay(display);
  return dpi;
}

}  // namespace carelog::host::internal
