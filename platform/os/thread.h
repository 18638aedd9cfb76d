#pragma once

#include <functional>
#include <thread>

#include "platform/os/waitable.h"

namespace platform::os {

// Signalled when its thread has finished; stays signalled.
class ThreadHandle : public Waitable {
 public:
  ThreadHandle() : Waitable(std::make_shared<SignalState>(true, false)) {}
  void signal() { state()->set(); }
};

// A thread whose end can be waited for. Before the handle is signalled, the thread's message
// queues are closed: messages sent to its windows from then on return 0 at once. The
// destructor joins.
class Thread {
 public:
  explicit Thread(std::function<void()> body);
  ~Thread();
  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;

  const ThreadHandle& handle() const { return handle_; }
  std::thread::id id() const { return thread_.get_id(); }
  void join();

 private:
  ThreadHandle handle_;
  std::thread thread_;
};

}  // namespace platform::os
