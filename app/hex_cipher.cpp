#include "app/hex_cipher.h"

#include <openssl/evp.h>
#include <zlib.h>

#include <exception>
#include <optional>
#include <random>
#include <utility>
#include <vector>

namespace app {
namespace {

constexpr std::size_t kTrailerBytes = 5;  // start (2) and salt (3) after the payload
constexpr std::size_t kCheckBytes = 4;    // CRC-32 of the text at the payload's end
constexpr int kScheduleDigits = 32;

int HexValue(char digit) {
  if (digit >= '0' && digit <= '9') return digit - '0';
  if (digit >= 'A' && digit <= 'F') return digit - 'A' + 10;
  if (digit >= 'a' && digit <= 'f') return digit - 'a' + 10;
  return 0;
}

std::string UpperHex(const std::uint8_t* bytes, std::size_t count) {
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  std::string hex;
  hex.reserve(count * 2);
  for (std::size_t i = 0; i < count; ++i) {
    hex += kHexDigits[bytes[i] >> 4];
    hex += kHexDigits[bytes[i] & 0x0F];
  }
  return hex;
}

std::uint32_t Crc32(std::string_view bytes) {
  uLong crc = crc32(0L, Z_NULL, 0);
  crc = crc32_z(crc, reinterpret_cast<const Bytef*>(bytes.data()), bytes.size());
  return static_cast<std::uint32_t>(crc);
}

void AppendLittleEndian32(web::ByteBlock& bytes, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8)
    bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

std::uint32_t ReadLittleEndian32(const std::uint8_t* at) {
  return std::uint32_t{at[0]} | std::uint32_t{at[1]} << 8 | std::uint32_t{at[2]} << 16 |
         std::uint32_t{at[3]} << 24;
}

std::string TextUpToZero(std::string_view text) {
  return std::string(text.substr(0, text.find('\0')));
}

// The MD5 digest, as 32 hex digits, of salt, key byte and the key text's CRC-32.
std::optional<std::string> SwapScheduleDigits(const std::array<std::uint8_t, 3>& salt,
                                              std::uint8_t keyByte, std::string_view key) {
  web::ByteBlock material(salt.begin(), salt.end());
  material.push_back(keyByte);
  AppendLittleEndian32(material, Crc32(key));
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int digestLength = 0;
  if (EVP_Digest(material.data(), material.size(), digest, &digestLength, EVP_md5(), nullptr) !=
          1 ||
      digestLength * 2 != kScheduleDigits) {
    return std::nullopt;
  }
  return UpperHex(digest, digestLength);
}

// The 1-based swaps of the unscrambling, in order: for each position i, the digits are read from
// digit `start` down to digit 1, then from digit 32 down, cyclically; digit d pairs i with d + 2.
// A start beyond the payload or beyond the 32 digits has no schedule.
std::optional<std::vector<std::pair<std::size_t, std::size_t>>> SwapSequence(
    std::size_t payloadLength, int start, const std::string& digits) {
  std::vector<std::pair<std::size_t, std::size_t>> swaps;
  if (payloadLength == 0) return swaps;
  if (start > kScheduleDigits || payloadLength < static_cast<std::size_t>(start < 0 ? 0 : start)) {
    return std::nullopt;
  }
  int b = start;
  int g = 1;
  for (std::size_t i = 1; i <= payloadLength; ++i) {
    if (g > kScheduleDigits) g = 1;
    if (b - g < 0) {
      b = kScheduleDigits;
      g = 1;
    }
    const int d = HexValue(digits[static_cast<std::size_t>(b - g)]);
    ++g;
    const auto j = static_cast<std::size_t>(d + 2);
    if (j <= payloadLength) swaps.emplace_back(i, j);
  }
  return swaps;
}

}  // namespace

web::ByteBlock HexToBytes(std::string_view hex) {
  web::ByteBlock bytes;
  bytes.reserve(hex.size() / 2);
  for (std::size_t at = 0; at + 1 < hex.size(); at += 2) {
    bytes.push_back(static_cast<std::uint8_t>(HexValue(hex[at]) << 4 | HexValue(hex[at + 1])));
  }
  return bytes;
}

web::ByteBlock XorWithByte(const web::ByteBlock& bytes, std::uint8_t key) {
  web::ByteBlock result(bytes);
  for (std::uint8_t& byte : result) byte ^= key;
  return result;
}

void SwapBytes(web::ByteBlock& bytes, std::size_t position1, std::size_t position2) {
  if (position1 < 1 || position2 < 1 || position1 > bytes.size() || position2 > bytes.size()) {
    return;
  }
  std::swap(bytes[position1 - 1], bytes[position2 - 1]);
}

std::string DecipherHexText(std::string_view hex, std::string_view key) {
  const web::ByteBlock data = HexToBytes(hex);
  if (data.size() < 1 + kTrailerBytes + kCheckBytes) return {};
  const std::uint8_t keyByte = data.back();
  const web::ByteBlock x = XorWithByte(web::ByteBlock(data.begin(), data.end() - 1), keyByte);
  const std::size_t n = x.size();
  const std::array<std::uint8_t, 3> salt{x[n - 3], x[n - 2], x[n - 1]};
  const auto start = static_cast<std::int16_t>(x[n - 5] | x[n - 4] << 8);
  web::ByteBlock payload(x.begin(), x.end() - kTrailerBytes);

  const std::optional<std::string> digits = SwapScheduleDigits(salt, keyByte, TextUpToZero(key));
  if (!digits) return {};
  const auto swaps = SwapSequence(payload.size(), start, *digits);
  if (!swaps) return {};
  for (const auto& [i, j] : *swaps) SwapBytes(payload, i, j);

  const std::uint32_t stored = ReadLittleEndian32(payload.data() + payload.size() - kCheckBytes);
  const std::string_view text(reinterpret_cast<const char*>(payload.data()),
                              payload.size() - kCheckBytes);
  if (Crc32(text) != stored) return {};
  return TextUpToZero(text);
}

std::string EncipherText(std::string_view plain, std::string_view key, const CipherSeed& seed) {
  const std::string text = TextUpToZero(plain);
  web::ByteBlock payload(text.begin(), text.end());
  AppendLittleEndian32(payload, Crc32(text));

  const std::optional<std::string> digits =
      SwapScheduleDigits(seed.salt, seed.keyByte, TextUpToZero(key));
  if (!digits) return {};
  const auto swaps = SwapSequence(payload.size(), seed.start, *digits);
  if (!swaps) return {};
  // Swaps undo themselves, so running the schedule backwards scrambles what it unscrambles.
  for (auto swap = swaps->rbegin(); swap != swaps->rend(); ++swap) {
    SwapBytes(payload, swap->first, swap->second);
  }

  const auto start = static_cast<std::uint16_t>(seed.start);
  payload.push_back(static_cast<std::uint8_t>(start & 0xFF));
  payload.push_back(static_cast<std::uint8_t>(start >> 8));
  payload.insert(payload.end(), seed.salt.begin(), seed.salt.end());
  web::ByteBlock data = XorWithByte(payload, seed.keyByte);
  data.push_back(seed.keyByte);

  return UpperHex(data.data(), data.size());
}

std::string EncipherText(std::string_view plain, std::string_view key) try {
  std::random_device device;
  std::uniform_int_distribution<int> byte(0, 255);
  CipherSeed seed;
  for (std::uint8_t& s : seed.salt) s = static_cast<std::uint8_t>(byte(device));
  seed.keyByte = static_cast<std::uint8_t>(byte(device));
  const std::size_t payloadLength = TextUpToZero(plain).size() + kCheckBytes;
  const int largestStart = payloadLength < static_cast<std::size_t>(kScheduleDigits)
                               ? static_cast<int>(payloadLength)
                               : kScheduleDigits;
  seed.start =
      static_cast<std::int16_t>(std::uniform_int_distribution<int>(1, largestStart)(device));
  return EncipherText(plain, key, seed);
} catch (const std::exception&) {
  return {};  // no random source
}

}  // namespace app
