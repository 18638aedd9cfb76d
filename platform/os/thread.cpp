#include "platform/os/thread.h"

#include "platform/os/thread_queue.h"

namespace platform::os {

Thread::Thread(std::function<void()> body)
    : thread_([handle = handle_, body = std::move(body)]() mutable {
        body();
        end_current_thread_queues();
        handle.signal();
      }) {}

Thread::~Thread() {
  join();
}

void Thread::join() {
  if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

}  // namespace platform::os
