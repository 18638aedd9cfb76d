#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>
#include <vector>

namespace platform::os {

class ThreadWaker;

// The time every timer, wait and sleep of a desktop runs on. Time points are durations since
// an arbitrary origin of the clock; only differences mean anything.
class Clock {
 public:
  using Duration = std::chrono::nanoseconds;
  using TimePoint = Duration;

  virtual ~Clock() = default;
  virtual TimePoint now() const = 0;
  // Real milliseconds a thread may sleep before `deadline` could have come; -1 means "until
  // woken": the clock wakes its listeners itself when its time moves.
  virtual int real_wait_ms(TimePoint deadline) const = 0;

  // Threads in a timed wait listen, so a clock whose time jumps can wake them.
  void add_listener(ThreadWaker* waker) const;
  void remove_listener(ThreadWaker* waker) const;
  // How many threads wait on the clock right now (tests use it to know a wait has begun).
  std::size_t listener_count() const;

 protected:
  void wake_listeners();

 private:
  mutable std::mutex listeners_mu_;
  mutable std::vector<ThreadWaker*> listeners_;
};

// Real monotonic time.
class SteadyClock final : public Clock {
 public:
  TimePoint now() const override;
  int real_wait_ms(TimePoint deadline) const override;
};

// Time that moves only when a test advances it. Waits never sleep on real time: a wait with a
// time-out blocks until the clock is advanced past it (or what it waits for happens).
class ManualClock final : public Clock {
 public:
  explicit ManualClock(TimePoint start = std::chrono::seconds(1)) : now_(start) {}
  TimePoint now() const override;
  int real_wait_ms(TimePoint) const override { return -1; }
  // Moves time forward and wakes every waiting thread so it sees due timers and time-outs.
  void advance(Duration by);

 private:
  mutable std::mutex mu_;
  TimePoint now_;
};

// Real time running `factor` times faster, for trying long sequences quickly by hand.
class AcceleratedClock final : public Clock {
 public:
  explicit AcceleratedClock(double factor);
  TimePoint now() const override;
  int real_wait_ms(TimePoint deadline) const override;

 private:
  double factor_;
  std::chrono::steady_clock::time_point start_;
};

inline std::uint32_t tick_ms(Clock::TimePoint t) {
  return static_cast<std::uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(t).count());
}

}  // namespace platform::os
