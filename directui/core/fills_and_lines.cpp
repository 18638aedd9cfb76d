#include "directui/core/fills_and_lines.h"

#include <cmath>

namespace directui {

namespace gfx = platform::gfx;

gfx::Brush CreateSolidBrush(Argb colour) {
  return gfx::SolidBrush{colour};
}

gfx::Pen CreatePen(Argb colour, float width) {
  return gfx::Pen{colour, width, gfx::DashStyle::solid};
}

void FillGradientRect(gfx::Graphics& graphics, const RectF& rect, Argb from, Argb to,
                      gfx::LinearGradientMode mode) {
  const gfx::LinearGradientBrush brush{rect, from, to, mode, gfx::WrapMode::tile_flip_xy};
  graphics.fill_rectangle(brush, {rect.x, rect.y, rect.width - 1, rect.height - 1});
}

void StrokeLine(gfx::Graphics& graphics, const gfx::Pen& pen, gfx::PointF from, gfx::PointF to) {
  // The graphics layer's stroke ends just before the pixel of its end point; reaching half a
  // pixel past both ends takes in that pixel and leaves the one before the start alone.
  const float dx = to.x - from.x;
  const float dy = to.y - from.y;
  const float length = std::hypot(dx, dy);
  if (length > 0) {
    const float ux = dx / length / 2;
    const float uy = dy / length / 2;
    from = {from.x - ux, from.y - uy};
    to = {to.x + ux, to.y + uy};
  }
  graphics.draw_line(pen, from, to);
}

void DrawLine(gfx::Graphics& graphics, Argb colour, float x1, float y1, float x2, float y2,
              float width) {
  StrokeLine(graphics, CreatePen(colour, width), {x1, y1}, {x2, y2});
}

}  // namespace directui
