// The headless display: no screen at all. Windows live only as their in-memory surfaces,
// presentations are counted, the cursor is remembered, and the clipboard stays with the
// window system. The screen is HeadlessScreenSize() with no panels, and the window manager
// that is not there does whatever it is asked at once. Deterministic: nothing here depends on time
// or on another process.
#include <map>
#include <memory>
#include <mutex>

#include "runtime/host/backend_factory.h"
#include "runtime/host/display.h"

namespace carelog::host {

namespace {

class HeadlessBackend : public DisplayBackend {
 public:
  const char* Name() const override { return "headless"; }

  void WindowCreated(WindowId window, const Rect& rect, const std::string& title,
                     bool visible) override {
    std::lock_guard<std::mutex> lock(mutex_);
    windows_[window] = State{rect, title, visible, 0};
  }
  void WindowChanged(WindowId window, const Rect& rect, const std::string& title,
                     bool visible) override {
    std::lock_guard<std::mutex> lock(mutex_);
    State& s = windows_[window];
    s.rect = rect;
    s.title = title;
    s.visible = visible;
  }
  void WindowDestroyed(WindowId window) override {
    std::lock_guard<std::mutex> lock(mutex_);
    windows_.erase(window);
  }
  void WindowActivated(WindowId) override {}
  void Present(WindowId window) override {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = windows_.find(window);
    if (it != windows_.end()) ++it->second.presents;
  }
  void SetCursor(CursorShape) override {}
  bool SetClipboardText(const std::string&) override { return false; }
  bool ClipboardText(std::string*) override { return false; }
  void Beep() override {}
  Rect WorkArea() override {
    Size size = HeadlessScreenSize();
    return Rect{0, 0, size.width, size.height};
  }
  void WindowStateChanged(WindowId, ShowState) override {}
  bool IsShown(WindowId window) override {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = windows_.find(window);
    return it != windows_.end() && it->second.visible;
  }

 private:
  struct State {
    Rect rect;
    std::string title;
    bool visible = false;
    int presents = 0;
  };
  std::mutex mutex_;
  std::map<WindowId, State> windows_;
};

}  // namespace

std::unique_ptr<DisplayBackend> MakeHeadlessBackend(std::string*) {
  return std::make_unique<HeadlessBackend>();
}

}  // namespace carelog::host
