#include "support/http_serve_script.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace test_support {
namespace {

TEST(ServeScript, ReadsPagesWithTheirDirectives) {
  ScriptResult result = ParseServeScript(
      "# home page\r\n"
      "page /\r\n"
      "header Set-Cookie: BAIDUID=abc:FG=1\r\n"
      "header set-cookie: x=1\r\n"
      "body <input name=\"rsv_pq\" value=\"1\">\r\n"
      "body second line\r\n"
      "\n"
      "page /s\n"
      "status 302\n"
      "header Location: /\n"
      "delay-ms 25\n"
      "chunked\n"
      "close\n"
      "page /big\n"
      "body-size 1000\n"
      "reset-after 10\n"
      "page *\n"
      "never-answer\n");
  ASSERT_TRUE(result.script) << result.error;
  const ServeScript& script = *result.script;
  ASSERT_EQ(script.pages.size(), 3u);
  const ScriptedResponse& home = script.pages.at("/");
  EXPECT_EQ(home.status, 200);
  EXPECT_THAT(home.header_lines,
              ::testing::ElementsAre("Set-Cookie: BAIDUID=abc:FG=1", "set-cookie: x=1"));
  EXPECT_EQ(home.body, "<input name=\"rsv_pq\" value=\"1\">\r\nsecond line");
  const ScriptedResponse& search = script.pages.at("/s");
  EXPECT_EQ(search.status, 302);
  EXPECT_EQ(search.delay, std::chrono::milliseconds(25));
  EXPECT_TRUE(search.chunked);
  EXPECT_TRUE(search.close_connection);
  EXPECT_EQ(script.pages.at("/big").generated_body_size, 1000u);
  EXPECT_EQ(script.pages.at("/big").reset_after_body_bytes, 10u);
  ASSERT_TRUE(script.fallback);
  EXPECT_TRUE(script.fallback->never_answer);
}

TEST(ServeScript, NamesTheFirstBadLine) {
  struct Case {
    const char* text;
    const char* error;
  };
  for (Case c :
       {Case{"status 200\n", "line 1: directive before page"},
        Case{"page /\nstatus abc\n", "line 2: expected a number after status"},
        Case{"page /\nstatus -1\n", "line 2: expected a number after status"},
        Case{"page /\n\nfrobnicate 1\n", "line 3: unknown directive frobnicate"},
        Case{"page\n", "line 1: page without path"},
        Case{"page /\nbody-file /nonexistent/file\n", "line 2: cannot read /nonexistent/file"}}) {
    ScriptResult result = ParseServeScript(c.text);
    EXPECT_FALSE(result.script) << c.text;
    EXPECT_EQ(result.error, c.error) << c.text;
  }
}

TEST(ServeScript, LogsRequestLineHeadersAndBodyLength) {
  RecordedRequest request;
  request.request_line = "GET /s?wd=x HTTP/1.1";
  request.header_lines = {"Host: 127.0.0.1", "Accept: */*"};
  request.body = "abc";
  EXPECT_EQ(LogEntry(request),
            "GET /s?wd=x HTTP/1.1\nHost: 127.0.0.1\nAccept: */*\nbody-length 3\n\n");
}

}  // namespace
}  // namespace test_support
