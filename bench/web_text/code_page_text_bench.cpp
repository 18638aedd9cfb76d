// Utf8ToGbk and GbkToUtf8 on a 100 KB result page (markup with Chinese text, as the search
// engine sends it), against the plain way through UTF-16 on the converters and a memcpy of the
// same bytes. BM_CodePageTextRatios runs all three in every iteration and reports
// plain_over_direct (how many times faster the direct conversion is) and direct_over_memcpy.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <string>

#include "platform/text/code_page.h"
#include "web/code_page_text.h"

namespace {

namespace text = platform::text;

std::string ResultPageUtf8() {
  std::string page = "<html><body>";
  while (page.size() < 100'000)
    page += "<div class=\"result\">百度为您找到相关结果约1,234个</div>\n";
  return page + "</body></html>";
}

const std::string& PageUtf8() {
  static const std::string page = ResultPageUtf8();
  return page;
}

const std::string& PageGbk() {
  static const std::string page = web::Utf8ToGbk(PageUtf8());
  return page;
}

enum Direction { kToGbk, kToUtf8 };

const std::string& Source(Direction direction) {
  return direction == kToGbk ? PageUtf8() : PageGbk();
}

std::string Direct(Direction direction) {
  return direction == kToGbk ? web::Utf8ToGbk(PageUtf8()) : web::GbkToUtf8(PageGbk());
}

std::string Plain(Direction direction) {
  return direction == kToGbk
             ? text::FromUtf16(text::ToUtf16(PageUtf8(), text::kCodePageUtf8), text::kCodePageGbk)
             : text::FromUtf16(text::ToUtf16(PageGbk(), text::kCodePageGbk), text::kCodePageUtf8);
}

std::string Copy(Direction direction) {
  const std::string& source = Source(direction);
  std::string copy(source.size(), '\0');
  std::memcpy(copy.data(), source.data(), source.size());
  return copy;
}

void BM_Direct(benchmark::State& state, Direction direction) {
  for (auto _ : state) benchmark::DoNotOptimize(Direct(direction));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(Source(direction).size()));
}
void BM_Plain(benchmark::State& state, Direction direction) {
  for (auto _ : state) benchmark::DoNotOptimize(Plain(direction));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(Source(direction).size()));
}
void BM_Memcpy(benchmark::State& state, Direction direction) {
  for (auto _ : state) benchmark::DoNotOptimize(Copy(direction));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(Source(direction).size()));
}
BENCHMARK_CAPTURE(BM_Direct, Utf8ToGbk, kToGbk);
BENCHMARK_CAPTURE(BM_Plain, Utf8ToGbk, kToGbk);
BENCHMARK_CAPTURE(BM_Memcpy, Utf8ToGbk, kToGbk);
BENCHMARK_CAPTURE(BM_Direct, GbkToUtf8, kToUtf8);
BENCHMARK_CAPTURE(BM_Plain, GbkToUtf8, kToUtf8);
BENCHMARK_CAPTURE(BM_Memcpy, GbkToUtf8, kToUtf8);

template <typename Run>
std::chrono::duration<double> Timed(Run run) {
  const auto start = std::chrono::steady_clock::now();
  benchmark::DoNotOptimize(run());
  return std::chrono::steady_clock::now() - start;
}

void BM_CodePageTextRatios(benchmark::State& state, Direction direction) {
  std::chrono::duration<double> direct{0};
  std::chrono::duration<double> plain{0};
  std::chrono::duration<double> copy{0};
  for (auto _ : state) {
    direct += Timed([&] { return Direct(direction); });
    plain += Timed([&] { return Plain(direction); });
    copy += Timed([&] { return Copy(direction); });
  }
  const double pages = static_cast<double>(state.iterations());
  state.counters["direct_us_per_page"] = direct.count() * 1e6 / pages;
  state.counters["plain_us_per_page"] = plain.count() * 1e6 / pages;
  state.counters["memcpy_us_per_page"] = copy.count() * 1e6 / pages;
  state.counters["plain_over_direct"] = plain.count() / direct.count();
  state.counters["direct_over_memcpy"] = direct.count() / copy.count();
}
BENCHMARK_CAPTURE(BM_CodePageTextRatios, Utf8ToGbk, kToGbk);
BENCHMARK_CAPTURE(BM_CodePageTextRatios, GbkToUtf8, kToUtf8);

}  // namespace
