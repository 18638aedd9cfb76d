#include "support/http_test_server.h"

#include <arpa/inet.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <future>

namespace test_support {
namespace {

using ::testing::ElementsAre;

// A deliberately dumb client, so that the server is tested against bytes, not another stack.
class RawClient {
 public:
  explicit RawClient(std::uint16_t port) {
    fd_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    connected_ = connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  }
  ~RawClient() {
    if (ssl_ != nullptr) SSL_free(ssl_);
    if (ctx_ != nullptr) SSL_CTX_free(ctx_);
    close(fd_);
  }

  // Handshake trusting only `authority_pem`; the verification result, X509_V_OK on success.
  long StartTls(const std::string& authority_pem, const char* host) {
    ctx_ = SSL_CTX_new(TLS_client_method());
    BIO* bio = BIO_new_mem_buf(authority_pem.data(), static_cast<int>(authority_pem.size()));
    X509* authority = PEM_read_bio_X509(bio, nullptr, nullptr, nullptr);
    BIO_free(bio);
    X509_STORE_add_cert(SSL_CTX_get_cert_store(ctx_), authority);
    X509_free(authority);
    ssl_ = SSL_new(ctx_);
    if (std::string(host) == "127.0.0.1")
      X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(ssl_), host);
    else
      X509_VERIFY_PARAM_set1_host(SSL_get0_param(ssl_), host, 0);
    SSL_set_verify(ssl_, SSL_VERIFY_NONE, nullptr);
    SSL_set_fd(ssl_, fd_);
    if (SSL_connect(ssl_) != 1) return -1;
    return SSL_get_verify_result(ssl_);
  }

  bool Send(const std::string& data) {
    if (ssl_ != nullptr) return SSL_write(ssl_, data.data(), static_cast<int>(data.size())) > 0;
    return send(fd_, data.data(), data.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(data.size());
  }

  // Reads until `size` bytes are pending or the stream ends; false on a reset or an error.
  bool ReadUntil(std::size_t size) {
    while (pending_.size() < size) {
      char buffer[65536];
      long got = ssl_ != nullptr ? SSL_read(ssl_, buffer, sizeof buffer)
                                 : recv(fd_, buffer, sizeof buffer, 0);
      if (got == 0) return true;
      if (got < 0) {
        reset_ = errno == ECONNRESET || ssl_ != nullptr;
        return false;
      }
      pending_.append(buffer, static_cast<std::size_t>(got));
    }
    return true;
  }

  // One response: the head (status line and header lines) and the body by Content-Length,
  // chunked coding or end of stream.
  struct Response {
    std::string status_line;
    std::vector<std::string> header_lines;
    std::string body;
  };
  Response ReadResponse() {
    Response response;
    std::size_t end;
    while ((end = pending_.find("\r\n\r\n")) == std::string::npos) {
      std::size_t before = pending_.size();
      if (!ReadUntil(before + 1) || pending_.size() == before) return response;
    }
    std::string head = pending_.substr(0, end);
    pending_.erase(0, end + 4);
    std::size_t line_end = head.find("\r\n");
    response.status_line = head.substr(0, line_end);
    while (line_end != std::string::npos) {
      std::size_t start = line_end + 2;
      line_end = head.find("\r\n", start);
      response.header_lines.push_back(head.substr(start, line_end - start));
    }
    std::string length, coding;
    for (const std::string& line : response.header_lines) {
      if (line.rfind("Content-Length: ", 0) == 0) length = line.substr(16);
      if (line.rfind("Transfer-Encoding: ", 0) == 0) coding = line.substr(19);
    }
    if (coding == "chunked") {
      for (;;) {
        std::size_t size_end;
        while ((size_end = pending_.find("\r\n")) == std::string::npos)
          if (!ReadUntil(pending_.size() + 1)) return response;
        std::size_t size = std::stoul(pending_.substr(0, size_end), nullptr, 16);
        if (!ReadUntil(size_end + 2 + size + 2)) return response;
        response.body += pending_.substr(size_end + 2, size);
        pending_.erase(0, size_end + 2 + size + 2);
        if (size == 0) return response;
      }
    }
    std::size_t size = length.empty() ? std::string::npos : std::stoul(length);
    ReadUntil(size);
    response.body = pending_.substr(0, size);
    pending_.erase(0, std::min(size, pending_.size()));
    return response;
  }

  bool connected() const { return connected_; }
  bool reset() const { return reset_; }
  const std::string& pending() const { return pending_; }

 private:
  int fd_ = -1;
  bool connected_ = false;
  bool reset_ = false;
  SSL_CTX* ctx_ = nullptr;
  SSL* ssl_ = nullptr;
  std::string pending_;
};

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
