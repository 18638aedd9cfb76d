#pragma once

#include <cstdint>

#include "platform/os/desktop.h"
#include "platform/os/messages.h"

namespace directui {

// The tooltip window class and the messages a host sends it. One tool serves a whole host
// window and is moved to the element under the mouse.
inline constexpr const char* kToolTipClass = "tooltips_class32";
inline constexpr std::uint32_t TTM_ADDTOOLA = platform::os::WM_USER + 4;
inline constexpr std::uint32_t TTM_DELTOOLA = platform::os::WM_USER + 5;
inline constexpr std::uint32_t TTM_NEWTOOLRECTA = platform::os::WM_USER + 6;
inline constexpr std::uint32_t TTM_UPDATETIPTEXTA = platform::os::WM_USER + 12;
inline constexpr std::uint32_t TTM_SETMAXTIPWIDTH = platform::os::WM_USER + 24;

// The widest a tip may grow before it wraps, kept as a property of the tooltip window.
inline constexpr std::string_view kToolTipMaxWidthProperty = "Ex_ToolTip_MaxWidth";

// A hidden topmost popup of the tooltip class (registered on first use), owned by no window.
// TTM_SETMAXTIPWIDTH answers the width before; the other tool messages are accepted.
platform::os::Window CreateToolTip(platform::os::Desktop& desktop);

}  // namespace directui
