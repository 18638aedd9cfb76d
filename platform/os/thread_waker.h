#pragma once

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

  void wake();
  // Clears pending wake-ups; called before the thread looks at what it waits for.
  void clear();
  int fd() const { return fd_.get(); }

  // The calling thread's waker, made on first use.
  static const std::shared_ptr<ThreadWaker>& current();

 private:
  UniqueFd fd_;
};

}  // namespace platform::os
