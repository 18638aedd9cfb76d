#pragma once

// The per-thread state of one desktop: message queues, sent messages waiting to be handled and
// timers. Internal to the desktop.

#include <atomic>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/os/clock.h"
#include "platform/os/message.h"
#include "platform/os/thread_waker.h"
#include "platform/os/window_class.h"

namespace platform::os {

struct QueuedMessage {
  Message msg;
  std::u16string text;  // what a key press types, for translate_message
};

// A message sent from another thread, waiting for its window's thread.
struct SentMessage {
  Window window;
  std::uint32_t message = 0;
  WPARAM wparam = 0;
  LPARAM lparam = 0;
  LRESULT result = 0;
  std::atomic<bool> done{false};
  std::shared_ptr<ThreadWaker> sender;

  void complete(LRESULT r) {
    result = r;
    done.store(true, std::memory_order_release);
    sender->wake();
  }
};

struct MessageTimer {
  Window window;
  std::uintptr_t id = 0;
  Clock::Duration period{};
  Clock::TimePoint due{};
  std::shared_ptr<const TimerProc> routine;
  std::uint64_t serial = 0;  // tells a dispatched WM_TIMER of this timer from a later one
};

struct ThreadQueue {
  explicit ThreadQueue(std::thread::id id) : thread(id), waker(ThreadWaker::current()) {}

  const std::thread::id thread;
  const std::shared_ptr<ThreadWaker> waker;

  std::mutex mu;
  // The thread has finished: nothing is queued or sent to it any more. Set under mu.
  std::atomic<bool> ended{false};
  std::deque<QueuedMessage> posted;
  std::deque<QueuedMessage> input;
  std::deque<std::shared_ptr<SentMessage>> sent;
  std::vector<MessageTimer> timers;
  bool quit_posted = false;
  bool quit_peeked = false;
  int quit_code = 0;
  int window_count = 0;

  // The key message handed out last and the text it types.
  Message last_key;
  std::u16string last_key_text;

  // Marks the queue ended and answers every pending sent message with 0.
  void end();
};

// Queues of the calling thread, across desktops, are ended when the thread finishes.
void register_thread_queue(const std::shared_ptr<ThreadQueue>& queue);
// Ends them now (a Thread does so before it signals its handle).
void end_current_thread_queues();

}  // namespace platform::os
