#include "platform/net/http_request.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <thread>

#include "support/http_test_server.h"
#include "support/loopback_sockets.h"

namespace platform::net {
namespace {

using test_support::HttpTestServer;
using test_support::RecordedRequest;
using test_support::ScriptedResponse;
using ::testing::ElementsAre;

std::string Text(const std::vector<std::uint8_t>& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

std::string HostLine(const HttpTestServer& server) {
  return "Host: 127.0.0.1:" + std::to_string(server.Port());
}

void ExpectEmptyResults(const HttpRequest& request) {
  EXPECT_EQ(request.Status(), 0);
  EXPECT_EQ(request.StatusText(), "");
  EXPECT_EQ(request.GetAllResponseHeaders(), "");
  EXPECT_TRUE(request.ResponseBody().empty());
}

class HttpRequestTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server_.Running());
    ASSERT_NE(request_, nullptr);
  }

  HttpTestServer server_;
  std::unique_ptr<HttpRequest> request_ = HttpRequest::Create();
};

TEST_F(HttpRequestTest, SendsExactlyTheHeadersSetInTheirOrder) {
  ASSERT_TRUE(request_->Open("GET", server_.Url("/p?q=1")));
  ASSERT_TRUE(request_->SetRequestHeader("Cookie", "a=1; b=2"));
  ASSERT_TRUE(request_->SetRequestHeader("Accept", "*/*"));
  ASSERT_TRUE(request_->SetRequestHeader("X-Empty", ""));
  ASSERT_TRUE(request_->SetRequestHeader("User-Agent", "agent"));
  ASSERT_TRUE(request_->SetRequestHeader("cookie", "c=3"));  // replaces, keeps place and spelling
  // "^" and "~" differ in the bit that tells "A" from "a", yet they are different names.
  ASSERT_TRUE(request_->SetRequestHeader("X-^", "1"));
  ASSERT_TRUE(request_->SetRequestHeader("X-~", "2"));
  ASSERT_TRUE(request_->Send());

  std::vector<RecordedRequest> requests = server_.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].request_line, "GET /p?q=1 HTTP/1.1");
  EXPECT_THAT(requests[0].header_lines,
              ElementsAre(HostLine(server_), "Cookie: c=3", "Accept: */*",
                          "X-Empty:", "User-Agent: agent", "X-^: 1", "X-~: 2"));
  EXPECT_EQ(requests[0].body, "");
}

TEST_F(HttpRequestTest, RefusesHeadersThatCouldSplitTheRequest) {
  ASSERT_TRUE(request_->Open("GET", server_.Url("/")));
  struct Case {
    std::string_view name, value;
  };
  for (Case c : {Case{"", "x"}, Case{"Bad Name", "x"}, Case{"Bad:Name", "x"},
                 Case{"X-Split", "a\r\nInjected: 1"}, Case{"X-Line", "a\nb"},
                 Case{"X-Zero", std::string_view("a\0b", 3)}, Case{"X\r\nY", "v"}}) {
    EXPECT_FALSE(request_->SetRequestHeader(c.name, c.value)) << c.name;
  }
  ASSERT_TRUE(request_->Send());
  EXPECT_THAT(server_.Requests().at(0).header_lines, ElementsAre(HostLine(server_)));
}

TEST_F(HttpRequestTest, SendsTextAndByteBodiesAsGiven) {
  const std::string big(5000, 'x');  // large enough for libcurl to think of 100-continue
  const std::vector<std::uint8_t> bytes = {'a', 0, 0xFF, '\r', '\n', 'b'};

  ASSERT_TRUE(request_->Open("POST", server_.Url("/text")));
  ASSERT_TRUE(request_->Send(big));
  ASSERT_TRUE(request_->Open("POST", server_.Url("/bytes")));
  ASSERT_TRUE(request_->SetRequestHeader("Content-Type", "application/octet-stream"));
  ASSERT_TRUE(request_->Send(std::span<const std::uint8_t>(bytes)));
  ASSERT_TRUE(request_->Open("POST", server_.Url("/empty")));
  ASSERT_TRUE(request_->Send());

  std::vector<RecordedRequest> requests = server_.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_THAT(requests[0].header_lines, ElementsAre(HostLine(server_), "Content-Length: 5000"));
  EXPECT_EQ(requests[0].body, big);
  EXPECT_THAT(requests[1].header_lines,
              ElementsAre(HostLine(server_), "Content-Type: application/octet-stream",
                          "Content-Length: 6"));
  EXPECT_EQ(requests[1].body, std::string("a\0\xFF\r\nb", 6));
  EXPECT_EQ(requests[2].Header("Content-Length"), "0");
}

