#include "platform/gfx/graphics.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

#include "platform/gfx/path_region.h"

namespace platform::gfx {

namespace {

void SetColor(cairo_t* cr, Argb c) {
  cairo_set_source_rgba(cr, RedOf(c) / 255.0, GreenOf(c) / 255.0, BlueOf(c) / 255.0,
                        AlphaOf(c) / 255.0);
}

cairo_extend_t GradientExtend(const LinearGradientBrush& b) {
  if (b.wrap == WrapMode::clamp) return CAIRO_EXTEND_PAD;
  const bool flips =
      b.wrap == WrapMode::tile_flip_xy ||
      (b.mode == LinearGradientMode::horizontal && b.wrap == WrapMode::tile_flip_x) ||
      (b.mode == LinearGradientMode::vertical && b.wrap == WrapMode::tile_flip_y);
  return flips ? CAIRO_EXTEND_REFLECT : CAIRO_EXTEND_REPEAT;
}

void AddStop(cairo_pattern_t* p, double offset, Argb c) {
  cairo_pattern_add_color_stop_rgba(p, offset, RedOf(c) / 255.0, GreenOf(c) / 255.0,
                                    BlueOf(c) / 255.0, AlphaOf(c) / 255.0);
}

int RoundEdge(float v) {
  return static_cast<int>(std::floor(v + 0.5f));
}

bool Smoothed(SmoothingMode m) {
  return m == SmoothingMode::anti_alias || m == SmoothingMode::high_quality;
}

cairo_filter_t FilterFor(InterpolationMode mode) {
  switch (mode) {
    case InterpolationMode::nearest_neighbor:
      return CAIRO_FILTER_NEAREST;
    case InterpolationMode::low_quality:
      return CAIRO_FILTER_FAST;
    case InterpolationMode::high_quality:
    case InterpolationMode::bicubic:
    case InterpolationMode::high_quality_bilinear:
    case InterpolationMode::high_quality_bicubic:
      return CAIRO_FILTER_GOOD;
    case InterpolationMode::default_mode:
    case InterpolationMode::bilinear:
      break;
  }
  return CAIRO_FILTER_BILINEAR;
}

bool Whole(float v) {
  return std::floor(v) == v;
}

}  // namespace

void Graphics::ContextRelease::operator()(cairo_t* cr) const {
  cairo_destroy(cr);
}
void Graphics::SurfaceRelease::operator()(cairo_surface_t* s) const {
  cairo_surface_destroy(s);
}

Graphics::Graphics(Bitmap& target) {
  if (target.empty()) return;
  cairo_t* cr = cairo_create(target.surface());
  if (cairo_status(cr) != CAIRO_STATUS_SUCCESS) {
    cairo_destroy(cr);
    return;
  }
  surface_.reset(cairo_surface_reference(target.surface()));
  context_.reset(cr);
  width_ = target.width();
  height_ = target.height();
}

Graphics::~Graphics() {
  if (surface_) cairo_surface_flush(surface_.get());
}

bool Graphics::ready() {
  if (!context_) return false;
  if (cairo_status(context_.get()) == CAIRO_STATUS_SUCCESS) return true;
  cairo_t* cr = cairo_create(surface_.get());
  if (cairo_status(cr) != CAIRO_STATUS_SUCCESS) {
    cairo_destroy(cr);
    return false;
  }
  context_.reset(cr);
  apply_clip();
  return true;
}

void Graphics::begin_shapes() {
  cairo_t* cr = context_.get();
  cairo_identity_matrix(cr);
  cairo_translate(cr, 0.5, 0.5);
  cairo_new_path(cr);
  cairo_set_antialias(cr, Smoothed(smoothing_) ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
  cairo_set_operator(cr, compositing_mode_ == CompositingMode::source_copy ? CAIRO_OPERATOR_SOURCE
                                                                           : CAIRO_OPERATOR_OVER);
}

void Graphics::set_source(const Brush& brush) {
  cairo_t* cr = context_.get();
  if (const auto* solid = std::get_if<SolidBrush>(&brush)) {
    SetColor(cr, solid->color);
    return;
  }
  const auto& g = std::get<LinearGradientBrush>(brush);
  if (!IsSane(g.rect)) {
    SetColor(cr, g.from);
    return;
  }
  const bool vertical = g.mode == LinearGradientMode::vertical;
  const double length = vertical ? g.rect.height : g.rect.width;
  if (!(length > 0)) {
    SetColor(cr, g.from);
    return;
  }
  cairo_pattern_t* p =
      vertical ? cairo_pattern_create_linear(g.rect.x, g.rect.y, g.rect.x, g.rect.bottom())
               : cairo_pattern_create_linear(g.rect.x, g.rect.y, g.rect.right(), g.rect.y);
  AddStop(p, 0, g.from);
  AddStop(p, 1, g.to);
  cairo_pattern_set_extend(p, GradientExtend(g));
  cairo_set_source(cr, p);
  cairo_pattern_destroy(p);
}

void Graphics::set_pen(const Pen& pen) {
  cairo_t* cr = context_.get();
  SetColor(cr, pen.color);
  const double w = pen.width > 0 ? std::min<double>(pen.width, kMaxCoordinate) : 1.0;
  cairo_set_line_width(cr, w);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
  static constexpr double kDash[] = {3, 1};
  static constexpr double kDot[] = {1, 1};
  static constexpr double kDashDot[] = {3, 1, 1, 1};
  static constexpr double kDashDotDot[] = {3, 1, 1, 1, 1, 1};
  std::span<const double> pattern;
  switch (pen.dash) {
    case DashStyle::solid:
      break;
    case DashStyle::dash:
      pattern = kDash;
      break;
    case DashStyle::dot:
      pattern = kDot;
      break;
    case DashStyle::dash_dot:
      pattern = kDashDot;
      break;
    case DashStyle::dash_dot_dot:
      pattern = kDashDotDot;
      break;
  }
  double scaled[6];
  for (std::size_t i = 0; i < pattern.size(); ++i) scaled[i] = pattern[i] * w;
  cairo_set_dash(cr, scaled, static_cast<int>(pattern.size()), 0);
}

void Graphics::clear(Argb color) {
  if (!ready()) return;
  cairo_t* cr = context_.get();
  cairo_identity_matrix(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  SetColor(cr, color);
  cairo_paint(cr);
}

void Graphics::fill_rectangle(const Brush& brush, const RectF& r) {
  if (!IsSane(r) || r.empty() || !ready()) return;
  begin_shapes();
  cairo_rectangle(context_.get(), r.x, r.y, r.width, r.height);
  set_source(brush);
  cairo_fill(context_.get());
}

void Graphics::draw_rectangle(const Pen& pen, const RectF& r) {
  if (!IsSane(r) || r.width < 0 || r.height < 0 || !ready()) return;
  begin_shapes();
  cairo_rectangle(context_.get(), r.x, r.y, r.width, r.height);
  set_pen(pen);
  cairo_stroke(context_.get());
}

void Graphics::draw_line(const Pen& pen, PointF from, PointF to) {
  if (!IsSane(from) || !IsSane(to) || !ready()) return;
  begin_shapes();
  cairo_move_to(context_.get(), from.x, from.y);
  cairo_line_to(context_.get(), to.x, to.y);
  set_pen(pen);
  cairo_stroke(context_.get());
}

void Graphics::fill_polygon(const Brush& brush, std::span<const PointF> points, FillMode mode) {
  Path path(mode);
  path.add_polygon(points);
  fill_path(brush, path);
}

void Graphics::draw_polygon(const Pen& pen, std::span<const PointF> points) {
  Path path;
  path.add_polygon(points);
  draw_path(pen, path);
}

void Graphics::fill_path(const Brush& brush, const Path& path) {
  if (path.empty() || !path.sane() || !ready()) return;
  begin_shapes();
  cairo_set_fill_rule(context_.get(), path.fill_mode() == FillMode::alternate
                                          ? CAIRO_FILL_RULE_EVEN_ODD
                                          : CAIRO_FILL_RULE_WINDING);
  path.append_to(context_.get());
  set_source(brush);
  cairo_fill(context_.get());
}

void Graphics::draw_path(const Pen& pen, const Path& path) {
  if (path.empty() || !path.sane() || !ready()) return;
  begin_shapes();
  path.append_to(context_.get());
  set_pen(pen);
  cairo_stroke(context_.get());
}

void Graphics::draw_image(const Bitmap& image, const RectF& destination) {
  draw_image(image, destination,
             {0, 0, static_cast<float>(image.width()), static_cast<float>(image.height())});
}

void Graphics::draw_image(const Bitmap& image, const RectF& destination, const RectF& source,
                          const std::optional<ImageAttributes>& attributes) {
  if (image.empty() || !IsSane(destination) || !IsSane(source) || destination.empty() ||
      source.empty() || !ready()) {
    return;
  }
  const double alpha = attributes ? std::clamp(attributes->alpha_scale, 0.0f, 1.0f) : 1.0;
  if (alpha <= 0) return;
  cairo_t* cr = context_.get();
  cairo_identity_matrix(cr);
  cairo_new_path(cr);
  cairo_set_operator(cr, compositing_mode_ == CompositingMode::source_copy ? CAIRO_OPERATOR_SOURCE
                                                                           : CAIRO_OPERATOR_OVER);
  // A whole-pixel source area inside the image becomes its own surface, so that stretching
  // repeats its edge pixels rather than fading out or reaching past the area.
  const bool whole_area = Whole(source.x) && Whole(source.y) && Whole(source.width) &&
                          Whole(source.height) && source.x >= 0 && source.y >= 0 &&
                          source.right() <= image.width() && source.bottom() <= image.height();
  cairo_surface_t* sub = whole_area
                             ? cairo_surface_create_for_rectangle(
                                   image.surface(), source.x, source.y, source.width, source.height)
                             : nullptr;
  cairo_pattern_t* pattern = cairo_pattern_create_for_surface(sub ? sub : image.surface());
  const double sx = source.width / destination.width;
  const double sy = source.height / destination.height;
  cairo_matrix_t m;
  cairo_matrix_init(&m, sx, 0, 0, sy, (sub ? 0.0 : source.x) - destination.x * sx,
                    (sub ? 0.0 : source.y) - destination.y * sy);
  cairo_pattern_set_matrix(pattern, &m);
  const bool one_to_one = sx == 1 && sy == 1 && Whole(destination.x) && Whole(destination.y);
  cairo_pattern_set_filter(pattern, one_to_one ? CAIRO_FILTER_NEAREST : FilterFor(interpolation_));
  cairo_pattern_set_extend(pattern, sub && !one_to_one ? CAIRO_EXTEND_PAD : CAIRO_EXTEND_NONE);
  cairo_set_source(cr, pattern);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);
  cairo_rectangle(cr, destination.x, destination.y, destination.width, destination.height);
  if (alpha >= 1.0) {
    cairo_fill(cr);
  } else {
    cairo_save(cr);
    cairo_clip(cr);
    cairo_paint_with_alpha(cr, alpha);
    cairo_restore(cr);
  }
  cairo_pattern_destroy(pattern);
  if (sub) cairo_surface_destroy(sub);
}

void Graphics::combine_clip(const Region& region, CombineMode mode) {
  if (!ready()) return;
  if (mode == CombineMode::replace) {
    clip_ = region;
  } else {
    const Region current = clip_ ? *clip_ : Region::from_rect({0, 0, width_, height_});
    clip_ = current.combine(region, mode);
  }
  apply_clip();
}

void Graphics::set_clip(const RectF& r, CombineMode mode) {
  if (!IsSane(r)) return;
  const Rect pixels{RoundEdge(r.x), RoundEdge(r.y), RoundEdge(r.right()), RoundEdge(r.bottom())};
  combine_clip(Region::from_rect(pixels), mode);
}

void Graphics::set_clip(const Path& path, CombineMode mode) {
  if (!path.sane()) return;
  combine_clip(RegionFromPath(path, {0, 0, width_, height_}), mode);
}

void Graphics::set_clip(const Region& region, CombineMode mode) {
  combine_clip(region, mode);
}

void Graphics::reset_clip() {
  clip_.reset();
  apply_clip();
}

void Graphics::apply_clip() {
  if (!context_) return;
  cairo_t* cr = context_.get();
  cairo_reset_clip(cr);
  if (!clip_) return;
  cairo_identity_matrix(cr);
  cairo_new_path(cr);
  for (const Rect& r : clip_->rects()) cairo_rectangle(cr, r.left, r.top, r.width(), r.height());
  if (clip_->empty()) cairo_rectangle(cr, 0, 0, 0, 0);
  cairo_clip(cr);
}

RectF Graphics::visible_clip_bounds() const {
  Rect b{0, 0, width_, height_};
  if (clip_) b = clip_->combine(Region::from_rect(b), CombineMode::intersect).bounds();
  return {static_cast<float>(b.left), static_cast<float>(b.top), static_cast<float>(b.width()),
          static_cast<float>(b.height())};
}

}  // namespace platform::gfx
