#include "platform/os/clock.h"

#include <algorithm>
#include <cmath>

#include "platform/os/thread_waker.h"

namespace platform::os {

void Clock::add_listener(ThreadWaker* waker) const {
  std::lock_guard lock(listeners_mu_);
  listeners_.push_back(waker);
}

void Clock::remove_listener(ThreadWaker* waker) const {
  std::lock_guard lock(listeners_mu_);
  auto it = std::find(listeners_.begin(), listeners_.end(), waker);
  if (it != listeners_.end()) listeners_.erase(it);
}

std::size_t Clock::listener_count() const {
  std::lock_guard lock(listeners_mu_);
  return listeners_.size();
}

void Clock::wake_listeners() {
  std::lock_guard lock(listeners_mu_);
  for (ThreadWaker* w : listeners_) w->wake();
}

namespace {
// Rounds up so a thread never wakes just before its deadline and spins.
int ceil_ms(Clock::Duration d) {
  if (d <= Clock::Duration::zero()) return 0;
  auto ms = std::chrono::ceil<std::chrono::milliseconds>(d).count();
  return static_cast<int>(std::min<long long>(ms, 24LL * 3600 * 1000));
}
}  // namespace

Clock::TimePoint SteadyClock::now() const {
  return std::chrono::duration_cast<Duration>(std::chrono::steady_clock::now().time_since_epoch());
}

int SteadyClock::real_wait_ms(TimePoint deadline) const {
  return ceil_ms(deadline - now());
}

Clock::TimePoint ManualClock::now() const {
  std::lock_guard lock(mu_);
  return now_;
}

void ManualClock::advance(Duration by) {
  {
    std::lock_guard lock(mu_);
    if (by > Duration::zero()) now_ += by;
  }
  wake_listeners();
}

AcceleratedClock::AcceleratedClock(double factor)
    : factor_(factor > 0 ? factor : 1.0), start_(std::chrono::steady_clock::now()) {}

Clock::TimePoint AcceleratedClock::now() const {
  auto real = std::chrono::steady_clock::now() - start_;
  return Duration(static_cast<Duration::rep>(
      std::llround(std::chrono::duration_cast<Duration>(real).count() * factor_)));
}

int AcceleratedClock::real_wait_ms(TimePoint deadline) const {
  auto left = deadline - now();
  return ceil_ms(Duration(static_cast<Duration::rep>(std::ceil(left.count() / factor_))));
}

}  // namespace platform::os
