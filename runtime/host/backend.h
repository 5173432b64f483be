// The interface between the window system and a display. One backend is installed at start
// (host.h); the window system tells it about top-level windows and finished painting, and the
// backend feeds input back through input.h.
//
// Every method returns promptly and never calls back into the window system on the caller's
// thread, so the window system may call it while holding its own lock.
#pragma once

#include <string>

#include "runtime/host/types.h"
#include "runtime/host/window_system.h"

namespace carelog::host {

class DisplayBackend {
 public:
  virtual ~DisplayBackend() = default;
  virtual const char* Name() const = 0;

  // Top-level windows (kTopLevel and kPopup) as they come, change and go.
  virtual void WindowCreated(WindowId window, const Rect& rect, const std::string& title,
                             bool visible) = 0;
  virtual void WindowChanged(WindowId window, const Rect& rect, const std::string& title,
                             bool visible) = 0;
  virtual void WindowDestroyed(WindowId window) = 0;
  virtual void WindowActivated(WindowId window) = 0;
  // The window's surface (SurfaceOf) holds new pixels.
  virtual void Present(WindowId window) = 0;

  virtual void SetCursor(CursorShape shape) = 0;
  // Clipboard text in UTF-8; false when the display has no clipboard (the window system then
  // keeps the text itself).
  virtual bool SetClipboardText(const std::string& utf8) = 0;
  virtual bool ClipboardText(std::string* utf8) = 0;
  virtual void Beep() = 0;

  // Whether the display shows the window now (asks the display itself).
  virtual bool IsShown(WindowId window) = 0;

  // The usable screen area in screen coordinates (see display.h ScreenWorkArea).
  virtual Rect WorkArea() = 0;
  // A top-level window changed between normal, maximized and minimized in the window system;
  // the display asks its window manager to show it so.
  virtual void WindowStateChanged(WindowId window, ShowState state) = 0;
};

namespace internal {
// The installed backend; nullptr before start and after stop.
DisplayBackend* Backend();
void InstallBackend(DisplayBackend* backend);
}  // namespace internal

}  // namespace carelog::host
