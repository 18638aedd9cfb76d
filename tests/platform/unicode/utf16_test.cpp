#include <gtest/gtest.h>

#include "platform/unicode/utf16.h"

namespace platform::unicode {
namespace {

struct Utf8Case {
  const char* name;
  std::string utf8;
  std::u16string utf16;
};

class Utf8ToUtf16Test : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8ToUtf16Test, ConvertsAndReplacesWhatIsIllFormed) {
  EXPECT_EQ(Utf8ToUtf16(GetParam().utf8), GetParam().utf16);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Utf8ToUtf16Test,
    ::testing::Values(Utf8Case{"ascii", "abc", u"abc"}, Utf8Case{"chinese", "收录量", u"收录量"},
                      Utf8Case{"outside_the_bmp", "\xF0\x9F\x98\x80", u"\xD83D\xDE00"},
                      Utf8Case{"truncated", "a\xE6\x94", u"a\xFFFD\xFFFD"},
                      Utf8Case{"stray_continuation", "\x80z", u"\xFFFDz"},
                      Utf8Case{"overlong", "\xC0\xAF", u"\xFFFD\xFFFD"},
                      Utf8Case{"encoded_surrogate", "\xED\xA0\x80", u"\xFFFD\xFFFD\xFFFD"},
                      Utf8Case{"beyond_unicode", "\xF4\x90\x80\x80", u"\xFFFD\xFFFD\xFFFD\xFFFD"},
                      Utf8Case{"empty", "", u""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Utf16ToUtf8Test, ConvertsPairsAndReplacesLoneSurrogates) {
  EXPECT_EQ(Utf16ToUtf8(u"收录\xD83D\xDE00"), "收录\xF0\x9F\x98\x80");
  EXPECT_EQ(Utf16ToUtf8(std::u16string(u"a\xD83D"
                                       u"b")),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_EQ(Utf16ToUtf8(std::u16string(u"\xDE00")), "\xEF\xBF\xBD");
}

// Text layout maps UTF-16 indices (character ranges, hotkey positions) to Pango's byte offsets.
TEST(Utf16ToUtf8Test, GivesTheByteOffsetOfEveryCodeUnit) {
  std::vector<int> offsets;
  EXPECT_EQ(Utf16ToUtf8(u"a收\xD83D\xDE00"
                        u"b",
                        offsets),
            "a收\xF0\x9F\x98\x80"
            "b");
  // Both halves of the pair start where the four-byte character starts.
  EXPECT_EQ(offsets, (std::vector<int>{0, 1, 4, 4, 8, 9}));
  EXPECT_EQ(Utf16ToUtf8(u"", offsets), "");
  EXPECT_EQ(offsets, (std::vector<int>{0}));
}

TEST(Utf8OfCodePointTest, EncodesCharactersAndRefusesWhatIsNone) {
  EXPECT_EQ(Utf8OfCodePoint(U'a'), "a");
  EXPECT_EQ(Utf8OfCodePoint(U'收'), "收");
  EXPECT_EQ(Utf8OfCodePoint(0x1F600), "\xF0\x9F\x98\x80");
  EXPECT_EQ(Utf8OfCodePoint(0xD800), "");
  EXPECT_EQ(Utf8OfCodePoint(0xDFFF), "");
  EXPECT_EQ(Utf8OfCodePoint(0x110000), "");
}

}  // namespace
}  // namespace platform::unicode
