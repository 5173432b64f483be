#include "runtime/host/message_queue.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <map>
#include <set>
#include <utility>

#include "runtime/host/messages.h"
#include "runtime/host/window_internal.h"

namespace carelog::host {

namespace {

using Clock = std::chrono::steady_clock;

struct SentItem {
  Message message;
  int64_t result = 0;
  bool done = false;
  std::shared_ptr<ThreadQueue> sender;
};

struct Timer {
  WindowId window;
  uint32_t id;
  std::chrono::milliseconds period;
  Clock::time_point due;
};

}  // namespace

class ThreadQueue {
 public:
  explicit ThreadQueue(ThreadId id) : id(id) {}

  const ThreadId id;
  std::mutex mutex;
  std::condition_variable wake;
  std::deque<SentItem*> sent;
  std::deque<Message> posted;
  std::set<std::pair<int, WindowId>> paints;  // (depth, window): parents first
  std::vector<Timer> timers;
  bool quit = false;
  int quit_code = 0;
  bool dead = false;
  bool waiting = false;
  bool semaphore_signal = false;
  int window_count = 0;
};

namespace {

std::mutex registry_mutex;
std::map<ThreadId, std::shared_ptr<ThreadQueue>>& Registry() {
  static auto* registry = new std::map<ThreadId, std::shared_ptr<ThreadQueue>>();
  return *registry;
}
ThreadId next_thread_id = 1;
std::atomic<int> held_semaphores{0};  // ServingSemaphores currently held by some thread

void FinishSent(SentItem* item, int64_t result) {
  std::lock_guard<std::mutex> lock(item->sender->mutex);
  item->result = result;
  item->done = true;
  item->sender->wake.notify_all();
}

// Owns the calling thread's queue; when the thread ends the queue dies and every message
// still waiting to be sent to it is answered with 0.
struct QueueHolder {
  std::shared_ptr<ThreadQueue> queue;
  ~QueueHolder() {
    if (!queue) return;
    internal::DestroyWindowsOf(queue->id);
    {
      std::lock_guard<std::mutex> lock(registry_mutex);
      Registry().erase(queue->id);
    }
    std::deque<SentItem*> orphans;
    {
      std::lock_guard<std::mutex> lock(queue->mutex);
      queue->dead = true;
      orphans.swap(queue->sent);
    }
    for (SentItem* item : orphans) FinishSent(item, 0);
  }
};

thread_local QueueHolder current_holder;

std::shared_ptr<ThreadQueue> CurrentQueue() {
  if (!current_holder.queue) {
    std::lock_guard<std::mutex> lock(registry_mutex);
    current_holder.queue = std::make_shared<ThreadQueue>(next_thread_id++);
    Registry()[current_holder.queue->id] = current_holder.queue;
  }
  return current_holder.queue;
}

std::shared_ptr<ThreadQueue> QueueOf(ThreadId thread) {
  std::lock_guard<std::mutex> lock(registry_mutex);
  auto it = Registry().find(thread);
  return it == Registry().end() ? nullptr : it->second;
}

// Serves every message sent to `queue`. Called without the queue's lock.
void ServeSent(ThreadQueue& queue) {
  for (;;) {
    SentItem* item;
    {
      std::lock_guard<std::mutex> lock(queue.mutex);
      if (queue.sent.empty()) return;
      item = queue.sent.front();
      queue.sent.pop_front();
    }
    FinishSent(item, internal::CallWindowProc(item->message));
  }
}

bool Matches(const Message& m, WindowId window, uint32_t first, uint32_t last) {
  if (window != kNoWindow && m.window != window) return false;
  if (first == 0 && last == 0) return true;
  return m.number >= first && m.number <= last;
}

// Finds the next message for the caller under the queue's lock, in the order the header
// gives. Returns false when nothing matches now; `next_due` then holds the earliest timer.
bool TakeLocked(ThreadQueue& q, Message* out, WindowId window, uint32_t first, uint32_t last,
                bool remove, Clock::time_point* next_due) {
  for (auto it = q.posted.begin(); it != q.posted.end(); ++it) {
    if (!Matches(*it, window, first, last)) continue;
    *out = *it;
    if (remove) q.posted.erase(it);
    return true;
  }
  if (q.quit) {
    Message quit{kNoWindow, msg::kQuit, static_cast<uint64_t>(q.quit_code), 0};
    if (Matches(quit, window, first, last)) {
      *out = quit;
      if (remove) q.quit = false;
      return true;
    }
  }
  for (auto it = q.paints.begin(); it != q.paints.end(); ++it) {
    Message paint{it->second, msg::kPaint, 0, 0};
    if (!Matches(paint, window, first, last)) continue;
    *out = paint;
    if (remove) q.paints.erase(it);
    return true;
  }
  Clock::time_point now = Clock::now();
  *next_due = Clock::time_point::max();
  for (Timer& t : q.timers) {
    Message tick{t.window, msg::kTimer, t.id, 0};
    if (!Matches(tick, window, first, last)) continue;
    if (t.due <= now) {
      *out = tick;
      if (remove) t.due = now + t.period;
      return true;
    }
    *next_due = std::min(*next_due, t.due);
  }
  return false;
}

// The one loop behind GetMessage, PeekMessage and WaitMessage.
bool NextMessage(Message* out, WindowId window, uint32_t first, uint32_t last, bool remove,
                 bool block) {
  std::shared_ptr<ThreadQueue> q = CurrentQueue();
  for (;;) {
    ServeSent(*q);
    std::unique_lock<std::mutex> lock(q->mutex);
    if (!q->sent.empty()) continue;
    Clock::time_point next_due;
    if (TakeLocked(*q, out, window, first, last, remove, &next_due)) return true;
    if (!block) return false;
    q->waiting = true;
    auto ready = [&] {
      return !q->sent.empty() || !q->posted.empty() || q->quit || !q->paints.empty();
    };
    if (next_due == Clock::time_point::max()) {
      q->wake.wait(lock, ready);
    } else {
      q->wake.wait_until(lock, next_due, ready);
    }
    q->waiting = false;
  }
}

}  // namespace

ThreadId CurrentThreadId() {
  return CurrentQueue()->id;
}

bool PostThreadMessage(ThreadId thread, uint32_t number, uint64_t wparam, int64_t lparam) {
  std::shared_ptr<ThreadQueue> q = QueueOf(thread);
  if (!q) return false;
  std::lock_guard<std::mutex> lock(q->mutex);
  if (q->dead) return false;
  q->posted.push_back(Message{kNoWindow, number, wparam, lparam});
  q->wake.notify_all();
  return true;
}

bool PostMessage(WindowId window, uint32_t number, uint64_t wparam, int64_t lparam) {
  std::shared_ptr<ThreadQueue> q = QueueOf(internal::OwnerThreadOf(window));
  if (!q) return false;
  std::lock_guard<std::mutex> lock(q->mutex);
  if (q->dead) return false;
  q->posted.push_back(Message{window, number, wparam, lparam});
  q->wake.notify_all();
  return true;
}

void PostQuitMessage(int code) {
  std::shared_ptr<ThreadQueue> q = CurrentQueue();
  std::lock_guard<std::mutex> lock(q->mutex);
  q->quit = true;
  q->quit_code = code;
  q->wake.notify_all();
}

int64_t SendMessage(WindowId window, uint32_t number, uint64_t wparam, int64_t lparam) {
  Message message{window, number, wparam, lparam};
  ThreadId owner = internal::OwnerThreadOf(window);
  if (owner == kNoThread) return 0;
  std::shared_ptr<ThreadQueue> self = CurrentQueue();
  if (owner == self->id) return internal::CallWindowProc(message);

  std::shared_ptr<ThreadQueue> target = QueueOf(owner);
  if (!target) return 0;
  SentItem item{message, 0, false, self};
  {
    std::lock_guard<std::mutex> lock(target->mutex);
    if (target->dead) return 0;
    target->sent.push_back(&item);
    target->wake.notify_all();
  }
  for (;;) {
    ServeSent(*self);
    std::unique_lock<std::mutex> lock(self->mutex);
    if (item.done) return item.result;
    if (!self->sent.empty()) continue;
    self->waiting = true;
    self->wake.wait(lock, [&] { return item.done || !self->sent.empty(); });
    self->waiting = false;
  }
}

bool GetMessage(Message* out) {
  NextMessage(out, kNoWindow, 0, 0, true, true);
  return out->number != msg::kQuit || out->window != kNoWindow;
}

bool PeekMessage(Message* out, WindowId window, uint32_t first, uint32_t last, bool remove) {
  return NextMessage(out, window, first, last, remove, false);
}

void WaitMessage() {
  Message ignored;
  NextMessage(&ignored, kNoWindow, 0, 0, false, true);
}

int RemoveMessages(WindowId window, uint32_t number) {
  std::shared_ptr<ThreadQueue> q = CurrentQueue();
  std::lock_guard<std::mutex> lock(q->mutex);
  auto gone = std::remove_if(q->posted.begin(), q->posted.end(), [&](const Message& m) {
    return m.window == window && m.number == number;
  });
  int count = static_cast<int>(q->posted.end() - gone);
  q->posted.erase(gone, q->posted.end());
  return count;
}

int64_t DispatchMessage(const Message& message) {
  if (message.window == kNoWindow) return 0;
  return internal::CallWindowProc(message);
}

bool SetTimer(WindowId window, uint32_t id, std::chrono::milliseconds period) {
  std::shared_ptr<ThreadQueue> q = QueueOf(internal::OwnerThreadOf(window));
  if (!q) return false;
  if (period.count() < 1) period = std::chrono::milliseconds(1);
  std::lock_guard<std::mutex> lock(q->mutex);
  Clock::time_point due = Clock::now() + period;
  for (Timer& t : q->timers) {
    if (t.window == window && t.id == id) {
      t.period = period;
      t.due = due;
      q->wake.notify_all();
      return true;
    }
  }
  q->timers.push_back(Timer{window, id, period, due});
  q->wake.notify_all();
  return true;
}

bool KillTimer(WindowId window, uint32_t id) {
  std::shared_ptr<ThreadQueue> q = QueueOf(internal::OwnerThreadOf(window));
  if (!q) return false;
  std::lock_guard<std::mutex> lock(q->mutex);
  auto it = std::find_if(q->timers.begin(), q->timers.end(),
                         [&](const Timer& t) { return t.window == window && t.id == id; });
  if (it == q->timers.end()) return false;
  q->timers.erase(it);
  // A tick already handed out stays handed out; none is queued, so nothing else to drop.
  return true;
}

ServingSemaphore::ServingSemaphore(int initial) : count_(initial > 0 ? 1 : 0) {
  if (count_ == 0) ++held_semaphores;
}

ServingSemaphore::~ServingSemaphore() {
  if (count_ == 0) --held_semaphores;
}

bool ServingSemaphore::TryAcquire() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (count_ == 0) return false;
  --count_;
  ++held_semaphores;
  return true;
}

