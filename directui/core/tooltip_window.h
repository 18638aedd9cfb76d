#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "directui/core/host_record.h"
#include "platform/os/desktop.h"
#include "platform/os/geometry.h"
#include "platform/os/messages.h"

namespace directui {

// The tooltip window class and the messages a host sends it. One tool serves a whole host
// window and is moved to the element under the mouse.
inline constexpr const char* kToolTipClass = "tooltips_class32";
inline constexpr std::uint32_t TTM_ADDTOOLA = platform::os::WM_USER + 4;
inline constexpr std::uint32_t TTM_DELTOOLA = platform::os::WM_USER + 5;
inline constexpr std::uint32_t TTM_NEWTOOLRECTA = platform::os::WM_USER + 6;
// lparam: the platform::os::Message the tool's window received.
inline constexpr std::uint32_t TTM_RELAYEVENT = platform::os::WM_USER + 7;
// wparam: size of the buffer ToolInfo::text points to; the tool's text is copied there.
inline constexpr std::uint32_t TTM_GETTEXTA = platform::os::WM_USER + 11;
inline constexpr std::uint32_t TTM_UPDATETIPTEXTA = platform::os::WM_USER + 12;
inline constexpr std::uint32_t TTM_SETMAXTIPWIDTH = platform::os::WM_USER + 24;

inline constexpr std::uint32_t TTF_SUBCLASS = 16;

// How long the pointer must rest over a tool before its tip shows.
inline constexpr std::uint32_t kToolTipInitialDelay = 500;
// How often a shown tip looks whether the pointer is still over its tool.
inline constexpr std::uint32_t kToolTipWatchInterval = 100;

// The widest a tip may grow before it wraps, kept as a property of the tooltip window.
inline constexpr std::string_view kToolTipMaxWidthProperty = "Ex_ToolTip_MaxWidth";

// A tool as the tool messages carry it (lparam). Rectangles are in the tool window's
// coordinates; the text is code page 936, zero-terminated.
struct ToolInfo {
  std::uint32_t size = sizeof(ToolInfo);
  std::uint32_t flags = TTF_SUBCLASS;
  platform::os::Window window{};
  std::uintptr_t id = 0;
  platform::os::Rect rect{};
  std::intptr_t instance = 0;
  char* text = nullptr;
  platform::os::LPARAM lparam = 0;
};

// A fresh message record of the host's tool; its text points into the record.
ToolInfo MakeToolInfo(ToolTipRecord& record);
// Takes what the tooltip left in the message record back into the host's record.
void ReadBack(const ToolInfo& info, ToolTipRecord& record);

// A hidden topmost popup of the tooltip class (registered on first use), owned by no window
// and never activated. It keeps one tool at a time. While the pointer rests inside the tool's
// rectangle for the initial delay it shows the tool's text in the default font, wrapped at the
// maximum tip width, in a pale box with a one-pixel border just below the pointer; it hides
// when the pointer leaves the rectangle, on a button press (until the pointer has left), and
// when the tool is deleted. It learns of the pointer from the mouse messages the tool's window
// relays (TTM_RELAYEVENT) and, while shown, from the pointer position on its own timer.
// TTM_SETMAXTIPWIDTH answers the width before.
platform::os::Window CreateToolTip(platform::os::Desktop& desktop);

}  // namespace directui
