#include "platform/os/signal_state.h"

#include <algorithm>

#include "platform/os/thread_waker.h"

namespace platform::os {

void SignalState::set() {
  std::lock_guard lock(mu_);
  set_ = true;
  wake_waiters();
}

void SignalState::reset() {
  std::lock_guard lock(mu_);
  set_ = false;
}

void SignalState::arm(const Clock* clock, Clock::TimePoint due,
                      std::optional<Clock::Duration> period) {
  std::lock_guard lock(mu_);
  clock_ = clock;
  set_ = false;
  due_ = due;
  period_ = period && *period > Clock::Duration::zero() ? period : std::nullopt;
  // Waiters must recompute how long they may sleep.
  wake_waiters();
}

void SignalState::disarm() {
  std::lock_guard lock(mu_);
  due_.reset();
  period_.reset();
}

void SignalState::fire_if_due() {
  if (!due_ || !clock_) return;
  Clock::TimePoint now = clock_->now();
  if (now < *due_) return;
  set_ = true;
  if (period_) {
    // Missed periods coalesce into this one signal.
    while (*due_ <= now) *due_ += *period_;
  } else {
    due_.reset();
  }
}

bool SignalState::try_take() {
  std::lock_guard lock(mu_);
  fire_if_due();
  if (!set_) return false;
  if (!manual_reset_) set_ = false;
  return true;
}

bool SignalState::is_set() {
  std::lock_guard lock(mu_);
  fire_if_due();
  return set_;
}

std::optional<Clock::TimePoint> SignalState::due() {
  std::lock_guard lock(mu_);
  return due_;
}

void SignalState::add_waiter(ThreadWaker* waker) {
  std::lock_guard lock(mu_);
  waiters_.push_back(waker);
}

void SignalState::remove_waiter(ThreadWaker* waker) {
  std::lock_guard lock(mu_);
  auto it = std::find(waiters_.begin(), waiters_.end(), waker);
  if (it != waiters_.end()) waiters_.erase(it);
}

void SignalState::wake_waiters() {
  for (ThreadWaker* w : waiters_) w->wake();
}

}  // namespace platform::os
