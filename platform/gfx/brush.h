#pragma once

#include <variant>

#include "platform/gfx/color.h"
#include "platform/gfx/geometry.h"

namespace platform::gfx {

struct SolidBrush {
  Argb color = 0;
};

enum class LinearGradientMode { horizontal = 0, vertical = 1 };

// What a gradient does past its rectangle; tile_flip_xy mirrors every other repetition.
enum class WrapMode { tile = 0, tile_flip_x = 1, tile_flip_y = 2, tile_flip_xy = 3, clamp = 4 };

// Runs from `from` at the rectangle's left (horizontal) or top (vertical) edge to `to` at the
// opposite edge.
struct LinearGradientBrush {
  RectF rect;
  Argb from = 0;
  Argb to = 0;
  LinearGradientMode mode = LinearGradientMode::horizontal;
  WrapMode wrap = WrapMode::tile;
};

using Brush = std::variant<SolidBrush, LinearGradientBrush>;

}  // namespace platform::gfx
