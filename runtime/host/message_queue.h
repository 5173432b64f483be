// Per-thread message queues: the only way threads and windows talk to each other.
//
// Every thread that owns a window or asks for its messages gets a queue on first use. A queue
// holds, in the order they are handed out by GetMessage/PeekMessage:
//   1. sent messages from other threads (delivered straight to the window procedure, never
//      returned to the caller; the sender blocks until the procedure has answered);
//   2. posted messages, first in first out;
//   3. the quit request, once no posted message is left;
//   4. paint requests of invalid windows of this thread, parents before children;
//   5. timer messages, one per due timer (a timer never has more than one pending tick).
//
// Invariants:
//   1. A thread serves sent messages only while it waits inside this layer: GetMessage,
//      WaitMessage, PeekMessage, SendMessage to another thread, or ServingSemaphore::Acquire.
//      A thread that sends therefore never deadlocks against a thread sending back to it.
//   2. A sent message whose receiver ends before answering is answered with 0.
//   3. The queue of a thread lives until the thread ends; messages for a dead thread's
//      windows are refused (Post returns false).
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "runtime/host/types.h"

namespace carelog::host {

class ThreadQueue;

// Number of the calling thread, creating its queue if needed.
ThreadId CurrentThreadId();

// Posts to the queue of the thread that owns `window`. False when the window does not exist.
bool PostMessage(WindowId window, uint32_t number, uint64_t wparam = 0, int64_t lparam = 0);
// Posts a message with no window to a thread. False when the thread has no live queue.
bool PostThreadMessage(ThreadId thread, uint32_t number, uint64_t wparam = 0, int64_t lparam = 0);
// Asks the calling thread's loop to end: GetMessage returns false once no posted message
// is left.
void PostQuitMessage(int code);

// Calls the window procedure of `window` and returns its answer. On the owning thread the call
// is direct; from another thread the message waits until the owner serves it (see invariant 1)
// and the caller keeps serving messages sent to itself meanwhile. 0 for a missing window.
int64_t SendMessage(WindowId window, uint32_t number, uint64_t wparam = 0, int64_t lparam = 0);

// Waits for the next message of the calling thread and stores it. False when the message is
// the quit request (its code is in wparam).
bool GetMessage(Message* out);

// Takes (remove = true) or looks at the next message whose window is `window` (kNoWindow:
// any) and whose number lies in [first, last] (0, 0: any). Sent messages are served first.
// False when nothing matches.
bool PeekMessage(Message* out, WindowId window = kNoWindow, uint32_t first = 0, uint32_t last = 0,
                 bool remove = true);

// Blocks until the calling thread has a message (serving sent messages meanwhile).
void WaitMessage();

// Removes every posted message of `window` numbered `number` from the calling thread's
// queue and returns how many went.
int RemoveMessages(WindowId window, uint32_t number);

// Calls the window procedure of the message's window (kNoWindow: nothing, returns 0).
int64_t DispatchMessage(const Message& message);

// Timers: every `period` a timer message (wparam = id) is queued for `window` on its owning
// thread, at most one at a time. Setting an existing id restarts it with the new period.
bool SetTimer(WindowId window, uint32_t id, std::chrono::milliseconds period);
bool KillTimer(WindowId window, uint32_t id);

// A counting semaphore (maximum 1) whose waiters keep serving messages sent to them, so a
// thread waiting for its turn never blocks a thread that sends to it. While one is held,
// some thread is at work and the program does not count as idle.
class ServingSemaphore {
 public:
  explicit ServingSemaphore(int initial);
  ~ServingSemaphore();
  ServingSemaphore(const ServingSemaphore&) = delete;
  ServingSemaphore& operator=(const ServingSemaphore&) = delete;

  void Acquire();
  bool TryAcquire();
  void Release();

 private:
  std::mutex mutex_;
  int count_;
  std::vector<std::shared_ptr<ThreadQueue>> waiters_;
};

// True when no ServingSemaphore is held and every thread that owns a window is waiting
// inside this layer with nothing to handle: no sent, posted or paint message pending (timers
// not counted).
bool AllThreadsIdle();

// Work promised but not yet begun (a thread started that has not yet taken its turn) keeps the
// program from counting as idle, as a held ServingSemaphore does. Calls come in pairs.
void BeginPendingWork();
void EndPendingWork();

}  // namespace carelog::host
