#pragma once

#include <cstdint>
#include <vector>

namespace picgen {

// The 20 x 20 check mark a checked menu item shows in place of its icon.
std::vector<std::uint8_t> DrawCheckMark();
// The 68 x 17 strip of list check boxes, stored without the PNG signature: unchecked,
// unchecked hot, checked, checked hot, 17 pixels each.
std::vector<std::uint8_t> DrawCheckBoxStrip();

}  // namespace picgen