TEST_F(HttpRequestTest, ReadsStatusHeadersAndBodyOfTheResponse) {
  ScriptedResponse page = ScriptedResponse::Text("hello", 203);
  page.reason = "Non-Authoritative Information";
  page.header_lines = {"set-cookie: a=1; path=/", "Set-Cookie: b=2", "X-Folded:  spaced  "};
  server_.On("/", page);
  ASSERT_TRUE(request_->Open("GET", server_.Url("/")));
  ASSERT_TRUE(request_->Send());

  EXPECT_EQ(request_->Status(), 203);
  EXPECT_EQ(request_->StatusText(), "Non-Authoritative Information");
  EXPECT_EQ(request_->GetAllResponseHeaders(),
            "set-cookie: a=1; path=/\r\nSet-Cookie: b=2\r\nX-Folded:  spaced  \r\n"
            "Content-Length: 5\r\n");
  EXPECT_EQ(Text(request_->ResponseBody()), "hello");
}

TEST_F(HttpRequestTest, HeadReadsNoBodyAndChunkedBodiesAreJoined) {
  ScriptedResponse chunked;
  chunked.generated_body_size = 200'000;
  chunked.chunked = true;
  server_.On("/", chunked);
  ASSERT_TRUE(request_->Open("HEAD", server_.Url("/")));
  ASSERT_TRUE(request_->Send());
  EXPECT_EQ(server_.Requests().at(0).request_line, "HEAD / HTTP/1.1");
  EXPECT_EQ(request_->Status(), 200);
  EXPECT_TRUE(request_->ResponseBody().empty());

  ASSERT_TRUE(request_->Open("GET", server_.Url("/")));
  ASSERT_TRUE(request_->Send());
  EXPECT_EQ(Text(request_->ResponseBody()), test_support::PatternBody(200'000));
}

TEST_F(HttpRequestTest, FollowsRedirectsUnlessSwitchedOff) {
  ScriptedResponse moved = ScriptedResponse::Redirect("/final");
  moved.header_lines.push_back("Set-Cookie: from=redirect");
  server_.On("/start", moved);
  server_.On("/final", ScriptedResponse::Text("arrived"));

  ASSERT_TRUE(request_->Open("GET", server_.Url("/start")));
  ASSERT_TRUE(request_->Send());
  EXPECT_EQ(request_->Status(), 200);
  EXPECT_EQ(request_->GetAllResponseHeaders(), "Content-Type: text/html\r\nContent-Length: 7\r\n");
  EXPECT_EQ(Text(request_->ResponseBody()), "arrived");

  ASSERT_TRUE(request_->Open("GET", server_.Url("/start")));
  ASSERT_TRUE(request_->SetOption(kOptionEnableRedirects, 0));
  EXPECT_EQ(request_->GetOption(kOptionEnableRedirects), 0);
  ASSERT_TRUE(request_->Send());
  EXPECT_EQ(request_->Status(), 302);
  EXPECT_EQ(request_->GetAllResponseHeaders(),
            "Location: /final\r\nSet-Cookie: from=redirect\r\nContent-Length: 0\r\n");

  std::vector<RecordedRequest> requests = server_.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[1].Path(), "/final");
  EXPECT_EQ(requests[2].Path(), "/start");
}

TEST_F(HttpRequestTest, ReusesItsConnectionForTheNextSend) {
  server_.On("/", ScriptedResponse::Text("x"));
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(request_->Open("GET", server_.Url("/")));
    ASSERT_TRUE(request_->Send());
  }
  std::vector<RecordedRequest> requests = server_.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[2].connection, requests[0].connection);
  EXPECT_EQ(server_.ConnectionCount(), 1);
}

