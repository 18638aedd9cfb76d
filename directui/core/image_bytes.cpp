#include "directui/core/image_bytes.h"

#include <algorithm>
#include <array>
#include <vector>

namespace directui {
namespace {

using platform::gfx::Bitmap;
using platform::gfx::Graphics;
using platform::gfx::Image;

constexpr std::array<std::uint8_t, 8> kPngSignature = {0x89, 0x50, 0x4E, 0x47,
                                                       0x0D, 0x0A, 0x1A, 0x0A};

std::optional<Image> Decode(std::span<const std::uint8_t> bytes, bool add_signature) {
  if (!add_signature) return Image::decode(bytes);
  std::vector<std::uint8_t> signed_bytes;
  signed_bytes.reserve(kPngSignature.size() + bytes.size());
  signed_bytes.insert(signed_bytes.end(), kPngSignature.begin(), kPngSignature.end());
  signed_bytes.insert(signed_bytes.end(), bytes.begin(), bytes.end());
  return Image::decode(signed_bytes);
}

// A fresh bitmap of the picture's size with the picture drawn into it.
std::optional<Image> ArgbCopy(const Image& decoded) {
  Bitmap copy = Bitmap::create(decoded.width(), decoded.height());
  if (copy.empty()) return std::nullopt;
  {
    Graphics graphics(copy);
    if (!graphics.valid()) return std::nullopt;
    graphics.draw_image(decoded.bitmap(), RectF{0, 0, static_cast<float>(decoded.width()),
                                                static_cast<float>(decoded.height())});
  }
  return Image::still(std::move(copy));
}

}  // namespace

ImagePtr LoadImageFromBytes(std::span<const std::uint8_t> bytes, ImageLoadOptions options) {
  if (bytes.empty()) return nullptr;
  std::optional<Image> decoded = Decode(bytes, options.add_signature);
  if (!decoded) return nullptr;
  if (options.keep_stream) return std::make_unique<Image>(std::move(*decoded));
  std::optional<Image> copy = ArgbCopy(*decoded);
  return copy ? std::make_unique<Image>(std::move(*copy)) : nullptr;
}

void FreeStreamImage(ImagePtr& image) {
  image.reset();
}

int GetImageWidth(const Image* image) {
  return image != nullptr ? image->width() : 0;
}

int GetImageHeight(const Image* image) {
  return image != nullptr ? image->height() : 0;
}

void DrawImageRect(Graphics& graphics, const Image* image, const RectF& destination,
                   std::optional<RectF> source,
                   const std::optional<platform::gfx::ImageAttributes>& attributes) {
  if (image == nullptr) return;
  const RectF from = source.value_or(
      RectF{0, 0, static_cast<float>(image->width()), static_cast<float>(image->height())});
  graphics.draw_image(image->bitmap(), destination, from, attributes);
}

}  // namespace directui
