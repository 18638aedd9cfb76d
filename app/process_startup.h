#pragma once

#include "platform/os/desktop.h"

namespace app {

// The start-up on a desktop, in its order: CreateGlobals, ReleaseGlobals as the exit routine,
// InitFramework, DetectCpuFeatures, then MainWindow created and shown. Returns MainWindow (none
// when it could not be made).
platform::os::Window StartProgram(platform::os::Desktop& desktop);

// Takes and dispatches the calling thread's messages until WM_QUIT; its exit code.
int RunMessageLoop(platform::os::Desktop& desktop);

// The whole program on the X display DISPLAY names: start-up, then the message loop. Without a
// display it says so in one line on the standard error and answers 1.
int RunProgram();

}  // namespace app
