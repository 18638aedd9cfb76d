// Drawing a four-character CJK caption the way a button paints it: clear the canvas, lay the
// text out and draw it.

#include <benchmark/benchmark.h>

#include <string>

#include "frame_baseline.h"
#include "platform/gfx/font_config.h"
#include "platform/gfx/graphics.h"

namespace platform::gfx::bench {
namespace {

void DrawCaption(benchmark::State& state, std::u16string_view family, std::u16string_view text) {
  if (!LoadFontConfigFile(std::string(SHOULU_FONTS_DIR) + "/fonts.conf")) {
    state.SkipWithError("font configuration not loaded");
    return;
  }
  const std::optional<FontFamily> f = FontFamily::find(family);
  if (!f) {
    state.SkipWithError("family missing");
    return;
  }
  const Font font = *Font::create(*f, 12);
  Bitmap canvas = Bitmap::create(80, 24);
  Graphics g(canvas);
  g.set_text_rendering_hint(TextRenderingHint::anti_alias_grid_fit);
  StringFormat format;
  format.flags = kStringFormatNoWrap;
  format.hotkey_prefix = HotkeyPrefix::show;
  const double baseline = MemcpyFrameSeconds();
  const double start = ThreadSeconds();
  for (auto _ : state) {
    g.clear(0);
    g.draw_string(text, font, {1, 1, 78, 22}, format, SolidBrush{0xD2000000});
    benchmark::DoNotOptimize(canvas.pixels());
  }
  const double took = ThreadSeconds() - start;
  state.counters["x_memcpy_frame"] = took / static_cast<double>(state.iterations()) / baseline;
}

void BM_CjkCaptionSimSun(benchmark::State& state) {
  DrawCaption(state, u"宋体", u"开始查询");
}
BENCHMARK(BM_CjkCaptionSimSun)->Unit(benchmark::kMicrosecond);

void BM_CjkCaptionYaHei(benchmark::State& state) {
  DrawCaption(state, u"微软雅黑", u"开始查询");
}
BENCHMARK(BM_CjkCaptionYaHei)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace platform::gfx::bench

BENCHMARK_MAIN();
