#include "platform/gfx/surface_ops.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

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

// Premultiplied source pixel, scaled by a, over the destination pixel.
inline void BlendPixelOver(std::uint32_t& d, std::uint32_t sp, std::uint32_t a) {
  const std::uint32_t sa = Scale(sp >> 24, a);
  if (sa == 0) return;
  const std::uint32_t inv = 255 - sa;
  const std::uint32_t dp = d;
  std::uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const std::uint32_t c = Scale((sp >> shift) & 0xFF, a) + Scale((dp >> shift) & 0xFF, inv);
    out |= (c > 255 ? 255 : c) << shift;
  }
  d = out;
}

void BlendRowOver(std::uint32_t* d, const std::uint32_t* s, int n, std::uint32_t a) {
  for (int i = 0; i < n; ++i) BlendPixelOver(d[i], s[i], a);
}

// For each destination pixel from `first` on whose centre lies in [start, start + length), the
// source index (counted from the area's start) nearest to it; `first` is set to the first
// such pixel. Pixels outside [0, limit) are left out.
std::vector<int> NearestSourceIndices(double start, double length, int source_length, int limit,
                                      int& first) {
  const auto clamped = [limit](double v) {
    return static_cast<int>(std::clamp(v, 0.0, static_cast<double>(limit)));
  };
  first = clamped(std::ceil(start - 0.5));
  const int end = clamped(std::ceil(start + length - 0.5));
  std::vector<int> indices;
  for (int i = first; i < end; ++i) {
    const double at = std::floor((i + 0.5 - start) * source_length / length);
    indices.push_back(std::clamp(static_cast<int>(at), 0, source_length - 1));
  }
  return indices;
}

bool Finite(const RectF& r) {
  return std::isfinite(r.x) && std::isfinite(r.y) && std::isfinite(r.width) &&
         std::isfinite(r.height);
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

void StretchBlendArea(Bitmap& destination, const RectF& target, const Bitmap& source,
                      const Rect& area, std::uint8_t constant_alpha) {
  if (destination.empty() || source.empty() || &destination == &source) return;
  if (area.empty() || area.intersect({0, 0, source.width(), source.height()}) != area) return;
  if (!Finite(target) || target.empty()) return;
  int x0 = 0;
  int y0 = 0;
  const std::vector<int> columns =
      NearestSourceIndices(target.x, target.width, area.width(), destination.width(), x0);
  const std::vector<int> rows =
      NearestSourceIndices(target.y, target.height, area.height(), destination.height(), y0);
  for (std::size_t r = 0; r < rows.size(); ++r) {
    auto* d = reinterpret_cast<std::uint32_t*>(Row(destination, y0 + static_cast<int>(r))) + x0;
    const auto* s =
        reinterpret_cast<const std::uint32_t*>(Row(source, area.top + rows[r])) + area.left;
    for (std::size_t c = 0; c < columns.size(); ++c)
      BlendPixelOver(d[c], s[columns[c]], constant_alpha);
  }
  destination.mark_dirty();
}

}  // namespace platform::gfx
