#include "platform/os/thread_queue.h"

namespace platform::os {

void ThreadQueue::end() {
  std::deque<std::shared_ptr<SentMessage>> pending;
  {
    std::lock_guard lock(mu);
    ended = true;
    pending.swap(sent);
    posted.clear();
    input.clear();
    timers.clear();
  }
  for (auto& s : pending) s->complete(0);
}

namespace {

class ThreadExitHook {
 public:
  ~ThreadExitHook() { end_all(); }
  void add(const std::shared_ptr<ThreadQueue>& q) { queues_.push_back(q); }
  void end_all() {
    auto queues = std::move(queues_);
    queues_.clear();
    for (auto& weak : queues) {
      if (auto q = weak.lock()) q->end();
    }
  }

 private:
  std::vector<std::weak_ptr<ThreadQueue>> queues_;
};

ThreadExitHook& exit_hook() {
  thread_local ThreadExitHook hook;
  return hook;
}

}  // namespace

void register_thread_queue(const std::shared_ptr<ThreadQueue>& queue) {
  exit_hook().add(queue);
}

void end_current_thread_queues() {
  exit_hook().end_all();
}

}  // namespace platform::os
