#pragma once

#include <cstdint>
#include <vector>

#include "platform/os/pixel_view.h"

namespace platform::os {

// A window or class icon: premultiplied ARGB32 pixels, rows packed.
struct Icon {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels{};

  bool empty() const { return width <= 0 || height <= 0 || pixels.size() < size_t(width) * height; }
  PixelView view() const {
    return empty() ? PixelView{} : PixelView{pixels.data(), width, height, width * 4};
  }
  friend bool operator==(const Icon&, const Icon&) = default;
};

}  // namespace platform::os
