#include "runtime/host/x_resources.h"

#include <X11/Xlib.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <charconv>
#include <cstdlib>

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

std::string ComposeCacheDirectory(const char* xcomposecache, const char* xdg_cache_home,
                                  const char* home, bool home_has_own_cache) {
  if ((xcomposecache && *xcomposecache) || home_has_own_cache) return "";
  if (xdg_cache_home && *xdg_cache_home == '/') {
    return std::string(xdg_cache_home) + "/carelog/compose";
  }
  if (home && *home == '/') return std::string(home) + "/.cache/carelog/compose";
  return "";
}

namespace {

// mkdir -p, private to the user: the X library refuses a cache others can write to.
bool MakePrivateDirectory(const std::string& path) {
  for (size_t slash = path.find('/', 1); slash != std::string::npos;
       slash = path.find('/', slash + 1)) {
    mkdir(path.substr(0, slash).c_str(), 0700);
  }
  if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == getuid() &&
         (st.st_mode & 022) == 0;
}

}  // namespace

std::string UseComposeCache() {
  const char* home = std::getenv("HOME");
  struct stat st {};
  bool own = home && stat((std::string(home) + "/.compose-cache").c_str(), &st) == 0;
  std::string dir =
      ComposeCacheDirectory(std::getenv("XCOMPOSECACHE"), std::getenv("XDG_CACHE_HOME"), home, own);
  if (dir.empty() || !MakePrivateDirectory(dir)) return "";
  setenv("XCOMPOSECACHE", dir.c_str(), 0);
  return dir;
}

}  // namespace carelog::host::internal
