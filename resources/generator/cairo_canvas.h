#pragma once

#include <cairo.h>

#include <memory>

namespace picgen {

struct SurfaceDeleter {
  void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct ContextDeleter {
  void operator()(cairo_t* c) const { cairo_destroy(c); }
};
using SurfacePtr = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;
using ContextPtr = std::unique_ptr<cairo_t, ContextDeleter>;

// A transparent ARGB32 image with a drawing context on it.
class Canvas {
 public:
  Canvas(int width, int height, cairo_format_t format = CAIRO_FORMAT_ARGB32)
      : surface_(cairo_image_surface_create(format, width, height)),
        context_(cairo_create(surface_.get())) {}

  cairo_t* cr() const { return context_.get(); }
  cairo_surface_t* surface() const { return surface_.get(); }
  int width() const { return cairo_image_surface_get_width(surface_.get()); }
  int height() const { return cairo_image_surface_get_height(surface_.get()); }

 private:
  SurfacePtr surface_;
  ContextPtr context_;
};

// Saves the context state for a scope.
class SavedState {
 public:
  explicit SavedState(cairo_t* cr) : cr_(cr) { cairo_save(cr_); }
  ~SavedState() { cairo_restore(cr_); }
  SavedState(const SavedState&) = delete;
  SavedState& operator=(const SavedState&) = delete;

 private:
  cairo_t* cr_;
};

}  // namespace picgen
