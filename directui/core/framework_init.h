#pragma once

#include "platform/os/desktop.h"

namespace directui {

// Prepares the framework's process-wide resources (framework_globals.h), in this order: the
// system version, DefaultFont, DefaultCursor, SpriteImage from the embedded caption-button
// strip, and the "Ex_DirectUI" window class on the desktop. Call it once, on the thread that
// will run every window, after the global framework objects exist and before any host or
// element is made. Failures leave the resource empty; drawing with it then does nothing.
void InitFramework(platform::os::Desktop& desktop);

}  // namespace directui
