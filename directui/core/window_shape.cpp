#include "directui/core/window_shape.h"

namespace directui {

namespace os = platform::os;

std::vector<os::Rect> RoundRectShape(int left, int top, int right, int bottom, int corner) {
  std::vector<os::Rect> shape;
  for (const platform::gfx::Rect& r :
       platform::gfx::Region::round_rect(left, top, right, bottom, corner, corner).rects()) {
    shape.push_back({r.left, r.top, r.right, r.bottom});
  }
  return shape;
}

void SetWindowShape(const HostWindow& window, int width, int height, int inset, int corner,
                    int frame_style) {
  if (!window) return;
  if (frame_style == 0) corner = 0;
  if (window.desktop->is_zoomed(window.window)) --inset;
  window.desktop->set_window_region(
      window.window, RoundRectShape(inset, inset, width - inset + 1, height - inset + 1, corner));
}

bool SetBlurBehind(const HostWindow&, int, int, int, int, int, int, int) {
  // Only a desktop reporting major version 6 has the service, and OsMajorVersion is never 6
  // here: there is nothing to switch on.
  return false;
}

}  // namespace directui
