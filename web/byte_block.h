#pragma once

#include <cstdint>
#include <vector>

namespace web {

// A block of raw bytes (deciphered data, hash-table byte keys and values). Texts, which may hold
// the same bytes, are std::string.
using ByteBlock = std::vector<std::uint8_t>;

}  // namespace web
