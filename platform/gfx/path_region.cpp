#include "platform/gfx/path_region.h"

#include <cairo.h>

#include <memory>

namespace platform::gfx {

Region RegionFromPath(const Path& path, const Rect& area) {
  if (area.empty() || path.empty()) return {};
  std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> mask(
      cairo_image_surface_create(CAIRO_FORMAT_A8, area.width(), area.height()),
      &cairo_surface_destroy);
  if (cairo_surface_status(mask.get()) != CAIRO_STATUS_SUCCESS) return {};
  {
    std::unique_ptr<cairo_t, decltype(&cairo_destroy)> cr(cairo_create(mask.get()), &cairo_destroy);
    // Pixel centres sit on whole coordinates, as for every other shape.
    cairo_translate(cr.get(), 0.5 - area.left, 0.5 - area.top);
    cairo_set_antialias(cr.get(), CAIRO_ANTIALIAS_NONE);
    cairo_set_fill_rule(cr.get(), path.fill_mode() == FillMode::alternate
                                      ? CAIRO_FILL_RULE_EVEN_ODD
                                      : CAIRO_FILL_RULE_WINDING);
    path.append_to(cr.get());
    cairo_fill(cr.get());
  }
  cairo_surface_flush(mask.get());
  const unsigned char* data = cairo_image_surface_get_data(mask.get());
  const int stride = cairo_image_surface_get_stride(mask.get());
  std::vector<std::vector<std::pair<int, int>>> rows(static_cast<std::size_t>(area.height()));
  for (int y = 0; y < area.height(); ++y) {
    const unsigned char* row = data + static_cast<std::ptrdiff_t>(y) * stride;
    auto& spans = rows[static_cast<std::size_t>(y)];
    for (int x = 0; x < area.width();) {
      if (row[x] == 0) {
        ++x;
        continue;
      }
      const int start = x;
      while (x < area.width() && row[x] != 0) ++x;
      spans.emplace_back(area.left + start, area.left + x);
    }
  }
  return Region::from_row_spans(area.top, rows);
}

}  // namespace platform::gfx
