#pragma once

#include <cstdint>
#include <memory>

#include "platform/gfx/color.h"
#include "platform/gfx/geometry.h"

using cairo_surface_t = struct _cairo_surface;

namespace platform::gfx {

// A 32-bit ARGB picture. Pixels are premultiplied native-endian words (alpha in the top byte),
// rows stride() bytes apart: the layout the window system presents, so a host can hand
// pixels() to the screen without copying. An empty bitmap is what failed creations give.
class Bitmap {
 public:
  Bitmap() = default;
  // A transparent bitmap; empty when either side is not positive or too large.
  static Bitmap create(int width, int height);

  bool empty() const { return surface_ == nullptr; }
  int width() const;
  int height() const;
  int stride() const;
  std::uint32_t* pixels();
  const std::uint32_t* pixels() const;
  // Tells the drawing library that pixels() were written to directly.
  void mark_dirty();

  // Straight ARGB of one pixel; 0 outside the bitmap.
  Argb get_pixel(int x, int y) const;
  void set_pixel(int x, int y, Argb color);

  // A new bitmap holding a copy of the area; empty unless the area lies inside the bitmap.
  Bitmap clone_area(const Rect& area) const;
  Bitmap clone() const { return clone_area({0, 0, width(), height()}); }

  cairo_surface_t* surface() const { return surface_.get(); }

 private:
  struct SurfaceRelease {
    void operator()(cairo_surface_t* s) const;
  };
  explicit Bitmap(cairo_surface_t* s) : surface_(s) {}
  std::unique_ptr<cairo_surface_t, SurfaceRelease> surface_;
};

}  // namespace platform::gfx
