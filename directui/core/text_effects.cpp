#include "directui/core/text_effects.h"

#include <cmath>

#include "directui/core/fills_and_lines.h"
#include "directui/core/pixel_truncation.h"

namespace directui {

namespace gfx = platform::gfx;

namespace {

constexpr Argb kGlowBehindDarkText = 0x55FFFFFF;   // white at 85
constexpr Argb kGlowBehindLightText = 0x4B000000;  // black at 75

// The glow's margin: the copies are offset by up to 5 pixels inside a canvas 7 pixels larger.
constexpr float kGlowGrowth = 7;
constexpr float kGlowReach = 4;

RectF Truncated(const RectF& r) {
  return {std::trunc(r.x), std::trunc(r.y), std::trunc(r.width), std::trunc(r.height)};
}

// The text five times, one pixel right, left, up, down and in place.
gfx::Bitmap GlowCopies(std::u16string_view text, const gfx::Font& font,
                       const gfx::StringFormat& format, Argb glow, float w, float h) {
  const std::optional<int> cw = TruncatedPixel(w + kGlowGrowth);
  const std::optional<int> ch = TruncatedPixel(h + kGlowGrowth);
  if (!cw || !ch) return {};
  gfx::Bitmap copies = gfx::Bitmap::create(*cw, *ch);
  if (copies.empty()) return copies;
  gfx::Graphics g(copies);
  g.set_smoothing_mode(gfx::SmoothingMode::anti_alias);
  g.set_text_rendering_hint(gfx::TextRenderingHint::anti_alias_grid_fit);
  static constexpr gfx::PointF kOrigins[] = {{5, 4}, {3, 4}, {4, 3}, {4, 5}, {4, 4}};
  const gfx::Brush brush = CreateSolidBrush(glow);
  for (gfx::PointF o : kOrigins) g.draw_string(text, font, {o.x, o.y, w, h}, format, brush);
  return copies;
}

gfx::Bitmap Shrunk(const gfx::Bitmap& source, float reduction) {
  const float w = static_cast<float>(source.width());
  const float h = static_cast<float>(source.height());
  const std::optional<int> sw = TruncatedPixel(w / reduction);
  const std::optional<int> sh = TruncatedPixel(h / reduction);
  if (!sw || !sh) return {};
  gfx::Bitmap small = gfx::Bitmap::create(*sw, *sh);
  if (small.empty()) return small;
  gfx::Graphics g(small);
  g.set_smoothing_mode(gfx::SmoothingMode::anti_alias);
  g.set_compositing_quality(gfx::CompositingQuality::gamma_corrected);
  g.set_interpolation_mode(gfx::InterpolationMode::high_quality_bilinear);
  g.draw_image(source,
               {0, 0, static_cast<float>(small.width()), static_cast<float>(small.height())});
  return small;
}

}  // namespace

void DrawGlowText(gfx::Graphics& graphics, const RectF& rect, std::u16string_view text,
                  const gfx::Font* font, const gfx::StringFormat& format, Argb glow,
                  float reduction) {
  if (font == nullptr || text.empty() || !(reduction > 0)) return;
  const gfx::Bitmap copies = GlowCopies(text, *font, format, glow, rect.width, rect.height);
  if (copies.empty()) return;
  const gfx::Bitmap small = Shrunk(copies, reduction);
  if (small.empty()) return;
  graphics.draw_image(
      small,
      {rect.x - kGlowReach, rect.y - kGlowReach, rect.width + kGlowGrowth,
       rect.height + kGlowGrowth},
      {0, 0, static_cast<float>(small.width()), static_cast<float>(small.height())});
}

void DrawTextEffect(gfx::Graphics& graphics, const RectF& rect, std::u16string_view text,
                    const gfx::Font* font, Argb colour, const gfx::StringFormat& format, int effect,
                    std::optional<Argb> glow) {
  if (font == nullptr) return;
  const RectF box = Truncated(rect);
  Argb halo = glow.value_or(0);
  if (halo == 0) halo = IsDarkColor(colour) ? kGlowBehindDarkText : kGlowBehindLightText;
  if (effect == kTextEffectGlow) DrawGlowText(graphics, box, text, font, format, halo, 3.0f);
  if (effect == kTextEffectTightGlow) DrawGlowText(graphics, box, text, font, format, halo, 1.0f);
  graphics.draw_string(text, *font, box, format, CreateSolidBrush(colour));
}

}  // namespace directui
