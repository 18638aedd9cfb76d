#pragma once

#include <cstdint>

namespace platform::gfx {

// How an image's colours are changed while it is drawn. Only the alpha entry of the colour
// matrix is supported: every pixel's alpha is multiplied by it.
struct ImageAttributes {
  float alpha_scale = 1.0f;

  // The matrix that draws at alpha / 255 of the image's own opacity.
  static ImageAttributes with_alpha(std::uint8_t alpha) { return {alpha / 255.0f}; }
};

}  // namespace platform::gfx
