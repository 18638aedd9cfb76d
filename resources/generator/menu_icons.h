#pragma once

#include <cstdint>
#include <vector>

namespace picgen {

// Menu item icons. The menu clips an icon to a 20 x 20 box and centres it there, so each
// picture keeps its drawing inside that box whatever its own size.
std::vector<std::uint8_t> DrawTopMostIcon();     // 22 x 22: a pin standing in its hole
std::vector<std::uint8_t> DrawNotTopMostIcon();  // 22 x 22: the pin pulled out
std::vector<std::uint8_t> DrawContactQqIcon();   // 20 x 20: a speech bubble
std::vector<std::uint8_t> DrawContactWwIcon();   // 25 x 25: two speech bubbles
std::vector<std::uint8_t> DrawOpenSiteIcon();    // 22 x 22: a globe

}  // namespace picgen
