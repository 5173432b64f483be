// What the message queues and the window table need from each other; not for use above
// the platform layer.
#pragma once

#include <cstdint>

#include "runtime/host/types.h"

namespace carelog::host::internal {

// Asks the owning thread to destroy a window (sent by DestroyWindow from other threads, so
// that window procedures only ever run on their own thread).
inline constexpr uint32_t kDestroyRequest = 0x03FF;

// Window table side.
ThreadId OwnerThreadOf(WindowId window);         // kNoThread when the window does not exist
int64_t CallWindowProc(const Message& message);  // 0 when the window has no procedure
// Destroys what a thread that is ending still owns, without calling its procedures.
void DestroyWindowsOf(ThreadId thread);

// Where a point (parent client coordinates) falls on a child window's frame and caption.
enum class NonClientHit : uint8_t {
  kNone,
  kClient,
  kCaption,
  kClose,
  kMaximize,
  kMinimize,
  kFrame
};
NonClientHit HitTestNonClient(WindowId window, Point p);

// Queue side.
void QueuePaint(ThreadId thread, WindowId window, int depth);
void ForgetWindow(ThreadId thread, WindowId window);  // drops its timers and paint requests
void CountWindow(ThreadId thread, int delta);

}  // namespace carelog::host::internal
