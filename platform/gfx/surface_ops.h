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

}  // namespace platform::gfx
