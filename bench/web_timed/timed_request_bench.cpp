// 200 sequential result-page requests (about 100 KB of UTF-8 each) to the local TLS server
// through TimedHttpRequest, against a bare libcurl loop that reuses one handle (the baseline).
// BM_TimedAgainstBareLoop runs both in every iteration and reports the ratio of their rates;
// the goal is at least 0.8. Run by hand.
#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <chrono>
#include <ctime>
#include <string>
#include <thread>

#include "platform/net/internet_session.h"
#include "platform/os/clock.h"
#include "platform/os/desktop.h"
#include "platform/os/headless/headless_display.h"
#include "support/http_test_server.h"
#include "web/timed_http_request.h"

namespace {

namespace os = platform::os;
using test_support::HttpTestServer;
using test_support::ScriptedResponse;

constexpr int kRequests = 200;

// About 100 KB of a result page: markup with Chinese text, as the search engine sends it.
std::string ResultPage() {
  std::string page = "<html><body>";
  while (page.size() < 100'000)
    page += "<div class=\"result\">百度为您找到相关结果约1,234个</div>\n";
  return page + "</body></html>";
}

struct Fixture {
  HttpTestServer server{{.tls = true}};
  os::SteadyClock clock;
  os::headless::HeadlessDisplay display;
  os::Desktop desktop{display, clock};
  std::string url;

  Fixture() {
    server.On("/s", ScriptedResponse::Text(ResultPage()));
    platform::net::AddTrustedAuthority(server.AuthorityPem());
    url = server.Url("/s?wd=keyword");
  }
};

Fixture& Shared() {
  static Fixture fixture;
  return fixture;
}

// CPU time of the whole process (caller, request threads and the server alike), which the
// other programs sharing the machine do not disturb as they disturb the wall clock.
std::chrono::duration<double> ProcessCpu() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

size_t Append(char* data, size_t size, size_t count, void* user) {
  static_cast<std::string*>(user)->append(data, size * count);
  return size * count;
}

class BareLoop {
 public:
  explicit BareLoop(const Fixture& fixture) : easy_(curl_easy_init()) {
    curl_blob authority{const_cast<char*>(fixture.server.AuthorityPem().data()),
                        fixture.server.AuthorityPem().size(), CURL_BLOB_COPY};
    curl_easy_setopt(easy_, CURLOPT_CAINFO_BLOB, &authority);
    curl_easy_setopt(easy_, CURLOPT_URL, fixture.url.c_str());
    curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, Append);
    curl_easy_setopt(easy_, CURLOPT_WRITEDATA, &body_);
  }
  ~BareLoop() { curl_easy_cleanup(easy_); }
  std::size_t Run() {
    std::size_t bytes = 0;
    for (int i = 0; i < kRequests; ++i) {
      body_.clear();
      curl_easy_perform(easy_);
      bytes += body_.size();
    }
    return bytes;
  }

 private:
  CURL* easy_;
  std::string body_;
};

std::size_t TimedLoop(Fixture& fixture, int conversion) {
  std::size_t bytes = 0;
  for (int i = 0; i < kRequests; ++i) {
    std::string url = fixture.url;
    bytes += web::TimedHttpRequest(fixture.desktop, url, {.conversion = conversion}).size();
  }
  return bytes;
}

void BM_BareCurlLoop(benchmark::State& state) {
  BareLoop loop(Shared());
  for (auto _ : state) benchmark::DoNotOptimize(loop.Run());
  state.SetItemsProcessed(state.iterations() * kRequests);
}
BENCHMARK(BM_BareCurlLoop)->Unit(benchmark::kMillisecond)->UseRealTime();

// Argument: the conversion (0 raw bytes, 1 UTF-8 to code page 936 as the query worker asks).
void BM_TimedHttpRequest(benchmark::State& state) {
  Fixture& fixture = Shared();
  for (auto _ : state)
    benchmark::DoNotOptimize(TimedLoop(fixture, static_cast<int>(state.range(0))));
  state.SetItemsProcessed(state.iterations() * kRequests);
}
BENCHMARK(BM_TimedHttpRequest)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The request routine alone on the calling thread: what the thread and the wait add is the
// difference to BM_TimedHttpRequest/0.
void BM_RequestRoutineInline(benchmark::State& state) {
  Fixture& fixture = Shared();
  for (auto _ : state) {
    for (int i = 0; i < kRequests; ++i) {
      web::RequestBlock block;
      block[web::RequestBlock::kUrlOrBody] = fixture.url;
      block[web::RequestBlock::kVerbOrCookies] = "GET";
      block[web::RequestBlock::kRedirectFlag] = "\xBC\xD9";  // "假" in code page 936
      if (state.range(0) == 0) {
        web::WinInetRequestThread(block);
      } else {
        std::thread([&] { web::WinInetRequestThread(block); }).join();
      }
      benchmark::DoNotOptimize(block[web::RequestBlock::kUrlOrBody].size());
    }
  }
  state.SetItemsProcessed(state.iterations() * kRequests);
}
BENCHMARK(BM_RequestRoutineInline)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_TimedAgainstBareLoop(benchmark::State& state) {
  Fixture& fixture = Shared();
  BareLoop loop(fixture);
  const int conversion = static_cast<int>(state.range(0));
  std::chrono::duration<double> bare{0};
  std::chrono::duration<double> timed{0};
  std::chrono::duration<double> bare_cpu{0};
  std::chrono::duration<double> timed_cpu{0};
  int bare_connections = 0;
  int timed_connections = 0;
  for (auto _ : state) {
    const int before = fixture.server.ConnectionCount();
    const auto start = std::chrono::steady_clock::now();
    const auto start_cpu = ProcessCpu();
    benchmark::DoNotOptimize(loop.Run());
    const auto middle = std::chrono::steady_clock::now();
    const auto middle_cpu = ProcessCpu();
    const int between = fixture.server.ConnectionCount();
    benchmark::DoNotOptimize(TimedLoop(fixture, conversion));
    const auto end = std::chrono::steady_clock::now();
    bare_cpu += middle_cpu - start_cpu;
    timed_cpu += ProcessCpu() - middle_cpu;
    bare += middle - start;
    timed += end - middle;
    bare_connections += between - before;
    timed_connections += fixture.server.ConnectionCount() - between;
  }
  // New connections per request: kept-alive reuse shows as values near 0.
  state.counters["bare_connects"] =
      static_cast<double>(bare_connections) / (static_cast<double>(state.iterations()) * kRequests);
  state.counters["timed_connects"] = static_cast<double>(timed_connections) /
                                     (static_cast<double>(state.iterations()) * kRequests);
  const double runs = static_cast<double>(state.iterations()) * kRequests;
  state.counters["bare_per_s"] = runs / bare.count();
  state.counters["timed_per_s"] = runs / timed.count();
  state.counters["ratio"] = bare.count() / timed.count();
  state.counters["cpu_ratio"] = bare_cpu.count() / timed_cpu.count();
}
BENCHMARK(BM_TimedAgainstBareLoop)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
