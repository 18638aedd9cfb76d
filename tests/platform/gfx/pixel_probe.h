#pragma once

#include <algorithm>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/geometry.h"

namespace platform::gfx::testing_support {

// Pixels that differ from the background colour, and the box around them.
struct Ink {
  int count = 0;
  Rect box;  // empty when count is 0
};

inline Ink FindInk(const Bitmap& b, const Rect& area, Argb background) {
  Ink ink;
  bool first = true;
  for (int y = std::max(area.top, 0); y < std::min(area.bottom, b.height()); ++y) {
    for (int x = std::max(area.left, 0); x < std::min(area.right, b.width()); ++x) {
      if (b.get_pixel(x, y) == background) continue;
      ++ink.count;
      if (first) {
        ink.box = {x, y, x + 1, y + 1};
        first = false;
      }
      ink.box.left = std::min(ink.box.left, x);
      ink.box.top = std::min(ink.box.top, y);
      ink.box.right = std::max(ink.box.right, x + 1);
      ink.box.bottom = std::max(ink.box.bottom, y + 1);
    }
  }
  return ink;
}

inline Ink FindInk(const Bitmap& b, Argb background) {
  return FindInk(b, {0, 0, b.width(), b.height()}, background);
}

}  // namespace platform::gfx::testing_support
