#include "support/http_test_server.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <openssl/x509.h>

#include <thread>

#include "support/raw_http_client.h"

namespace test_support {
namespace {

using ::testing::ElementsAre;

TEST(HttpTestServer, RecordsTheRequestAsItArrivedAndPlaysTheScriptedAnswer) {
  HttpTestServer server;
  ASSERT_TRUE(server.Running());
  ScriptedResponse page = ScriptedResponse::Text("hello", 201);
  page.header_lines = {"set-cookie: a=1; path=/", "SET-COOKIE: b=2", "Set-Cookie: c=3"};
  server.On("/p", page);

  RawClient client(server.Port());
  ASSERT_TRUE(client.connected());
  ASSERT_TRUE(client.Send(
      "POST /p?q=1 HTTP/1.1\r\nHost: x\r\nX-B:  2 \r\nx-a: 1\r\nContent-Length: 3\r\n\r\nabc"));
  RawClient::Response response = client.ReadResponse();

  EXPECT_EQ(response.status_line, "HTTP/1.1 201 Status");
  EXPECT_THAT(response.header_lines, ElementsAre("set-cookie: a=1; path=/", "SET-COOKIE: b=2",
                                                 "Set-Cookie: c=3", "Content-Length: 5"));
  EXPECT_EQ(response.body, "hello");
  std::vector<RecordedRequest> requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].request_line, "POST /p?q=1 HTTP/1.1");
  EXPECT_THAT(requests[0].header_lines,
              ElementsAre("Host: x", "X-B:  2 ", "x-a: 1", "Content-Length: 3"));
  EXPECT_EQ(requests[0].body, "abc");
  EXPECT_EQ(requests[0].Method(), "POST");
  EXPECT_EQ(requests[0].Target(), "/p?q=1");
  EXPECT_EQ(requests[0].Path(), "/p");
  EXPECT_EQ(requests[0].Header("x-b"), "2");
  EXPECT_EQ(requests[0].Header("missing"), std::nullopt);
}

TEST(HttpTestServer, KeepsConnectionsAliveAndNumbersThem) {
  HttpTestServer server;
  server.On("/", ScriptedResponse::Text("x"));
  {
    RawClient first(server.Port());
    for (int i = 0; i < 2; ++i) {
      ASSERT_TRUE(first.Send("GET / HTTP/1.1\r\nHost: x\r\n\r\n"));
      EXPECT_EQ(first.ReadResponse().body, "x");
    }
  }
  RawClient second(server.Port());
  ASSERT_TRUE(second.Send("GET /none HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n"));
  RawClient::Response missing = second.ReadResponse();
  EXPECT_EQ(missing.status_line, "HTTP/1.1 404 Not Found");
  EXPECT_THAT(missing.header_lines, ::testing::Contains("Connection: close"));

  std::vector<RecordedRequest> requests = server.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].connection, 1);
  EXPECT_EQ(requests[1].connection, 1);
  EXPECT_EQ(requests[2].connection, 2);
  EXPECT_EQ(server.ConnectionCount(), 2);
}

TEST(HttpTestServer, GeneratesLargeBodiesPlainAndChunked) {
  HttpTestServer server;
  ScriptedResponse plain;
  plain.generated_body_size = 300'001;
  ScriptedResponse chunked = plain;
  chunked.chunked = true;
  server.On("/plain", plain);
  server.On("/chunked", chunked);

  RawClient client(server.Port());
  for (const char* path : {"/plain", "/chunked"}) {
    ASSERT_TRUE(client.Send(std::string("GET ") + path + " HTTP/1.1\r\nHost: x\r\n\r\n"));
    EXPECT_EQ(client.ReadResponse().body, PatternBody(300'001)) << path;
  }
}

TEST(HttpTestServer, FallbackSeesTheRequestAndRedirectsPointElsewhere) {
  HttpTestServer server;
  server.SetFallback([](const RecordedRequest& request) {
    return ScriptedResponse::Redirect("/to" + request.Path(), 307);
  });
  RawClient client(server.Port());
  ASSERT_TRUE(client.Send("GET /from HTTP/1.1\r\nHost: x\r\n\r\n"));
  RawClient::Response response = client.ReadResponse();
  EXPECT_EQ(response.status_line, "HTTP/1.1 307 Temporary Redirect");
  EXPECT_THAT(response.header_lines, ::testing::Contains("Location: /to/from"));
}

TEST(HttpTestServer, ResetsTheConnectionMidBody) {
  HttpTestServer server;
  ScriptedResponse page;
  page.generated_body_size = 10'000;
  page.reset_after_body_bytes = 100;
  server.On("/", page);
  RawClient client(server.Port());
  ASSERT_TRUE(client.Send("GET / HTTP/1.1\r\nHost: x\r\n\r\n"));
  EXPECT_FALSE(client.ReadUntil(1'000'000));
  EXPECT_TRUE(client.reset());
  EXPECT_LE(client.pending().size(), 200u);
}

// A silent or delayed answer must not keep Stop() waiting: the test would hang otherwise.
TEST(HttpTestServer, StopEndsSilentAndDelayedConnections) {
  HttpTestServer server;
  ScriptedResponse silent;
  silent.never_answer = true;
  ScriptedResponse slow = ScriptedResponse::Text("late");
  slow.delay = std::chrono::hours(1);
  server.On("/silent", silent);
  server.On("/slow", slow);

  RawClient a(server.Port()), b(server.Port());
  ASSERT_TRUE(a.Send("GET /silent HTTP/1.1\r\nHost: x\r\n\r\n"));
  ASSERT_TRUE(b.Send("GET /slow HTTP/1.1\r\nHost: x\r\n\r\n"));
  while (server.RequestCount() < 2) std::this_thread::yield();
  server.Stop();
  a.ReadUntil(1);
  b.ReadUntil(1);
  EXPECT_EQ(a.pending(), "");
  EXPECT_EQ(b.pending(), "");
}

TEST(HttpTestServer, SpeaksTlsWithACertificateOfItsThrowAwayAuthority) {
  HttpTestServer server({.tls = true});
  ASSERT_TRUE(server.Running());
  EXPECT_EQ(server.BaseUrl().rfind("https://127.0.0.1:", 0), 0u);
  server.On("/", ScriptedResponse::Text("secret"));
  for (const char* host : {"127.0.0.1", "localhost"}) {
    RawClient client(server.Port());
    ASSERT_EQ(client.StartTls(server.AuthorityPem(), host), X509_V_OK) << host;
    ASSERT_TRUE(client.Send("GET / HTTP/1.1\r\nHost: x\r\n\r\n"));
    EXPECT_EQ(client.ReadResponse().body, "secret");
  }
}

TEST(HttpTestServer, FlawedCertificatesFailVerificationForTheirReason) {
  struct Case {
    CertificateFlaw flaw;
    long verify_result;
  };
  for (Case c : {Case{CertificateFlaw::kExpired, X509_V_ERR_CERT_HAS_EXPIRED},
                 Case{CertificateFlaw::kWrongName, X509_V_ERR_HOSTNAME_MISMATCH}}) {
    HttpTestServer server({.tls = true, .certificate_flaw = c.flaw});
    RawClient client(server.Port());
    EXPECT_EQ(client.StartTls(server.AuthorityPem(), "localhost"), c.verify_result);
  }
  HttpTestServer other({.tls = true});
  HttpTestServer server({.tls = true});
  RawClient client(server.Port());
  EXPECT_EQ(client.StartTls(other.AuthorityPem(), "localhost"),
            X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY);
}

}  // namespace
}  // namespace test_support
