// Deciphers random hex texts, and enciphers random texts with random seeds and keys to decipher
// them again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/hex_cipher.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  (void)app::DecipherHexText(input, "key");
  if (size < 7) return 0;

  const std::size_t keyLength = data[0] % 16;
  app::CipherSeed seed{.salt = {data[1], data[2], data[3]},
                       .keyByte = data[4],
                       .start = static_cast<std::int16_t>(data[5] % 40 - 4)};
  const std::string_view rest = input.substr(6);
  const std::string_view key = rest.substr(0, keyLength);
  const std::string_view plainBytes = rest.substr(key.size());
  const std::string plain(plainBytes.substr(0, plainBytes.find('\0')));

  const std::string hex = app::EncipherText(plain, key, seed);
  const bool startFits =
      seed.start <= 32 &&
      (seed.start <= 0 || static_cast<std::size_t>(seed.start) <= plain.size() + 4);
  if (hex.empty() != !startFits) std::abort();
  if (!hex.empty() && app::DecipherHexText(hex, key) != plain) std::abort();
  return 0;
}
