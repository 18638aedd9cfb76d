#pragma once

#include <cstdint>
#include <optional>

namespace platform::os {
class Desktop;
}

namespace web {

// Handles every message waiting for the calling thread (sent messages included). A quit
// message ends the pass and is left to the thread's own loop.
void DispatchPendingMessages(platform::os::Desktop& desktop);

// Waits `interval` units on a waitable timer of the desktop's clock while dispatching the calling
// thread's messages, so its windows keep repainting. Unit 0 or not given milliseconds, 1 seconds,
// 2 minutes, 3 hours; any other unit is a multiplier of milliseconds itself. Returns 1.
int PumpWait(platform::os::Desktop& desktop, std::int64_t interval,
             std::optional<std::int64_t> unit = {});

}  // namespace web
