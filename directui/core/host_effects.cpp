// Opening and closing. The animated effects come with the effects work; until then every
// effect shows or hides the window at once.
#include "directui/core/host.h"

namespace directui {

namespace os = platform::os;

LRESULT Ex_Host::Show(std::optional<int>, std::optional<int>) {
  os::Message pending;
  while (desktop().peek_message(pending, {}, 0, 0, os::PM_REMOVE))
    desktop().dispatch_message(pending);
  desktop().show_window(handle(), os::SW_SHOWNORMAL);
  Present();
  return 0;
}

void Ex_Host::PlayCloseEffect() {}

}  // namespace directui
