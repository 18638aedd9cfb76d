#pragma once

#include <cstdint>
#include <optional>

#include "platform/gfx/color.h"

namespace directui {

using Argb = platform::gfx::Argb;

// ARGB from a colour with red in its lowest byte (0x00BBGGRR). No alpha, or 255, gives 254, so
// an opaque colour is stored as 0xFE......; only the low byte of a given alpha counts.
Argb MakeArgb(std::uint32_t colour, std::optional<int> alpha = std::nullopt);

struct ArgbParts {
  int alpha = 0;
  int red = 0;
  int green = 0;
  int blue = 0;
  friend bool operator==(const ArgbParts&, const ArgbParts&) = default;
};

ArgbParts SplitArgb(Argb colour);

// Dark enough to want light text on it: luminance 0.299 R + 0.587 G + 0.114 B below 192.
// Alpha does not count.
bool IsDarkColor(Argb colour);

}  // namespace directui
