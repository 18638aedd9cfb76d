#pragma once

#include "platform/os/x11/xlib.h"

#include <string>
#include <vector>

namespace x11_testing {

// A second client of the test server: it looks at our windows the way anybody else would, and
// plays the parts of a window manager and a compositing manager when a test needs one.
class Observer {
 public:
  explicit Observer(const std::string& display_name);
  ~Observer();
  Observer(const Observer&) = delete;
  Observer& operator=(const Observer&) = delete;

  Display* display() const { return display_; }
  ::Window root() const { return DefaultRootWindow(display_); }
  Atom atom(const char* name) const { return XInternAtom(display_, name, False); }

  // The window's atoms in a format-32 ATOM property; empty when it has none.
  std::vector<Atom> AtomList(::Window window, const char* property) const;
  std::vector<long> Longs(::Window window, const char* property, Atom type) const;
  // Our windows' stacking order on the root, bottom first.
  std::vector<::Window> Stacking() const;

  // Announces an EWMH window manager that supports the given hints, and listens for the client
  // messages such a manager gets. It does not map, frame or move anything.
  void PretendWindowManager(const std::vector<std::string>& supported);
  void StopPretendingWindowManager();
  // Client messages sent to the root since the pretence began.
  std::vector<XClientMessageEvent> TakeRootMessages();

  // Owns the compositing-manager selection of screen 0 while it lives.
  void PretendCompositor();
  void StopPretendingCompositor();

 private:
  Display* display_;
  ::Window check_window_ = None;
  ::Window compositor_window_ = None;
};

}  // namespace x11_testing
