#include "directui/core/effect_pause.h"

#include <chrono>

#include "directui/core/pending_messages.h"
#include "platform/os/messages.h"
#include "platform/os/waitable.h"

namespace directui {

namespace os = platform::os;

void PauseHandlingMessages(os::Desktop& desktop, std::uint32_t ms) {
  // One timer for the whole pause: the messages handled meanwhile do not lengthen it.
  os::WaitableTimer timer(desktop.clock());
  timer.set(std::chrono::milliseconds(ms));
  const os::Waitable* handles[] = {&timer};
  bool handling = true;
  for (;;) {
    const std::uint32_t result =
        handling ? desktop.msg_wait_for_multiple_objects(handles, os::INFINITE, os::QS_ALLINPUT)
                 : desktop.wait_for_objects(handles, os::INFINITE);
    // Anything but "messages came" is the timer or a failed wait, which would fail again at
    // once: either ends the pause.
    if (result != os::WAIT_OBJECT_0 + 1) return;
    handling = ProcessPendingMessages(desktop);
  }
}

}  // namespace directui
