#pragma once

#include "platform/os/desktop.h"

namespace app {

// MainWindow: an ordinary top-level window at (50, 50), 383 × 343 outside, with the program's
// caption and icon.
inline constexpr platform::os::Point kMainWindowPosition{50, 50};
inline constexpr platform::os::Size kMainWindowSize{383, 343};
inline constexpr char16_t kMainWindowCaption[] = u"Tarnel软件";
inline constexpr const char* kMainWindowClass = "Shoulu_MainWindow";

// Creates MainWindow, runs its "created" event (OnMainWindowCreated) and shows it. None when
// the window system refuses the window.
platform::os::Window CreateMainWindow(platform::os::Desktop& desktop);

// The "created" event: builds what the window shows. The layout (host, elements, menu) comes
// with the framework's host and controls; until then the window shows its plain frame.
void OnMainWindowCreated();

// The close request: the process ends at once with exit code 0. Nothing runs after it, not
// even the exit routine; a running query dies with the process.
[[noreturn]] void OnCloseRequest();

}  // namespace app
