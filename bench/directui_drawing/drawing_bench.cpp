// What the glow costs over plain caption text, and what nine-grid drawing of a button skin
// costs over one stretched draw of the same picture. Each figure is a ratio (x_baseline) to its
// baseline, which is measured in the same run.

#include <benchmark/benchmark.h>

#include <functional>
#include <optional>
#include <string>

#include "bench/support/thread_time.h"
#include "directui/core/nine_grid.h"
#include "directui/core/text_effects.h"
#include "platform/gfx/font_config.h"
#include "platform/gfx/graphics.h"

namespace directui::bench {
namespace {

namespace gfx = platform::gfx;

// Baseline runs per measurement.
constexpr int kBaselineRuns = 200;

void RunAgainst(benchmark::State& state, const std::function<void()>& baseline,
                const std::function<void()>& measured) {
  bench_support::RunAgainst(state, baseline, measured, kBaselineRuns);
}

// The format a text element gives its caption.
gfx::StringFormat CaptionFormat() {
  gfx::StringFormat format;
  format.flags = gfx::kStringFormatNoWrap;
  format.trimming = gfx::StringTrimming::none;
  format.hotkey_prefix = gfx::HotkeyPrefix::show;
  return format;
}

struct Caption {
  gfx::Bitmap canvas = gfx::Bitmap::create(120, 30);
  gfx::Graphics graphics{canvas};
  std::optional<gfx::Font> font;
  gfx::StringFormat format = CaptionFormat();

  void draw(int effect) {
    graphics.clear(0);
    DrawTextEffect(graphics, {10, 6, 100, 18}, u"开始查询", &*font, 0xD2000000, format, effect);
    benchmark::DoNotOptimize(canvas.pixels());
  }
};

void CaptionWithEffect(benchmark::State& state, int effect) {
  if (!gfx::LoadFontConfigFile(std::string(SHOULU_FONTS_DIR) + "/fonts.conf")) {
    state.SkipWithError("font configuration not loaded");
    return;
  }
  Caption caption;
  const std::optional<gfx::FontFamily> family = gfx::FontFamily::find(u"微软雅黑");
  if (family) caption.font = gfx::Font::create(*family, 12);
  if (!caption.font) {
    state.SkipWithError("family missing");
    return;
  }
  RunAgainst(
      state, [&] { caption.draw(kTextEffectNone); }, [&] { caption.draw(effect); });
}

void BM_CaptionGlow(benchmark::State& state) {
  CaptionWithEffect(state, kTextEffectGlow);
}
BENCHMARK(BM_CaptionGlow)->Unit(benchmark::kMicrosecond);

void BM_CaptionTightGlow(benchmark::State& state) {
  CaptionWithEffect(state, kTextEffectTightGlow);
}
BENCHMARK(BM_CaptionTightGlow)->Unit(benchmark::kMicrosecond);

void BM_NineGridSkin(benchmark::State& state) {
  gfx::Bitmap skin = gfx::Bitmap::create(40, 24);
  {
    gfx::Graphics g(skin);
    g.fill_rectangle(gfx::LinearGradientBrush{{0, 0, 40, 24},
                                              0xFFF0F0F0,
                                              0xFFB0C4DE,
                                              gfx::LinearGradientMode::vertical,
                                              gfx::WrapMode::tile_flip_xy},
                     {0, 0, 40, 24});
  }
  const gfx::Image image = gfx::Image::still(std::move(skin));
  gfx::Bitmap target = gfx::Bitmap::create(383, 343);
  gfx::Graphics g(target);
  const RectF destination{0, 0, 383, 343};
  const std::optional<int> alpha =
      state.range(0) == 255 ? std::nullopt : std::optional<int>(state.range(0));
  const std::optional<gfx::ImageAttributes> attributes =
      alpha ? std::optional(gfx::ImageAttributes::with_alpha(static_cast<std::uint8_t>(*alpha)))
            : std::nullopt;
  RunAgainst(
      state,
      [&] {
        g.draw_image(image.bitmap(), destination, {0, 0, 40, 24}, attributes);
        benchmark::DoNotOptimize(target.pixels());
      },
      [&] {
        DrawNineGrid(g, &image, destination, {6, 6, 28, 12}, alpha);
        benchmark::DoNotOptimize(target.pixels());
      });
}
BENCHMARK(BM_NineGridSkin)->Arg(255)->Arg(200)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace directui::bench

BENCHMARK_MAIN();
