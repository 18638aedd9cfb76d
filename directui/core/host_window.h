#pragma once

#include "platform/os/desktop.h"

namespace directui {

// A window together with the desktop it lives on: what elements and hosts call "the host
// window". Every message, timer and property goes through the desktop.
struct HostWindow {
  platform::os::Desktop* desktop = nullptr;
  platform::os::Window window{};

  explicit operator bool() const { return desktop != nullptr && static_cast<bool>(window); }
  friend bool operator==(const HostWindow&, const HostWindow&) = default;
};

}  // namespace directui
