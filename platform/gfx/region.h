#pragma once

#include <utility>
#include <vector>

#include "platform/gfx/combine_mode.h"
#include "platform/gfx/geometry.h"

namespace platform::gfx {

// A set of whole pixels held as horizontal bands, each a sorted list of disjoint spans; bands
// that touch and have equal spans are merged, so equal areas compare equal.
class Region {
 public:
  Region() = default;  // empty
  static Region from_rect(const Rect& r);
  // The rounded rectangle (left, top, right, bottom), right and bottom exclusive, whose corners
  // follow the ellipse of corner_width x corner_height; a corner below 2 pixels is square.
  // Edges and corner sizes are held within 65536 pixels either way.
  static Region round_rect(int left, int top, int right, int bottom, int corner_width,
                           int corner_height);
  // Horizontal spans in top-to-bottom order; rows with equal spans may share a band.
  static Region from_row_spans(int top, const std::vector<std::vector<std::pair<int, int>>>& rows);

  Region combine(const Region& other, CombineMode mode) const;
  Region offset(int dx, int dy) const;

  bool empty() const { return bands_.empty(); }
  Rect bounds() const;
  bool contains(int x, int y) const;
  // Rectangles sorted by top, then left, none overlapping: the list a window shape takes.
  std::vector<Rect> rects() const;

  friend bool operator==(const Region&, const Region&) = default;

 private:
  using Spans = std::vector<std::pair<int, int>>;
  struct Band {
    int top = 0;
    int bottom = 0;
    Spans spans;
    friend bool operator==(const Band&, const Band&) = default;
  };
  void append_band(int top, int bottom, Spans spans);
  std::vector<Band> bands_;
};

}  // namespace platform::gfx
