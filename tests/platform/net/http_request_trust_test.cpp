#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>

#include "platform/net/http_request.h"
#include "support/http_test_server.h"

namespace platform::net {
namespace {

using test_support::CertificateFlaw;
using test_support::HttpTestServer;
using test_support::ScriptedResponse;

// The authorities are read once per process, so every server of this program shares one
// authority file; its certificates are checked in full, not skipped.
TEST(HttpRequestTrust, VerifiesAgainstTheAuthoritiesReadOnce) {
  struct Case {
    CertificateFlaw flaw;
    std::int64_t ignored;
    bool succeeds;
  };
  const Case cases[] = {
      {CertificateFlaw::kNone, 0, true},
      {CertificateFlaw::kWrongName, 0, false},
      {CertificateFlaw::kWrongName, kIgnoreNameMismatch, true},
      {CertificateFlaw::kExpired, 0, false},
      {CertificateFlaw::kExpired, kIgnoreInvalidDate | kIgnoreNameMismatch, false},
  };
  std::vector<std::unique_ptr<HttpTestServer>> servers;
  std::string authorities;
  for (const Case& c : cases) {
    servers.push_back(std::make_unique<HttpTestServer>(
        HttpTestServer::Options{.tls = true, .certificate_flaw = c.flaw}));
    servers.back()->On("/", ScriptedResponse::Text("trusted"));
    authorities += servers.back()->AuthorityPem();
  }
  char path[] = "/tmp/shoulu-authorities-XXXXXX";
  int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  close(fd);
  std::ofstream(path) << authorities;
  setenv("SSL_CERT_FILE", path, 1);

  for (std::size_t i = 0; i < std::size(cases); ++i) {
    auto request = HttpRequest::Create();
    ASSERT_TRUE(request->Open("GET", servers[i]->Url("/")));
    ASSERT_TRUE(request->SetOption(kOptionIgnoreCertificateErrors, cases[i].ignored));
    EXPECT_EQ(request->Send(), cases[i].succeeds) << i;
    EXPECT_EQ(request->Status(), cases[i].succeeds ? 200 : 0) << i;
  }
  unlink(path);
}

}  // namespace
}  // namespace platform::net
