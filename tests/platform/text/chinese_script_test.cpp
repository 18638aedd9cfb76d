#include "platform/text/chinese_script.h"

#include <gtest/gtest.h>

namespace platform::text {
namespace {

TEST(TraditionalToSimplified, MapsTraditionalCharactersAndKeepsTheRest) {
  struct Case {
    std::u16string traditional;
    std::u16string simplified;
  };
  const Case cases[] = {
      {u"\u570B\u8A9E", u"\u56FD\u8BED"},                          // 國語 -> 国语
      {u"\u96FB\u8166\u8EDF\u9AD4", u"\u7535\u8111\u8F6F\u4F53"},  // 電腦軟體 -> 电脑软体
      {u"\u4E2D\u6587", u"\u4E2D\u6587"},                          // already simplified
      {u"abc 123", u"abc 123"},
      {u"", u""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TraditionalToSimplified(c.traditional), c.simplified);
  }
}

}  // namespace
}  // namespace platform::text
