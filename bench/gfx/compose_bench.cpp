// Composing a whole host frame: the background copied in, then every element canvas drawn at
// its bounds, eight opaque and two at alpha 127, inside the window's rounded clip.

#include <benchmark/benchmark.h>

#include <vector>

#include "frame_baseline.h"
#include "platform/gfx/graphics.h"
#include "platform/gfx/surface_ops.h"

namespace platform::gfx::bench {
namespace {

struct Element {
  RectF bounds;
  std::uint8_t alpha;
  Bitmap canvas;
};

Bitmap Canvas(int w, int h, Argb from, Argb to) {
  Bitmap b = Bitmap::create(w, h);
  Graphics g(b);
  g.fill_rectangle(LinearGradientBrush{{0, 0, static_cast<float>(w), static_cast<float>(h)},
                                       from,
                                       to,
                                       LinearGradientMode::vertical,
                                       WrapMode::tile_flip_xy},
                   {0, 0, static_cast<float>(w), static_cast<float>(h)});
  return b;
}

std::vector<Element> MainWindowElements() {
  struct CanvasLayout {
    RectF bounds;
    std::uint8_t alpha;
  };
  // Roughly the main window: caption, list with its scroll bar, four buttons, two labels, a
  // picture; the two half-transparent ones are a disabled button and a panel.
  const CanvasLayout layouts[] = {
      {{7, 7, 369, 28}, 255},    {{12, 40, 340, 230}, 255}, {{352, 40, 12, 230}, 255},
      {{12, 282, 80, 26}, 255},  {{100, 282, 80, 26}, 127}, {{188, 282, 80, 26}, 255},
      {{276, 282, 80, 26}, 255}, {{12, 314, 150, 16}, 255}, {{200, 314, 150, 16}, 127},
      {{330, 8, 40, 26}, 255},
  };
  std::vector<Element> out;
  for (const CanvasLayout& s : layouts) {
    out.push_back({s.bounds, s.alpha,
                   Canvas(static_cast<int>(s.bounds.width), static_cast<int>(s.bounds.height),
                          0xFFF0F0F0, 0xFFB0C4DE)});
  }
  return out;
}

void BM_ComposeFrame(benchmark::State& state) {
  const Bitmap background = Canvas(kFrameWidth, kFrameHeight, 0xFFFFFFFF, 0xFFD0D8E8);
  Bitmap offscreen = Bitmap::create(kFrameWidth, kFrameHeight);
  const std::vector<Element> elements = MainWindowElements();
  Graphics g(offscreen);
  g.set_smoothing_mode(SmoothingMode::anti_alias);
  g.set_clip(Region::round_rect(7, 7, kFrameWidth - 6, kFrameHeight - 6, 3, 3));
  const double baseline = MemcpyFrameSeconds();
  const double start = ThreadSeconds();
  for (auto _ : state) {
    CopyArea(offscreen, 0, 0, background, {0, 0, kFrameWidth, kFrameHeight});
    for (const Element& e : elements) {
      const RectF source{0, 0, e.bounds.width, e.bounds.height};
      if (e.alpha == 255) {
        g.draw_image(e.canvas, e.bounds);
      } else {
        g.draw_image(e.canvas, e.bounds, source, ImageAttributes::with_alpha(e.alpha));
      }
    }
    benchmark::DoNotOptimize(offscreen.pixels());
  }
  const double took = ThreadSeconds() - start;
  state.counters["x_memcpy_frame"] = took / static_cast<double>(state.iterations()) / baseline;
}
BENCHMARK(BM_ComposeFrame)->Unit(benchmark::kMicrosecond);

void BM_MemcpyFrame(benchmark::State& state) {
  std::vector<std::uint8_t> from(std::size_t{kFrameWidth} * kFrameHeight * 4, 1);
  std::vector<std::uint8_t> to(from.size());
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), from.size());
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_MemcpyFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace platform::gfx::bench

BENCHMARK_MAIN();
