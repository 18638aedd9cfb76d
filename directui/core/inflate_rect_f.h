#pragma once

#include "directui/core/rect_f.h"

namespace directui {

// Adds each delta to x, y, width and height in place.
void InflateRectF(float dx, float dy, float dw, float dh, RectF& rect);

}  // namespace directui
