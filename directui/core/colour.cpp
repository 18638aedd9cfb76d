#include "directui/core/colour.h"

namespace directui {

Argb MakeArgb(std::uint32_t colour, std::optional<int> alpha) {
  const int a = (!alpha || *alpha == 255) ? 254 : *alpha;
  const std::uint32_t red = colour & 0xFF;
  const std::uint32_t green = (colour >> 8) & 0xFF;
  const std::uint32_t blue = (colour >> 16) & 0xFF;
  return (static_cast<std::uint32_t>(a) << 24) | (red << 16) | (green << 8) | blue;
}

ArgbParts SplitArgb(Argb colour) {
  return {platform::gfx::AlphaOf(colour), platform::gfx::RedOf(colour),
          platform::gfx::GreenOf(colour), platform::gfx::BlueOf(colour)};
}

bool IsDarkColor(Argb colour) {
  const ArgbParts p = SplitArgb(colour);
  // In thousandths, so that a luminance of exactly 192 (grey 0xC0C0C0) is not dark by a rounding.
  return 299 * p.red + 587 * p.green + 114 * p.blue < 192000;
}

}  // namespace directui
