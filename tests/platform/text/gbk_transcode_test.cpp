#include "platform/text/gbk_transcode.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "platform/text/code_page.h"
#include "platform/unicode/utf16.h"

namespace platform::text {
namespace {

// The way through UTF-16 that the direct conversions must match byte for byte.
std::string PlainUtf8ToGbk(std::string_view utf8) {
  return FromUtf16(ToUtf16(utf8, kCodePageUtf8), kCodePageGbk);
}
std::string PlainGbkToUtf8(std::string_view gbk) {
  return FromUtf16(ToUtf16(gbk, kCodePageGbk), kCodePageUtf8);
}

std::string Hex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  for (unsigned char byte : bytes) {
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 0xF];
    hex += ' ';
  }
  return hex;
}

std::string Utf8Of(char32_t c) {
  return unicode::Utf8OfCodePoint(c);
}

TEST(TranscodeUtf8ToGbk, GivesTheseBytes) {
  struct Case {
    std::string utf8;
    std::string gbk;
  };
  const Case cases[] = {
      {"", ""},
      {"<div>\xE7\xBA\xA6"
       "1,234\xE4\xB8\xAA</div>",
       "<div>\xD4\xBC"
       "1,234\xB8\xF6</div>"},
      {"\xE2\x82\xAC", "\x80"},  // the euro sign
      {"a\xF0\x9F\x98\x80"
       "b",
       "a?b"},  // outside the basic plane
      {"a\xED\xA0\x80"
       "b",
       "a???b"},  // an encoded surrogate
      {"\xE4\xB8"
       "a\xE4\xB8\xAD",
       "?a\xD6\xD0"},                         // cut short, then ASCII
      {"\xE4\xB8\xE4\xB8\xAD", "?\xD6\xD0"},  // cut short by a lead byte
      {"\xC0\x80\xFF", "???"},                // overlong, never a UTF-8 byte
      {std::string("a\0\xE4\xB8\xAD", 5), std::string("a\0\xD6\xD0", 4)},  // zero kept
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Hex(TranscodeUtf8ToGbk(c.utf8)), Hex(c.gbk)) << Hex(c.utf8);
    EXPECT_EQ(Hex(PlainUtf8ToGbk(c.utf8)), Hex(c.gbk)) << Hex(c.utf8);
  }
}

TEST(TranscodeUtf8ToGbk, MatchesThePlainWayForEveryCharacterOfTheBasicPlane) {
  // Runs of 256 characters between ASCII marks: a difference names its run.
  for (char32_t first = 0x80; first < 0x10000; first += 0x100) {
    std::string utf8 = "[";
    for (char32_t c = first; c < first + 0x100; ++c) {
      if (c < 0xD800 || c > 0xDFFF) utf8 += Utf8Of(c);
    }
    utf8 += "]";
    ASSERT_EQ(Hex(TranscodeUtf8ToGbk(utf8)), Hex(PlainUtf8ToGbk(utf8)))
        << "characters from U+" << std::hex << static_cast<std::uint32_t>(first);
  }
}

