#pragma once

#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/brush.h"
#include "platform/gfx/combine_mode.h"
#include "platform/gfx/font.h"
#include "platform/gfx/geometry.h"
#include "platform/gfx/image_attributes.h"
#include "platform/gfx/path.h"
#include "platform/gfx/pen.h"
#include "platform/gfx/quality_modes.h"
#include "platform/gfx/region.h"
#include "platform/gfx/string_format.h"
#include "platform/gfx/text_region.h"

namespace platform::gfx {

// Drawing on a bitmap; the Graphics keeps the bitmap's pixels alive while it exists.
//
// Coordinates: lines, fills and paths put pixel centres on whole numbers, so a one-pixel pen on
// y = 5 covers exactly row 5 and a smoothed fill of (0, 0, 10, 10) has half-covered edges.
// Images drawn to whole-number rectangles and clip rectangles map pixel for pixel; text starts
// at its layout rectangle's corner. Coordinates that are not numbers or lie beyond
// kMaxCoordinate make an operation draw nothing.
class Graphics {
 public:
  explicit Graphics(Bitmap& target);
  ~Graphics();
  Graphics(const Graphics&) = delete;
  Graphics& operator=(const Graphics&) = delete;

  bool valid() const { return context_ != nullptr; }
  int width() const { return width_; }
  int height() const { return height_; }

  // Sets every pixel inside the clip to the colour, transparency included.
  void clear(Argb color);
  void fill_rectangle(const Brush& brush, const RectF& r);
  void draw_rectangle(const Pen& pen, const RectF& r);
  void draw_line(const Pen& pen, PointF from, PointF to);
  void fill_polygon(const Brush& brush, std::span<const PointF> points,
                    FillMode mode = FillMode::alternate);
  void draw_polygon(const Pen& pen, std::span<const PointF> points);
  void fill_path(const Brush& brush, const Path& path);
  void draw_path(const Pen& pen, const Path& path);

  // The image, or its source area, scaled to the destination.
  void draw_image(const Bitmap& image, const RectF& destination);
  void draw_image(const Bitmap& image, const RectF& destination, const RectF& source,
                  const std::optional<ImageAttributes>& attributes = std::nullopt);

  void set_smoothing_mode(SmoothingMode mode) { smoothing_ = mode; }
  SmoothingMode smoothing_mode() const { return smoothing_; }
  void set_text_rendering_hint(TextRenderingHint hint) { text_hint_ = hint; }
  TextRenderingHint text_rendering_hint() const { return text_hint_; }
  // Kept for callers that read it back; blending is always done on premultiplied values.
  void set_compositing_quality(CompositingQuality q) { compositing_quality_ = q; }
  CompositingQuality compositing_quality() const { return compositing_quality_; }
  void set_compositing_mode(CompositingMode mode) { compositing_mode_ = mode; }
  CompositingMode compositing_mode() const { return compositing_mode_; }
  void set_interpolation_mode(InterpolationMode mode) { interpolation_ = mode; }
  InterpolationMode interpolation_mode() const { return interpolation_; }

  // Clip rectangles are rounded to whole pixels; paths are filled without smoothing.
  void set_clip(const RectF& r, CombineMode mode = CombineMode::replace);
  void set_clip(const Path& path, CombineMode mode = CombineMode::replace);
  void set_clip(const Region& region, CombineMode mode = CombineMode::replace);
  void reset_clip();
  // The clip in pixels; none while nothing is clipped.
  const std::optional<Region>& clip() const { return clip_; }
  // The clip's bounds within the bitmap.
  RectF visible_clip_bounds() const;

  // Text in a layout rectangle; a width or height of 0 sets no limit in that direction.
  void draw_string(std::u16string_view text, const Font& font, const RectF& layout,
                   const StringFormat& format, const Brush& brush);
  // The box the text takes when drawn so, the line padding included.
  RectF measure_string(std::u16string_view text, const Font& font, const RectF& layout,
                       const StringFormat& format) const;
  // One region for each of the format's measurable ranges, in order.
  std::vector<TextRegion> measure_character_ranges(std::u16string_view text, const Font& font,
                                                   const RectF& layout,
                                                   const StringFormat& format) const;

 private:
  struct ContextRelease {
    void operator()(cairo_t* cr) const;
  };
  struct SurfaceRelease {
    void operator()(cairo_surface_t* s) const;
  };
  // True when drawing can go ahead; a context the drawing library put into its error state is
  // replaced first, so one bad call never disables the Graphics for good.
  bool ready();
  void combine_clip(const Region& region, CombineMode mode);
  void apply_clip();
  void begin_shapes();
  void set_source(const Brush& brush);
  void set_pen(const Pen& pen);

  std::unique_ptr<cairo_surface_t, SurfaceRelease> surface_;
  std::unique_ptr<cairo_t, ContextRelease> context_;
  int width_ = 0;
  int height_ = 0;
  std::optional<Region> clip_;
  SmoothingMode smoothing_ = SmoothingMode::default_mode;
  TextRenderingHint text_hint_ = TextRenderingHint::system_default;
  CompositingQuality compositing_quality_ = CompositingQuality::default_quality;
  CompositingMode compositing_mode_ = CompositingMode::source_over;
  InterpolationMode interpolation_ = InterpolationMode::default_mode;
};

}  // namespace platform::gfx
