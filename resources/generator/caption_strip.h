#pragma once

#include <cstdint>
#include <vector>

namespace picgen {

// The 729 x 20 strip of caption-button looks: close (39 wide) then maximise, restore, minimise,
// drop-down, skin, message and settings (28 wide), each as normal, hot and pressed, one pixel
// apart. Buttons cut 19 rows from y 2; the strip has only 18 of them, so looks end at row 18.
std::vector<std::uint8_t> DrawCaptionStrip();

}  // namespace picgen
