#pragma once

#include <cstdint>

#include "directui/core/colour.h"
#include "directui/core/rect_f.h"
#include "platform/gfx/graphics.h"

namespace directui {

// Four one-pixel rings, the first on the rectangle's edge and each next one a pixel further
// out, fading from alpha 45 to 5. Frame style 0 keeps them nearly square.
void DrawDropShadow(platform::gfx::Graphics& graphics, RectF rect, int frame_style,
                    std::uint32_t colour);

// Which edges EdgeFade melts into the colour.
struct FadeEdges {
  bool top = false;
  bool left = false;
  bool bottom = false;
  bool right = false;
};

// Melts the rectangle's edges into the colour with gradients `band` pixels deep (half the
// rectangle where it is thinner than two bands). The rectangle is first moved by `inset`
// both ways; the top and left bands are drawn back at the unmoved corner.
void EdgeFade(platform::gfx::Graphics& graphics, RectF rect, std::uint32_t colour, FadeEdges edges,
              float band = 100, float inset = 6);

}  // namespace directui
