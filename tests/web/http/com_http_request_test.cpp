#include "web/com_http_request.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/http_test_server.h"
#include "support/loopback_sockets.h"

namespace web {
namespace {

using test_support::HttpTestServer;
using test_support::RecordedRequest;
using test_support::ScriptedResponse;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

constexpr const char* kUserAgentLine =
    "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";
constexpr const char* kContentTypeLine = "Content-Type: application/x-www-form-urlencoded";

std::string Text(const ByteBlock& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

class ComHttpRequestTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server_.Running());
    server_.SetFallback([](const RecordedRequest&) { return ScriptedResponse::Text("page"); });
  }
  std::string Host() const { return "Host: 127.0.0.1:" + std::to_string(server_.Port()); }
  RecordedRequest Only() const {
    std::vector<RecordedRequest> requests = server_.Requests();
    EXPECT_EQ(requests.size(), 1u);
    return requests.empty() ? RecordedRequest{} : requests[0];
  }

  HttpTestServer server_;
};

TEST_F(ComHttpRequestTest, SendsTheDefaultHeadersInOrderAndHandsThemBack) {
  const std::string url = server_.Url("/home");
  std::string headers;
  int status = -1;
  ByteBlock body = ComHttpRequest(url, {.headers = &headers, .status = &status});

  EXPECT_EQ(Text(body), "page");
  EXPECT_EQ(status, 200);
  RecordedRequest sent = Only();
  EXPECT_EQ(sent.request_line, "GET /home HTTP/1.1");
  EXPECT_THAT(sent.header_lines,
              ElementsAre(Host(), "Accept: */*", "Referer: " + url, "Accept-Language: zh-cn",
                          kUserAgentLine, kContentTypeLine));
  EXPECT_EQ(headers, "Accept: */*\r\nReferer: " + url + "\r\nAccept-Language: zh-cn\r\n" +
                         kUserAgentLine + "\r\n" + kContentTypeLine);
}

TEST_F(ComHttpRequestTest, CompletesTheCallersHeaderText) {
  struct Case {
    std::string given;
    std::vector<std::string> sent;  // after the Host line
  };
  const std::string url = server_.Url("/");
  const Case cases[] = {
      {"Referer: x",
       {"Referer: x", "Accept: */*", "Accept-Language: zh-cn", kUserAgentLine, kContentTypeLine}},
      {"X-A: 1\r\n\r\nUser-Agent: me\r\n",
       {"X-A: 1", "User-Agent: me", "Accept: */*", "Referer: " + url, "Accept-Language: zh-cn",
        kContentTypeLine}},
      // Every default named on one line: no CR LF, so the whole text is one header.
      {"Accept: a Referer: b Accept-Language: c User-Agent: d Content-Type: e",
       {"Accept: a Referer: b Accept-Language: c User-Agent: d Content-Type: e"}},
  };
  for (const Case& c : cases) {
    HttpTestServer server;
    std::string headers = c.given;
    ComHttpRequest(server.Url("/"), {.headers = &headers});
    std::vector<RecordedRequest> requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u) << c.given;
    std::vector<std::string> expected = {"Host: 127.0.0.1:" + std::to_string(server.Port())};
    for (std::string line : c.sent) {
      if (line == "Referer: " + url) line = "Referer: " + server.Url("/");
      expected.push_back(line);
    }
    EXPECT_THAT(requests[0].header_lines, ElementsAreArray(expected)) << c.given;
  }
}

TEST_F(ComHttpRequestTest, SendsAndMergesCookies) {
  ScriptedResponse page = ScriptedResponse::Text("with cookies");
  page.header_lines = {"set-cookie: a=1; path=/", "Set-Cookie: b=2", "SET-COOKIE: x=9; HttpOnly"};
  server_.On("/", page);
  std::string cookies = "a=0; c=3; x=8", returned, returned_headers;
  ComHttpRequest(
      server_.Url("/"),
      {.cookies = &cookies, .returnedCookies = &returned, .returnedHeaders = &returned_headers});

  RecordedRequest sent = Only();
  ASSERT_GE(sent.header_lines.size(), 2u);
  EXPECT_EQ(sent.header_lines[1], "Cookie: a=0; c=3; x=8");  // before every other header
  EXPECT_EQ(returned, "a=1;b=2;x=9");
  EXPECT_EQ(cookies, "a=1; b=2; x=9; c=3");
  EXPECT_EQ(returned_headers,
            "Set-Cookie: a=1; path=/\r\nSet-Cookie: b=2\r\nSet-Cookie: x=9; HttpOnly\r\n"
            "Content-Length: 12\r\n");
}

