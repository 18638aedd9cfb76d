#include "directui/core/drop_shadow.h"

#include <array>

#include "directui/core/fills_and_lines.h"
#include "directui/core/inflate_rect_f.h"
#include "directui/core/round_rect.h"

namespace directui {

namespace gfx = platform::gfx;

namespace {

struct ShadowRing {
  int alpha;
  float square_corner;   // frame style 0
  float rounded_corner;  // every other style
};

constexpr std::array<ShadowRing, 4> kShadowRings{
    {{45, 1, 10}, {25, 4, 12}, {10, 7, 15}, {5, 11, 18}}};

constexpr float kBandMargin = 1e-7f;

float BandFor(float length, float band) {
  return static_cast<float>(static_cast<int>(length - band > kBandMargin ? band : length / 2));
}

}  // namespace

void DrawDropShadow(gfx::Graphics& graphics, RectF rect, int frame_style, std::uint32_t colour) {
  for (const ShadowRing& ring : kShadowRings) {
    const float corner = frame_style == 0 ? ring.square_corner : ring.rounded_corner;
    DrawRoundRect(graphics, rect, corner, MakeArgb(colour, ring.alpha), gfx::DashStyle::solid, 1);
    InflateRectF(-1, -1, 2, 2, rect);
  }
}

void EdgeFade(gfx::Graphics& graphics, RectF r, std::uint32_t colour, FadeEdges edges, float band,
              float inset) {
  r.x += inset;
  r.y += inset;
  const float band_h = BandFor(r.height, band);
  const float band_w = BandFor(r.width, band);
  const Argb opaque = MakeArgb(colour, 255);
  const Argb clear = MakeArgb(colour, 0);
  using Mode = gfx::LinearGradientMode;
  if (edges.top) {
    FillGradientRect(graphics, {r.x - inset, r.y - inset, r.width, band_h}, opaque, clear,
                     Mode::vertical);
  }
  if (edges.left) {
    FillGradientRect(graphics, {r.x - inset, r.y - inset, band_w, r.height}, opaque, clear,
                     Mode::horizontal);
  }
  if (edges.bottom) {
    FillGradientRect(graphics, {r.x, r.y + r.height - band_h, r.width, band_h + 1}, clear, opaque,
                     Mode::vertical);
  }
  if (edges.right) {
    FillGradientRect(graphics, {r.x + r.width - band_w, r.y, band_w + 1, r.height}, clear, opaque,
                     Mode::horizontal);
  }
}

}  // namespace directui
