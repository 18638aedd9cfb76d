#include "platform/os/x11/pointer_drag.h"

#include <algorithm>

namespace platform::os::x11 {

namespace {

struct Edges {
  bool left = false;
  bool top = false;
  bool right = false;
  bool bottom = false;
};

Edges EdgesOf(MoveSizeEdge edge) {
  switch (edge) {
    case MoveSizeEdge::move:
      return {};
    case MoveSizeEdge::left:
      return {.left = true};
    case MoveSizeEdge::right:
      return {.right = true};
    case MoveSizeEdge::top:
      return {.top = true};
    case MoveSizeEdge::bottom:
      return {.bottom = true};
    case MoveSizeEdge::top_left:
      return {.left = true, .top = true};
    case MoveSizeEdge::top_right:
      return {.top = true, .right = true};
    case MoveSizeEdge::bottom_left:
      return {.left = true, .bottom = true};
    case MoveSizeEdge::bottom_right:
      return {.right = true, .bottom = true};
  }
  return {};
}

}  // namespace

PointerDrag::PointerDrag(MoveSizeEdge edge, const Rect& start, Point pointer, Size minimum)
    : edge_(edge),
      start_(start),
      pointer_(pointer),
      minimum_{std::max(1, minimum.width), std::max(1, minimum.height)} {}

Rect PointerDrag::Follow(Point pointer) const {
  const int dx = pointer.x - pointer_.x;
  const int dy = pointer.y - pointer_.y;
  if (edge_ == MoveSizeEdge::move) return start_.offset(dx, dy);
  const Edges edges = EdgesOf(edge_);
  Rect r = start_;
  if (edges.left) r.left = std::min(start_.left + dx, start_.right - minimum_.width);
  if (edges.right) r.right = std::max(start_.right + dx, start_.left + minimum_.width);
  if (edges.top) r.top = std::min(start_.top + dy, start_.bottom - minimum_.height);
  if (edges.bottom) r.bottom = std::max(start_.bottom + dy, start_.top + minimum_.height);
  return r;
}

}  // namespace platform::os::x11
