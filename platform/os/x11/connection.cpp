#include "platform/os/x11/connection.h"

#include <X11/XKBlib.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/shape.h>

#include <cstdlib>

#include "platform/os/x11/error_trap.h"

namespace platform::os::x11 {

namespace {

ServerFeatures QueryFeatures(Display* display) {
  ServerFeatures features;
  int event_base = 0;
  int error_base = 0;
  features.shape = XShapeQueryExtension(display, &event_base, &error_base) == True;
  int major = 0;
  int minor = 0;
  Bool pixmaps = False;
  features.shared_memory = XShmQueryVersion(display, &major, &minor, &pixmaps) == True;
  features.shared_pixmaps = features.shared_memory && pixmaps == True;
  return features;
}

}  // namespace

Connection::Connection(Display* display)
    : display_(display),
      screen_(DefaultScreen(display)),
      root_(RootWindow(display, screen_)),
      atoms_(InternAtoms(display, screen_)),
      features_(QueryFeatures(display)) {
  InstallLenientErrorHandler();
  // A held key repeats as presses only, the way the core expects auto-repeat.
  Bool supported = False;
  XkbSetDetectableAutoRepeat(display_, True, &supported);
}

Connection::~Connection() {
  XCloseDisplay(display_);
}

DisplayOpenResult OpenDisplay(std::optional<std::string> name) {
  if (!name) {
    const char* variable = std::getenv("DISPLAY");
    if (variable == nullptr || *variable == '\0') {
      return {nullptr, "no X display: the DISPLAY environment variable is not set"};
    }
    name = variable;
  }
  Display* display = XOpenDisplay(name->c_str());
  if (display == nullptr) return {nullptr, "cannot open the X display \"" + *name + "\""};
  return {std::make_unique<Connection>(display), {}};
}

}  // namespace platform::os::x11
