#pragma once

#include "platform/os/x11/xlib.h"

#include "platform/os/x11/connection.h"

namespace platform::os::x11 {

// The visual a window is created with. Per-pixel alpha reaches the screen only through a
// 32-bit ARGB visual with a compositing manager running; every other window takes the
// screen's default visual.
struct VisualChoice {
  Visual* visual = nullptr;
  int depth = 0;
  Colormap colormap = None;  // None: the parent's (default) colormap
  bool argb = false;
};

// Finds the server's 32-bit TrueColor visual with an alpha channel once per connection and
// owns the colormap that windows of that visual need.
class VisualCatalog {
 public:
  explicit VisualCatalog(const Connection& connection);
  ~VisualCatalog();
  VisualCatalog(const VisualCatalog&) = delete;
  VisualCatalog& operator=(const VisualCatalog&) = delete;

  VisualChoice Default() const;
  bool HasArgb() const { return argb_.visual != nullptr; }
  // The ARGB visual while a compositor runs, else the default.
  VisualChoice ForNewWindow() const;

 private:
  const Connection& connection_;
  VisualChoice argb_;
};

}  // namespace platform::os::x11
