#pragma once

#include <cstdint>

namespace platform::gfx {

// Straight (not premultiplied) 0xAARRGGBB, the way callers name colours.
using Argb = std::uint32_t;

constexpr std::uint8_t AlphaOf(Argb c) {
  return static_cast<std::uint8_t>(c >> 24);
}
constexpr std::uint8_t RedOf(Argb c) {
  return static_cast<std::uint8_t>(c >> 16);
}
constexpr std::uint8_t GreenOf(Argb c) {
  return static_cast<std::uint8_t>(c >> 8);
}
constexpr std::uint8_t BlueOf(Argb c) {
  return static_cast<std::uint8_t>(c);
}

constexpr Argb MakeColor(std::uint8_t a, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return (Argb{a} << 24) | (Argb{r} << 16) | (Argb{g} << 8) | Argb{b};
}

// Conversions between the straight colours callers use and the premultiplied words bitmaps hold.
constexpr std::uint32_t Premultiply(Argb c) {
  const std::uint32_t a = AlphaOf(c);
  auto scale = [a](std::uint32_t v) { return (v * a + 127) / 255; };
  return (a << 24) | (scale(RedOf(c)) << 16) | (scale(GreenOf(c)) << 8) | scale(BlueOf(c));
}

constexpr Argb Unpremultiply(std::uint32_t p) {
  const std::uint32_t a = p >> 24;
  if (a == 0) return 0;
  auto scale = [a](std::uint32_t v) {
    const std::uint32_t s = (v * 255 + a / 2) / a;
    return s > 255 ? 255u : s;
  };
  return (a << 24) | (scale((p >> 16) & 0xFF) << 16) | (scale((p >> 8) & 0xFF) << 8) |
         scale(p & 0xFF);
}

}  // namespace platform::gfx
