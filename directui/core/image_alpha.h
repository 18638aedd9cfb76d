#pragma once

#include "directui/core/rect_f.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/graphics.h"
#include "platform/gfx/image.h"

namespace directui {

// Draws the picture scaled to the rectangle at alpha / 255 of its own opacity (0..255; values
// outside are held to that range). Below 255 the source is the rectangle's size taken from
// the picture's corner. Nothing without a picture.
void DrawImageAlpha(platform::gfx::Graphics& graphics, const platform::gfx::Bitmap* image,
                    const RectF& rect, int alpha);
void DrawImageAlpha(platform::gfx::Graphics& graphics, const platform::gfx::Image* image,
                    const RectF& rect, int alpha);

// Draws the picture at its own size: centred on the rectangle (the corner rounded to whole
// pixels, halves away from zero), or at the rectangle's corner truncated to whole pixels.
void DrawImageAt(platform::gfx::Graphics& graphics, const platform::gfx::Bitmap* image,
                 const RectF& rect, bool centred);
void DrawImageAt(platform::gfx::Graphics& graphics, const platform::gfx::Image* image,
                 const RectF& rect, bool centred);

}  // namespace directui
