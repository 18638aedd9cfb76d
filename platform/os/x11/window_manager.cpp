#include "platform/os/x11/window_manager.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <optional>
#include <vector>

#include "platform/os/x11/error_trap.h"

namespace platform::os::x11 {

namespace {

// Format-32 properties come back from Xlib as arrays of long.
std::vector<long> ReadLongs(Display* display, XWindow window, Atom property, Atom type) {
  Atom actual_type = None;
  int actual_format = 0;
  unsigned long count = 0;
  unsigned long remaining = 0;
  unsigned char* data = nullptr;
  std::vector<long> values;
  if (XGetWindowProperty(display, window, property, 0, 1L << 16, False, type, &actual_type,
                         &actual_format, &count, &remaining, &data) == Success &&
      data != nullptr) {
    if (actual_type == type && actual_format == 32) {
      const long* longs = reinterpret_cast<const long*>(data);
      values.assign(longs, longs + count);
    }
    XFree(data);
  }
  return values;
}

std::optional<XWindow> SupportingWindow(Display* display, XWindow window, Atom check) {
  const std::vector<long> values = ReadLongs(display, window, check, XA_WINDOW);
  if (values.empty()) return std::nullopt;
  return static_cast<XWindow>(values.front());
}

void SendToRoot(const Connection& connection, XWindow window, Atom type, long l0, long l1, long l2,
                long l3, long l4) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.serial = 0;
  event.xclient.send_event = True;
  event.xclient.display = connection.display();
  event.xclient.window = window;
  event.xclient.message_type = type;
  event.xclient.format = 32;
  event.xclient.data.l[0] = l0;
  event.xclient.data.l[1] = l1;
  event.xclient.data.l[2] = l2;
  event.xclient.data.l[3] = l3;
  event.xclient.data.l[4] = l4;
  XSendEvent(connection.display(), connection.root(), False,
             SubstructureRedirectMask | SubstructureNotifyMask, &event);
  XFlush(connection.display());
}

}  // namespace

bool WindowManagerRunning(const Connection& connection) {
  Display* display = connection.display();
  const Atom check = connection.atoms().net_supporting_wm_check;
  const std::optional<XWindow> child = SupportingWindow(display, connection.root(), check);
  if (!child || *child == None) return false;
  // A window manager that died leaves the root property behind; its check window is gone.
  ErrorTrap trap(display);
  const std::optional<XWindow> self = SupportingWindow(display, *child, check);
  return trap.Check() == 0 && self && *self == *child;
}

bool WindowManagerSupports(const Connection& connection, Atom hint) {
  if (!WindowManagerRunning(connection)) return false;
  for (long atom : ReadLongs(connection.display(), connection.root(),
                             connection.atoms().net_supported, XA_ATOM)) {
    if (static_cast<Atom>(atom) == hint) return true;
  }
  return false;
}

bool CompositorRunning(const Connection& connection) {
  return XGetSelectionOwner(connection.display(), connection.atoms().net_wm_cm) != None;
}

Rect WorkArea(const Connection& connection) {
  Display* display = connection.display();
  const std::vector<long> area =
      ReadLongs(display, connection.root(), connection.atoms().net_workarea, XA_CARDINAL);
  if (area.size() >= 4 && area[2] > 0 && area[3] > 0) {
    const int left = static_cast<int>(area[0]);
    const int top = static_cast<int>(area[1]);
    return {left, top, left + static_cast<int>(area[2]), top + static_cast<int>(area[3])};
  }
  return {0, 0, DisplayWidth(display, connection.screen()),
          DisplayHeight(display, connection.screen())};
}

void SendNetWmState(const Connection& connection, XWindow window, bool add, Atom first,
                    Atom second) {
  constexpr long kRemove = 0;
  constexpr long kAdd = 1;
  constexpr long kSourceApplication = 1;
  SendToRoot(connection, window, connection.atoms().net_wm_state, add ? kAdd : kRemove,
             static_cast<long>(first), static_cast<long>(second), kSourceApplication, 0);
}

void SendMoveResize(const Connection& connection, XWindow window, int root_x, int root_y,
                    MoveResizeDirection direction, int button) {
  constexpr long kSourceApplication = 1;
  // The window manager cannot grab the pointer while our implicit grab of the press holds it.
  XUngrabPointer(connection.display(), CurrentTime);
  SendToRoot(connection, window, connection.atoms().net_wm_moveresize, root_x, root_y,
             static_cast<long>(direction), button, kSourceApplication);
}

void SendActivate(const Connection& connection, XWindow window, Time time) {
  constexpr long kSourceApplication = 1;
  SendToRoot(connection, window, connection.atoms().net_active_window, kSourceApplication,
             static_cast<long>(time), None, 0, 0);
}

}  // namespace platform::os::x11
