#pragma once

#include <vector>

#include "directui/core/host_window.h"
#include "platform/gfx/region.h"
#include "platform/os/geometry.h"

namespace directui {

// The rounded rectangle (left, top, right, bottom) as a window shape: the rectangles the
// window system keeps for it.
std::vector<platform::os::Rect> RoundRectShape(int left, int top, int right, int bottom,
                                               int corner);

// Cuts an ordinary window to its rounded shape `inset` pixels in from each edge (one pixel
// less when maximised); frame style 0 keeps the corners square.
void SetWindowShape(const HostWindow& window, int width, int height, int inset, int corner,
                    int frame_style);

// Blur behind a layered window needs a compositor of one particular desktop family, which no
// desktop here offers: it changes nothing and answers whether composition is on (never).
bool SetBlurBehind(const HostWindow& window, int left, int top, int right, int bottom, int corner,
                   int frame_style, int window_alpha);

}  // namespace directui
