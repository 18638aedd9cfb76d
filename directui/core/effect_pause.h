#pragma once

#include <cstdint>

#include "platform/os/desktop.h"

namespace directui {

// Waits `ms` on the desktop's clock while handling the thread's messages, so the windows stay
// responsive during an effect. After a quit message the rest of the pause handles nothing.
void PauseHandlingMessages(platform::os::Desktop& desktop, std::uint32_t ms);

}  // namespace directui
