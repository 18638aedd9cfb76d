#include "web/url_encode.h"

#include <gtest/gtest.h>

#include <string>

namespace web {
namespace {

struct EncodeCase {
  std::string text;
  bool keep;
  bool utf8;
  std::string expected;
};

TEST(UrlEncode, EncodesEveryByteThatIsNotKept) {
  const EncodeCase cases[] = {
      {"a b-c.d_e", true, false, "a%20b-c.d%5Fe"},
      {"a b-c.d_e", false, false, "%61%20%62%2D%63%2E%64%5F%65"},
      {"~AZaz09", true, false, "%7EAZaz09"},
      {"\xD6\xD0", true, true, "%E4%B8%AD"},  // 中 as UTF-8
      {"\xD6\xD0", true, false, "%D6%D0"},    // 中 as its own code page 936 bytes
      {"\xD6\xD0"
       "a",
       false, true, "%E4%B8%AD%61"},
      {"\x01\x0F", true, false, "%01%0F"},  // one-digit values get a leading 0
      {"\xFF", true, false, "%FF"},
      {"", true, true, ""},
      {"", false, false, ""},
  };
  for (const EncodeCase& c : cases) {
    EXPECT_EQ(UrlEncode(c.text, c.keep, c.utf8), c.expected)
        << c.text << " keep=" << c.keep << " utf8=" << c.utf8;
  }
}

}  // namespace
}  // namespace web
