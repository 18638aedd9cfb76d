#pragma once

#include <cstdint>
#include <vector>

#include "platform/os/geometry.h"
#include "platform/os/pixel_view.h"

namespace platform::os::headless {

// An owned picture of premultiplied ARGB32 pixels, rows packed.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;

  Image() = default;
  Image(int w, int h, std::uint32_t fill = 0)
      : width(w > 0 ? w : 0), height(h > 0 ? h : 0), pixels(std::size_t(width) * height, fill) {}
  static Image copy_of(PixelView view);

  bool empty() const { return width == 0 || height == 0; }
  std::uint32_t at(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
  std::uint32_t& at(int x, int y) { return pixels[std::size_t(y) * width + x]; }
  PixelView view() const { return {pixels.data(), width, height, width * 4}; }
  // A copy of this image at another size; the overlap keeps its pixels, the rest is `fill`.
  Image resized(Size size, std::uint32_t fill) const;
};

// Source-over of a premultiplied pixel scaled by `alpha` / 255 onto `dst`.
std::uint32_t blend_over(std::uint32_t dst, std::uint32_t src, unsigned alpha);

}  // namespace platform::os::headless
