#include "runtime/host/display.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <string_view>

#include "runtime/host/backend_factory.h"
#include "runtime/host/window_system.h"

namespace carelog::host {

namespace {

std::mutex display_mutex;
std::unique_ptr<DisplayBackend> current;
std::atomic<int> headless_width{1024};
std::atomic<int> headless_height{768};

constexpr double kLargestScale = 4;
enum class ScaleSource : int { kNone, kDisplay, kEnvironment, kSet };
std::mutex scale_mutex;
double scale_value = 1;                         // under scale_mutex
ScaleSource scale_source = ScaleSource::kNone;  // under scale_mutex
bool environment_read = false;                  // under scale_mutex

bool ParseScale(std::string_view text, double* scale) {
  double value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return false;
  if (!(value >= 1 && value <= kLargestScale)) return false;
  *scale = value;
  return true;
}

// CARELOG_SCALE once, the first time the scale is asked for. A malformed value is ignored.
void ReadScaleEnvironment() {
  if (environment_read) return;
  environment_read = true;
  const char* text = std::getenv("CARELOG_SCALE");
  double scale = 1;
  if (scale_source < ScaleSource::kEnvironment && text && ParseScale(text, &scale)) {
    scale_value = scale;
    scale_source = ScaleSource::kEnvironment;
  }
}

// "1600x1000" -> {1600, 1000}; false for anything else.
bool ParseSize(std::string_view text, Size* size) {
  size_t x = text.find('x');
  if (x == std::string_view::npos) return false;
  int w = 0, h = 0;
  auto [wend, wec] = std::from_chars(text.data(), text.data() + x, w);
  auto [hend, hec] = std::from_chars(text.data() + x + 1, text.data() + text.size(), h);
  if (wec != std::errc() || hec != std::errc() || wend != text.data() + x ||
      hend != text.data() + text.size()) {
    return false;
  }
  *size = Size{w, h};
  return true;
}

bool HasDisplayEnvironment() {
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x11 && *x11) || (wayland && *wayland);
}

// Tells a newly started backend about the windows that already exist.
void Introduce(DisplayBackend& backend) {
  std::vector<WindowId> windows = TopLevelWindows();
  for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
    backend.WindowCreated(*it, WindowRect(*it), WindowText(*it), IsVisible(*it));
    backend.Present(*it);
  }
}

}  // namespace

bool StartDisplay(DisplayChoice choice, std::string* error) {
  std::lock_guard<std::mutex> lock(display_mutex);
  if (current) {
    internal::InstallBackend(nullptr);
    current.reset();
  }
  std::string reason;
  std::unique_ptr<DisplayBackend> backend;
  if (choice == DisplayChoice::kSdl && !HasDisplayEnvironment()) {
    if (error) {
      *error =
          "no display found: neither DISPLAY nor WAYLAND_DISPLAY is set; "
          "start the program with --headless to run without a screen";
    }
    return false;
  }
  if (choice != DisplayChoice::kHeadless && HasDisplayEnvironment()) {
    backend = MakeSdlBackend(&reason);
    if (!backend && choice == DisplayChoice::kSdl) {
      if (error) *error = "the display could not be opened: " + reason;
      return false;
    }
  }
  if (!backend) backend = MakeHeadlessBackend(&reason);
  Introduce(*backend);
  current = std::move(backend);
  internal::InstallBackend(current.get());
  return true;
}

void StopDisplay() {
  std::lock_guard<std::mutex> lock(display_mutex);
  internal::InstallBackend(nullptr);
  current.reset();
}

std::string DisplayName() {
  std::lock_guard<std::mutex> lock(display_mutex);
  return current ? current->Name() : "";
}

bool DisplayShows(WindowId window) {
  std::lock_guard<std::mutex> lock(display_mutex);
  return current && current->IsShown(window);
}

Rect ScreenWorkArea() {
  // The installed backend, not the display lock: the window system asks this while it holds
  // its own lock, which StartDisplay takes under the display lock.
  if (DisplayBackend* b = internal::Backend()) {
    Rect area = b->WorkArea();
    if (!area.Empty()) return area;
  }
  Size size = HeadlessScreenSize();
  return Rect{0, 0, size.width, size.height};
}

bool SetHeadlessScreenSize(Size size) {
  // A maximized window gets a surface of the screen's size, so the size stays within what a
  // real screen offers.
  constexpr int kLargest = 16384;
  if (size.width < 1 || size.height < 1 || size.width > kLargest || size.height > kLargest) {
    return false;
  }
  headless_width = size.width;
  headless_height = size.height;
  return true;
}

Size HeadlessScreenSize() {
  return Size{headless_width.load(), headless_height.load()};
}

bool ScreenSizeFromArguments(int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--screen=", 9) != 0) continue;
    Size size;
    if (!ParseSize(argv[i] + 9, &size) || !SetHeadlessScreenSize(size)) return false;
  }
  return true;
}

double DisplayScale() {
  std::lock_guard<std::mutex> lock(scale_mutex);
  ReadScaleEnvironment();
  return scale_value;
}

bool SetDisplayScale(double scale) {
  if (!(scale >= 1 && scale <= kLargestScale)) return false;
  std::lock_guard<std::mutex> lock(scale_mutex);
  environment_read = true;  // a scale set outright outweighs the environment's
  scale_value = scale;
  scale_source = ScaleSource::kSet;
  return true;
}

void ForgetDisplayScale() {
  std::lock_guard<std::mutex> lock(scale_mutex);
  scale_value = 1;
  scale_source = ScaleSource::kNone;
  environment_read = false;
}

void SetDisplayScaleFromDisplay(double scale) {
  std::lock_guard<std::mutex> lock(scale_mutex);
  ReadScaleEnvironment();
  if (scale_source > ScaleSource::kDisplay) return;
  scale_value = std::clamp(scale, 1.0, kLargestScale);
  scale_source = ScaleSource::kDisplay;
}

double ScaleForDpi(double dpi) {
  if (!(dpi > 0)) return 1;
  return std::clamp(std::round(dpi / 96 * 4) / 4, 1.0, kLargestScale);
}

bool ScaleFromArguments(int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--scale=", 8) != 0) continue;
    double scale = 1;
    if (!ParseScale(argv[i] + 8, &scale) || !SetDisplayScale(scale)) return false;
  }
  return true;
}

bool DisplayChoiceFromArguments(int argc, const char* const* argv, DisplayChoice* choice) {
  *choice = DisplayChoice::kAuto;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (std::strcmp(arg, "--headless") == 0) {
      *choice = DisplayChoice::kHeadless;
    } else if (std::strncmp(arg, "--display=", 10) == 0) {
      const char* name = arg + 10;
      if (std::strcmp(name, "sdl") == 0) {
        *choice = DisplayChoice::kSdl;
      } else if (std::strcmp(name, "headless") == 0) {
        *choice = DisplayChoice::kHeadless;
      } else if (std::strcmp(name, "auto") == 0) {
        *choice = DisplayChoice::kAuto;
      } else {
        return false;
      }
    }
  }
  return true;
}

}  // namespace carelog::host
