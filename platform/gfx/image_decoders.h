#pragma once

// Internal to platform/gfx: one decoder per format; each gives none for bytes it cannot take.

#include <cstdint>
#include <optional>
#include <span>

#include "platform/gfx/image.h"

namespace platform::gfx {

std::optional<Image> DecodePng(std::span<const std::uint8_t> bytes);
std::optional<Image> DecodeJpeg(std::span<const std::uint8_t> bytes);
std::optional<Image> DecodeGif(std::span<const std::uint8_t> bytes);

}  // namespace platform::gfx
