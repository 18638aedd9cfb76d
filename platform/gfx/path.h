#pragma once

#include <span>
#include <vector>

#include "platform/gfx/geometry.h"

using cairo_t = struct _cairo;

namespace platform::gfx {

// Alternate is even-odd filling, winding the non-zero rule.
enum class FillMode { alternate = 0, winding = 1 };

// Figures of lines and elliptic arcs. As in the framework's drawing model, a shape added to an
// open figure is joined to it by a straight line; close_figure ends the figure.
class Path {
 public:
  explicit Path(FillMode mode = FillMode::alternate) : fill_mode_(mode) {}

  // The arc of the ellipse inscribed in box, angles in degrees clockwise from the x axis.
  void add_arc(const RectF& box, float start_degrees, float sweep_degrees);
  void add_line(PointF from, PointF to);
  void add_lines(std::span<const PointF> points);
  // Closed figures of their own.
  void add_rectangle(const RectF& r);
  void add_ellipse(const RectF& box);
  void add_polygon(std::span<const PointF> points);
  void close_figure();

  FillMode fill_mode() const { return fill_mode_; }
  void set_fill_mode(FillMode mode) { fill_mode_ = mode; }
  bool empty() const { return ops_.empty(); }
  // Whether every coordinate and angle is one drawing accepts (see IsSane).
  bool sane() const;

  // Adds the figures to a drawing context's current path, in its user coordinates.
  void append_to(cairo_t* cr) const;

 private:
  enum class Kind { line, arc, close, rectangle, ellipse, polygon };
  struct Op {
    Kind kind;
    RectF box;
    float a = 0;
    float b = 0;
    std::vector<PointF> points;
  };
  FillMode fill_mode_;
  std::vector<Op> ops_;
};

}  // namespace platform::gfx
