// Threads of the program and the global semaphore that lets exactly one of them run procedure
// code at a time.
//
// Thread table: 64 slots. Slot 0 is the program's main thread; START fills slots 1-63. A
// procedure's thread number is its slot + 1. Each slot holds the thread's id, its procedure,
// its top window, the stack size it was given and its saved per-thread runtime state.
//
// The semaphore (count 0 at start, maximum 1: the main thread owns it from the beginning and
// frees it when RunProgram returns):
//   1. the running thread holds it; it is released only while the thread waits for its next
//      message (inside ACCEPT) and by a thread that ends;
//   2. after taking it a thread re-selects its own slot by thread id and, when another thread
//      ran in between, saves that thread's runtime state and restores its own;
//   3. a thread waiting for it keeps serving messages sent to its windows.
//
// Thread life (START): take the semaphore, make the slot current, run the procedure, close
// every window still open on the thread (top to bottom), free the slot, release, end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "runtime/host/types.h"

namespace carelog::window {

class Structure;

inline constexpr int kThreadSlots = 64;
inline constexpr size_t kMinimumStackSize = 20000;

using Procedure = std::function<void()>;

// Per-thread runtime state that is swapped when the running thread changes (the evaluator's
// value stack, the temporary-string stack, one global word). Hooks left empty are skipped.
struct ThreadStateHooks {
  std::function<void*()> create;
  std::function<void(void*)> save;     // copies the live state into the thread's area
  std::function<void(void*)> restore;  // installs the thread's area as the live state
  std::function<void(void*)> destroy;
};
void SetThreadStateHooks(ThreadStateHooks hooks);

// Runs `main_procedure` as the program's main thread (slot 0) on the calling thread: the
// thread takes the semaphore, runs the procedure, closes its windows and releases. Returns
// when the procedure and every started thread have ended.
void RunProgram(const Procedure& main_procedure);

// START: runs `procedure` on a new thread; returns its thread number (slot + 1), or 0 when the
// system is modal, no slot is free or the thread cannot be created.
int Start(const Procedure& procedure, size_t stack_size);

// The calling thread's number (slot + 1); 0 for a thread outside the table.
int CurrentThread();
// Stack size recorded for a thread number; 0 for a free slot.
size_t StackSizeOf(int thread);
// Number of started threads (slots 1-63) that are still running.
int RunningThreads();

// The top window of a thread number (0: the calling thread); nullptr when it has none.
Structure* TopWindowOf(int thread);

// The program-wide modal count: raised while modal windows are open and while the runtime
// dispatches an event synchronously.
int ModalCount();
void RaiseModal();
void LowerModal();

// Called for timer messages without a window on the main thread.
void SetProgramTimerCallback(std::function<void()> callback);

// Whether the calling thread holds the semaphore; how many times two threads were found
// holding it at once (never, when the semaphore works).
bool HoldsSemaphore();
int SemaphoreOverlaps();

namespace internal {
// Releases the semaphore while the thread waits for its next message, then takes it back and
// re-selects the thread's slot. False when GetMessage saw the quit request.
bool WaitForMessage(host::Message* message);
// The record store's wait between lock attempts: serves the thread's sent and paint messages
// (accept.cpp). Installed by RunProgram.
void ServeWindowsWhileWaiting();
void InstallStoreWaitHook();
void PushWindow(Structure* window);
void RemoveWindow(Structure* window);
void TakeSemaphore();
void ReleaseSemaphore();
int CurrentSlot();
std::function<void()> ProgramTimerCallback();
}  // namespace internal

}  // namespace carelog::window
