#pragma once

#include <memory>
#include <span>

#include "platform/os/desktop.h"
#include "platform/os/icon.h"

namespace directui {

// The icon the window shows (WM_GETICON, big or small); when it was given none, its class's.
// A class without a small icon offers its big one for both. Null when there is none at all.
const platform::os::Icon* GetWindowIcon(platform::os::Desktop& desktop, platform::os::Window window,
                                        bool big);

// An icon from PNG bytes; null when they do not decode.
std::shared_ptr<const platform::os::Icon> IconFromPng(std::span<const std::uint8_t> png);

// The program's own icon: 48 pixels for task bars and switchers, 20 pixels for captions.
std::shared_ptr<const platform::os::Icon> ProgramIcon(bool big);

}  // namespace directui
