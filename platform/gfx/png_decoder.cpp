#include <png.h>

#include <cstring>

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
  // Decoded straight into the bitmap's rows (four bytes a pixel either way), then turned into
  // premultiplied words in place.
  std::uint8_t* rows = reinterpret_cast<std::uint8_t*>(bitmap.pixels());
  if (!png_image_finish_read(&png, nullptr, rows, bitmap.stride(), nullptr)) return std::nullopt;
  for (int y = 0; y < bitmap.height(); ++y) {
    std::uint8_t* p = rows + static_cast<std::ptrdiff_t>(y) * bitmap.stride();
    for (int x = 0; x < bitmap.width(); ++x, p += 4) {
      const std::uint32_t word = Premultiply(MakeColor(p[3], p[0], p[1], p[2]));
      std::memcpy(p, &word, 4);
    }
  }
  bitmap.mark_dirty();
  return Image::still(std::move(bitmap));
}

}  // namespace platform::gfx
