#pragma once

#include <cstdint>

#include "platform/gfx/image.h"

namespace directui {

// The mean of the image's red, green and blue over all its pixels, each truncated, as a colour
// with red in its lowest byte; see-through pixels count as drawn over black. 0 without pixels.
std::uint32_t AverageImageColour(const platform::gfx::Image* image);

}  // namespace directui