TEST_F(ComHttpRequestTest, ACookieSetToDeletedLeavesTheStoredText) {
  ScriptedResponse page = ScriptedResponse::Text("");
  page.header_lines = {"Set-Cookie: c=deleted; expires=Thu, 01-Jan-1970 00:00:01 GMT"};
  server_.On("/", page);
  std::string cookies = "a=1; c=3";
  ComHttpRequest(server_.Url("/"), {.cookies = &cookies});
  EXPECT_EQ(cookies, "a=1");
}

TEST_F(ComHttpRequestTest, TimeOutsAsTheRequestObjectSeesThem) {
  using platform::net::Timeouts;
  struct Case {
    std::optional<int> seconds;
    Timeouts seen;
  };
  const Timeouts own{1, 2, 3, 4};
  const Case cases[] = {
      {-1, own},
      {5, {5000, 5000, 5000, 5000}},
      {0, {15000, 15000, 15000, 15000}},
      {std::nullopt, {15000, 15000, 15000, 15000}},
      {-7, {15000, 15000, 15000, 15000}},
      {3'000'000, {INT_MAX, INT_MAX, INT_MAX, INT_MAX}},  // no overflow into a negative limit
  };
  for (const Case& c : cases) {
    auto request = platform::net::HttpRequest::Create();
    ASSERT_TRUE(request->SetTimeouts(own.resolve_ms, own.connect_ms, own.send_ms, own.receive_ms));
    ComHttpRequest(server_.Url("/"), {.timeoutSeconds = c.seconds, .requestObject = request.get()});
    EXPECT_EQ(request->GetTimeouts(), c.seen) << c.seconds.value_or(999);
  }
}

TEST_F(ComHttpRequestTest, FollowsRedirectsUnlessTold) {
  server_.On("/old", ScriptedResponse::Redirect("/new"));
  int status = 0;
  EXPECT_EQ(Text(ComHttpRequest(server_.Url("/old"), {.status = &status})), "page");
  EXPECT_EQ(status, 200);
  std::string returned_headers;
  EXPECT_EQ(Text(ComHttpRequest(
                server_.Url("/old"),
                {.returnedHeaders = &returned_headers, .status = &status, .noRedirect = true})),
            "");
  EXPECT_EQ(status, 302);
  EXPECT_EQ(returned_headers, "Location: /new\r\nContent-Length: 0\r\n");
  std::vector<RecordedRequest> requests = server_.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[1].Path(), "/new");
  EXPECT_EQ(requests[2].Path(), "/old");
}

TEST_F(ComHttpRequestTest, MethodsAndBodies) {
  struct Case {
    ComHttpRequestOptions options;
    const char* request_line;
    std::string body;
  };
  const ByteBlock bytes = {'b', 0, 0xFE, 'y'};
  const Case cases[] = {
      {{}, "GET /x HTTP/1.1", ""},
      {{.method = 7}, "GET /x HTTP/1.1", ""},
      {{.method = 2}, "HEAD /x HTTP/1.1", ""},
      {{.method = 1, .bodyText = "q=1"}, "POST /x HTTP/1.1", "q=1"},
      {{.method = 1, .bodyText = "text", .bodyBytes = bytes},
       "POST /x HTTP/1.1",
       std::string("b\0\xFEy", 4)},
      {{.method = 1, .bodyText = "text", .bodyBytes = ByteBlock{}}, "POST /x HTTP/1.1", "text"},
  };
  for (const Case& c : cases) {
    HttpTestServer server;
    ComHttpRequest(server.Url("/x"), c.options);
    std::vector<RecordedRequest> requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u) << c.request_line;
    EXPECT_EQ(requests[0].request_line, c.request_line);
    EXPECT_EQ(requests[0].body, c.body) << c.request_line;
  }
}

TEST(ComHttpRequestTls, IgnoresTheTestServersUntrustedCertificate) {
  for (auto flaw : {test_support::CertificateFlaw::kNone, test_support::CertificateFlaw::kExpired,
                    test_support::CertificateFlaw::kWrongName}) {
    HttpTestServer server({.tls = true, .certificate_flaw = flaw});
    server.On("/", ScriptedResponse::Text("secure page"));
    int status = 0;
    EXPECT_EQ(Text(ComHttpRequest(server.Url("/"), {.status = &status})), "secure page");
    EXPECT_EQ(status, 200);
  }
}

