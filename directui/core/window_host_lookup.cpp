#include "directui/core/window_host_lookup.h"

namespace directui {

std::intptr_t GetWindowHost(const platform::os::Desktop& desktop, platform::os::Window window) {
  return desktop.get_prop(window, kWindowHostProperty);
}

}  // namespace directui
