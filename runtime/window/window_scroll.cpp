// Scrolling a window's controls: the controls keep their positions in window coordinates
// (Control::pixels); the window's scroll offset moves their host windows and the drawing of
// the windowless ones.
#include <algorithm>

#include "runtime/host/input.h"
#include "runtime/host/window_system.h"
#include "runtime/window/window_runtime.h"

namespace carelog::window {
namespace {

// The offset that brings [low, high) into [offset, offset + size), moving as little as
// possible and preferring the start when the range is larger than the view.
int Bring(int offset, int size, int low, int high) {
  if (high > offset + size) offset = high - size;
  if (low < offset) offset = low;
  return std::max(offset, 0);
}

}  // namespace

namespace internal {

void ScrollIntoView(Structure& w, const Control& control) {
  if (!w.is_open()) return;
  host::Rect view = host::ClientRect(w.handle);
  host::Point next{Bring(w.scroll.x, view.Width(), control.pixels.left, control.pixels.right),
                   Bring(w.scroll.y, view.Height(), control.pixels.top, control.pixels.bottom)};
  if (next == w.scroll) return;
  w.scroll = next;
  for (auto& c : w.controls) {
    if (c->handle && host::ParentOf(c->handle) == w.handle) {
      host::MoveWindow(c->handle, c->pixels.Offset(-next.x, -next.y));
    }
  }
  host::Invalidate(w.handle);
}

void ScrollToSelected(Structure& w, Control& control) {
  if (host::LeftButtonHeld()) {
    w.scroll_after_release = &control;
    return;
  }
  w.scroll_after_release = nullptr;
  ScrollIntoView(w, control);
}

void ScrollAfterRelease(Structure& w) {
  Control* waiting = w.scroll_after_release;
  if (!waiting || host::LeftButtonHeld()) return;
  w.scroll_after_release = nullptr;
  // The control may have been destroyed while the button was held.
  for (const auto& c : w.controls) {
    if (c.get() == waiting) ScrollIntoView(w, *c);
  }
}

}  // namespace internal
}  // namespace carelog::window
