#include <png.h>

#include <cstring>
#include <vector>

#include "platform/gfx/color.h"
#include "platform/gfx/image_decoders.h"

namespace platform::gfx {

std::optional<Image> DecodePng(std::span<const std::uint8_t> bytes) {
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size())) return std::nullopt;
  png.format = PNG_FORMAT_RGBA;
  Bitmap bitmap = Bitmap::create(static_cast<int>(png.width), static_cast<int>(png.height));
  if (bitmap.empty()) {
    png_image_free(&png);
    return std::nullopt;
  }
  std::vector<std::uint8_t> rgba(PNG_IMAGE_SIZE(png));
  if (!png_image_finish_read(&png, nullptr, rgba.data(), 0, nullptr)) return std::nullopt;
  std::uint32_t* out = bitmap.pixels();
  const int words_per_row = bitmap.stride() / 4;
  for (int y = 0; y < bitmap.height(); ++y) {
    const std::uint8_t* p = rgba.data() + static_cast<std::size_t>(y) * bitmap.width() * 4;
    std::uint32_t* row = out + static_cast<std::ptrdiff_t>(y) * words_per_row;
    for (int x = 0; x < bitmap.width(); ++x, p += 4) {
      row[x] = Premultiply(MakeColor(p[3], p[0], p[1], p[2]));
    }
  }
  bitmap.mark_dirty();
  return Image::still(std::move(bitmap));
}

}  // namespace platform::gfx
