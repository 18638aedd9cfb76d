#include "directui/core/average_colour.h"

namespace directui {

std::uint32_t AverageImageColour(const platform::gfx::Image* image) {
  if (image == nullptr) return 0;
  const platform::gfx::Bitmap& bitmap = image->bitmap();
  if (bitmap.empty() || bitmap.width() <= 0 || bitmap.height() <= 0) return 0;
  std::uint64_t red = 0;
  std::uint64_t green = 0;
  std::uint64_t blue = 0;
  const auto* row = reinterpret_cast<const unsigned char*>(bitmap.pixels());
  for (int y = 0; y < bitmap.height(); ++y, row += bitmap.stride()) {
    const auto* pixel = reinterpret_cast<const std::uint32_t*>(row);
    for (int x = 0; x < bitmap.width(); ++x) {
      // Premultiplied: the channels are what the pixel shows over black.
      red += (pixel[x] >> 16) & 0xFF;
      green += (pixel[x] >> 8) & 0xFF;
      blue += pixel[x] & 0xFF;
    }
  }
  const std::uint64_t count =
      static_cast<std::uint64_t>(bitmap.width()) * static_cast<std::uint64_t>(bitmap.height());
  return static_cast<std::uint32_t>(red / count) | static_cast<std::uint32_t>(green / count) << 8 |
         static_cast<std::uint32_t>(blue / count) << 16;
}

}  // namespace directui
