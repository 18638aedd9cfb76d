#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "resources/generator/cairo_canvas.h"

namespace picgen {

// PNG bytes to an ARGB32 surface; `add_signature` puts back the 8 bytes a stored strip lacks.
// Empty when the bytes do not decode.
std::optional<SurfacePtr> DecodePng(std::span<const std::uint8_t> bytes, bool add_signature);
// JPEG bytes to an RGB24 surface; empty when the bytes do not decode.
std::optional<SurfacePtr> DecodeJpeg(std::span<const std::uint8_t> bytes);

}  // namespace picgen
