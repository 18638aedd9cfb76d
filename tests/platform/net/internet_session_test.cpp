#include "platform/net/internet_session.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/net/cookie_store.h"
#include "support/http_test_server.h"

namespace platform::net {
namespace {

using test_support::CertificateFlaw;
using test_support::HttpTestServer;
using test_support::RecordedRequest;
using test_support::ScriptedResponse;

// A scripted answer with some fields changed from their defaults.
template <typename Change>
ScriptedResponse Answer(Change change) {
  ScriptedResponse response;
  change(response);
  return response;
}

constexpr std::uint32_t kPlain = kInternetFlagReload | kInternetFlagNeedFile;

std::unique_ptr<InternetSession> DirectSession() {
  return InternetSession::Open("shoulu-test/1.0", InternetAccess::kDirect);
}

std::unique_ptr<InternetRequest> OpenRequest(const InternetSession& session,
                                             const HttpTestServer& server, std::string_view verb,
                                             std::string_view path, std::uint32_t flags = kPlain) {
  auto connection = session.Connect("127.0.0.1", server.Port());
  if (!connection) return nullptr;
  return connection->OpenRequest(verb, path, "HTTP/1.1", flags);
}

std::string ReadAll(InternetRequest& request, std::size_t chunk_size) {
  std::string body;
  std::vector<std::uint8_t> chunk(chunk_size);
  while (const std::size_t count = request.Read(chunk))
    body.append(chunk.begin(), chunk.begin() + count);
  return body;
}

std::optional<std::string> RawHeaders(const InternetRequest& request) {
  std::vector<char> buffer(4096);
  const auto length = request.QueryRawHeaders(buffer);
  if (!length) return std::nullopt;
  return std::string(buffer.data(), *length);
}

class InternetSessionTest : public testing::Test {
 protected:
  void SetUp() override {
    CookieStore::Process().Clear();
    ASSERT_TRUE(server.Running());
  }
  HttpTestServer server;
};

// Exactly the caller's lines go out after the request's own, none of the transfer library's
// defaults; the last one is followed by the end of the head.
TEST_F(InternetSessionTest, SendsTheRequestLineAgentAndTheCallersLinesInOrder) {
  server.On("/p", ScriptedResponse::Text("ok"));
  auto session = DirectSession();
  auto request = OpenRequest(*session, server, "GET", "/p?q=1 2");
  ASSERT_TRUE(request);
  ASSERT_TRUE(request->Send("X-One: 1\r\n\r\nno colon\r\nX-Two: 2\r\nCookie: a=1\r\n\r\n"));
  const RecordedRequest sent = server.Requests().at(0);
  EXPECT_EQ(sent.request_line, "GET /p?q=1%202 HTTP/1.1");
  EXPECT_EQ(sent.Header("User-Agent"), "shoulu-test/1.0");
  EXPECT_EQ(sent.Header("Host"), "127.0.0.1:" + std::to_string(server.Port()));
  EXPECT_EQ(sent.Header("Accept"), std::nullopt);
  EXPECT_EQ(sent.Header("Expect"), std::nullopt);
  ASSERT_GE(sent.header_lines.size(), 3u);
  const std::vector<std::string> tail(sent.header_lines.end() - 3, sent.header_lines.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"X-One: 1", "X-Two: 2", "Cookie: a=1"}));
  EXPECT_TRUE(sent.body.empty());
}

TEST_F(InternetSessionTest, PostsTheBodyWithTheCallersContentHeadersOnly) {
  server.On("/form", ScriptedResponse::Text("posted"));
  auto session = DirectSession();
  auto request = OpenRequest(*session, server, "POST", "/form");
  const std::string body(3000, 'b');  // long enough that a 100-continue would be asked for
  ASSERT_TRUE(
      request->Send("Content-Length: 3000\r\n",
                    std::span(reinterpret_cast<const std::uint8_t*>(body.data()), body.size())));
  const RecordedRequest sent = server.Requests().at(0);
  EXPECT_EQ(sent.Method(), "POST");
  EXPECT_EQ(sent.body, body);
  EXPECT_EQ(sent.Header("Content-Type"), std::nullopt);
  EXPECT_EQ(sent.Header("Expect"), std::nullopt);
  EXPECT_EQ(ReadAll(*request, 2048), "posted");
}

