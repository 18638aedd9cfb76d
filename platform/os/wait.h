#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>

#include "platform/os/clock.h"
#include "platform/os/waitable.h"

namespace platform::os {

// Results of the waits: the index of the signalled handle counted from WAIT_OBJECT_0; for a
// wait that also wakes for messages, the handle count means "input arrived".
inline constexpr std::uint32_t WAIT_OBJECT_0 = 0;
inline constexpr std::uint32_t WAIT_TIMEOUT = 258;
inline constexpr std::uint32_t WAIT_FAILED = 0xFFFFFFFF;
inline constexpr std::uint32_t INFINITE = 0xFFFFFFFF;

// What a wait does besides watching handles. Used by the desktop to fold the thread's message
// queue and the display's descriptor into one sleep.
struct WaitHooks {
  // True when the wait should end with the "input" result. Called after every wake-up.
  std::function<bool()> input_ready;
  // The next moment input may become ready by itself (a message timer), if any.
  std::function<std::optional<Clock::TimePoint>()> input_due;
  // A descriptor to sleep on as well, and what to do when it is readable.
  int extra_fd = -1;
  std::function<void()> extra_fd_readable;
  std::function<void()> before_sleep;
};

// Waits until one of `handles` is signalled (the lowest index wins), `hooks->input_ready`
// answers true, or `timeout` has passed on `clock` (nullopt: no time-out).
std::uint32_t wait_for_any(const Clock& clock, std::span<const Waitable* const> handles,
                           std::optional<Clock::Duration> timeout,
                           const WaitHooks* hooks = nullptr);

// A time-out given in milliseconds, INFINITE meaning none.
inline std::optional<Clock::Duration> timeout_from_ms(std::uint32_t ms) {
  if (ms == INFINITE) return std::nullopt;
  return std::chrono::milliseconds(ms);
}

}  // namespace platform::os
