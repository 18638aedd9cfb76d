#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/os/cursor_shape.h"
#include "platform/os/icon.h"
#include "platform/os/messages.h"
#include "platform/os/window_handle.h"

namespace platform::os {

// A window procedure. Copies are cheap to pass around: a subclass keeps the one it replaced
// and calls it for everything it does not handle.
using WindowProc = std::function<LRESULT(Window, std::uint32_t, WPARAM, LPARAM)>;

// Called when a timer set with a routine is dispatched: (window, WM_TIMER, id, tick ms).
using TimerProc = std::function<void(Window, std::uint32_t, std::uintptr_t, std::uint32_t)>;

struct WindowClass {
  std::string name{};
  std::uint32_t style = 0;  // CS_*
  // Empty: the desktop's default handling only.
  WindowProc procedure{};
  std::shared_ptr<const Icon> icon{};
  std::shared_ptr<const Icon> small_icon{};
  CursorShape cursor = CursorShape::arrow;
};

}  // namespace platform::os
