#include "resources/generator/program_icon.h"

#include <cmath>

#include "resources/generator/cairo_canvas.h"
#include "resources/generator/drawing.h"
#include "resources/generator/encoding.h"

namespace picgen {

std::vector<std::uint8_t> DrawProgramIcon(int size) {
  Canvas canvas(size, size);
  cairo_t* cr = canvas.cr();
  const double u = size / 20.0;  // the design is laid out on a 20-unit grid
  // Whole-pixel stroke widths keep the ring sharp at every size.
  const double ring_width = std::round(2 * u);
  const double centre = std::round(8.5 * u) + (static_cast<int>(ring_width) % 2 ? 0.5 : 0);

  RoundedRectPath(cr, 0.5, 0.5, size - 1, size - 1, kCornerRadius * u + 0.5);
  SetVerticalGradient(cr, 0, size, {0.36, 0.66, 0.93}, 1, palette::kBlueDeep, 1);
  cairo_fill_preserve(cr);
  cairo_set_line_width(cr, 1);
  SetColour(cr, {0.07, 0.27, 0.52});
  cairo_stroke(cr);
  // Gloss on the upper half of the tile.
  RoundedRectPath(cr, 1.5, 1.5, size - 3, size / 2.0 - 1, kCornerRadius * u - 0.5);
  SetVerticalGradient(cr, 1, size / 2.0, palette::kWhite, 0.35, palette::kWhite, 0.05);
  cairo_fill(cr);

  const double radius = std::round(4.5 * u);
  if (size >= 32) {
    // Bars inside the lens: the counts the program reads.
    SavedState saved(cr);
    cairo_arc(cr, centre, centre, radius - ring_width / 2, 0, 2 * M_PI);
    cairo_clip(cr);
    const int bar = static_cast<int>(std::round(1.5 * u));
    const int gap = static_cast<int>(std::round(0.5 * u));
    const int base = static_cast<int>(std::round(centre + radius * 0.3));
    const int heights[] = {static_cast<int>(1.6 * u), static_cast<int>(2.6 * u),
                           static_cast<int>(3.6 * u)};
    int x = static_cast<int>(std::round(centre - (3 * bar + 2 * gap) / 2.0));
    for (int h : heights) {
      FillPixels(cr, x, base - h, bar, h, palette::kWhite, 0.85);
      x += bar + gap;
    }
  }
  cairo_set_line_width(cr, ring_width);
  cairo_arc(cr, centre, centre, radius, 0, 2 * M_PI);
  SetColour(cr, palette::kWhite);
  cairo_stroke(cr);
  const double handle_start = centre + radius * std::sqrt(0.5) + ring_width / 2;
  const double handle_end = size - std::round(3.5 * u);
  cairo_set_line_width(cr, std::round(2.5 * u));
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_move_to(cr, handle_start, handle_start);
  cairo_line_to(cr, handle_end, handle_end);
  cairo_stroke(cr);
  return EncodePng(canvas.surface());
}

std::vector<std::uint8_t> DrawProgramIcon20() {
  return DrawProgramIcon(20);
}
std::vector<std::uint8_t> DrawProgramIcon32() {
  return DrawProgramIcon(32);
}
std::vector<std::uint8_t> DrawProgramIcon48() {
  return DrawProgramIcon(48);
}

}  // namespace picgen
