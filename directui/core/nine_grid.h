#pragma once

#include <optional>

#include "directui/core/rect_f.h"
#include "platform/gfx/graphics.h"
#include "platform/gfx/image.h"

namespace directui {

// Draws the image's shown frame into the destination cut into nine pieces along the centre
// rectangle (in image pixels): the corners keep their size, the edges stretch along their length
// and the middle both ways. An alpha of 0 to 254 draws every piece at alpha / 255 of its opacity;
// no alpha, or any other value, draws the pieces as they are. Nothing without an image.
void DrawNineGrid(platform::gfx::Graphics& graphics, const platform::gfx::Image* image,
                  const RectF& destination, const RectF& centre,
                  std::optional<int> alpha = std::nullopt);

}  // namespace directui
