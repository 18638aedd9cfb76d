#pragma once

#include <mutex>
#include <optional>
#include <vector>

#include "platform/os/clock.h"

namespace platform::os {

class ThreadWaker;

// The shared state behind every handle a thread can wait for: a signalled flag, reset by a
// successful wait for auto-reset objects, and for waitable timers a due time on a clock.
class SignalState {
 public:
  explicit SignalState(bool manual_reset, bool initially_set = false)
      : manual_reset_(manual_reset), set_(initially_set) {}
  SignalState(const SignalState&) = delete;
  SignalState& operator=(const SignalState&) = delete;

  void set();
  void reset();
  // Schedules the signal at `due` on `clock`, then every `period` when given; clears a signal
  // still pending from an earlier schedule.
  void arm(const Clock* clock, Clock::TimePoint due, std::optional<Clock::Duration> period);
  void disarm();

  // True when signalled now; consumes the signal of an auto-reset object.
  bool try_take();
  bool is_set();
  // When the signal will come by itself (a waitable timer), if it will.
  std::optional<Clock::TimePoint> due();

  void add_waiter(ThreadWaker* waker);
  void remove_waiter(ThreadWaker* waker);

 private:
  void fire_if_due();   // mu_ held
  void wake_waiters();  // mu_ held

  std::mutex mu_;
  const bool manual_reset_;
  bool set_;
  const Clock* clock_ = nullptr;
  std::optional<Clock::TimePoint> due_;
  std::optional<Clock::Duration> period_;
  std::vector<ThreadWaker*> waiters_;
};

}  // namespace platform::os
