// FastTextLength on each of its paths against the C library's strlen, on 1 KB, 64 KB and 16 MB
// texts. The text starts 3 bytes past an aligned address so the first block is a partial one.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

#include "web/cpu_flags.h"
#include "web/fast_text_length.h"

namespace {

class AlignedText {
 public:
  explicit AlignedText(std::size_t length)
      : storage_(std::make_unique<char[]>(length + 64)),
        text_(storage_.get() + (64 - reinterpret_cast<std::uintptr_t>(storage_.get()) % 64) % 64 +
              3) {
    std::memset(text_, 'x', length);
    text_[length] = '\0';
  }
  const char* get() const { return text_; }

 private:
  std::unique_ptr<char[]> storage_;
  char* text_;
};

enum Path { kPortable, kSse2, kAvx2 };

void BM_strlen(benchmark::State& state) {
  const AlignedText text(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    const char* volatile p = text.get();
    benchmark::DoNotOptimize(std::strlen(p));
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_FastTextLength(benchmark::State& state, Path path) {
  if (path == kAvx2 && !__builtin_cpu_supports("avx2")) {
    state.SkipWithError("no AVX2");
    return;
  }
  const AlignedText text(static_cast<std::size_t>(state.range(0)));
  web::CpuHasSse2 = path != kPortable;
  web::CpuHasAvx2 = path == kAvx2;
  for (auto _ : state) benchmark::DoNotOptimize(web::FastTextLength(text.get()));
  state.SetBytesProcessed(state.iterations() * state.range(0));
  web::CpuHasSse2 = web::CpuHasAvx2 = false;
}

}  // namespace

BENCHMARK(BM_strlen)->Arg(1 << 10)->Arg(64 << 10)->Arg(16 << 20);
BENCHMARK_CAPTURE(BM_FastTextLength, avx2, kAvx2)->Arg(1 << 10)->Arg(64 << 10)->Arg(16 << 20);
BENCHMARK_CAPTURE(BM_FastTextLength, sse2, kSse2)->Arg(1 << 10)->Arg(64 << 10)->Arg(16 << 20);
BENCHMARK_CAPTURE(BM_FastTextLength, portable, kPortable)
    ->Arg(1 << 10)
    ->Arg(64 << 10)
    ->Arg(16 << 20);
