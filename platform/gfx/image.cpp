#include "platform/gfx/image.h"

#include <algorithm>

#include "platform/gfx/image_decoders.h"

namespace platform::gfx {

namespace {

bool StartsWith(std::span<const std::uint8_t> bytes, std::initializer_list<std::uint8_t> magic) {
  return bytes.size() >= magic.size() && std::equal(magic.begin(), magic.end(), bytes.begin());
}

}  // namespace

std::optional<Image> Image::decode(std::span<const std::uint8_t> bytes) {
  if (StartsWith(bytes, {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A})) return DecodePng(bytes);
  if (StartsWith(bytes, {0xFF, 0xD8, 0xFF})) return DecodeJpeg(bytes);
  if (StartsWith(bytes, {'G', 'I', 'F', '8'})) return DecodeGif(bytes);
  return std::nullopt;
}

bool Image::select_frame(int index) {
  if (index < 0 || index >= static_cast<int>(frames_.size())) return false;
  active_ = index;
  return true;
}

Image Image::still(Bitmap bitmap) {
  Image image;
  image.frames_.push_back(std::move(bitmap));
  return image;
}

Image Image::animation(std::vector<Bitmap> frames, std::vector<std::int32_t> delays) {
  Image image;
  image.frames_ = std::move(frames);
  image.delays_ = std::move(delays);
  image.animated_ = true;
  return image;
}

}  // namespace platform::gfx
