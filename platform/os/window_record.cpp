#include "platform/os/window_record.h"

#include "platform/os/window_styles.h"

namespace platform::os {

bool WindowRecord::visible() const {
  return (style & WS_VISIBLE) != 0;
}
bool WindowRecord::minimized() const {
  return (style & WS_MINIMIZE) != 0;
}
bool WindowRecord::maximized() const {
  return (style & WS_MAXIMIZE) != 0;
}
bool WindowRecord::topmost() const {
  return (ex_style & WS_EX_TOPMOST) != 0;
}
bool WindowRecord::layered() const {
  return (ex_style & WS_EX_LAYERED) != 0;
}

bool WindowRecord::hit(Point screen) const {
  if (!visible() || minimized() || !bounds.contains(screen)) return false;
  if (!region) return true;
  Point local{screen.x - bounds.left, screen.y - bounds.top};
  for (const Rect& r : *region) {
    if (r.contains(local)) return true;
  }
  return false;
}

}  // namespace platform::os
