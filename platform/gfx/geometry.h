#pragma once

#include <algorithm>
#include <cmath>

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

// Drawing takes coordinates up to about four million pixels either way; anything beyond, and
// anything not a number, is refused by every operation instead of being drawn.
constexpr float kMaxCoordinate = 4194304.0f;

inline bool IsSane(float v) {
  return std::isfinite(v) && std::fabs(v) <= kMaxCoordinate;
}
inline bool IsSane(PointF p) {
  return IsSane(p.x) && IsSane(p.y);
}
inline bool IsSane(const RectF& r) {
  return IsSane(r.x) && IsSane(r.y) && IsSane(r.width) && IsSane(r.height);
}

}  // namespace platform::gfx
