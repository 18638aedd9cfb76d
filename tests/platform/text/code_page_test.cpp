#include "platform/text/code_page.h"

#include <gtest/gtest.h>

#include <string>

namespace platform::text {
namespace {

struct RoundTripCase {
  const char* name;
  int codePage;
  std::string bytes;
  std::u16string utf16;
};

class CodePageRoundTrip : public testing::TestWithParam<RoundTripCase> {};

TEST_P(CodePageRoundTrip, ConvertsBothWays) {
  const RoundTripCase& c = GetParam();
  EXPECT_EQ(ToUtf16(c.bytes, c.codePage), c.utf16);
  EXPECT_EQ(FromUtf16(c.utf16, c.codePage), c.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CodePageRoundTrip,
    testing::Values(
        RoundTripCase{"ascii_936", kCodePageGbk, "abc 123", u"abc 123"},
        RoundTripCase{"chinese_936", kCodePageGbk, "\xD6\xD0\xCE\xC4", u"\u4E2D\u6587"},
        // A traditional character that code page 936 still holds (GBK extension area).
        RoundTripCase{"traditional_936", kCodePageGbk, "\x87\xF8", u"\u570B"},
        RoundTripCase{"ansi_is_936", kCodePageAnsi, "\xD6\xD0", u"\u4E2D"},
        RoundTripCase{"chinese_950", kCodePageBig5, "\xA4\xA4\xB0\xEA", u"\u4E2D\u570B"},
        RoundTripCase{"utf8_three_byte", kCodePageUtf8, "\xE4\xB8\xAD", u"\u4E2D"},
        RoundTripCase{"utf8_surrogate_pair", kCodePageUtf8, "\xF0\x9F\x98\x80", u"\U0001F600"},
        RoundTripCase{"utf8_byte_order_mark", kCodePageUtf8,
                      "\xEF\xBB\xBF"
                      "a",
                      u"\uFEFFa"}),
    [](const testing::TestParamInfo<RoundTripCase>& info) { return info.param.name; });

TEST(CodePage, CharacterThatCodePage936CannotHoldBecomesQuestionMark) {
  EXPECT_EQ(FromUtf16(u"a\uD55Cb", kCodePageGbk), "a?b");  // a Hangul syllable
  EXPECT_EQ(FromUtf16(u"\uFEFF\u4E2D", kCodePageGbk), "?\xD6\xD0");
}

TEST(CodePage, EndTextStopsBeforeTheFirstUnmappableCharacter) {
  EXPECT_EQ(FromUtf16(u"\u4E2Dx\uD55C\u6587", kCodePageGbk, {.unmappable = Unmappable::kEndText}),
            "\xD6\xD0x");
  EXPECT_EQ(FromUtf16(u"\uD55C", kCodePageGbk, {.unmappable = Unmappable::kEndText}), "");
}

TEST(CodePage, MalformedBytesBecomeReplacementCharacters) {
  EXPECT_EQ(ToUtf16("a\xFF"
                    "b",
                    kCodePageUtf8),
            u"a\uFFFDb");
  EXPECT_EQ(ToUtf16("a\xE4\xB8", kCodePageUtf8), u"a\uFFFD");
  // A lone lead byte at the end of a 936 text.
  const std::u16string truncated = ToUtf16("a\xD6", kCodePageGbk);
  ASSERT_EQ(truncated.size(), 2u);
  EXPECT_EQ(truncated[0], u'a');
  EXPECT_NE(truncated[1], u'\0');
}

TEST(CodePage, UnpairedSurrogateIsReplacedInUtf8) {
  EXPECT_EQ(FromUtf16(u"a\xD800"
                      u"b",
                      kCodePageUtf8),
            "a\xEF\xBF\xBD"
            "b");
}

TEST(CodePage, UnsupportedCodePageAndEmptyTextGiveEmptyResults) {
  EXPECT_FALSE(IsSupportedCodePage(1252));
  EXPECT_TRUE(IsSupportedCodePage(kCodePageBig5));
  EXPECT_EQ(ToUtf16("abc", 1252), u"");
  EXPECT_EQ(FromUtf16(u"abc", 1252), "");
  EXPECT_EQ(ToUtf16("", kCodePageGbk), u"");
  EXPECT_EQ(FromUtf16(u"", kCodePageGbk), "");
}

TEST(CodePage, ZeroBytesInTheMiddleAreConverted) {
  EXPECT_EQ(ToUtf16(std::string("a\0b", 3), kCodePageGbk), std::u16string(u"a\0b", 3));
}

}  // namespace
}  // namespace platform::text
