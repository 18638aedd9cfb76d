#include "app/hex_cipher.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace app {
namespace {

using web::ByteBlock;

TEST(HexToBytes, ReadsPairsOfDigits) {
  struct Case {
    std::string hex;
    ByteBlock bytes;
  };
  const Case cases[] = {
      {"", {}},
      {"A", {}},               // fewer than two characters
      {"0aFf", {0x0A, 0xFF}},  // either case
      {"ABC", {0xAB}},         // a final odd character is ignored
      {"zz", {0x00}},          // not a digit: 0
      {"G1", {0x01}},
      {"1g", {0x10}},
      {"7F80", {0x7F, 0x80}},
  };
  for (const Case& c : cases) EXPECT_EQ(HexToBytes(c.hex), c.bytes) << c.hex;
}

TEST(XorWithByte, FlipsEveryByte) {
  EXPECT_EQ(XorWithByte({0x00, 0xFF, 0x5A}, 0x5A), (ByteBlock{0x5A, 0xA5, 0x00}));
  EXPECT_EQ(XorWithByte({}, 0x5A), ByteBlock{});
}

TEST(SwapBytes, ExchangesOneBasedPositionsWithinTheBlock) {
  struct Case {
    std::size_t first, second;
    ByteBlock expected;
  };
  const Case cases[] = {
      {1, 3, {3, 2, 1}}, {3, 1, {3, 2, 1}}, {2, 2, {1, 2, 3}},
      {0, 2, {1, 2, 3}}, {1, 4, {1, 2, 3}}, {4, 4, {1, 2, 3}},
  };
  for (const Case& c : cases) {
    ByteBlock bytes{1, 2, 3};
    SwapBytes(bytes, c.first, c.second);
    EXPECT_EQ(bytes, c.expected) << c.first << "," << c.second;
  }
}

// Enciphered with seed salt {1, 2, 3}, key byte 77, start 9 and checked against a separate
// implementation of the deciphering steps.
constexpr char kHelloWorld[] = "2221072928226D3AC821253F40215C444D4C4F4E4D";

TEST(DecipherHexText, DeciphersAKnownText) {
  EXPECT_EQ(DecipherHexText(kHelloWorld, "secret"), "hello world");
  EXPECT_EQ(EncipherText("hello world", "secret", {.salt = {1, 2, 3}, .keyByte = 77, .start = 9}),
            kHelloWorld);
}

TEST(DecipherHexText, FailedChecksGiveTheEmptyText) {
  std::string damaged = kHelloWorld;
  damaged[4] = damaged[4] == '0' ? '1' : '0';
  std::string otherStart = kHelloWorld;
  otherStart[otherStart.size() - 10] ^= 1;  // the start's low byte
  const std::string cases[] = {
      "",
      "4D",
      "00000000000000000000",  // the shortest well-formed length, all zero
      damaged,
      otherStart,
      std::string(kHelloWorld).substr(2),
      "not hex at all, but long enough to be taken as bytes",
  };
  for (const std::string& hex : cases) EXPECT_EQ(DecipherHexText(hex, "secret"), "") << hex;
  EXPECT_EQ(DecipherHexText(kHelloWorld, "Secret"), "");  // wrong key
  EXPECT_EQ(DecipherHexText(kHelloWorld, ""), "");
}

TEST(DecipherHexText, AStartBeyondTheThirtyTwoScheduleDigitsIsRefused) {
  const std::string plain(40, 'p');
  EXPECT_EQ(DecipherHexText(EncipherText(plain, "k", {.start = 32}), "k"), plain);
  EXPECT_EQ(EncipherText(plain, "k", {.start = 33}), "");
  // A start larger than the payload cannot be enciphered either.
  EXPECT_EQ(EncipherText("ab", "k", {.start = 7}), "");
  EXPECT_EQ(DecipherHexText(EncipherText("ab", "k", {.start = 6}), "k"), "ab");
}

TEST(EncipherText, RoundTripsRandomTextsKeysAndSeeds) {
  std::mt19937 random(20261211);
  std::uniform_int_distribution<int> byte(1, 255);  // texts end at a zero byte
  for (int round = 0; round < 300; ++round) {
    std::string plain(static_cast<std::size_t>(byte(random) % 120), '\0');
    for (char& c : plain) c = static_cast<char>(byte(random));
    std::string key(static_cast<std::size_t>(byte(random) % 20), '\0');
    for (char& c : key) c = static_cast<char>(byte(random));
    CipherSeed seed{
        .salt = {static_cast<std::uint8_t>(byte(random)), static_cast<std::uint8_t>(byte(random)),
                 static_cast<std::uint8_t>(byte(random))},
        .keyByte = static_cast<std::uint8_t>(byte(random)),
        .start = static_cast<std::int16_t>(std::uniform_int_distribution<int>(-3, 32)(random))};
    if (static_cast<std::size_t>(seed.start) > plain.size() + 4 && seed.start > 0) seed.start = 1;
    const std::string hex = EncipherText(plain, key, seed);
    ASSERT_EQ(hex.size(), (plain.size() + 10) * 2);
    ASSERT_EQ(DecipherHexText(hex, key), plain) << "round " << round;
    ASSERT_EQ(DecipherHexText(EncipherText(plain, key), key), plain) << "round " << round;
  }
}

TEST(EncipherText, TakesThePlainTextUpToItsFirstZero) {
  EXPECT_EQ(DecipherHexText(EncipherText(std::string("ab\0cd", 5), "k"), "k"), "ab");
}

}  // namespace
}  // namespace app
