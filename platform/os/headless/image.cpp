#include "platform/os/headless/image.h"

#include <algorithm>

namespace platform::os::headless {

Image Image::copy_of(PixelView view) {
  if (view.empty()) return {};
  Image out(view.width, view.height);
  for (int y = 0; y < view.height; ++y) {
    for (int x = 0; x < view.width; ++x) out.at(x, y) = view.at(x, y);
  }
  return out;
}

Image Image::resized(Size size, std::uint32_t fill) const {
  Image out(size.width, size.height, fill);
  int w = std::min(width, out.width), h = std::min(height, out.height);
  for (int y = 0; y < h; ++y) {
    std::copy_n(&pixels[std::size_t(y) * width], w, &out.pixels[std::size_t(y) * out.width]);
  }
  return out;
}

std::uint32_t blend_over(std::uint32_t dst, std::uint32_t src, unsigned alpha) {
  auto channel = [](std::uint32_t v, int shift) { return (v >> shift) & 0xFF; };
  std::uint32_t out = 0;
  unsigned src_a = channel(src, 24) * alpha / 255;
  for (int shift : {0, 8, 16, 24}) {
    unsigned s = channel(src, shift) * alpha / 255;
    unsigned d = channel(dst, shift);
    unsigned v = s + (d * (255 - src_a) + 127) / 255;
    out |= std::min(v, 255u) << shift;
  }
  return out;
}

}  // namespace platform::os::headless
