#include "platform/os/x11/error_trap.h"

#include <mutex>

namespace platform::os::x11 {

namespace {
// Xlib keeps one error handler per process; the innermost trap of the calling thread receives
// the errors. Xlib is used from one thread per connection, so a thread-local chain suffices.
thread_local ErrorTrap* innermost_trap = nullptr;
}  // namespace

int RecordError(Display* display, XErrorEvent* error) {
  for (ErrorTrap* trap = innermost_trap; trap != nullptr; trap = trap->outer_) {
    if (trap->display_ == display) {
      if (trap->first_error_ == 0) trap->first_error_ = error->error_code;
      break;
    }
  }
  return 0;
}

void InstallLenientErrorHandler() {
  static std::once_flag installed;
  std::call_once(installed, [] { XSetErrorHandler(RecordError); });
}

ErrorTrap::ErrorTrap(Display* display) : display_(display), outer_(innermost_trap) {
  InstallLenientErrorHandler();
  XSync(display_, False);  // earlier requests' errors belong to nobody here
  first_error_ = 0;
  innermost_trap = this;
}

ErrorTrap::~ErrorTrap() {
  XSync(display_, False);
  innermost_trap = outer_;
}

unsigned char ErrorTrap::Check() {
  XSync(display_, False);
  return first_error_;
}

}  // namespace platform::os::x11
