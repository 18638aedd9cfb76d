#pragma once

#include <cairo.h>

#include <cstdlib>
#include <string>

#include "platform/gfx/bitmap.h"

namespace directui::testing_support {

// Equal but for the last bit per channel that premultiplied storage may lose.
inline bool NearlyEqual(platform::gfx::Argb a, platform::gfx::Argb b) {
  for (int shift = 0; shift < 32; shift += 8) {
    const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    if (d < -1 || d > 1) return false;
  }
  return true;
}

inline char PixelMark(platform::gfx::Argb p, platform::gfx::Argb colour) {
  return p == 0 ? '.' : NearlyEqual(p, colour) ? '#' : '?';
}

// One character per pixel of a row: '.' transparent, '#' the given colour, '?' anything else.
inline std::string Row(const platform::gfx::Bitmap& b, int y, platform::gfx::Argb colour) {
  std::string s;
  for (int x = 0; x < b.width(); ++x) s += PixelMark(b.get_pixel(x, y), colour);
  return s;
}

inline std::string Column(const platform::gfx::Bitmap& b, int x, platform::gfx::Argb colour) {
  std::string s;
  for (int y = 0; y < b.height(); ++y) s += PixelMark(b.get_pixel(x, y), colour);
  return s;
}

inline bool SamePixels(const platform::gfx::Bitmap& a, const platform::gfx::Bitmap& b) {
  if (a.width() != b.width() || a.height() != b.height()) return false;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      if (a.get_pixel(x, y) != b.get_pixel(x, y)) return false;
    }
  }
  return true;
}

// Writes the picture as a PNG into the folder SHOULU_DRAWING_PNG_DIR names, when it is set, so
// that a failing pixel test can be looked at: enlarged so that every pixel is a square, over a
// blue-grey ground that shows both light and dark translucent pixels.
inline void SaveForViewing(const platform::gfx::Bitmap& b, const std::string& name) {
  const char* dir = std::getenv("SHOULU_DRAWING_PNG_DIR");
  if (dir == nullptr || b.empty()) return;
  const int scale = b.width() > 60 ? 6 : 16;
  cairo_surface_t* big =
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, b.width() * scale, b.height() * scale);
  cairo_t* cr = cairo_create(big);
  cairo_set_source_rgb(cr, 0.5, 0.6, 0.75);
  cairo_paint(cr);
  cairo_scale(cr, scale, scale);
  cairo_set_source_surface(cr, b.surface(), 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
  cairo_paint(cr);
  cairo_destroy(cr);
  cairo_surface_write_to_png(big, (std::string(dir) + "/" + name + ".png").c_str());
  cairo_surface_destroy(big);
}

}  // namespace directui::testing_support
