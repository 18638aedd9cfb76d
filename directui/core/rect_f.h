#pragma once

#include "platform/gfx/geometry.h"

namespace directui {

// Bounds of elements, clip and drawing rectangles: x, y, width, height as four floats, 16
// bytes in that order. The graphics layer draws with the same record.
using RectF = platform::gfx::RectF;
static_assert(sizeof(RectF) == 16);

// A fresh record from whole pixels.
RectF MakeRectF(int x, int y, int width, int height);

// A fresh copy of the 16 bytes at `address`; the empty record for a null address.
RectF ReadRectF(const void* address);

}  // namespace directui
