#pragma once

#include "platform/os/x11/xlib.h"

namespace platform::os::x11 {

// Xlib's default error handler ends the process; a window that vanished under us or an
// extension the server refuses must not. While a trap lives, errors on its display are recorded
// instead; outside any trap they are ignored (see InstallLenientErrorHandler).
class ErrorTrap {
 public:
  explicit ErrorTrap(Display* display);
  ~ErrorTrap();
  ErrorTrap(const ErrorTrap&) = delete;
  ErrorTrap& operator=(const ErrorTrap&) = delete;

  // Waits for the server to process every request made so far and tells whether any of them
  // failed. The first failure's error code, 0 for none.
  unsigned char Check();

 private:
  Display* display_;
  ErrorTrap* outer_;
  unsigned char first_error_ = 0;
  friend int RecordError(Display*, XErrorEvent*);
};

// Replaces Xlib's exiting default once per process.
void InstallLenientErrorHandler();

}  // namespace platform::os::x11
