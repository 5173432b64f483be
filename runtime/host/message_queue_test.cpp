#include "runtime/host/message_queue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>
#include <vector>

#include "runtime/host/messages.h"
#include "runtime/host/window_system.h"

namespace carelog::host {
namespace {

using namespace std::chrono_literals;

constexpr uint32_t kPing = msg::kFirstPrivate + 1;
constexpr uint32_t kPong = msg::kFirstPrivate + 2;

WindowId HiddenWindow(WindowProc proc = {}) {
  WindowSpec spec;
  spec.rect = Rect::FromSize(0, 0, 50, 50);
  spec.style = 0;
  spec.proc = std::move(proc);
  return CreateWindow(spec);
}

// Drains everything but paint and timer messages, which the tests below do not look at.
std::vector<Message> DrainPosted() {
  std::vector<Message> out;
  Message m;
  while (PeekMessage(&m, kNoWindow, msg::kFirstPrivate, 0xFFFF)) out.push_back(m);
  return out;
}

TEST(MessageQueue, PostedMessagesComeInOrderAndQuitComesLast) {
  WindowId w = HiddenWindow();
  PostMessage(w, kPing, 1);
  PostQuitMessage(7);
  PostMessage(w, kPing, 2);
  Message m;
  ASSERT_TRUE(GetMessage(&m));
  EXPECT_EQ(m.wparam, 1u);
  ASSERT_TRUE(GetMessage(&m));
  EXPECT_EQ(m.wparam, 2u);
  UpdateWindows();  // the hidden window's paint request
  EXPECT_FALSE(GetMessage(&m));
  EXPECT_EQ(m.number, msg::kQuit);
  EXPECT_EQ(m.wparam, 7u);
  DestroyWindow(w);
}

TEST(MessageQueue, PeekFiltersAndRemoveMessagesDropsOneKind) {
  WindowId a = HiddenWindow(), b = HiddenWindow();
  PostMessage(a, kPing, 1);
  PostMessage(b, kPong, 2);
  PostMessage(a, kPong, 3);
  PostMessage(a, kPong, 4);
  Message m;
  ASSERT_TRUE(PeekMessage(&m, b, 0, 0, false));
  EXPECT_EQ(m.wparam, 2u);
  ASSERT_TRUE(PeekMessage(&m, kNoWindow, kPong, kPong, false));
  EXPECT_EQ(m.wparam, 2u);
  EXPECT_EQ(RemoveMessages(a, kPong), 2);
  std::vector<Message> left = DrainPosted();
  ASSERT_EQ(left.size(), 2u);
  EXPECT_EQ(left[0].wparam, 1u);
  EXPECT_EQ(left[1].wparam, 2u);
  EXPECT_FALSE(PostMessage(9999999, kPing));
  DestroyWindow(a);
  DestroyWindow(b);
  UpdateWindows();
}

// A thread that owns a window and runs a message loop until told to quit.
class LoopThread {
 public:
  explicit LoopThread(WindowProc proc) {
    std::promise<WindowId> created;
    auto ready = created.get_future();
    thread_ = std::thread([this, proc, &created] {
      thread_id_ = CurrentThreadId();
      window_ = HiddenWindow(proc);
      created.set_value(window_);
      Message m;
      while (GetMessage(&m)) {
        if (m.number == kStopLoop) break;
        DispatchMessage(m);
      }
      DestroyWindow(window_);
    });
    window_ = ready.get();
  }
  ~LoopThread() {
    PostMessage(window_, kStopLoop);
    thread_.join();
  }
  WindowId window() const { return window_; }
  ThreadId thread_id() const { return thread_id_; }

  static constexpr uint32_t kStopLoop = msg::kFirstPrivate + 99;

