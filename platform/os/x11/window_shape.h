#pragma once

#include <span>
#include <vector>

#include "platform/os/geometry.h"
#include "platform/os/pixel_view.h"
#include "platform/os/x11/xlib.h"

namespace platform::os::x11 {

// The visible part of premultiplied ARGB32 pixels (alpha above zero) as y-x banded rectangles:
// rows with the same runs share one band.
std::vector<Rect> RectsFromAlpha(const PixelView& pixels);

enum class ShapeCombine { replace, intersect };

// Bounding (and with it input) shape of the window: the union of the rectangles, or its
// intersection with the shape the window has. An empty list leaves nothing visible.
void SetWindowShape(Display* display, XWindow window, std::span<const Rect> rects,
                    ShapeCombine combine = ShapeCombine::replace);
// Back to the plain rectangle of the window.
void ClearWindowShape(Display* display, XWindow window);

}  // namespace platform::os::x11
