#include "directui/core/element_wait.h"

#include "platform/os/message.h"
#include "platform/os/messages.h"

namespace directui {

namespace os = platform::os;

bool WaitWhileHostBusy(const HostWindow& window) {
  if (!window) return false;
  os::Desktop& desktop = *window.desktop;
  if (!desktop.is_own_window(window.window)) {
    desktop.sleep(1);
    return true;
  }
  desktop.msg_wait_for_multiple_objects({}, 1, os::QS_ALLINPUT);
  os::Message message;
  while (desktop.peek_message(message, {}, 0, 0, os::PM_REMOVE)) {
    if (message.message == os::WM_QUIT) return false;
    desktop.translate_message(message);
    desktop.dispatch_message(message);
  }
  return true;
}

}  // namespace directui
