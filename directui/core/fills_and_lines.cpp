#include "directui/core/fills_and_lines.h"

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

void DrawLine(gfx::Graphics& graphics, Argb colour, float x1, float y1, float x2, float y2,
              float width) {
  graphics.draw_line(CreatePen(colour, width), {x1, y1}, {x2, y2});
}

}  // namespace directui
