#include "platform/gfx/path.h"

#include <cairo.h>

#include <cmath>
#include <numbers>

namespace platform::gfx {

namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;

// The ellipse parameter whose point lies at the given geometric angle from the centre.
double ParameterAt(double degrees, double rx, double ry) {
  const double t = degrees * kRadiansPerDegree;
  return std::atan2(rx * std::sin(t), ry * std::cos(t));
}

void AppendArc(cairo_t* cr, const RectF& box, double start, double sweep) {
  const double rx = box.width / 2.0;
  const double ry = box.height / 2.0;
  if (rx <= 0 || ry <= 0) {
    cairo_line_to(cr, box.x + rx, box.y + ry);
    return;
  }
  double t0 = ParameterAt(start, rx, ry);
  double t1;
  if (std::fabs(sweep) >= 360.0) {
    t1 = t0 + (sweep > 0 ? 2 : -2) * std::numbers::pi;
  } else {
    // Keep the direction of the sweep, less than one full turn.
    t1 = ParameterAt(start + sweep, rx, ry);
    while (sweep > 0 && t1 < t0) t1 += 2 * std::numbers::pi;
    while (sweep < 0 && t1 > t0) t1 -= 2 * std::numbers::pi;
  }
  cairo_matrix_t saved;
  cairo_get_matrix(cr, &saved);
  cairo_translate(cr, box.x + rx, box.y + ry);
  cairo_scale(cr, rx, ry);
  if (sweep >= 0) {
    cairo_arc(cr, 0, 0, 1, t0, t1);
  } else {
    cairo_arc_negative(cr, 0, 0, 1, t0, t1);
  }
  cairo_set_matrix(cr, &saved);
}

void JoinOrStart(cairo_t* cr, PointF p) {
  if (cairo_has_current_point(cr)) {
    cairo_line_to(cr, p.x, p.y);
  } else {
    cairo_move_to(cr, p.x, p.y);
  }
}

}  // namespace

void Path::add_arc(const RectF& box, float start_degrees, float sweep_degrees) {
  ops_.push_back({Kind::arc, box, start_degrees, sweep_degrees, {}});
}

void Path::add_line(PointF from, PointF to) {
  ops_.push_back({Kind::line, {}, 0, 0, {from, to}});
}

void Path::add_lines(std::span<const PointF> points) {
  if (points.empty()) return;
  ops_.push_back({Kind::line, {}, 0, 0, {points.begin(), points.end()}});
}

void Path::add_rectangle(const RectF& r) {
  ops_.push_back({Kind::rectangle, r, 0, 0, {}});
}

void Path::add_ellipse(const RectF& box) {
  ops_.push_back({Kind::ellipse, box, 0, 0, {}});
}

void Path::add_polygon(std::span<const PointF> points) {
  if (points.size() < 2) return;
  ops_.push_back({Kind::polygon, {}, 0, 0, {points.begin(), points.end()}});
}

void Path::close_figure() {
  ops_.push_back({Kind::close, {}, 0, 0, {}});
}

bool Path::sane() const {
  for (const Op& op : ops_) {
    if (!IsSane(op.box) || !std::isfinite(op.a) || !std::isfinite(op.b)) return false;
    for (PointF p : op.points) {
      if (!IsSane(p)) return false;
    }
  }
  return true;
}

void Path::append_to(cairo_t* cr) const {
  cairo_new_sub_path(cr);
  for (const Op& op : ops_) {
    switch (op.kind) {
      case Kind::line:
        for (PointF p : op.points) JoinOrStart(cr, p);
        break;
      case Kind::arc:
        AppendArc(cr, op.box, op.a, op.b);
        break;
      case Kind::close:
        cairo_close_path(cr);
        cairo_new_sub_path(cr);
        break;
      case Kind::rectangle:
        cairo_new_sub_path(cr);
        cairo_rectangle(cr, op.box.x, op.box.y, op.box.width, op.box.height);
        cairo_new_sub_path(cr);
        break;
      case Kind::ellipse:
        cairo_new_sub_path(cr);
        AppendArc(cr, op.box, 0, 360);
        cairo_close_path(cr);
        cairo_new_sub_path(cr);
        break;
      case Kind::polygon:
        cairo_new_sub_path(cr);
        for (PointF p : op.points) JoinOrStart(cr, p);
        cairo_close_path(cr);
        cairo_new_sub_path(cr);
        break;
    }
  }
}

}  // namespace platform::gfx
