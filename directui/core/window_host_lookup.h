#pragma once

#include <cstdint>
#include <string_view>

#include "platform/os/desktop.h"

namespace directui {

// The window property through which a window names the host bound to it; its value is the
// host's handle, which is the host object's address.
inline constexpr std::string_view kWindowHostProperty = "Ex_Wnd_Control";

// The handle of the host bound to the window; 0 when none is (or the window is gone).
std::intptr_t GetWindowHost(const platform::os::Desktop& desktop, platform::os::Window window);

// The same as the host object itself.
template <class Host>
Host* GetWindowHostObject(const platform::os::Desktop& desktop, platform::os::Window window) {
  return reinterpret_cast<Host*>(GetWindowHost(desktop, window));
}

}  // namespace directui