void ServingSemaphore::Acquire() {
  std::shared_ptr<ThreadQueue> q = CurrentQueue();
  for (;;) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (count_ > 0) {
        --count_;
        ++held_semaphores;
        waiters_.erase(std::remove(waiters_.begin(), waiters_.end(), q), waiters_.end());
        return;
      }
      if (std::find(waiters_.begin(), waiters_.end(), q) == waiters_.end()) waiters_.push_back(q);
      std::lock_guard<std::mutex> queue_lock(q->mutex);
      q->semaphore_signal = false;
    }
    {
      // Not `waiting`: a thread waiting for its turn has work in hand, so the program must not
      // count as idle in the moment between the holder's release and this thread's waking.
      std::unique_lock<std::mutex> lock(q->mutex);
      q->wake.wait(lock, [&] { return q->semaphore_signal || !q->sent.empty(); });
    }
    ServeSent(*q);
  }
}

void ServingSemaphore::Release() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (count_ < 1) {
    ++count_;
    --held_semaphores;
  }
  for (const std::shared_ptr<ThreadQueue>& q : waiters_) {
    std::lock_guard<std::mutex> queue_lock(q->mutex);
    q->semaphore_signal = true;
    q->wake.notify_all();
  }
}

void BeginPendingWork() {
  ++held_semaphores;
}