TEST_F(HttpRequestTest, RefusesAddressesItCannotRequest) {
  for (std::string_view url :
       {"", "not a url", "127.0.0.1/no-scheme", "ftp://127.0.0.1/x", "file:///etc/passwd",
        "http://", "http://127.0.0.1:99999/", "http://127.0.0.1/a\r\nX: y"}) {
    EXPECT_FALSE(request_->Open("GET", url)) << url;
    EXPECT_FALSE(request_->SetRequestHeader("Accept", "*/*"));
    EXPECT_FALSE(request_->Send()) << url;
    ExpectEmptyResults(*request_);
  }
  EXPECT_FALSE(request_->Open("GET", server_.Url("/"), /*asynchronous=*/true));
  EXPECT_FALSE(request_->Open("BAD VERB", server_.Url("/")));
  EXPECT_EQ(server_.RequestCount(), 0u);
}

// Every fault ends with empty reads, also after an earlier success on the same object.
TEST_F(HttpRequestTest, FaultsLeaveEmptyResults) {
  ScriptedResponse reset;
  reset.generated_body_size = 1'000'000;
  reset.reset_after_body_bytes = 1000;
  ScriptedResponse silent;
  silent.never_answer = true;
  ScriptedResponse giant_header = ScriptedResponse::Text("x");
  giant_header.header_lines.push_back("X-Giant: " + std::string(100 * 1024, 'g'));
  server_.On("/ok", ScriptedResponse::Text("fine"));
  server_.On("/reset", reset);
  server_.On("/silent", silent);
  server_.On("/giant-header", giant_header);

  const std::string refused =
      "http://127.0.0.1:" + std::to_string(test_support::RefusedLoopbackPort()) + "/";
  for (const std::string& url :
       {refused, server_.Url("/reset"), server_.Url("/silent"), server_.Url("/giant-header")}) {
    ASSERT_TRUE(request_->Open("GET", server_.Url("/ok")));
    ASSERT_TRUE(request_->Send());
    ASSERT_EQ(request_->Status(), 200);

    ASSERT_TRUE(request_->Open("GET", url));
    ASSERT_TRUE(request_->SetTimeouts(200, 200, 200, 200));
    EXPECT_FALSE(request_->Send()) << url;
    ExpectEmptyResults(*request_);
  }
}

TEST_F(HttpRequestTest, ReadsA50MegabyteBody) {
  ScriptedResponse big;
  big.generated_body_size = 50u << 20;
  server_.On("/", big);
  ASSERT_TRUE(request_->Open("GET", server_.Url("/")));
  ASSERT_TRUE(request_->Send());
  std::vector<std::uint8_t> body = request_->ResponseBody();
  ASSERT_EQ(body.size(), big.generated_body_size);
  for (std::size_t i : {std::size_t{0}, std::size_t{12345}, body.size() - 1})
    EXPECT_EQ(static_cast<char>(body[i]), test_support::PatternByte(i)) << i;
}

// A peer that takes the connection but never reads: the send limit ends the upload.
TEST_F(HttpRequestTest, SendLimitEndsAnUploadNobodyReads) {
  test_support::SilentListener listener;
  ASSERT_NE(listener.Port(), 0);
  ASSERT_TRUE(
      request_->Open("POST", "http://127.0.0.1:" + std::to_string(listener.Port()) + "/upload"));
  ASSERT_TRUE(request_->SetTimeouts(0, 0, 200, 0));
  EXPECT_FALSE(request_->Send(std::string(64u << 20, 'u')));
  ExpectEmptyResults(*request_);
}

// The TCP connection completes in the kernel, the TLS handshake never does: the connect limit
// covers it, also when resolving has no limit of its own.
TEST_F(HttpRequestTest, ConnectLimitCoversAHandshakeThatNeverCompletes) {
  test_support::SilentListener listener;
  ASSERT_NE(listener.Port(), 0);
  for (int resolve_ms : {100, 0}) {
    ASSERT_TRUE(
        request_->Open("GET", "https://127.0.0.1:" + std::to_string(listener.Port()) + "/"));
    ASSERT_TRUE(request_->SetTimeouts(resolve_ms, 100, 0, 0));
    EXPECT_FALSE(request_->Send()) << resolve_ms;
    ExpectEmptyResults(*request_);
  }
}

