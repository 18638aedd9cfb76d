#include "web/header_line.h"

#include <gtest/gtest.h>

#include <string>

namespace web {
namespace {

TEST(HeaderLine, SplitsAtTheFirstColonAndTrimsSpaces) {
  struct Case {
    std::string line, name, value;
  };
  const Case cases[] = {
      {"Content-Type: text/html", "Content-Type", "text/html"},
      {"  Host  :   example  ", "Host", "example"},
      {"Location: http://a/b:80", "Location", "http://a/b:80"},
      {"Empty:", "Empty", ""},
      {": value", "", "value"},
      {"no colon here", "", ""},
      {"", "", ""},
      {"X:\tvalue\t", "X", "\tvalue\t"},  // only spaces are trimmed
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HeaderName(c.line), c.name) << c.line;
    EXPECT_EQ(HeaderValue(c.line), c.value) << c.line;
  }
}

}  // namespace
}  // namespace web
