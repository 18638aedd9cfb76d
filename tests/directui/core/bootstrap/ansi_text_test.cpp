#include "directui/core/ansi_text.h"

#include <gtest/gtest.h>

namespace directui {
namespace {

using namespace std::string_literals;

const std::string kSongTiGbk = "\xCB\xCE\xCC\xE5";  // 宋体 in code page 936

TEST(AnsiTextTest, CodePageZeroIsCodePage936) {
  EXPECT_EQ(AnsiToWide(kSongTiGbk), u"宋体");
  EXPECT_EQ(AnsiToWide(kSongTiGbk, 936), u"宋体");
  EXPECT_EQ(WideToAnsi(u"Tarnel软件"), "Tarnel\xC8\xED\xBC\xFE");
  EXPECT_EQ(WideToAnsi(u"宋体", 65001), "宋体");
}

TEST(AnsiTextTest, ConversionsStopAtTheFirstZero) {
  EXPECT_EQ(AnsiToWide("ab\0cd"s), u"ab");
  EXPECT_EQ(WideToAnsi(u"宋\0体"s), "\xCB\xCE");
  EXPECT_EQ(AnsiToWide(""), u"");
}

TEST(AnsiTextTest, UnsupportedCodePagesGiveTheEmptyText) {
  EXPECT_EQ(AnsiToWide("abc", 1252), u"");
  EXPECT_EQ(WideToAnsi(u"abc", 1252), "");
}

}  // namespace
}  // namespace directui
