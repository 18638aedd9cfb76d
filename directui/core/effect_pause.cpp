#include "directui/core/effect_pause.h"

#include <chrono>

#include "platform/os/message.h"
#include "platform/os/messages.h"
#include "platform/os/waitable.h"

namespace directui {

namespace os = platform::os;

bool ProcessPendingMessages(os::Desktop& desktop) {
  os::Message message;
  while (desktop.peek_message(message, {}, 0, 0, os::PM_REMOVE)) {
    if (message.message == os::WM_QUIT) return false;
    desktop.translate_message(message);
    desktop.dispatch_message(message);
  }
  return true;
}

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
