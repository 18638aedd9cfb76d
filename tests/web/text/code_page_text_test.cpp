#include "web/code_page_text.h"

#include <gtest/gtest.h>

#include <string>

namespace web {
namespace {

TEST(MultiByteToUtf16, DefaultsToUtf8AndTakesAGivenCodePage) {
  EXPECT_EQ(MultiByteToUtf16("\xE4\xB8\xAD"), u"\u4E2D");
  EXPECT_EQ(MultiByteToUtf16("\xD6\xD0", 936), u"\u4E2D");
  EXPECT_EQ(MultiByteToUtf16("\xA4\xA4", 950), u"\u4E2D");
  EXPECT_EQ(MultiByteToUtf16(""), u"");
}

TEST(Utf16ToMultiByte, DefaultsToTheAnsiCodePageAndEndsAtTheFirstZero) {
  EXPECT_EQ(Utf16ToMultiByte(u"\u4E2D"), "\xD6\xD0");
  EXPECT_EQ(Utf16ToMultiByte(u"\u4E2D", 65001), "\xE4\xB8\xAD");
  EXPECT_EQ(Utf16ToMultiByte(std::u16string(u"ab\0cd", 5)), "ab");
}

struct RoundTripCase {
  std::string gbk;
  std::string utf8;
};

TEST(GbkAndUtf8, ConvertBothWays) {
  const RoundTripCase cases[] = {
      {"", ""},
      {"plain ascii", "plain ascii"},
      {"\xB4\xCA\xD2\xBB", "\xE8\xAF\x8D\xE4\xB8\x80"},  // 词一
      {"\xA1\xA1x", "\xE3\x80\x80x"},                    // full-width space
      {"\x80", "\xE2\x82\xAC"},                          // the euro sign at 0x80
  };
  for (const RoundTripCase& c : cases) {
    EXPECT_EQ(GbkToUtf8(c.gbk), c.utf8);
    EXPECT_EQ(Utf8ToGbk(c.utf8), c.gbk);
  }
}

TEST(Utf8ToGbk, ReplacesWhatCodePage936CannotHold) {
  EXPECT_EQ(Utf8ToGbk("a\xED\x95\x9C"
                      "b"),
            "a?b");                                               // a Hangul syllable
  EXPECT_EQ(Utf8ToGbk("\xEF\xBB\xBF\xE4\xB8\xAD"), "?\xD6\xD0");  // byte-order mark, then 中
}

TEST(Big5ToSimplifiedGbk, MapsTraditionalToSimplified) {
  struct Case {
    std::string big5;
    std::string gbk;
  };
  const Case cases[] = {
      {"\xB0\xEA\xBB\x79", "\xB9\xFA\xD3\xEF"},                                  // 國語 -> 国语
      {"\xB9\x71\xB8\xA3\xB3\x6E\xC5\xE9", "\xB5\xE7\xC4\xD4\xC8\xED\xCC\xE5"},  // 電腦軟體
      {"\xA4\xA4x1", "\xD6\xD0x1"},  // 中 is the same in both scripts
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Big5ToSimplifiedGbk(c.big5), c.gbk);
}

TEST(Big5ToSimplifiedGbk, EndsBeforeACharacterCodePage936CannotHold) {
  // U+2027 (Big5 A1 45) has no code page 936 form: the text ends there.
  EXPECT_EQ(Big5ToSimplifiedGbk("\xA4\xA4\xB0\xEA\xA1\x45\xBB\x79"), "\xD6\xD0\xB9\xFA");
}

}  // namespace
}  // namespace web
