// Placement events: the window's procedure hears, after the fact, that its window was moved,
// sized, maximized, minimized or restored, whoever did it (the program, a caption button, the
// window manager). A change of state is reported as the state alone; a move or size within
// the same state as EVENT:Moved and EVENT:Sized. An event already waiting in the queue is not
// queued again, so dragging a window's edge does not flood the procedure.
#include "runtime/host/window_system.h"
#include "runtime/window/events.h"
#include "runtime/window/window_runtime.h"

namespace carelog::window {
namespace {

struct StateEvent {
  host::ShowState state;
  int event;
};

constexpr StateEvent kStateEvents[] = {
    {host::ShowState::kNormal, event::kRestored},
    {host::ShowState::kMaximized, event::kMaximized},
    {host::ShowState::kMinimized, event::kIconized},
};

void QueueOnce(Structure& s, int code) {
  if (s.QueuedCount(code) == 0) s.Queue(code, nullptr);
}

}  // namespace

namespace internal {

void StartPlacementReports(Structure& s) {
  s.reported_state = host::ShowStateOf(s.handle);
  s.reported_rect = host::WindowRect(s.handle);
}

void ReportPlacement(Structure& s) {
  if (s.reported_state == host::ShowState::kHidden || !s.is_open()) return;
  host::ShowState state = host::ShowStateOf(s.handle);
  if (state == host::ShowState::kHidden) return;
  host::Rect rect = host::WindowRect(s.handle);
  if (state != s.reported_state) {
    for (const StateEvent& e : kStateEvents) {
      if (e.state == state) QueueOnce(s, e.event);
    }
  } else {
    bool sized =
        rect.Width() != s.reported_rect.Width() || rect.Height() != s.reported_rect.Height();
    bool moved = rect.left != s.reported_rect.left || rect.top != s.reported_rect.top;
    if (moved) QueueOnce(s, event::kMoved);
    if (sized) QueueOnce(s, event::kSized);
  }
  s.reported_state = state;
  s.reported_rect = rect;
}

}  // namespace internal
}  // namespace carelog::window
