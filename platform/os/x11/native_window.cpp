#include "platform/os/x11/native_window.h"

#include <X11/Xutil.h>

#include <algorithm>

#include "platform/os/x11/window_properties.h"

namespace platform::os::x11 {

namespace {

unsigned Extent(int value) {
  return static_cast<unsigned>(std::max(1, value));
}

}  // namespace

NativeWindow::NativeWindow(const Connection& connection, const NativeWindowOptions& options,
                           const VisualChoice& visual)
    : connection_(connection), kind_(options.kind), visual_(visual) {
  Display* display = connection.display();
  XSetWindowAttributes attributes{};
  unsigned long mask = CWEventMask | CWBorderPixel | CWBitGravity;
  attributes.event_mask = kWindowEventMask;
  attributes.border_pixel = 0;
  if (visual.argb) {
    attributes.background_pixel = 0;  // transparent until the first frame arrives
    mask |= CWBackPixel;
  } else {
    // Our own pixels are presented after every change; the server clearing first only flickers.
    attributes.background_pixmap = None;
    mask |= CWBackPixmap;
  }
  attributes.bit_gravity = NorthWestGravity;
  if (visual.colormap != None) {
    attributes.colormap = visual.colormap;
    mask |= CWColormap;
  }
  if (popup()) {
    attributes.override_redirect = True;
    attributes.save_under = True;
    mask |= CWOverrideRedirect | CWSaveUnder;
  }
  const Rect& b = options.bounds;
  window_ = XCreateWindow(display, connection.root(), b.left, b.top, Extent(b.width()),
                          Extent(b.height()), 0, visual.depth, InputOutput, visual.visual, mask,
                          &attributes);

  const Atoms& atoms = connection.atoms();
  SetProtocols(connection, window_);
  SetPid(connection, window_);
  SetNoDecorations(connection, window_);
  SetExactPlacement(display, window_, b);
  XWMHints hints{};
  hints.flags = InputHint | StateHint;
  hints.input = True;
  hints.initial_state = NormalState;
  XSetWMHints(display, window_, &hints);
  XClassHint class_hint{};
  char name[] = "shoulu";
  class_hint.res_name = name;
  class_hint.res_class = name;
  XSetClassHint(display, window_, &class_hint);
  if (options.owner) XSetTransientForHint(display, window_, *options.owner);
  const Atom type = popup() ? atoms.net_wm_window_type_popup_menu : atoms.net_wm_window_type_normal;
  SetWindowType(connection, window_, type);
}

NativeWindow::~NativeWindow() {
  XDestroyWindow(connection_.display(), window_);
  XFlush(connection_.display());
}

void NativeWindow::Show() {
  XMapRaised(connection_.display(), window_);
  mapped_ = true;
  XFlush(connection_.display());
}

void NativeWindow::Hide() {
  Display* display = connection_.display();
  if (popup()) {
    XUnmapWindow(display, window_);
  } else {
    // ICCCM withdrawal: the synthetic unmap tells a window manager the window goes away.
    XWithdrawWindow(display, window_, connection_.screen());
  }
  mapped_ = false;
  XFlush(display);
}

void NativeWindow::SetBounds(const Rect& b) {
  Display* display = connection_.display();
  SetExactPlacement(display, window_, b);
  XMoveResizeWindow(display, window_, b.left, b.top, Extent(b.width()), Extent(b.height()));
  XFlush(display);
}

void NativeWindow::Raise() {
  XRaiseWindow(connection_.display(), window_);
  XFlush(connection_.display());
}

}  // namespace platform::os::x11
