#pragma once

#include "platform/os/desktop.h"

namespace directui {

// Handles every message waiting for the calling thread. False when the thread's quit message
// came: it is left taken, so the thread's own loop still ends, and nothing after it is handled.
bool ProcessPendingMessages(platform::os::Desktop& desktop);

}  // namespace directui
