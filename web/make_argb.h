#pragma once

#include <cstdint>
#include <optional>

namespace web {

// ARGB (0xAARRGGBB) from a colour with red in its lowest byte. No alpha, or 255, gives 254.
std::uint32_t MakeArgb(std::uint32_t colour, std::optional<int> alpha = {});

}  // namespace web
