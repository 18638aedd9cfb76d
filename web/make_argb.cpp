#include "web/make_argb.h"

namespace web {

std::uint32_t MakeArgb(std::uint32_t colour, std::optional<int> alpha) {
  const int a = (!alpha || *alpha == 255) ? 254 : *alpha;
  const std::uint32_t red = colour & 0xFF;
  const std::uint32_t green = (colour >> 8) & 0xFF;
  const std::uint32_t blue = (colour >> 16) & 0xFF;
  // The alpha term wraps at 2^32 like the rest, so only its low byte counts.
  return (static_cast<std::uint32_t>(a) << 24) | (red << 16) | (green << 8) | blue;
}

}  // namespace web
