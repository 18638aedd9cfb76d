#pragma once

#include <cairo.h>

#include <cstdint>
#include <span>
#include <vector>

namespace picgen {

// 8-bit RGBA PNG of an ARGB32 surface.
std::vector<std::uint8_t> EncodePng(cairo_surface_t* surface);
// The same bytes without the 8-byte PNG signature, as the framework stores its strips.
std::vector<std::uint8_t> WithoutPngSignature(std::span<const std::uint8_t> png);
// Baseline JPEG of an RGB24 surface, with an Exif block and no JFIF block.
std::vector<std::uint8_t> EncodeBaselineJpeg(cairo_surface_t* surface, int quality);

}  // namespace picgen
