#include "app/utf8_text.h"

#include <gtest/gtest.h>

#include <string>

namespace app {
namespace {

TEST(IsUtf8Text, TheFirstLongSequenceDecides) {
  struct Case {
    const char* name;
    std::string text;
    bool utf8;
  };
  const Case cases[] = {
      {"empty", "", false},
      {"ascii", "abc\r\n", false},
      {"utf8_keywords", "\xE8\xAF\x8D\xE4\xB8\x80\r\n\xE8\xAF\x8D\xE4\xBA\x8C\r\n", true},
      {"gbk_keywords", "\xB4\xCA\xD2\xBB\r\n\xB4\xCA\xB6\xFE\r\n", false},
      {"byte_order_mark",
       "\xEF\xBB\xBF"
       "abc",
       true},
      {"four_byte", "a\xF0\x9F\x98\x80", true},
      {"two_byte_only", "caf\xC3\xA9 na\xC3\xAFve", false},
      {"two_byte_then_three_byte", "\xC3\xA9\xE4\xB8\xAD", true},
      {"two_byte_then_bad_three_byte", "\xC3\xA9\xE4\x41\x42", false},
      {"three_byte_cut_short", "ab\xE4\xB8", false},
      {"four_byte_cut_short", "\xF0\x9F\x98", false},
      {"bad_continuation", "\xC3\x41\xE4\xB8\xAD", false},
      {"continuation_first", "\x80\xE4\xB8\xAD", false},
      {"five_byte_lead", "\xF8\x88\x80\x80\x80", false},
      // A lone two-byte lead as the last byte goes to the pair test, which finds no high byte
      // followed by an ASCII byte.
      {"lone_lead_at_end", "a\xC3", false},
      {"pairs_then_lone_lead", "\xC3\xA9z\xC3\xA9\xC3", false},
      // A three-byte sequence later on decides even after ASCII.
      {"late_three_byte", "keyword list\r\n\xE4\xB8\xAD", true},
  };
  for (const Case& c : cases) EXPECT_EQ(IsUtf8Text(c.text), c.utf8) << c.name;
}

TEST(Utf8BytesToGbk, ConvertsAndReplacesTheByteOrderMark) {
  EXPECT_EQ(Utf8BytesToGbk(""), "");
  EXPECT_EQ(Utf8BytesToGbk("\xE8\xAF\x8D\xE4\xB8\x80\r\n"), "\xB4\xCA\xD2\xBB\r\n");
  EXPECT_EQ(Utf8BytesToGbk("\xEF\xBB\xBF\xE8\xAF\x8D\xE4\xB8\x80"), "?\xB4\xCA\xD2\xBB");
}

}  // namespace
}  // namespace app