TEST_F(InternetSessionTest, ReadsALargeBodyInChunksOfAnySize) {
  server.On("/big", Answer([](ScriptedResponse& r) {
              r.generated_body_size = 100'000;
              r.chunked = true;
            }));
  server.On("/sized", Answer([](ScriptedResponse& r) { r.generated_body_size = 70'001; }));
  auto session = DirectSession();
  for (const auto& [path, size, chunk] :
       {std::tuple{"/big", 100'000u, 2048u}, std::tuple{"/sized", 70'001u, 7u}}) {
    auto request = OpenRequest(*session, server, "GET", path);
    ASSERT_TRUE(request->Send({}));
    EXPECT_EQ(ReadAll(*request, chunk), test_support::PatternBody(size)) << path;
    std::uint8_t more[16];
    EXPECT_EQ(request->Read(more), 0u);
  }
}

TEST_F(InternetSessionTest, RawHeadersAreTheStatusAndLinesThenAnEmptyLine) {
  server.On("/h", Answer([](ScriptedResponse& r) {
              r.status = 404;
              r.header_lines = {"X-A: 1", "set-cookie: z=9"};
              r.body = "gone";
            }));
  auto session = DirectSession();
  auto request = OpenRequest(*session, server, "GET", "/h");
  std::vector<char> before(64, '#');
  EXPECT_FALSE(request->QueryRawHeaders(before)) << "nothing received yet";
  ASSERT_TRUE(request->Send({}));
  const std::string expected =
      "HTTP/1.1 404 Not Found\r\nX-A: 1\r\nset-cookie: z=9\r\nContent-Length: 4\r\n\r\n";
  EXPECT_EQ(RawHeaders(*request), expected);

  // The text and its terminating zero must fit; otherwise the buffer is left as it was.
  for (const std::size_t size : {expected.size() - 1, expected.size(), expected.size() + 1}) {
    std::vector<char> buffer(size, ' ');
    const auto length = request->QueryRawHeaders(buffer);
    if (size > expected.size()) {
      ASSERT_EQ(length, expected.size());
      EXPECT_EQ(std::string(buffer.data()), expected);
    } else {
      EXPECT_FALSE(length) << size;
      EXPECT_EQ(std::string(buffer.begin(), buffer.end()), std::string(size, ' ')) << size;
    }
  }
}

TEST_F(InternetSessionTest, ReusesTheKeptAliveConnectionForTheNextRequest) {
  server.On("/a", ScriptedResponse::Text("a"));
  for (int i = 0; i < 3; ++i) {
    auto session = DirectSession();  // each round opens and closes everything
    auto request = OpenRequest(*session, server, "GET", "/a");
    ASSERT_TRUE(request->Send({}));
  }
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[1].connection, requests[0].connection);
  EXPECT_EQ(requests[2].connection, requests[0].connection);
}

// Response cookies enter the store and go back to their host, unless the request says no.
TEST_F(InternetSessionTest, CookiesGoThroughTheStoreUnlessTheRequestRefusesThem) {
  server.On("/set",
            Answer([](ScriptedResponse& r) { r.header_lines = {"Set-Cookie: s=1; Path=/"}; }));
  server.On("/refused",
            Answer([](ScriptedResponse& r) { r.header_lines = {"Set-Cookie: r=2; Path=/"}; }));
  server.On("/look", ScriptedResponse::Text("look"));
  auto session = DirectSession();
  ASSERT_TRUE(OpenRequest(*session, server, "GET", "/set")->Send({}));
  ASSERT_TRUE(
      OpenRequest(*session, server, "GET", "/refused", kPlain | kInternetFlagNoCookies)->Send({}));
  ASSERT_TRUE(OpenRequest(*session, server, "GET", "/look")->Send({}));
  ASSERT_TRUE(
      OpenRequest(*session, server, "GET", "/look", kPlain | kInternetFlagNoCookies)->Send({}));
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 4u);
  EXPECT_EQ(requests[0].Header("Cookie"), std::nullopt);
  EXPECT_EQ(requests[1].Header("Cookie"), std::nullopt) << "no cookies: none from the store";
  EXPECT_EQ(requests[2].Header("Cookie"), "s=1") << "r=2 was not stored";
  EXPECT_EQ(requests[3].Header("Cookie"), std::nullopt);
}

TEST_F(InternetSessionTest, SetCookieStoresForTheUrlsHostAndPath) {
  ASSERT_TRUE(InternetSetCookie("http://127.0.0.1/", "a", "1"));
  ASSERT_TRUE(InternetSetCookie("http://127.0.0.1/", "b", "2; path=/deep"));
  ASSERT_TRUE(InternetSetCookie("http://shoulu.test/", "", "c=3"));
  EXPECT_FALSE(InternetSetCookie("ftp://127.0.0.1/", "x", "1"));
  EXPECT_FALSE(InternetSetCookie("http://127.0.0.1/", "", ""));
  EXPECT_EQ(InternetGetCookie("http://127.0.0.1:9/"), "a=1");
  EXPECT_EQ(InternetGetCookie("http://127.0.0.1/deep/x"), "b=2; a=1");
  EXPECT_EQ(InternetGetCookie("https://shoulu.test/any"), "c=3");
  EXPECT_EQ(InternetGetCookie("http://other.shoulu.test/"), "");

  server.On("/deep/page", ScriptedResponse::Text("x"));
  auto session = DirectSession();
  ASSERT_TRUE(OpenRequest(*session, server, "GET", "/deep/page")->Send({}));
  EXPECT_EQ(server.Requests().at(0).Header("Cookie"), "b=2; a=1");
}

// Redirects are followed with the cookies each hop set, a POST turning into a GET; with no
// auto-redirect the redirect itself is the answer.
TEST_F(InternetSessionTest, FollowsRedirectsUnlessToldNotTo) {
  ScriptedResponse hop = ScriptedResponse::Redirect("/end");
  hop.header_lines.push_back("Set-Cookie: hop=1");
  server.On("/start", hop);
  server.On("/end", ScriptedResponse::Text("arrived"));
  auto session = DirectSession();

  auto followed = OpenRequest(*session, server, "POST", "/start");
  const std::uint8_t byte = 'x';
  ASSERT_TRUE(followed->Send("Content-Length: 1\r\n", std::span(&byte, 1)));
  EXPECT_EQ(ReadAll(*followed, 2048), "arrived");
  EXPECT_EQ(RawHeaders(*followed)->substr(0, 17), "HTTP/1.1 200 OK\r\n");
  auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[1].request_line, "GET /end HTTP/1.1");
  EXPECT_EQ(requests[1].Header("Cookie"), "hop=1");
  EXPECT_TRUE(requests[1].body.empty());

  auto kept = OpenRequest(*session, server, "GET", "/start", kPlain | kInternetFlagNoAutoRedirect);
  ASSERT_TRUE(kept->Send({}));
  EXPECT_EQ(RawHeaders(*kept)->substr(0, 22), "HTTP/1.1 302 Found\r\nLo");
  EXPECT_EQ(server.RequestCount(), 3u);
}

