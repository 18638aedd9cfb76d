#pragma once

#include <cstdint>

#include "platform/os/geometry.h"
#include "platform/os/messages.h"
#include "platform/os/window_handle.h"

namespace platform::os {

// A message as a thread's queue hands it out.
struct Message {
  Window window{};
  std::uint32_t message = WM_NULL;
  WPARAM wparam = 0;
  LPARAM lparam = 0;
  std::uint32_t time = 0;  // clock milliseconds when it was queued
  Point pt{};              // cursor position (screen) when it was queued
};

// peek_message removal
inline constexpr std::uint32_t PM_NOREMOVE = 0x0000;
inline constexpr std::uint32_t PM_REMOVE = 0x0001;

// Wake masks: what kinds of queued input end a message wait
inline constexpr std::uint32_t QS_KEY = 0x0001;
inline constexpr std::uint32_t QS_MOUSEMOVE = 0x0002;
inline constexpr std::uint32_t QS_MOUSEBUTTON = 0x0004;
inline constexpr std::uint32_t QS_POSTMESSAGE = 0x0008;
inline constexpr std::uint32_t QS_TIMER = 0x0010;
inline constexpr std::uint32_t QS_PAINT = 0x0020;
inline constexpr std::uint32_t QS_SENDMESSAGE = 0x0040;
inline constexpr std::uint32_t QS_HOTKEY = 0x0080;
inline constexpr std::uint32_t QS_ALLPOSTMESSAGE = 0x0100;
inline constexpr std::uint32_t QS_RAWINPUT = 0x0400;
inline constexpr std::uint32_t QS_MOUSE = QS_MOUSEMOVE | QS_MOUSEBUTTON;
inline constexpr std::uint32_t QS_INPUT = QS_MOUSE | QS_KEY | QS_RAWINPUT;
inline constexpr std::uint32_t QS_ALLEVENTS =
    QS_INPUT | QS_POSTMESSAGE | QS_TIMER | QS_PAINT | QS_HOTKEY;
inline constexpr std::uint32_t QS_ALLINPUT = QS_ALLEVENTS | QS_SENDMESSAGE;

}  // namespace platform::os
