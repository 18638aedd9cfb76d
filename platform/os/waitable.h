#pragma once

#include <memory>
#include <optional>

#include "platform/os/clock.h"
#include "platform/os/signal_state.h"

namespace platform::os {

// Something a thread can wait for (an event, a waitable timer, a thread). Copies share the
// same object, like duplicated handles.
class Waitable {
 public:
  const std::shared_ptr<SignalState>& state() const { return state_; }
  bool is_signalled() const { return state_->is_set(); }

 protected:
  explicit Waitable(std::shared_ptr<SignalState> state) : state_(std::move(state)) {}

 private:
  std::shared_ptr<SignalState> state_;
};

class Event : public Waitable {
 public:
  struct Options {
    bool manual_reset = false;
    bool initially_set = false;
  };
  Event() : Event(Options{}) {}
  explicit Event(Options options)
      : Waitable(std::make_shared<SignalState>(options.manual_reset, options.initially_set)) {}

  void set() { state()->set(); }
  void reset() { state()->reset(); }
};

// Signalled when its due time on the clock has come; then every period when one is given.
class WaitableTimer : public Waitable {
 public:
  explicit WaitableTimer(const Clock& clock, Event::Options options = {})
      : Waitable(std::make_shared<SignalState>(options.manual_reset, false)), clock_(&clock) {}

  // Due `due_in` from now (a relative due time).
  void set(Clock::Duration due_in, std::optional<Clock::Duration> period = std::nullopt) {
    state()->arm(clock_, clock_->now() + due_in, period);
  }
  void cancel() { state()->disarm(); }

 private:
  const Clock* clock_;
};

}  // namespace platform::os
