// A fresh request object per HTTPS request, fully verified, against a fresh bare libcurl handle
// per request that reads the authority bundle itself (the baseline). Both trust the same file:
// the system bundle plus the test server's throw-away authority. Run by hand; compare the
// per-iteration times of the two (the ratio is what matters, not the absolute figures).
#include <benchmark/benchmark.h>
#include <curl/curl.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "platform/net/curl_runtime.h"
#include "platform/net/http_request.h"
#include "support/http_test_server.h"

namespace {

using test_support::HttpTestServer;
using test_support::ScriptedResponse;

constexpr const char* kSystemBundle = "/etc/ssl/certs/ca-certificates.crt";

struct Fixture {
  HttpTestServer server{{.tls = true}};
  std::string bundle_path;

  Fixture() {
    server.On("/", ScriptedResponse::Text("bench"));
    std::ostringstream system;
    system << std::ifstream(kSystemBundle).rdbuf();
    char path[] = "/tmp/shoulu-bench-bundle-XXXXXX";
    int fd = mkstemp(path);
    close(fd);
    bundle_path = path;
    std::ofstream(bundle_path) << system.str() << server.AuthorityPem();
    // Read by the shared authority store on its first use.
    setenv("SSL_CERT_FILE", bundle_path.c_str(), 1);
  }
  ~Fixture() { unlink(bundle_path.c_str()); }
};

Fixture& Shared() {
  static Fixture fixture;
  return fixture;
}

size_t Discard(char*, size_t size, size_t count, void*) {
  return size * count;
}

// With `shared_sessions`, the handle shares names and TLS sessions as request objects do, so
// that the difference to BM_FreshRequestObject is the bundle reading alone.
void BM_FreshCurlHandleReadingTheBundle(benchmark::State& state) {
  Fixture& fixture = Shared();
  const std::string url = fixture.server.Url("/");
  const bool shared_sessions = state.range(0) != 0;
  for (auto _ : state) {
    CURL* easy = curl_easy_init();
    if (shared_sessions)
      curl_easy_setopt(easy, CURLOPT_SHARE, platform::net::CurlRuntime::Get().Share());
    curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy, CURLOPT_CAINFO, fixture.bundle_path.c_str());
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, Discard);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    CURLcode result = curl_easy_perform(easy);
    curl_easy_cleanup(easy);
    if (result != CURLE_OK) state.SkipWithError(curl_easy_strerror(result));
  }
}
BENCHMARK(BM_FreshCurlHandleReadingTheBundle)
    ->ArgName("shared_sessions")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);

void BM_FreshRequestObject(benchmark::State& state) {
  Fixture& fixture = Shared();
  const std::string url = fixture.server.Url("/");
  for (auto _ : state) {
    auto request = platform::net::HttpRequest::Create();
    if (!request || !request->Open("GET", url) || !request->Send())
      state.SkipWithError("request failed");
  }
}
BENCHMARK(BM_FreshRequestObject)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
