#pragma once

#include <cstdint>
#include <vector>

namespace picgen {

// The 450 x 380 main-window picture, a baseline JPEG with an Exif block. The host draws it at
// its own size from (5, 5) and melts its lower and right edges into its average colour; the
// caption buttons sit at its top right and the list and buttons of black text over the rest.
std::vector<std::uint8_t> DrawWindowBackground();

}  // namespace picgen
