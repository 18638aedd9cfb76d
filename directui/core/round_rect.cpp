#include "directui/core/round_rect.h"

#include "directui/core/fills_and_lines.h"

namespace directui {

namespace gfx = platform::gfx;

gfx::Path RoundRectPath(const RectF& rect, float corner, gfx::FillMode fill_mode) {
  const float d = corner;
  const float right = rect.x + rect.width - d - 1;
  const float bottom = rect.y + rect.height - d - 1;
  gfx::Path path(fill_mode);
  path.add_arc({rect.x, rect.y, d, d}, 180, 90);
  path.add_arc({right, rect.y, d, d}, 270, 90);
  path.add_arc({right, bottom, d, d}, 0, 90);
  path.add_arc({rect.x, bottom, d, d}, 90, 90);
  path.close_figure();
  return path;
}

void FillRoundRect(gfx::Graphics& graphics, const RectF& rect, float corner, Argb colour) {
  graphics.fill_path(CreateSolidBrush(colour),
                     RoundRectPath(rect, corner, gfx::FillMode::alternate));
}

void DrawRoundRect(gfx::Graphics& graphics, const RectF& rect, float corner, Argb colour,
                   gfx::DashStyle dash, float pen_width) {
  gfx::Pen pen = CreatePen(colour, pen_width);
  pen.dash = dash;
  graphics.draw_path(pen, RoundRectPath(rect, corner, gfx::FillMode::alternate));
}

}  // namespace directui