TEST_F(InternetSessionTest, ARedirectToASecureAddressNeedsItsFlag) {
  HttpTestServer secure(HttpTestServer::Options{.tls = true});
  ASSERT_TRUE(AddTrustedAuthority(secure.AuthorityPem()));
  secure.On("/s", ScriptedResponse::Text("secure"));
  server.On("/up", ScriptedResponse::Redirect(secure.Url("/s")));
  auto session = DirectSession();
  auto refused = OpenRequest(*session, server, "GET", "/up");
  ASSERT_TRUE(refused->Send({}));
  EXPECT_EQ(ReadAll(*refused, 2048), "");
  EXPECT_EQ(secure.RequestCount(), 0u);
  auto allowed =
      OpenRequest(*session, server, "GET", "/up", kPlain | kInternetFlagIgnoreRedirectToHttps);
  ASSERT_TRUE(allowed->Send({}));
  EXPECT_EQ(ReadAll(*allowed, 2048), "secure");
}

// Trust is added per authority; certificates are still checked in full.
TEST_F(InternetSessionTest, SecureRequestsTrustOnlyAddedAuthoritiesAndRightNames) {
  HttpTestServer trusted(HttpTestServer::Options{.tls = true});
  HttpTestServer unknown(HttpTestServer::Options{.tls = true});
  HttpTestServer wrong_name(
      HttpTestServer::Options{.tls = true, .certificate_flaw = CertificateFlaw::kWrongName});
  HttpTestServer expired(
      HttpTestServer::Options{.tls = true, .certificate_flaw = CertificateFlaw::kExpired});
  ASSERT_TRUE(AddTrustedAuthority(trusted.AuthorityPem()));
  ASSERT_TRUE(AddTrustedAuthority(wrong_name.AuthorityPem()));
  ASSERT_TRUE(AddTrustedAuthority(expired.AuthorityPem()));
  EXPECT_FALSE(AddTrustedAuthority("not a certificate"));
  struct Case {
    HttpTestServer* server;
    bool succeeds;
  };
  auto session = DirectSession();
  for (const Case& c : {Case{&trusted, true}, Case{&unknown, false}, Case{&wrong_name, false},
                        Case{&expired, false}}) {
    c.server->On("/", ScriptedResponse::Text("hello"));
    auto request = OpenRequest(*session, *c.server, "GET", "/", kPlain | kInternetFlagSecure);
    EXPECT_EQ(request->Send({}), c.succeeds) << c.server->Port();
    EXPECT_EQ(ReadAll(*request, 2048), c.succeeds ? "hello" : "");
    EXPECT_EQ(RawHeaders(*request).has_value(), c.succeeds);
  }
}

