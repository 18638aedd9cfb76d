#pragma once

#include "platform/os/x11/xlib.h"

#include "platform/os/geometry.h"
#include "platform/os/x11/connection.h"

namespace platform::os::x11 {

// What the desktop around us offers, asked of the server each time: a window manager or a
// compositing manager may start or stop while the program runs.
bool WindowManagerRunning(const Connection& connection);
bool WindowManagerSupports(const Connection& connection, Atom hint);
bool CompositorRunning(const Connection& connection);

// The work area the window manager announces for the first desktop, else the whole screen.
Rect WorkArea(const Connection& connection);

// _NET_WM_MOVERESIZE directions.
enum class MoveResizeDirection : long {
  kSizeTopLeft = 0,
  kSizeTop = 1,
  kSizeTopRight = 2,
  kSizeRight = 3,
  kSizeBottomRight = 4,
  kSizeBottom = 5,
  kSizeBottomLeft = 6,
  kSizeLeft = 7,
  kMove = 8,
  kCancel = 11,
};

// Client messages to the window manager (sent to the root window as the hints require).
void SendNetWmState(const Connection& connection, XWindow window, bool add, Atom first,
                    Atom second = None);
void SendMoveResize(const Connection& connection, XWindow window, int root_x, int root_y,
                    MoveResizeDirection direction, int button);
void SendActivate(const Connection& connection, XWindow window, Time time);

}  // namespace platform::os::x11
