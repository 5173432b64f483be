#include "runtime/host/display.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>

#include "runtime/host/backend_factory.h"
#include "runtime/host/window_system.h"

namespace carelog::host {

namespace {

std::mutex display_mutex;
std::unique_ptr<DisplayBackend> current;

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
