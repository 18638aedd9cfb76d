#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "web/byte_block.h"

namespace app {

// Two hex digits per byte, the first the high four bits; characters that are not hex digits
// count as 0 and a final odd character is ignored.
web::ByteBlock HexToBytes(std::string_view hex);
web::ByteBlock XorWithByte(const web::ByteBlock& bytes, std::uint8_t key);
// Exchanges the bytes at two 1-based positions; a position outside the block changes nothing.
void SwapBytes(web::ByteBlock& bytes, std::size_t position1, std::size_t position2);

// The plain text of a stored hex text, or the empty text when its check fails (wrong key,
// damaged or too short text).
std::string DecipherHexText(std::string_view hex, std::string_view key);

// The random choices of one enciphering. `start` picks where the swap schedule begins; it must
// lie within 0 .. 32 and not exceed the text's length + 4.
struct CipherSeed {
  std::array<std::uint8_t, 3> salt{};
  std::uint8_t keyByte = 0;
  std::int16_t start = 0;
};

// Upper-case hex text that DecipherHexText turns back into `plain` (up to its first zero byte)
// with `key`; empty when the seed's start is out of range.
std::string EncipherText(std::string_view plain, std::string_view key, const CipherSeed& seed);
// The same with a freshly drawn seed.
std::string EncipherText(std::string_view plain, std::string_view key);

}  // namespace app
