#include "directui/core/pending_messages.h"

#include "platform/os/message.h"
#include "platform/os/messages.h"

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

}  // namespace directui
