#pragma once

#include <algorithm>

namespace platform::gfx {

struct PointF {
  float x = 0;
  float y = 0;
  friend bool operator==(const PointF&, const PointF&) = default;
};

// x, y, width, height in single precision, as the framework passes bounds around.
struct RectF {
  float x = 0;
  float y = 0;
  float width = 0;
  float height = 0;

  float right() const { return x + width; }
  float bottom() const { return y + height; }
  bool empty() const { return width <= 0 || height <= 0; }
  friend bool operator==(const RectF&, const RectF&) = default;
};

// Whole pixels: left and top inside, right and bottom just outside.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool empty() const { return right <= left || bottom <= top; }
  Rect intersect(const Rect& o) const {
    Rect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
           std::min(bottom, o.bottom)};
    return r.empty() ? Rect{} : r;
  }
  friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace platform::gfx
