#include "platform/os/x11/desktop_services.h"

#include <X11/Xatom.h>

namespace x11_testing {

Observer::Observer(const std::string& display_name)
    : display_(XOpenDisplay(display_name.c_str())) {}

Observer::~Observer() {
  if (display_ == nullptr) return;
  StopPretendingWindowManager();
  StopPretendingCompositor();
  XCloseDisplay(display_);
}

std::vector<long> Observer::Longs(::Window window, const char* property, Atom type) const {
  Atom actual = None;
  int format = 0;
  unsigned long count = 0;
  unsigned long remaining = 0;
  unsigned char* data = nullptr;
  std::vector<long> values;
  if (XGetWindowProperty(display_, window, atom(property), 0, 1 << 20, False, type, &actual,
                         &format, &count, &remaining, &data) == Success &&
      data != nullptr) {
    if (format == 32) {
      const long* longs = reinterpret_cast<const long*>(data);
      values.assign(longs, longs + count);
    }
    XFree(data);
  }
  return values;
}

std::vector<Atom> Observer::AtomList(::Window window, const char* property) const {
  std::vector<Atom> atoms;
  for (long value : Longs(window, property, XA_ATOM)) atoms.push_back(static_cast<Atom>(value));
  return atoms;
}

std::vector<::Window> Observer::Stacking() const {
  ::Window root_return = None;
  ::Window parent = None;
  ::Window* children = nullptr;
  unsigned count = 0;
  std::vector<::Window> order;
  if (XQueryTree(display_, root(), &root_return, &parent, &children, &count) != 0) {
    order.assign(children, children + count);
    if (children != nullptr) XFree(children);
  }
  return order;
}

void Observer::PretendWindowManager(const std::vector<std::string>& supported) {
  StopPretendingWindowManager();
  check_window_ = XCreateSimpleWindow(display_, root(), -10, -10, 1, 1, 0, 0, 0);
  const long check = static_cast<long>(check_window_);
  const Atom check_atom = atom("_NET_SUPPORTING_WM_CHECK");
  XChangeProperty(display_, check_window_, check_atom, XA_WINDOW, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&check), 1);
  XChangeProperty(display_, root(), check_atom, XA_WINDOW, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&check), 1);
  std::vector<long> hints;
  for (const std::string& name : supported) hints.push_back(static_cast<long>(atom(name.c_str())));
  XChangeProperty(display_, root(), atom("_NET_SUPPORTED"), XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(hints.data()),
                  static_cast<int>(hints.size()));
  XSelectInput(display_, root(), SubstructureNotifyMask);
  XSync(display_, False);
  TakeRootMessages();
}

void Observer::StopPretendingWindowManager() {
  if (check_window_ == None) return;
  XDeleteProperty(display_, root(), atom("_NET_SUPPORTING_WM_CHECK"));
  XDeleteProperty(display_, root(), atom("_NET_SUPPORTED"));
  XSelectInput(display_, root(), NoEventMask);
  XDestroyWindow(display_, check_window_);
  check_window_ = None;
  XSync(display_, False);
}

std::vector<XClientMessageEvent> Observer::TakeRootMessages() {
  XSync(display_, False);
  std::vector<XClientMessageEvent> messages;
  while (XPending(display_) > 0) {
    XEvent event;
    XNextEvent(display_, &event);
    if (event.type == ClientMessage) messages.push_back(event.xclient);
  }
  return messages;
}

void Observer::PretendCompositor() {
  if (compositor_window_ == None) {
    compositor_window_ = XCreateSimpleWindow(display_, root(), -10, -10, 1, 1, 0, 0, 0);
  }
  XSetSelectionOwner(display_, atom("_NET_WM_CM_S0"), compositor_window_, CurrentTime);
  XSync(display_, False);
}

void Observer::StopPretendingCompositor() {
  if (compositor_window_ == None) return;
  XSetSelectionOwner(display_, atom("_NET_WM_CM_S0"), None, CurrentTime);
  XDestroyWindow(display_, compositor_window_);
  compositor_window_ = None;
  XSync(display_, False);
}

}  // namespace x11_testing
