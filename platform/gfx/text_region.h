#pragma once

#include <algorithm>
#include <vector>

#include "platform/gfx/geometry.h"

namespace platform::gfx {

// The area a measured character range covers: one rectangle per line it touches.
struct TextRegion {
  std::vector<RectF> rects;

  bool empty() const { return rects.empty(); }
  RectF bounds() const {
    if (rects.empty()) return {};
    float l = rects[0].x, t = rects[0].y, r = rects[0].right(), b = rects[0].bottom();
    for (const RectF& q : rects) {
      l = std::min(l, q.x);
      t = std::min(t, q.y);
      r = std::max(r, q.right());
      b = std::max(b, q.bottom());
    }
    return {l, t, r - l, b - t};
  }
};

}  // namespace platform::gfx
