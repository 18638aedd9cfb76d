#pragma once

#include "directui/core/image_bytes.h"
#include "directui/core/rect_f.h"
#include "platform/gfx/image.h"

namespace directui {

// A new still picture holding a copy of the area of the image's shown frame (the area's values
// truncated to whole pixels), in the same 32-bit ARGB form. Null without an image and unless
// the area lies inside it.
ImagePtr CloneImageArea(const platform::gfx::Image* image, const RectF& area);

}  // namespace directui
