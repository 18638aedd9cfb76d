#include "web/pump_wait.h"

#include <chrono>
#include <limits>

#include "platform/os/desktop.h"
#include "platform/os/message.h"
#include "platform/os/messages.h"
#include "platform/os/waitable.h"

namespace web {
namespace {

namespace os = platform::os;

// Keyboard, mouse, posted, timer, paint, sent and hot-key messages all wake the wait.
constexpr std::uint32_t kWakeForAnyMessage = 0xFF;

std::int64_t MillisecondsPerUnit(std::int64_t unit) {
  switch (unit) {
    case 0:
      return 1;
    case 1:
      return 1000;
    case 2:
      return 60000;
    case 3:
      return 3600000;
    default:
      return unit;
  }
}

// interval × multiplier, kept within what the clock can hold; a product at or below zero is a
// due time that has already come.
std::chrono::milliseconds DueIn(std::int64_t interval, std::int64_t multiplier) {
  constexpr std::int64_t kLongest = std::numeric_limits<std::int64_t>::max() / 1000000;
  if (interval <= 0 || multiplier <= 0) return std::chrono::milliseconds(0);
  if (interval > kLongest / multiplier) return std::chrono::milliseconds(kLongest);
  return std::chrono::milliseconds(interval * multiplier);
}

}  // namespace

void DispatchPendingMessages(os::Desktop& desktop) {
  os::Message message;
  while (desktop.peek_message(message, {}, 0, 0, os::PM_REMOVE)) {
    if (message.message == os::WM_QUIT) return;
    desktop.translate_message(message);
    desktop.dispatch_message(message);
  }
}

int PumpWait(os::Desktop& desktop, std::int64_t interval, std::optional<std::int64_t> unit) {
  os::WaitableTimer timer(desktop.clock());
  timer.set(DueIn(interval, MillisecondsPerUnit(unit.value_or(0))));
  const os::Waitable* handles[] = {&timer};
  for (;;) {
    const std::uint32_t result =
        desktop.msg_wait_for_multiple_objects(handles, os::INFINITE, kWakeForAnyMessage);
    // A failed wait would fail again at once; ending is better than spinning.
    if (result == os::WAIT_OBJECT_0 || result == os::WAIT_FAILED) break;
    DispatchPendingMessages(desktop);
  }
  return 1;
}

}  // namespace web
