#pragma once

#include <atomic>
#include <memory>

#include "platform/os/unique_fd.h"

namespace platform::os {

// Each thread's wake-up descriptor (an eventfd). Whoever has something for a thread (a posted
// or sent message, a signalled handle, a clock that moved) writes it; the thread polls it
// while it waits, together with the display's descriptor.
class ThreadWaker {
 public:
  ThreadWaker();
  ThreadWaker(const ThreadWaker&) = delete;
  ThreadWaker& operator=(const ThreadWaker&) = delete;

  // Writes the descriptor only when the thread has said it is about to sleep, so posting to
  // a busy thread costs no system call.
  void wake();
  // The thread's side: arm, look once more at everything it waits for, and only then sleep on
  // fd(); disarm when it runs again. A wake after arm() always reaches the descriptor.
  void arm() { sleeping_.store(true); }
  bool armed() const { return sleeping_.load(); }
  void disarm() { sleeping_.store(false); }
  // Drains the descriptor after a wake-up.
  void clear();
  int fd() const { return fd_.get(); }

  // The calling thread's waker, made on first use.
  static const std::shared_ptr<ThreadWaker>& current();

 private:
  UniqueFd fd_;
  std::atomic<bool> sleeping_{false};
};

}  // namespace platform::os