void EndPendingWork() {
  --held_semaphores;
}

bool AllThreadsIdle() {
  if (held_semaphores.load() > 0) return false;
  std::vector<std::shared_ptr<ThreadQueue>> queues;
  {
    std::lock_guard<std::mutex> lock(registry_mutex);
    for (auto& [id, q] : Registry()) queues.push_back(q);
  }
  for (const auto& q : queues) {
    std::lock_guard<std::mutex> lock(q->mutex);
    if (q->window_count == 0 && q->posted.empty() && q->sent.empty()) continue;
    if (!q->waiting || !q->sent.empty() || !q->posted.empty() || !q->paints.empty() || q->quit) {
      return false;
    }
  }
  return true;
}

namespace internal {

void QueuePaint(ThreadId thread, WindowId window, int depth) {
  std::shared_ptr<ThreadQueue> q = QueueOf(thread);
  if (!q) return;
  std::lock_guard<std::mutex> lock(q->mutex);
  q->paints.insert({depth, window});
  q->wake.notify_all();
}

void ForgetWindow(ThreadId thread, WindowId window) {
  std::shared_ptr<ThreadQueue> q = QueueOf(thread);
  if (!q) return;
  std::lock_guard<std::mutex> lock(q->mutex);
  std::erase_if(q->timers, [&](const Timer& t) { return t.window == window; });
  std::erase_if(q->paints, [&](const std::pair<int, WindowId>& p) { return p.second == window; });
}

void CountWindow(ThreadId thread, int delta) {
  std::shared_ptr<ThreadQueue> q = QueueOf(thread);
  if (!q) return;
  std::lock_guard<std::mutex> lock(q->mutex);
  q->window_count += delta;
}

}  // namespace internal

}  // namespace carelog::host