TEST_F(ComHttpRequestTest, GoesThroughTheProxyWithItsCredentials) {
  server_.SetFallback([](const RecordedRequest& request) {
    if (request.Header("Proxy-Authorization") == "Basic dTpw") return ScriptedResponse::Text("ok");
    ScriptedResponse challenge = ScriptedResponse::Text("", 407);
    challenge.header_lines.push_back("Proxy-Authenticate: Basic realm=\"p\"");
    return challenge;
  });
  const std::string target =
      "http://127.0.0.1:" + std::to_string(test_support::RefusedLoopbackPort()) + "/t";
  int status = 0;
  ByteBlock body = ComHttpRequest(target, {.status = &status,
                                           .proxy = "127.0.0.1:" + std::to_string(server_.Port()),
                                           .proxyUser = "u",
                                           .proxyPassword = "p"});
  EXPECT_EQ(Text(body), "ok");
  EXPECT_EQ(status, 200);
  EXPECT_EQ(server_.Requests().back().request_line, "GET " + target + " HTTP/1.1");
}

// Every fault: empty body, status 0, empty returned headers and cookies; the stored cookies
// only lose their spaces; the completed headers are still handed back.
TEST_F(ComHttpRequestTest, FaultsEndInEmptyResults) {
  ScriptedResponse reset;
  reset.generated_body_size = 1'000'000;
  reset.reset_after_body_bytes = 500;
  reset.header_lines = {"Set-Cookie: half=1"};
  ScriptedResponse giant_header = ScriptedResponse::Text("x");
  giant_header.header_lines = {"Set-Cookie: a=1", "X-Giant: " + std::string(100 * 1024, 'g')};
  ScriptedResponse silent;
  silent.never_answer = true;
  server_.On("/reset", reset);
  server_.On("/giant-header", giant_header);
  server_.On("/silent", silent);

  const std::string urls[] = {
      "not an address",
      "http://",
      "gopher://127.0.0.1/",
      "http://127.0.0.1:" + std::to_string(test_support::RefusedLoopbackPort()) + "/",
      server_.Url("/reset"),
      server_.Url("/giant-header"),
      server_.Url("/silent")};
  for (const std::string& url : urls) {
    std::string cookies = "k = v", returned = "stale", headers, returned_headers = "stale";
    int status = -1;
    ByteBlock body = ComHttpRequest(url, {.cookies = &cookies,
                                          .returnedCookies = &returned,
                                          .headers = &headers,
                                          .returnedHeaders = &returned_headers,
                                          .status = &status,
                                          .timeoutSeconds = 1});
    EXPECT_TRUE(body.empty()) << url;
    EXPECT_EQ(status, 0) << url;
    EXPECT_EQ(returned, "") << url;
    EXPECT_EQ(returned_headers, "") << url;
    EXPECT_EQ(cookies, "k=v") << url;
    EXPECT_EQ(headers.rfind("Accept: */*\r\nReferer: " + url + "\r\n", 0), 0u) << url;
  }
}

TEST_F(ComHttpRequestTest, ReadsA50MegabyteBody) {
  ScriptedResponse big;
  big.generated_body_size = 50u << 20;
  server_.On("/", big);
  ByteBlock body = ComHttpRequest(server_.Url("/"));
  ASSERT_EQ(body.size(), big.generated_body_size);
  EXPECT_EQ(static_cast<char>(body.back()), test_support::PatternByte(body.size() - 1));
}

TEST_F(ComHttpRequestTest, MergesAThousandSetCookieLines) {
  ScriptedResponse page = ScriptedResponse::Text("");
  std::string expected_returned, expected_stored;
  for (int i = 0; i < 1000; ++i) {
    const std::string item = "k" + std::to_string(i) + "=" + std::to_string(i);
    page.header_lines.push_back((i % 2 ? "set-cookie: " : "Set-Cookie: ") + item + "; path=/");
    expected_returned += (i ? ";" : "") + item;
    expected_stored += (i ? "; " : "") + item;
  }
  page.header_lines.push_back("Set-Cookie: k5=again");  // a second k5: both items differ, both stay
  server_.On("/", page);
  std::string cookies = "k0=old; kept=1", returned;
  ComHttpRequest(server_.Url("/"), {.cookies = &cookies, .returnedCookies = &returned});
  EXPECT_EQ(returned, expected_returned + ";k5=again");
  EXPECT_EQ(cookies, expected_stored + "; k5=again; kept=1");
}

}  // namespace
}  // namespace web