TEST_F(HttpRequestTest, AbortFromAnotherThreadEndsTheSend) {
  ScriptedResponse silent;
  silent.never_answer = true;
  server_.On("/", silent);
  HttpRequest* request = request_.get();
  server_.SetRequestObserver([request](const RecordedRequest&) { request->Abort(); });
  ASSERT_TRUE(request_->Open("GET", server_.Url("/")));
  ASSERT_TRUE(request_->SetTimeouts(0, 0, 0, 0));  // only the abort can end it
  EXPECT_FALSE(request_->Send());
  ExpectEmptyResults(*request_);
}

TEST_F(HttpRequestTest, KeepsTimeoutsAndRefusesNegativeOnes) {
  EXPECT_EQ(request_->GetTimeouts(), (Timeouts{0, 60'000, 30'000, 30'000}));
  EXPECT_TRUE(request_->SetTimeouts(5000, 5000, 5000, 5000));
  EXPECT_FALSE(request_->SetTimeouts(1, 2, 3, -2));
  EXPECT_EQ(request_->GetTimeouts(), (Timeouts{5000, 5000, 5000, 5000}));
  EXPECT_TRUE(request_->SetTimeouts(-1, 0, -1, 0));
  EXPECT_EQ(request_->GetTimeouts(), (Timeouts{-1, 0, -1, 0}));
  EXPECT_FALSE(request_->SetOption(5, 1));
  EXPECT_EQ(request_->GetOption(5), std::nullopt);
  EXPECT_EQ(request_->GetOption(kOptionIgnoreCertificateErrors), 0);
}

// The test server plays the proxy: it sees the absolute address and, after its challenge,
// the proxy credentials.
TEST_F(HttpRequestTest, GoesThroughANamedProxyWithCredentials) {
  server_.SetFallback([](const RecordedRequest& request) {
    if (request.Header("Proxy-Authorization")) return ScriptedResponse::Text("via proxy");
    ScriptedResponse challenge = ScriptedResponse::Text("", 407);
    challenge.header_lines.push_back("Proxy-Authenticate: Basic realm=\"test\"");
    return challenge;
  });
  const std::string target =
      "http://127.0.0.1:" + std::to_string(test_support::RefusedLoopbackPort()) + "/x?y=1";
  ASSERT_TRUE(request_->Open("GET", target));
  ASSERT_TRUE(
      request_->SetProxy(ProxySetting::kNamed, "127.0.0.1:" + std::to_string(server_.Port())));
  ASSERT_TRUE(request_->SetCredentials("user", "pass", static_cast<int>(CredentialTarget::kProxy)));
  EXPECT_FALSE(request_->SetCredentials("user", "pass", 7));
  ASSERT_TRUE(request_->Send());

  EXPECT_EQ(request_->Status(), 200);
  EXPECT_EQ(Text(request_->ResponseBody()), "via proxy");
  std::vector<RecordedRequest> requests = server_.Requests();
  ASSERT_FALSE(requests.empty());
  EXPECT_EQ(requests.back().request_line, "GET " + target + " HTTP/1.1");
  EXPECT_EQ(requests.back().Header("Proxy-Authorization"), "Basic dXNlcjpwYXNz");
  EXPECT_FALSE(request_->SetProxy(ProxySetting::kNamed, ""));
}

TEST_F(HttpRequestTest, AnswersAServerChallengeWithTheServerCredentials) {
  server_.SetFallback([](const RecordedRequest& request) {
    if (request.Header("Authorization") == "Basic dXNlcjpwYXNz")
      return ScriptedResponse::Text("in");
    ScriptedResponse challenge = ScriptedResponse::Text("", 401);
    challenge.header_lines.push_back("WWW-Authenticate: Basic realm=\"test\"");
    return challenge;
  });
  ASSERT_TRUE(request_->Open("GET", server_.Url("/")));
  ASSERT_TRUE(
      request_->SetCredentials("user", "pass", static_cast<int>(CredentialTarget::kServer)));
  ASSERT_TRUE(request_->Send());
  EXPECT_EQ(Text(request_->ResponseBody()), "in");
}

TEST(HttpRequestTls, IgnoresOnlyTheCertificateErrorsItIsToldTo) {
  using test_support::CertificateFlaw;
  struct Case {
    CertificateFlaw flaw;
    std::int64_t ignored;
    bool succeeds;
  };
  const Case cases[] = {
      {CertificateFlaw::kNone, 0, false},
      {CertificateFlaw::kNone, kIgnoreAllCertificateErrors, true},
      {CertificateFlaw::kExpired, kIgnoreAllCertificateErrors, true},
      {CertificateFlaw::kWrongName, kIgnoreAllCertificateErrors, true},
      {CertificateFlaw::kWrongName, kIgnoreAllCertificateErrors & ~kIgnoreNameMismatch, false},
      {CertificateFlaw::kNone, kIgnoreUnknownAuthority | kIgnoreNameMismatch, false},
  };
  for (const Case& c : cases) {
    HttpTestServer server({.tls = true, .certificate_flaw = c.flaw});
    server.On("/", ScriptedResponse::Text("secure"));
    auto request = HttpRequest::Create();
    ASSERT_TRUE(request->Open("GET", server.Url("/")));
    ASSERT_TRUE(request->SetOption(kOptionIgnoreCertificateErrors, c.ignored));
    EXPECT_EQ(request->Send(), c.succeeds) << static_cast<int>(c.flaw) << " " << c.ignored;
    EXPECT_EQ(Text(request->ResponseBody()), c.succeeds ? "secure" : "");
  }
}

// Ignoring is a property of one request: neither a kept-alive connection nor a cached TLS
// session of a lenient request may carry a later strict request past the check.
TEST(HttpRequestTls, IgnoringCertificateErrorsStaysWithItsRequest) {
  HttpTestServer server({.tls = true});
  server.On("/", ScriptedResponse::Text("secure"));
  auto lenient = HttpRequest::Create();
  auto fresh = HttpRequest::Create();
  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(lenient->Open("GET", server.Url("/")));
    ASSERT_TRUE(lenient->SetOption(kOptionIgnoreCertificateErrors, kIgnoreAllCertificateErrors));
    ASSERT_TRUE(lenient->Send());

    ASSERT_TRUE(lenient->Open("GET", server.Url("/")));
    ASSERT_TRUE(lenient->SetOption(kOptionIgnoreCertificateErrors, 0));
    EXPECT_FALSE(lenient->Send()) << round;
    ASSERT_TRUE(fresh->Open("GET", server.Url("/")));
    EXPECT_FALSE(fresh->Send()) << round;
  }
}

// Several threads, each with its own object, share the name and session caches safely.
TEST(HttpRequestThreads, ObjectsOnSeveralThreadsWorkSideBySide) {
  HttpTestServer server({.tls = true});
  server.SetFallback(
      [](const RecordedRequest& request) { return ScriptedResponse::Text(request.Path()); });
  std::vector<std::string> bodies(4);
  std::vector<std::thread> threads;
  for (std::size_t t = 0; t < bodies.size(); ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 5; ++i) {
        auto request = HttpRequest::Create();
        std::string path = "/" + std::to_string(t) + "-" + std::to_string(i);
        if (request && request->Open("GET", server.Url(path)) &&
            request->SetOption(kOptionIgnoreCertificateErrors, kIgnoreAllCertificateErrors) &&
            request->Send())
          bodies[t] += Text(request->ResponseBody());
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (std::size_t t = 0; t < bodies.size(); ++t) {
    std::string expected;
    for (int i = 0; i < 5; ++i) expected += "/" + std::to_string(t) + "-" + std::to_string(i);
    EXPECT_EQ(bodies[t], expected);
  }
}

}  // namespace
}  // namespace platform::net
