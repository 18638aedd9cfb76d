#pragma once

#include <cstdint>
#include <vector>

namespace picgen {

// The program's icon, a blue tile with a magnifier over rising bars, at `size` x `size`
// (drawn for 20, 32 and 48).
std::vector<std::uint8_t> DrawProgramIcon(int size);
std::vector<std::uint8_t> DrawProgramIcon20();
std::vector<std::uint8_t> DrawProgramIcon32();
std::vector<std::uint8_t> DrawProgramIcon48();

}  // namespace picgen
