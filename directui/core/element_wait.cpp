#include "directui/core/element_wait.h"

#include "directui/core/pending_messages.h"
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
  return ProcessPendingMessages(desktop);
}

}  // namespace directui
