#pragma once

// Xlib for the backend. Inside platform::os the name Window is the desktop's window handle;
// the X server's window id is XWindow here.
#include <X11/Xlib.h>

// X.h names a query class CursorShape, which is the desktop's cursor enumeration here.
#undef CursorShape

namespace platform::os::x11 {
using XWindow = ::Window;
}  // namespace platform::os::x11
