#pragma once

#include <cstdint>

namespace directui {

// Which caption elements a host window gets.
inline constexpr std::uint32_t CF_ICON = 1;
inline constexpr std::uint32_t CF_TITLE = 2;
inline constexpr std::uint32_t CF_CLOSE = 4;
inline constexpr std::uint32_t CF_MAXIMIZE = 8;  // also maximise by double click on the caption
inline constexpr std::uint32_t CF_MINIMIZE = 16;
inline constexpr std::uint32_t CF_DROPDOWN = 32;
inline constexpr std::uint32_t CF_SKIN = 64;
inline constexpr std::uint32_t CF_MESSAGE = 128;
inline constexpr std::uint32_t CF_SETTINGS = 256;
inline constexpr std::uint32_t CF_SHADOW = 512;  // drop shadow round a layered window
// Icon, title, close, and maximise / minimise as far as the window style has those boxes.
inline constexpr std::uint32_t CF_AUTO = 1024;

}  // namespace directui
