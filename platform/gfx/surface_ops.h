#pragma once

#include <cstdint>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/geometry.h"

namespace platform::gfx {

// Copies the source area's pixels, alpha included, so that its top-left corner lands on
// (x, y) of the destination. Parts outside either bitmap are left out; source and destination
// may be the same bitmap.
void CopyArea(Bitmap& destination, int x, int y, const Bitmap& source, const Rect& area);

enum class SourceAlpha {
  ignored,    // every channel becomes source × a + destination × (1 − a)
  per_pixel,  // premultiplied source over the destination, scaled by a first
};

// Blends the source area onto the destination at (x, y) with the constant alpha a / 255.
// Source and destination must be different bitmaps; for one bitmap nothing happens.
void AlphaBlendArea(Bitmap& destination, int x, int y, const Bitmap& source, const Rect& area,
                    std::uint8_t constant_alpha, SourceAlpha mode);

// The stretching form of the per-pixel blend: scales the source area to the target rectangle,
// which may reach past the destination and start or end on a fraction of a pixel, and blends
// it over the destination at a / 255. Each destination pixel whose centre lies inside the
// target takes the nearest source pixel, as the window system's stretching blend does. Nothing
// for the same bitmap, an area not inside the source, or a target that is empty or not a number.
void StretchBlendArea(Bitmap& destination, const RectF& target, const Bitmap& source,
                      const Rect& area, std::uint8_t constant_alpha);

}  // namespace platform::gfx
