#include "platform/gfx/surface_ops.h"

#include <algorithm>
#include <cstring>

namespace platform::gfx {

namespace {

struct Placement {
  Rect source;  // the part of the area inside both bitmaps
  int x = 0;    // where its corner lands in the destination
  int y = 0;
};

Placement Place(const Bitmap& destination, int x, int y, const Bitmap& source, const Rect& area) {
  // Offsets in 64 bits: far-off corners must not overflow before they are clipped away.
  const long long ox = static_cast<long long>(x) - area.left;
  const long long oy = static_cast<long long>(y) - area.top;
  auto clamp = [](long long v) { return static_cast<int>(std::clamp(v, -(1LL << 30), 1LL << 30)); };
  const Rect visible = area.intersect({0, 0, source.width(), source.height()})
                           .intersect({clamp(-ox), clamp(-oy), clamp(destination.width() - ox),
                                       clamp(destination.height() - oy)});
  if (visible.empty()) return {};
  return {visible, static_cast<int>(visible.left + ox), static_cast<int>(visible.top + oy)};
}

unsigned char* Row(Bitmap& b, int y) {
  return reinterpret_cast<unsigned char*>(b.pixels()) + static_cast<std::ptrdiff_t>(y) * b.stride();
}

const unsigned char* Row(const Bitmap& b, int y) {
  return reinterpret_cast<const unsigned char*>(b.pixels()) +
         static_cast<std::ptrdiff_t>(y) * b.stride();
}

// (v * a + 127) / 255 without a division, exact for 8-bit values.
inline std::uint32_t Scale(std::uint32_t v, std::uint32_t a) {
  const std::uint32_t t = v * a + 128;
  return (t + (t >> 8)) >> 8;
}

void BlendRowIgnoringAlpha(std::uint32_t* d, const std::uint32_t* s, int n, std::uint32_t a) {
  const std::uint32_t inv = 255 - a;
  for (int i = 0; i < n; ++i) {
    const std::uint32_t sp = s[i];
    const std::uint32_t dp = d[i];
    std::uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
      const std::uint32_t c = Scale((sp >> shift) & 0xFF, a) + Scale((dp >> shift) & 0xFF, inv);
      out |= (c > 255 ? 255 : c) << shift;
    }
    d[i] = out;
  }
}

void BlendRowOver(std::uint32_t* d, const std::uint32_t* s, int n, std::uint32_t a) {
  for (int i = 0; i < n; ++i) {
    const std::uint32_t sp = s[i];
    const std::uint32_t sa = Scale(sp >> 24, a);
    if (sa == 0) continue;
    const std::uint32_t inv = 255 - sa;
    const std::uint32_t dp = d[i];
    std::uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
      const std::uint32_t c = Scale((sp >> shift) & 0xFF, a) + Scale((dp >> shift) & 0xFF, inv);
      out |= (c > 255 ? 255 : c) << shift;
    }
    d[i] = out;
  }
}

}  // namespace

void CopyArea(Bitmap& destination, int x, int y, const Bitmap& source, const Rect& area) {
  if (destination.empty() || source.empty()) return;
  const Placement p = Place(destination, x, y, source, area);
  if (p.source.empty()) return;
  const std::size_t bytes = static_cast<std::size_t>(p.source.width()) * 4;
  const int rows = p.source.height();
  // Within one bitmap a copy downwards must start from the bottom row.
  const bool upward = &destination != &source || p.y <= p.source.top;
  for (int k = 0; k < rows; ++k) {
    const int r = upward ? k : rows - 1 - k;
    std::memmove(Row(destination, p.y + r) + static_cast<std::ptrdiff_t>(p.x) * 4,
                 Row(source, p.source.top + r) + static_cast<std::ptrdiff_t>(p.source.left) * 4,
                 bytes);
  }
  destination.mark_dirty();
}

void AlphaBlendArea(Bitmap& destination, int x, int y, const Bitmap& source, const Rect& area,
                    std::uint8_t constant_alpha, SourceAlpha mode) {
  if (destination.empty() || source.empty() || &destination == &source) return;
  const Placement p = Place(destination, x, y, source, area);
  if (p.source.empty()) return;
  for (int r = 0; r < p.source.height(); ++r) {
    auto* d = reinterpret_cast<std::uint32_t*>(Row(destination, p.y + r)) + p.x;
    const auto* s =
        reinterpret_cast<const std::uint32_t*>(Row(source, p.source.top + r)) + p.source.left;
    if (mode == SourceAlpha::ignored) {
      BlendRowIgnoringAlpha(d, s, p.source.width(), constant_alpha);
    } else {
      BlendRowOver(d, s, p.source.width(), constant_alpha);
    }
  }
  destination.mark_dirty();
}

}  // namespace platform::gfx
