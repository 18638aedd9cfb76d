#include "platform/os/wait.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "platform/os/thread_waker.h"

namespace platform::os {
namespace {

// Registers the thread's waker wherever a wake-up could come from, for the wait's duration.
class WaitRegistration {
 public:
  WaitRegistration(const Clock& clock, std::span<const Waitable* const> handles, ThreadWaker* waker)
      : clock_(clock), handles_(handles), waker_(waker) {
    clock_.add_listener(waker_);
    for (const Waitable* h : handles_) h->state()->add_waiter(waker_);
  }
  ~WaitRegistration() {
    for (const Waitable* h : handles_) h->state()->remove_waiter(waker_);
    clock_.remove_listener(waker_);
  }
  WaitRegistration(const WaitRegistration&) = delete;
  WaitRegistration& operator=(const WaitRegistration&) = delete;

 private:
  const Clock& clock_;
  std::span<const Waitable* const> handles_;
  ThreadWaker* waker_;
};

void earliest(std::optional<Clock::TimePoint>& into, std::optional<Clock::TimePoint> t) {
  if (t && (!into || *t < *into)) into = t;
}

}  // namespace

std::uint32_t wait_for_any(const Clock& clock, std::span<const Waitable* const> handles,
                           std::optional<Clock::Duration> timeout, const WaitHooks* hooks) {
  for (const Waitable* h : handles) {
    if (h == nullptr) return WAIT_FAILED;
  }
  ThreadWaker& waker = *ThreadWaker::current();
  std::optional<Clock::TimePoint> deadline;
  if (timeout) deadline = clock.now() + std::max(*timeout, Clock::Duration::zero());
  WaitRegistration registration(clock, handles, &waker);

  struct Disarm {
    ThreadWaker& w;
    ~Disarm() { w.disarm(); }
  } disarm_on_return{waker};
  for (;;) {
    for (std::size_t i = 0; i < handles.size(); ++i) {
      if (handles[i]->state()->try_take()) return WAIT_OBJECT_0 + static_cast<std::uint32_t>(i);
    }
    if (hooks && hooks->input_ready && hooks->input_ready()) {
      return WAIT_OBJECT_0 + static_cast<std::uint32_t>(handles.size());
    }
    if (deadline && clock.now() >= *deadline) return WAIT_TIMEOUT;
    if (!waker.armed()) {
      // Look once more with the waker armed, so nothing that came meanwhile is slept through.
      waker.arm();
      continue;
    }

    std::optional<Clock::TimePoint> wake_at = deadline;
    for (const Waitable* h : handles) earliest(wake_at, h->state()->due());
    if (hooks && hooks->input_due) earliest(wake_at, hooks->input_due());
    int ms = wake_at ? clock.real_wait_ms(*wake_at) : -1;

    if (hooks && hooks->before_sleep) hooks->before_sleep();
    pollfd fds[2] = {{waker.fd(), POLLIN, 0}, {-1, POLLIN, 0}};
    nfds_t count = 1;
    if (hooks && hooks->extra_fd >= 0) {
      fds[1].fd = hooks->extra_fd;
      count = 2;
    }
    int n = ::poll(fds, count, ms);
    waker.disarm();
    if (n < 0 && errno != EINTR) return WAIT_FAILED;
    if (n > 0 && (fds[0].revents & POLLIN)) waker.clear();
    if (n > 0 && count == 2 && (fds[1].revents & (POLLIN | POLLHUP | POLLERR)) &&
        hooks->extra_fd_readable) {
      hooks->extra_fd_readable();
    }
  }
}

}  // namespace platform::os
