// One full 383 x 343 frame presented on a private Xvfb, through MIT-SHM and through
// XPutImage, each waited for until the server has taken it; the baseline is a memcpy of the
// same frame in the same run. Each presentation benchmark reports microseconds per frame and
// its ratio to the memcpy.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/os/x11/private_x_server.h"
#include "platform/os/x11/x11_backend.h"

namespace {

using platform::os::PixelView;
using platform::os::Rect;
using platform::os::Window;
using platform::os::x11::X11Backend;

constexpr int kWidth = 383;
constexpr int kHeight = 343;
constexpr std::size_t kPixels = static_cast<std::size_t>(kWidth) * kHeight;

std::vector<std::uint32_t> Frame() {
  std::vector<std::uint32_t> pixels(kPixels);
  for (std::size_t i = 0; i < kPixels; ++i)
    pixels[i] = 0xFF000000u | static_cast<std::uint32_t>(i * 2654435761u >> 8);
  return pixels;
}

// Microseconds of one memcpy of the frame: the best of several batches.
double MemcpyMicroseconds() {
  static const double measured = [] {
    const std::vector<std::uint32_t> source = Frame();
    std::vector<std::uint32_t> target(kPixels);
    double best = 1e30;
    for (int batch = 0; batch < 7; ++batch) {
      constexpr int kCopies = 500;
      const auto start = std::chrono::steady_clock::now();
      for (int i = 0; i < kCopies; ++i) {
        std::memcpy(target.data(), source.data(), kPixels * 4);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
      }
      const std::chrono::duration<double, std::micro> spent =
          std::chrono::steady_clock::now() - start;
      best = std::min(best, spent.count() / kCopies);
    }
    return best;
  }();
  return measured;
}

struct Screen {
  x11_testing::PrivateXServer server;
};

Screen& SharedScreen() {
  static Screen screen;
  return screen;
}

void Present(benchmark::State& state, bool shared_memory) {
  const std::string& name = SharedScreen().server.name();
  if (name.empty()) {
    state.SkipWithError("Xvfb did not start");
    return;
  }
  platform::os::x11::X11BackendOpenResult opened = platform::os::x11::OpenX11Backend(name);
  if (!opened.backend) {
    state.SkipWithError(opened.error.c_str());
    return;
  }
  X11Backend& backend = *opened.backend;
  if (!shared_memory) backend.connection().DisableSharedMemory();
  const Window window{1};
  platform::os::NativeWindowDescription description;
  description.bounds = {50, 50, 50 + kWidth, 50 + kHeight};
  backend.create_window(window, description);
  backend.set_visible(window, true, false);
  const std::vector<std::uint32_t> frame = Frame();
  const PixelView view{frame.data(), kWidth, kHeight, kWidth * 4};
  const Rect whole{0, 0, kWidth, kHeight};
  Display* display = backend.connection().display();
  backend.present(window, view, whole);
  XSync(display, False);
  if (backend.presents_through_shared_memory(window) != shared_memory) {
    state.SkipWithError("the server does not offer this presentation path");
    return;
  }
  const double baseline = MemcpyMicroseconds();
  double spent_us = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    backend.present(window, view, whole);
    XSync(display, False);  // the frame counts once the server has it
    spent_us +=
        std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
    backend.drain();
  }
  const double per_frame = spent_us / static_cast<double>(state.iterations());
  state.counters["us_per_frame"] = per_frame;
  state.counters["memcpy_us"] = baseline;
  state.counters["x_memcpy"] = per_frame / baseline;
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kPixels * 4);
}

void BM_PresentSharedMemory(benchmark::State& state) {
  Present(state, true);
}
void BM_PresentPutImage(benchmark::State& state) {
  Present(state, false);
}

void BM_MemcpyFrame(benchmark::State& state) {
  const std::vector<std::uint32_t> source = Frame();
  std::vector<std::uint32_t> target(kPixels);
  for (auto _ : state) {
    std::memcpy(target.data(), source.data(), kPixels * 4);
    benchmark::DoNotOptimize(target.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kPixels * 4);
}

BENCHMARK(BM_MemcpyFrame);
BENCHMARK(BM_PresentSharedMemory)->UseRealTime();
BENCHMARK(BM_PresentPutImage)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
