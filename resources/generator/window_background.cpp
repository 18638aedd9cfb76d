#include "resources/generator/window_background.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "resources/generator/cairo_canvas.h"
#include "resources/generator/drawing.h"
#include "resources/generator/encoding.h"

namespace picgen {

namespace {

constexpr int kWidth = 450;
constexpr int kHeight = 380;
constexpr int kJpegQuality = 92;

void Sky(cairo_t* cr) {
  cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, kHeight);
  // Deeper at the top, where the light caption glyphs need something to stand on; pale from
  // the list down, so black text reads everywhere.
  cairo_pattern_add_color_stop_rgb(sky, 0.00, 0.36, 0.58, 0.80);
  cairo_pattern_add_color_stop_rgb(sky, 0.10, 0.52, 0.72, 0.88);
  cairo_pattern_add_color_stop_rgb(sky, 0.35, 0.78, 0.88, 0.95);
  cairo_pattern_add_color_stop_rgb(sky, 0.75, 0.90, 0.95, 0.98);
  cairo_pattern_add_color_stop_rgb(sky, 1.00, 0.86, 0.93, 0.97);
  cairo_set_source(cr, sky);
  cairo_pattern_destroy(sky);
  cairo_paint(cr);
}

void SoftLight(cairo_t* cr, double x, double y, double radius, Rgb colour, double alpha) {
  cairo_pattern_t* glow = cairo_pattern_create_radial(x, y, 0, x, y, radius);
  cairo_pattern_add_color_stop_rgba(glow, 0, colour.r, colour.g, colour.b, alpha);
  cairo_pattern_add_color_stop_rgba(glow, 0.6, colour.r, colour.g, colour.b, alpha * 0.35);
  cairo_pattern_add_color_stop_rgba(glow, 1, colour.r, colour.g, colour.b, 0);
  cairo_set_source(cr, glow);
  cairo_pattern_destroy(glow);
  cairo_arc(cr, x, y, radius, 0, 2 * M_PI);
  cairo_fill(cr);
}

// A wide band between two sine curves, fading out towards its bottom.
void HardWave(cairo_t* cr, double base, double amplitude, double phase, double thickness,
              Rgb colour, double alpha) {
  SavedState saved(cr);
  cairo_new_path(cr);
  for (int x = -10; x <= kWidth + 10; x += 5) {
    const double y = base + amplitude * std::sin(x / 95.0 + phase);
    x == -10 ? cairo_move_to(cr, x, y) : cairo_line_to(cr, x, y);
  }
  for (int x = kWidth + 10; x >= -10; x -= 5) {
    cairo_line_to(cr, x, base + thickness + amplitude * 0.7 * std::sin(x / 80.0 + phase + 0.8));
  }
  cairo_close_path(cr);
  cairo_pattern_t* fill = cairo_pattern_create_linear(0, base - amplitude, 0, base + thickness);
  cairo_pattern_add_color_stop_rgba(fill, 0, colour.r, colour.g, colour.b, alpha);
  cairo_pattern_add_color_stop_rgba(fill, 1, colour.r, colour.g, colour.b, 0);
  cairo_set_source(cr, fill);
  cairo_pattern_destroy(fill);
  cairo_fill(cr);
}

// The band laid down a few times a little lower each time, so its crest is soft, not cut.
void Wave(cairo_t* cr, double base, double amplitude, double phase, double thickness, Rgb colour,
          double alpha) {
  constexpr int kLayers = 5;
  for (int i = 0; i < kLayers; ++i) {
    HardWave(cr, base + i * 1.5, amplitude, phase, thickness, colour, alpha / kLayers);
  }
}

// One least-significant step of noise hides the banding of the long gradients.
void Dither(cairo_surface_t* surface) {
  cairo_surface_flush(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  std::uint32_t state = 0x2545F491u;  // fixed seed: the file is the same on every run
  for (int y = 0; y < kHeight; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(data + y * stride);
    for (int x = 0; x < kWidth; ++x) {
      state ^= state << 13;
      state ^= state >> 17;
      state ^= state << 5;
      const int delta = static_cast<int>(state % 3) - 1;
      std::uint32_t pixel = 0xFF000000u;
      for (int shift : {16, 8, 0}) {
        const int c = std::clamp(static_cast<int>((row[x] >> shift) & 0xFF) + delta, 0, 255);
        pixel |= static_cast<std::uint32_t>(c) << shift;
      }
      row[x] = pixel;
    }
  }
  cairo_surface_mark_dirty(surface);
}

}  // namespace

std::vector<std::uint8_t> DrawWindowBackground() {
  Canvas canvas(kWidth, kHeight, CAIRO_FORMAT_RGB24);
  cairo_t* cr = canvas.cr();
  Sky(cr);
  SoftLight(cr, 90, 40, 170, palette::kWhite, 0.30);
  SoftLight(cr, 330, 170, 150, palette::kWhite, 0.28);
  SoftLight(cr, 60, 260, 120, {0.80, 0.92, 1.0}, 0.35);
  SoftLight(cr, 250, 90, 60, palette::kWhite, 0.12);
  SoftLight(cr, 400, 60, 40, palette::kWhite, 0.10);
  Wave(cr, 250, 14, 0.3, 110, palette::kWhite, 0.50);
  Wave(cr, 285, 10, 2.1, 90, {0.70, 0.86, 0.96}, 0.40);
  Wave(cr, 315, 8, 4.0, 70, palette::kWhite, 0.55);
  Dither(canvas.surface());
  return EncodeBaselineJpeg(canvas.surface(), kJpegQuality);
}

}  // namespace picgen
