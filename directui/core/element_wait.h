#pragma once

#include "directui/core/host_window.h"

namespace directui {

// One millisecond's pause before asking a busy host again. On the window's own thread the
// pause handles the thread's messages, since only they can end the host's busy state (a
// fade-in ends on a timer message); elsewhere it simply sleeps. False when the thread's quit
// message came meanwhile: the caller should stop waiting.
bool WaitWhileHostBusy(const HostWindow& window);

}  // namespace directui
