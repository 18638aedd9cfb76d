#pragma once

#include <cstdint>

namespace platform::os {

// Pixels handed across the backend boundary without a copy: premultiplied ARGB32 in native
// byte order (alpha in the top byte of each 32-bit word), rows stride_bytes apart.
struct PixelView {
  const std::uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int stride_bytes = 0;

  bool empty() const { return pixels == nullptr || width <= 0 || height <= 0; }
  std::uint32_t at(int x, int y) const {
    return reinterpret_cast<const std::uint32_t*>(reinterpret_cast<const unsigned char*>(pixels) +
                                                  static_cast<std::ptrdiff_t>(y) * stride_bytes)[x];
  }
};

}  // namespace platform::os
