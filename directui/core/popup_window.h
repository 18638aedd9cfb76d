#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/os/desktop.h"
#include "platform/os/window_styles.h"

namespace directui {

inline constexpr int kPopupDefaultWidth = 380;
inline constexpr int kPopupDefaultHeight = 250;
inline constexpr std::uint32_t kPopupDefaultStyle =
    platform::os::WS_POPUP | platform::os::WS_SYSMENU | platform::os::WS_MINIMIZEBOX |
    platform::os::WS_MAXIMIZEBOX | platform::os::WS_CLIPCHILDREN;

// What CreatePopupWindow is given; everything left out takes the default beside it.
struct PopupWindowParams {
  platform::os::Window parent{};
  std::string title{};                      // code page 936
  std::optional<int> x{};                   // default: centred on the work area
  std::optional<int> y{};                   // default: centred on the work area
  std::optional<int> width{};               // default 380
  std::optional<int> height{};              // default 250
  std::optional<std::string> class_name{};  // code page 936; default "Ex_DirectUI"
  std::optional<std::uint32_t> style{};     // default kPopupDefaultStyle
  std::uint32_t ex_style = 0;
  bool show = false;  // shown normally and painted at once
};

// Creates the window, owned by the parent, and gives it explicit small and big icons (its
// class's unless it set its own while being created). None when the class does not exist or
// the window refused to be created.
platform::os::Window CreatePopupWindow(platform::os::Desktop& desktop,
                                       const PopupWindowParams& params);

}  // namespace directui
