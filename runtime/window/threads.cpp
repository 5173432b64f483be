#include "runtime/window/threads.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <condition_variable>
#include <mutex>

#include "runtime/host/message_queue.h"
#include "runtime/host/messages.h"
#include "runtime/host/system.h"
#include "runtime/window/window_runtime.h"
#include "runtime/window/window_structure.h"

namespace carelog::window {
namespace {

// Started threads run C++ code of this program (drawing, the record store) that needs far more
// stack than the procedures' declared sizes; the declared size is recorded, the thread gets at
// least this much.
constexpr size_t kRealStackFloor = size_t{1} << 20;

struct Slot {
  bool in_use = false;
  host::ThreadId thread = host::kNoThread;
  Procedure procedure;
  Structure* top = nullptr;
  size_t stack_size = 0;
  void* state = nullptr;
  uint8_t flags = 0;
};

std::mutex table_mutex;  // slot allocation and thread ids; windows are under the semaphore
std::condition_variable threads_ended;
std::array<Slot, kThreadSlots> slots;
int running_started = 0;  // guarded by table_mutex

host::ServingSemaphore& Semaphore() {
  static host::ServingSemaphore semaphore(0);
  return semaphore;
}
std::atomic<int> holders{0};
std::atomic<int> overlaps{0};
std::atomic<int> modal_count{0};
int installed_slot = -1;  // whose runtime state is live; under the semaphore
ThreadStateHooks state_hooks;
std::function<void()> timer_callback;

thread_local int my_slot = -1;
thread_local bool holding = false;

void NoteTaken() {
  if (holders.fetch_add(1) != 0) overlaps.fetch_add(1);
  holding = true;
}

void NoteReleased() {
  holding = false;
  holders.fetch_sub(1);
}

// Installs the calling thread's runtime state when another thread's is live.
void SelectMySlot() {
  if (my_slot < 0 || installed_slot == my_slot) return;
  if (installed_slot >= 0 && state_hooks.save && slots[installed_slot].state) {
    state_hooks.save(slots[installed_slot].state);
  }
  if (state_hooks.restore && slots[my_slot].state) state_hooks.restore(slots[my_slot].state);
  installed_slot = my_slot;
}

void CloseThreadWindows(int slot) {
  while (Structure* top = slots[slot].top) {
    if (top->is_open()) {
      Close(*top);
    }
    if (slots[slot].top == top) internal::RemoveWindow(top);
  }
}

void FreeState(int slot) {
  if (slots[slot].state && state_hooks.destroy) state_hooks.destroy(slots[slot].state);
  slots[slot].state = nullptr;
  if (installed_slot == slot) installed_slot = -1;
}

void ThreadMain(void* argument) {
  int slot = static_cast<int>(reinterpret_cast<intptr_t>(argument));
  my_slot = slot;
  {
    std::lock_guard<std::mutex> lock(table_mutex);
    slots[slot].thread = host::CurrentThreadId();
  }
  internal::TakeSemaphore();
  host::EndPendingWork();  // at work now under the semaphore
  Procedure procedure = slots[slot].procedure;
  if (procedure) procedure();
  CloseThreadWindows(slot);
  FreeState(slot);
  {
    std::lock_guard<std::mutex> lock(table_mutex);
    slots[slot] = Slot{};
    --running_started;
  }
  internal::ReleaseSemaphore();
  threads_ended.notify_all();
  my_slot = -1;
}

}  // namespace

void SetThreadStateHooks(ThreadStateHooks hooks) {
  state_hooks = std::move(hooks);
}

void RunProgram(const Procedure& main_procedure) {
  internal::InstallStoreWaitHook();
  {
    std::lock_guard<std::mutex> lock(table_mutex);
    slots[0] = Slot{};
    slots[0].in_use = true;
    slots[0].thread = host::CurrentThreadId();
    slots[0].stack_size = kMinimumStackSize;
  }
  my_slot = 0;
  // The semaphore starts taken: the main thread owns it from the beginning (a program run
  // earlier in this process left it free: take it back).
  Semaphore().TryAcquire();
  NoteTaken();
  if (state_hooks.create) slots[0].state = state_hooks.create();
  installed_slot = 0;
  if (main_procedure) main_procedure();
  CloseThreadWindows(0);
  internal::ReleaseSemaphore();
  {
    std::unique_lock<std::mutex> lock(table_mutex);
    threads_ended.wait(lock, [] { return running_started == 0; });
  }
  internal::TakeSemaphore();
  FreeState(0);
  {
    std::lock_guard<std::mutex> lock(table_mutex);
    slots[0] = Slot{};
  }
  my_slot = -1;
  // Free again once the program has ended, so that nothing counts as still at work.
  internal::ReleaseSemaphore();
}

int Start(const Procedure& procedure, size_t stack_size) {
  if (modal_count.load() > 0) return 0;
  stack_size = std::max(stack_size, kMinimumStackSize);
  int slot = 0;
  {
    std::lock_guard<std::mutex> lock(table_mutex);
    for (int i = 1; i < kThreadSlots && slot == 0; ++i) {
      if (!slots[i].in_use) slot = i;
    }
    if (slot == 0) return 0;
    slots[slot] = Slot{};
    slots[slot].in_use = true;
    slots[slot].procedure = procedure;
    slots[slot].stack_size = stack_size;
    ++running_started;
  }
  if (state_hooks.create) slots[slot].state = state_hooks.create();
  // Until the new thread takes the semaphore nothing else shows it is at work, and a program
  // whose other threads wait for input would count as idle before its window opens.
  host::BeginPendingWork();
  bool started =
      host::StartDetachedThread(&ThreadMain, reinterpret_cast<void*>(static_cast<intptr_t>(slot)),
                                std::max(stack_size, kRealStackFloor));
  if (!started) {
    host::EndPendingWork();
    FreeState(slot);
    std::lock_guard<std::mutex> lock(table_mutex);
    slots[slot] = Slot{};
    --running_started;
    return 0;
  }
  return slot + 1;
}

int CurrentThread() {
  return my_slot < 0 ? 0 : my_slot + 1;
}

size_t StackSizeOf(int thread) {
  std::lock_guard<std::mutex> lock(table_mutex);
  if (thread < 1 || thread > kThreadSlots || !slots[thread - 1].in_use) return 0;
  return slots[thread - 1].stack_size;
}

int RunningThreads() {
  std::lock_guard<std::mutex> lock(table_mutex);
  return running_started;
}

Structure* TopWindowOf(int thread) {
  int slot = thread == 0 ? my_slot : thread - 1;
  if (slot < 0 || slot >= kThreadSlots || !slots[slot].in_use) return nullptr;
  return slots[slot].top;
}

int ModalCount() {
  return modal_count.load();
}
void RaiseModal() {
  modal_count.fetch_add(1);
}
void LowerModal() {
  modal_count.fetch_sub(1);
}

void SetProgramTimerCallback(std::function<void()> callback) {
  timer_callback = std::move(callback);
}

bool HoldsSemaphore() {
  return holding;
}
int SemaphoreOverlaps() {
  return overlaps.load();
}

namespace internal {

void TakeSemaphore() {
  Semaphore().Acquire();
  NoteTaken();
  SelectMySlot();
}

void ReleaseSemaphore() {
  NoteReleased();
  Semaphore().Release();
}

bool WaitForMessage(host::Message* message) {
  ReleaseSemaphore();
  bool got = host::GetMessage(message);
  TakeSemaphore();
  return got;
}

void PushWindow(Structure* window) {
  if (my_slot < 0) return;
  window->slot = my_slot;
  window->next_down = slots[my_slot].top;
  slots[my_slot].top = window;
}

void RemoveWindow(Structure* window) {
  if (window->slot < 0) return;
  Structure** link = &slots[window->slot].top;
  while (*link && *link != window) link = &(*link)->next_down;
  if (*link) *link = window->next_down;
  window->next_down = nullptr;
  window->slot = -1;
}

int CurrentSlot() {
  return my_slot;
}
std::function<void()> ProgramTimerCallback() {
  return timer_callback;
}

}  // namespace internal
}  // namespace carelog::window
