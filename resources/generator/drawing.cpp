#include "resources/generator/drawing.h"

#include <cmath>

#include "resources/generator/cairo_canvas.h"

namespace picgen {

void SetColour(cairo_t* cr, Rgb c, double alpha) {
  cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha);
}

void RoundedRectPath(cairo_t* cr, double x, double y, double w, double h, double radius) {
  const double r = std::fmin(radius, std::fmin(w, h) / 2);
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

void FillPixels(cairo_t* cr, int x, int y, int w, int h, Rgb c, double alpha) {
  SavedState saved(cr);
  cairo_rectangle(cr, x, y, w, h);
  SetColour(cr, c, alpha);
  cairo_fill(cr);
}

void StrokePixelBox(cairo_t* cr, int x, int y, int w, int h, Rgb c, double alpha) {
  SavedState saved(cr);
  cairo_rectangle(cr, x + 0.5, y + 0.5, w - 1, h - 1);
  cairo_set_line_width(cr, 1.0);
  SetColour(cr, c, alpha);
  cairo_stroke(cr);
}

void SpeechBubblePath(cairo_t* cr, const Bubble& b) {
  const double rad = b.radius;
  cairo_new_path(cr);
  cairo_move_to(cr, b.left + rad, b.top);
  cairo_line_to(cr, b.right - rad, b.top);
  cairo_arc(cr, b.right - rad, b.top + rad, rad, -M_PI / 2, 0);
  cairo_line_to(cr, b.right, b.bottom - rad);
  cairo_arc(cr, b.right - rad, b.bottom - rad, rad, 0, M_PI / 2);
  cairo_line_to(cr, b.tail_x + b.tail_width, b.bottom);
  cairo_line_to(cr, b.tail_x, b.bottom + b.tail_depth);
  cairo_line_to(cr, b.tail_x, b.bottom);
  cairo_line_to(cr, b.left + rad, b.bottom);
  cairo_arc(cr, b.left + rad, b.bottom - rad, rad, M_PI / 2, M_PI);
  cairo_line_to(cr, b.left, b.top + rad);
  cairo_arc(cr, b.left + rad, b.top + rad, rad, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

void StrokeTick(cairo_t* cr, const Tick& t, double width, Rgb c, double alpha) {
  SavedState saved(cr);
  cairo_set_line_width(cr, width);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_new_path(cr);
  cairo_move_to(cr, t.x0, t.y0);
  cairo_line_to(cr, t.x1, t.y1);
  cairo_line_to(cr, t.x2, t.y2);
  SetColour(cr, c, alpha);
  cairo_stroke(cr);
}

void SetVerticalGradient(cairo_t* cr, double y0, double y1, Rgb top, double top_alpha, Rgb bottom,
                         double bottom_alpha) {
  cairo_pattern_t* g = cairo_pattern_create_linear(0, y0, 0, y1);
  cairo_pattern_add_color_stop_rgba(g, 0, top.r, top.g, top.b, top_alpha);
  cairo_pattern_add_color_stop_rgba(g, 1, bottom.r, bottom.g, bottom.b, bottom_alpha);
  cairo_set_source(cr, g);
  cairo_pattern_destroy(g);
}

}  // namespace picgen