 private:
  std::thread thread_;
  WindowId window_ = kNoWindow;
  std::atomic<ThreadId> thread_id_{kNoThread};
};

TEST(MessageQueue, SendAcrossThreadsReturnsTheProceduresAnswer) {
  std::atomic<ThreadId> ran_on{0};
  LoopThread loop([&](const Message& m) -> int64_t {
    if (m.number != kPing) return DefaultWindowProc(m);
    ran_on = CurrentThreadId();
    return static_cast<int64_t>(m.wparam) * 2;
  });
  EXPECT_EQ(SendMessage(loop.window(), kPing, 21), 42);
  EXPECT_EQ(ran_on.load(), loop.thread_id());
  EXPECT_NE(ran_on.load(), CurrentThreadId());
}

TEST(MessageQueue, ASenderServesMessagesSentBackWhileItWaits) {
  // The main thread sends to the loop thread, whose procedure sends back to a window of the
  // main thread before answering: both sends complete.
  WindowId mine = HiddenWindow(
      [](const Message& m) -> int64_t { return m.number == kPong ? 5 : DefaultWindowProc(m); });
  LoopThread loop([mine](const Message& m) -> int64_t {
    if (m.number != kPing) return DefaultWindowProc(m);
    return SendMessage(mine, kPong) + 1;
  });
  EXPECT_EQ(SendMessage(loop.window(), kPing), 6);
  DestroyWindow(mine);
  UpdateWindows();
}

TEST(MessageQueue, AThreadWaitingForTheSemaphoreServesSentMessages) {
  ServingSemaphore semaphore(0);  // the main thread holds it from the start
  std::promise<WindowId> created;
  std::atomic<bool> got_turn{false};
  std::thread waiter([&] {
    WindowId w = HiddenWindow(
        [](const Message& m) -> int64_t { return m.number == kPing ? 99 : DefaultWindowProc(m); });
    created.set_value(w);
    semaphore.Acquire();
    got_turn = true;
    DestroyWindow(w);
    semaphore.Release();
  });
  WindowId w = created.get_future().get();
  EXPECT_EQ(SendMessage(w, kPing), 99);  // answered while the waiter blocks on the semaphore
  EXPECT_FALSE(got_turn.load());
  semaphore.Release();
  waiter.join();
  EXPECT_TRUE(got_turn.load());
  EXPECT_TRUE(semaphore.TryAcquire());
  EXPECT_FALSE(semaphore.TryAcquire());
}

TEST(MessageQueue, SendToAThreadThatEndsIsAnsweredWithZero) {
  std::promise<WindowId> created;
  std::promise<void> sent;
  std::thread owner([&] {
    created.set_value(HiddenWindow());
    sent.get_future().wait();
    std::this_thread::sleep_for(20ms);  // ends without serving its queue
  });
  WindowId w = created.get_future().get();
  std::thread releaser([&] {
    std::this_thread::sleep_for(5ms);
    sent.set_value();
  });
  EXPECT_EQ(SendMessage(w, kPing), 0);
  owner.join();
  releaser.join();
  EXPECT_FALSE(PostMessage(w, kPing));
}

TEST(MessageQueue, DestroyingAnotherThreadsWindowHappensOnThatThread) {
  std::atomic<ThreadId> destroyed_on{0};
  LoopThread loop([&](const Message& m) -> int64_t {
    if (m.number != kPing) return DefaultWindowProc(m);
    WindowSpec spec;  // a child owned by the loop thread
    spec.kind = WindowKind::kChild;
    spec.parent = m.window;
    spec.rect = Rect::FromSize(0, 0, 10, 10);
    spec.proc = [&](const Message& c) -> int64_t {
      if (c.number == msg::kDestroy) destroyed_on = CurrentThreadId();
      return DefaultWindowProc(c);
    };
    return CreateWindow(spec);
  });
  WindowId child = static_cast<WindowId>(SendMessage(loop.window(), kPing));
  ASSERT_TRUE(IsWindow(child));
  ASSERT_TRUE(DestroyWindow(child));
  EXPECT_FALSE(IsWindow(child));
  EXPECT_EQ(destroyed_on.load(), loop.thread_id());
}

TEST(MessageQueue, DestroyingAFrameDestroysItsOtherThreadsChildrenThere) {
  std::atomic<ThreadId> destroyed_on{0};
  LoopThread loop([&](const Message& m) -> int64_t {
    if (m.number != kPing) return DefaultWindowProc(m);
    WindowSpec spec;  // an MDI child of the frame's client, owned by the loop thread
    spec.kind = WindowKind::kMdiChild;
    spec.parent = static_cast<WindowId>(m.wparam);
    spec.rect = Rect::FromSize(0, 0, 50, 50);
    spec.proc = [&](const Message& c) -> int64_t {
      if (c.number == msg::kDestroy) destroyed_on = CurrentThreadId();
      return DefaultWindowProc(c);
    };
    return CreateWindow(spec);
  });
  WindowSpec spec;
  spec.rect = Rect::FromSize(0, 0, 200, 200);
  spec.style = 0;
  WindowId frame = CreateWindow(spec);
  spec.kind = WindowKind::kMdiClient;
  spec.parent = frame;
  WindowId client = CreateWindow(spec);
  WindowId child = static_cast<WindowId>(SendMessage(loop.window(), kPing, client));
  ASSERT_TRUE(IsWindow(child));
  ASSERT_TRUE(DestroyWindow(frame));
  EXPECT_FALSE(IsWindow(child));
  EXPECT_EQ(destroyed_on.load(), loop.thread_id());
}

TEST(MessageQueue, PostedMessagesCrossThreadsBothWays) {
  ThreadId main_thread = CurrentThreadId();
  LoopThread loop([main_thread](const Message& m) -> int64_t {
    if (m.number == kPing) PostThreadMessage(main_thread, kPong, m.wparam + 1);
    return DefaultWindowProc(m);
  });
  for (uint64_t i = 0; i < 100; ++i) ASSERT_TRUE(PostMessage(loop.window(), kPing, i));
  for (uint64_t i = 0; i < 100; ++i) {
    Message m;
    do {
      ASSERT_TRUE(GetMessage(&m));
    } while (m.number != kPong);
    EXPECT_EQ(m.wparam, i + 1);
  }
}

TEST(MessageQueue, ATimerNeverHasMoreThanOneTickPending) {
  WindowId w = HiddenWindow();
  UpdateWindows();
  ASSERT_TRUE(SetTimer(w, 1, 2ms));
  std::this_thread::sleep_for(30ms);  // many periods pass without the loop running
  int ticks = 0;
  Message m;
  while (PeekMessage(&m, w, msg::kTimer, msg::kTimer)) {
    ++ticks;
    EXPECT_EQ(m.wparam, 1u);
  }
  EXPECT_EQ(ticks, 1);
  ASSERT_TRUE(GetMessage(&m));  // the next tick comes one period later
  EXPECT_EQ(m.number, msg::kTimer);
  EXPECT_TRUE(KillTimer(w, 1));
  EXPECT_FALSE(KillTimer(w, 1));
  std::this_thread::sleep_for(5ms);
  EXPECT_FALSE(PeekMessage(&m, w, msg::kTimer, msg::kTimer));
  DestroyWindow(w);
}

TEST(MessageQueue, DestroyingAWindowStopsItsTimers) {
  WindowId w = HiddenWindow();
  ASSERT_TRUE(SetTimer(w, 3, 1ms));
  DestroyWindow(w);
  std::this_thread::sleep_for(5ms);
  Message m;
  EXPECT_FALSE(PeekMessage(&m, kNoWindow, msg::kTimer, msg::kTimer));
  EXPECT_FALSE(SetTimer(w, 3, 1ms));
}

TEST(MessageQueue, PaintsComeParentsFirstAfterPostedMessages) {
  WindowSpec spec;
  spec.rect = Rect::FromSize(0, 0, 100, 100);
  spec.style = 0;
  WindowId top = CreateWindow(spec);
  spec.kind = WindowKind::kChild;
  spec.parent = top;
  spec.rect = Rect::FromSize(10, 10, 20, 20);
  WindowId child = CreateWindow(spec);
  spec.parent = child;
  WindowId grandchild = CreateWindow(spec);
  UpdateWindows();
  Invalidate(grandchild);
  Invalidate(top);  // also invalidates the descendants, once each
  PostMessage(child, kPing);
  std::vector<Message> seen;
  Message m;
  while (PeekMessage(&m)) seen.push_back(m);
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_EQ(seen[0].number, kPing);
  EXPECT_EQ(seen[1].window, top);
  EXPECT_EQ(seen[2].window, child);
  EXPECT_EQ(seen[3].window, grandchild);
  DestroyWindow(top);
  EXPECT_FALSE(IsWindow(grandchild));
}

TEST(MessageQueue, IdleWhenEveryWindowThreadWaitsWithNothingToDo) {
  std::atomic<bool> block{true};
  LoopThread loop([&](const Message& m) -> int64_t {
    if (m.number == kPing) {
      while (block) std::this_thread::sleep_for(1ms);
    }
    return DefaultWindowProc(m);
  });
  auto wait_idle = [] {
    for (int i = 0; i < 2000 && !AllThreadsIdle(); ++i) std::this_thread::sleep_for(1ms);
    return AllThreadsIdle();
  };
  EXPECT_TRUE(wait_idle());
  PostMessage(loop.window(), kPing);
  std::this_thread::sleep_for(5ms);
  EXPECT_FALSE(AllThreadsIdle());
  block = false;
  EXPECT_TRUE(wait_idle());
  {
    ServingSemaphore semaphore(0);  // held: some thread is running procedure code
    EXPECT_FALSE(AllThreadsIdle());
    semaphore.Release();
    EXPECT_TRUE(AllThreadsIdle());
    ASSERT_TRUE(semaphore.TryAcquire());
    EXPECT_FALSE(AllThreadsIdle());
    semaphore.Release();
  }
  EXPECT_TRUE(AllThreadsIdle());
}

}  // namespace
}  // namespace carelog::host
