#include "directui/core/draw_border.h"

#include "directui/core/fills_and_lines.h"

namespace directui {

namespace gfx = platform::gfx;

namespace {

constexpr Argb kSunkenDark = 0xA0000000;  // black at 160
constexpr Argb kRaisedDark = 0xA8000000;  // black at 168
constexpr Argb kLight = 0xF5FFFFFF;       // white at 245
constexpr Argb kDashedDefault = 0x78000000;

struct Edges {
  float left, top, right, bottom;  // R = x + w - 1 and B = y + h - 1
};

Edges EdgesOf(const RectF& r) {
  return {r.x, r.y, r.x + r.width - 1, r.y + r.height - 1};
}

void DrawSunken(gfx::Graphics& g, const RectF& rect, float width) {
  const Edges e = EdgesOf(rect);
  const gfx::Pen dark = CreatePen(kSunkenDark, width);
  const gfx::Pen light = CreatePen(kLight, width / 2);
  StrokeLine(g, dark, {e.left, e.top}, {e.right, e.top});
  StrokeLine(g, dark, {e.left, e.top}, {e.left, e.bottom});
  StrokeLine(g, light, {e.left, e.bottom}, {e.right, e.bottom});
  StrokeLine(g, light, {e.right, e.top}, {e.right, e.bottom});
}

// The light edges stop one pixel short of the far corners, which belong to the dark edges.
void DrawRaised(gfx::Graphics& g, const RectF& rect, float width) {
  const Edges e = EdgesOf(rect);
  const gfx::Pen light = CreatePen(kLight, width / 2);
  const gfx::Pen dark = CreatePen(kRaisedDark, width);
  StrokeLine(g, light, {e.left, e.top}, {e.right - 1, e.top});
  StrokeLine(g, light, {e.left, e.top}, {e.left, e.bottom - 1});
  StrokeLine(g, dark, {e.left, e.bottom}, {e.right, e.bottom});
  StrokeLine(g, dark, {e.right, e.top}, {e.right, e.bottom - 1});
}

void DrawFrame(gfx::Graphics& g, const RectF& rect, gfx::Pen pen) {
  g.draw_rectangle(pen, {rect.x, rect.y, rect.width - 1, rect.height - 1});
}

}  // namespace

void DrawBorder(gfx::Graphics& graphics, const RectF& rect, std::uint32_t style,
                std::optional<Argb> colour, float width) {
  switch (style) {
    case kBorderNone:
      return;
    case kBorderSunken:
      DrawSunken(graphics, rect, width);
      return;
    case kBorderRaised:
      DrawRaised(graphics, rect, width);
      return;
    case kBorderSolid:
      DrawFrame(graphics, rect, CreatePen(colour.value_or(MakeArgb(0x646464)), width));
      return;
    case kBorderDashed: {
      gfx::Pen pen = CreatePen(colour.value_or(kDashedDefault), width);
      pen.dash = gfx::DashStyle::dash;
      DrawFrame(graphics, rect, pen);
      return;
    }
    default:
      DrawFrame(graphics, rect, CreatePen(style, width));
      return;
  }
}

}  // namespace directui