TEST_F(InternetSessionTest, AFailedSendLeavesNothingToRead) {
  server.On("/cut", Answer([](ScriptedResponse& r) {
              r.generated_body_size = 10'000;
              r.reset_after_body_bytes = 100;
            }));
  auto session = DirectSession();
  auto request = OpenRequest(*session, server, "GET", "/cut");
  EXPECT_FALSE(request->Send({}));
  std::uint8_t chunk[64];
  EXPECT_EQ(request->Read(chunk), 0u);
  EXPECT_FALSE(RawHeaders(*request));
}

TEST_F(InternetSessionTest, AStopEndsATransferTheServerNeverAnswers) {
  server.On("/silent", Answer([](ScriptedResponse& r) { r.never_answer = true; }));
  std::stop_source stop;
  server.SetRequestObserver([&](const RecordedRequest&) { stop.request_stop(); });
  auto session = DirectSession();
  auto request = OpenRequest(*session, server, "GET", "/silent");
  EXPECT_FALSE(request->Send({}, {}, stop.get_token()));
  EXPECT_EQ(server.RequestCount(), 1u);

  std::stop_source already;
  already.request_stop();
  auto second = OpenRequest(*session, server, "GET", "/silent");
  EXPECT_FALSE(second->Send({}, {}, already.get_token()));
  EXPECT_EQ(server.RequestCount(), 1u) << "a stopped request is never sent";
}

TEST_F(InternetSessionTest, ANamedProxyGetsTheRequestsOfItsScheme) {
  server.SetFallback([](const RecordedRequest&) { return ScriptedResponse::Text("via proxy"); });
  const std::string proxy = "127.0.0.1:" + std::to_string(server.Port());
  auto session = InternetSession::Open("agent", InternetAccess::kProxy, "http=" + proxy);
  ASSERT_TRUE(session);
  auto connection = session->Connect("shoulu.test", 8081);
  auto request = connection->OpenRequest("GET", "/through", "HTTP/1.1", kPlain);
  ASSERT_TRUE(request->Send({}));
  EXPECT_EQ(ReadAll(*request, 2048), "via proxy");
  EXPECT_EQ(server.Requests().at(0).request_line, "GET http://shoulu.test:8081/through HTTP/1.1");
}

TEST(InternetSessionProxy, ChoosesTheEntryOfTheScheme) {
  struct Case {
    std::string list;
    std::string http;
    std::string https;
  };
  const Case cases[] = {
      {"http=p:1", "http://p:1", ""},
      {"p:2", "http://p:2", "http://p:2"},
      {"https=s:3 http=h:4", "http://h:4", "http://s:3"},
      {"http=h:5;all:6", "http://h:5", "http://all:6"},
  };
  for (const Case& c : cases) {
    auto session = InternetSession::Open("a", InternetAccess::kProxy, c.list);
    ASSERT_TRUE(session) << c.list;
    EXPECT_EQ(session->ProxyFor("http"), c.http) << c.list;
    EXPECT_EQ(session->ProxyFor("https"), c.https) << c.list;
  }
  EXPECT_FALSE(InternetSession::Open("a", InternetAccess::kProxy, " ; "));
  EXPECT_EQ(InternetSession::Open("a", InternetAccess::kDirect, "p:1")->ProxyFor("http"), "");
  EXPECT_EQ(InternetSession::Open("a\r\nX-Evil: 1", InternetAccess::kDirect)->agent(), "a");
}

TEST(InternetSessionOpen, RefusesHostsPathsVerbsAndVersionsNoRequestCanCarry) {
  auto session = DirectSession();
  EXPECT_FALSE(session->Connect("", 80));
  EXPECT_FALSE(session->Connect("bad host", 80));
  EXPECT_FALSE(session->Connect("a/b", 80));
  EXPECT_FALSE(session->Connect("h", 65536));
  auto connection = session->Connect("Shoulu.Test", 0);
  ASSERT_TRUE(connection);
  EXPECT_TRUE(connection->OpenRequest("GET", "/", "", kPlain));
  EXPECT_TRUE(connection->OpenRequest("PUT", "/x?y", "HTTP/1.0", kPlain));
  EXPECT_FALSE(connection->OpenRequest("", "/", "HTTP/1.1", kPlain));
  EXPECT_FALSE(connection->OpenRequest("G T", "/", "HTTP/1.1", kPlain));
  EXPECT_FALSE(connection->OpenRequest("GET", "x", "HTTP/1.1", kPlain));
  EXPECT_FALSE(connection->OpenRequest("GET", "/a\r\nX: 1", "HTTP/1.1", kPlain));
  EXPECT_FALSE(connection->OpenRequest("GET", "/", "HTTP/2", kPlain));
}

}  // namespace
}  // namespace platform::net
