#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/os/desktop.h"

namespace directui {

// The class of the framework's own popup windows.
inline constexpr const char* kFrameworkWindowClass = "Ex_DirectUI";

// What RegisterWindowClass is given; everything left out takes the framework's default.
struct WindowClassOptions {
  std::optional<std::string> class_name{};            // code page 936; default "Ex_DirectUI"
  std::optional<std::uint32_t> style{};               // default CS_DBLCLKS
  std::shared_ptr<const platform::os::Icon> icon{};   // default: the program's icon
  std::optional<platform::os::CursorShape> cursor{};  // default DefaultCursor
  platform::os::WindowProc procedure{};               // default: the desktop's default handling
};

// Registers the class and keeps the icon it got in ClassIcon. False when the name is taken.
bool RegisterWindowClass(platform::os::Desktop& desktop, const WindowClassOptions& options = {});

}  // namespace directui
