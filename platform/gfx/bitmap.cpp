#include "platform/gfx/bitmap.h"

#include <cairo.h>

#include <cstring>

namespace platform::gfx {

namespace {
// Larger requests are refused rather than attempted: decoded headers can ask for anything.
constexpr int kMaxSide = 16384;
constexpr long long kMaxPixels = 64LL * 1024 * 1024;

std::uint32_t* Row(cairo_surface_t* s, int y) {
  return reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(s) +
                                          static_cast<std::ptrdiff_t>(y) *
                                              cairo_image_surface_get_stride(s));
}
}  // namespace

void Bitmap::SurfaceRelease::operator()(cairo_surface_t* s) const {
  cairo_surface_destroy(s);
}

Bitmap Bitmap::create(int width, int height) {
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide ||
      static_cast<long long>(width) * height > kMaxPixels) {
    return {};
  }
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(s);
    return {};
  }
  return Bitmap(s);
}

int Bitmap::width() const {
  return empty() ? 0 : cairo_image_surface_get_width(surface());
}
int Bitmap::height() const {
  return empty() ? 0 : cairo_image_surface_get_height(surface());
}
int Bitmap::stride() const {
  return empty() ? 0 : cairo_image_surface_get_stride(surface());
}

std::uint32_t* Bitmap::pixels() {
  if (empty()) return nullptr;
  cairo_surface_flush(surface());
  return reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(surface()));
}

const std::uint32_t* Bitmap::pixels() const {
  if (empty()) return nullptr;
  cairo_surface_flush(surface());
  return reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(surface()));
}

void Bitmap::mark_dirty() {
  if (!empty()) cairo_surface_mark_dirty(surface());
}

Argb Bitmap::get_pixel(int x, int y) const {
  if (empty() || x < 0 || y < 0 || x >= width() || y >= height()) return 0;
  cairo_surface_flush(surface());
  return Unpremultiply(Row(surface(), y)[x]);
}

void Bitmap::set_pixel(int x, int y, Argb color) {
  if (empty() || x < 0 || y < 0 || x >= width() || y >= height()) return;
  cairo_surface_flush(surface());
  Row(surface(), y)[x] = Premultiply(color);
  cairo_surface_mark_dirty_rectangle(surface(), x, y, 1, 1);
}

Bitmap Bitmap::clone_area(const Rect& area) const {
  if (empty() || area.empty() || area.left < 0 || area.top < 0 || area.right > width() ||
      area.bottom > height()) {
    return {};
  }
  Bitmap copy = create(area.width(), area.height());
  if (copy.empty()) return {};
  cairo_surface_flush(surface());
  for (int y = 0; y < area.height(); ++y) {
    std::memcpy(Row(copy.surface(), y), Row(surface(), area.top + y) + area.left,
                static_cast<std::size_t>(area.width()) * 4);
  }
  copy.mark_dirty();
  return copy;
}

}  // namespace platform::gfx
