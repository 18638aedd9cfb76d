#pragma once

#include "platform/os/display_backend.h"
#include "platform/os/geometry.h"

namespace platform::os::x11 {

// Moving or sizing a window by the layer itself when no window manager does it: the window
// follows the pointer from where the press began until the button is released.
class PointerDrag {
 public:
  PointerDrag(MoveSizeEdge edge, const Rect& start, Point pointer, Size minimum);

  // The window's geometry with the pointer at `pointer` (screen). A dragged edge stops where the
  // window would become smaller than the minimum; the opposite edge never moves.
  Rect Follow(Point pointer) const;
  MoveSizeEdge edge() const { return edge_; }

 private:
  MoveSizeEdge edge_;
  Rect start_;
  Point pointer_;
  Size minimum_;
};

}  // namespace platform::os::x11