// Bytes drawn so that malformed sequences are common: ASCII, continuation bytes, every kind of
// lead byte, bytes that never occur, zero, any high byte, and whole characters of all four
// lengths.
std::string RandomUtf8(std::mt19937& random) {
  static const std::string kPieces[] = {"a",
                                        " ",
                                        "<",
                                        std::string(1, '\0'),
                                        "\x80",
                                        "\xBF",
                                        "\xA0",
                                        "\xC0",
                                        "\xC1",
                                        "\xC2",
                                        "\xDF",
                                        "\xE0",
                                        "\xE4",
                                        "\xED",
                                        "\xEF",
                                        "\xF0",
                                        "\xF4",
                                        "\xF5",
                                        "\xFE",
                                        "\xFF",
                                        "\xE4\xB8\xAD",
                                        "\xEF\xBB\xBF",
                                        "\xEF\xBF\xBD",
                                        "\xEF\xBF\xBF",
                                        "\xC2\xA9",
                                        "\xED\x9F\xBF",
                                        "\xEE\x80\x80",
                                        "\xF0\x9F\x98\x80",
                                        "\xF4\x8F\xBF\xBF",
                                        "\xE2\x82\xAC"};
  std::uniform_int_distribution<std::size_t> piece(0, std::size(kPieces) - 1);
  std::uniform_int_distribution<int> length(0, 24);
  std::uniform_int_distribution<char32_t> code_point(0x80, 0x10FFFF);
  std::string text;
  for (int i = length(random); i > 0; --i) {
    const unsigned kind = random() % 8;
    if (kind < 2) {
      const char32_t c = code_point(random);
      text += Utf8Of(c >= 0xD800 && c <= 0xDFFF ? c + 0x800 : c);
    } else if (kind < 4) {
      text += static_cast<char>(0x80 + random() % 0x80);
    } else {
      text += kPieces[piece(random)];
    }
  }
  return text;
}

TEST(TranscodeUtf8ToGbk, MatchesThePlainWayOnGeneratedTexts) {
  std::mt19937 random(936);
  for (int i = 0; i < 4000; ++i) {
    const std::string utf8 = RandomUtf8(random);
    ASSERT_EQ(Hex(TranscodeUtf8ToGbk(utf8)), Hex(PlainUtf8ToGbk(utf8))) << Hex(utf8);
  }
}

TEST(TranscodeGbkToUtf8, GivesTheseBytes) {
  struct Case {
    std::string gbk;
    std::string utf8;
  };
  const Case cases[] = {
      {"", ""},
      {"<b>\xD6\xD0\xCE\xC4</b>", "<b>\xE4\xB8\xAD\xE6\x96\x87</b>"},
      {"\x80", "\xE2\x82\xAC"},
      {"\x87\xF8", "\xE5\x9C\x8B"},  // 國, of the extension area
      {std::string("\xD6\xD0\0\xD6\xD0", 5), std::string("\xE4\xB8\xAD\0\xE4\xB8\xAD", 7)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Hex(TranscodeGbkToUtf8(c.gbk)), Hex(c.utf8)) << Hex(c.gbk);
    EXPECT_EQ(Hex(PlainGbkToUtf8(c.gbk)), Hex(c.utf8)) << Hex(c.gbk);
  }
}

TEST(TranscodeGbkToUtf8, MatchesThePlainWayForEveryHighByteAndWhatFollowsIt) {
  for (unsigned first = 0x80; first <= 0xFF; ++first) {
    for (unsigned second = 0; second <= 0xFF; ++second) {
      const std::string gbk = {'x', static_cast<char>(first), static_cast<char>(second), 'y'};
      ASSERT_EQ(Hex(TranscodeGbkToUtf8(gbk)), Hex(PlainGbkToUtf8(gbk))) << Hex(gbk);
    }
    const std::string at_end = {'x', static_cast<char>(first)};
    ASSERT_EQ(Hex(TranscodeGbkToUtf8(at_end)), Hex(PlainGbkToUtf8(at_end))) << Hex(at_end);
  }
}

TEST(TranscodeGbkToUtf8, MatchesThePlainWayOnGeneratedTexts) {
  std::mt19937 random(65001);
  std::uniform_int_distribution<int> length(0, 24);
  for (int i = 0; i < 4000; ++i) {
    std::string gbk;
    for (int n = length(random); n > 0; --n) {
      // Half ASCII, half high bytes, so pairs and broken pairs both come up often.
      const unsigned byte = random() % 2 == 0 ? random() % 0x80 : 0x80 + random() % 0x80;
      gbk += static_cast<char>(byte);
    }
    ASSERT_EQ(Hex(TranscodeGbkToUtf8(gbk)), Hex(PlainGbkToUtf8(gbk))) << Hex(gbk);
  }
}

}  // namespace
}  // namespace platform::text
