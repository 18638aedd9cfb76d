#pragma once

#include <algorithm>

namespace platform::os {

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int width = 0;
  int height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

// Edges as on the screen: left and top inside, right and bottom just outside.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  static Rect from_origin_size(Point origin, Size size) {
    return {origin.x, origin.y, origin.x + size.width, origin.y + size.height};
  }
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  Point origin() const { return {left, top}; }
  Size size() const { return {width(), height()}; }
  bool empty() const { return right <= left || bottom <= top; }
  bool contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  Rect offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
  Rect intersect(const Rect& o) const {
    Rect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
           std::min(bottom, o.bottom)};
    return r.empty() ? Rect{} : r;
  }
  // The smallest rectangle holding both; an empty side does not count.
  Rect unite(const Rect& o) const {
    if (empty()) return o;
    if (o.empty()) return *this;
    return {std::min(left, o.left), std::min(top, o.top), std::max(right, o.right),
            std::max(bottom, o.bottom)};
  }
  friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace platform::os
