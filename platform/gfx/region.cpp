#include "platform/gfx/region.h"

#include <algorithm>
#include <cmath>

namespace platform::gfx {

namespace {

using Spans = std::vector<std::pair<int, int>>;

// Whether a pixel row belongs to the result, given membership in the two operands.
bool Keep(bool a, bool b, CombineMode mode) {
  switch (mode) {
    case CombineMode::replace:
      return b;
    case CombineMode::intersect:
      return a && b;
    case CombineMode::unite:
      return a || b;
    case CombineMode::exclusive_or:
      return a != b;
    case CombineMode::exclude:
      return a && !b;
    case CombineMode::complement:
      return b && !a;
  }
  return false;
}

Spans CombineSpans(const Spans& a, const Spans& b, CombineMode mode) {
  std::vector<int> edges;
  for (const auto& s : a) edges.insert(edges.end(), {s.first, s.second});
  for (const auto& s : b) edges.insert(edges.end(), {s.first, s.second});
  std::sort(edges.begin(), edges.end());
  edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
  auto inside = [](const Spans& spans, int x) {
    return std::any_of(spans.begin(), spans.end(),
                       [x](const auto& s) { return s.first <= x && x < s.second; });
  };
  Spans out;
  for (std::size_t i = 0; i + 1 < edges.size(); ++i) {
    const int x0 = edges[i];
    const int x1 = edges[i + 1];
    if (!Keep(inside(a, x0), inside(b, x0), mode)) continue;
    if (!out.empty() && out.back().second == x0) {
      out.back().second = x1;
    } else {
      out.emplace_back(x0, x1);
    }
  }
  return out;
}

}  // namespace

void Region::append_band(int top, int bottom, Spans spans) {
  if (spans.empty() || bottom <= top) return;
  if (!bands_.empty() && bands_.back().bottom == top && bands_.back().spans == spans) {
    bands_.back().bottom = bottom;
    return;
  }
  bands_.push_back({top, bottom, std::move(spans)});
}

Region Region::from_rect(const Rect& r) {
  Region region;
  if (!r.empty()) region.append_band(r.top, r.bottom, {{r.left, r.right}});
  return region;
}

Region Region::round_rect(int left, int top, int right, int bottom, int corner_width,
                          int corner_height) {
  // Far beyond any screen, and small enough that even a shape that is all corner stays a
  // modest list of rows.
  constexpr int kLimit = 1 << 16;
  left = std::clamp(left, -kLimit, kLimit);
  right = std::clamp(right, -kLimit, kLimit);
  top = std::clamp(top, -kLimit, kLimit);
  bottom = std::clamp(bottom, -kLimit, kLimit);
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  const int w = right - left;
  const int h = bottom - top;
  if (w == 0 || h == 0) return {};
  corner_width = std::min(std::abs(std::clamp(corner_width, -kLimit, kLimit)), w);
  corner_height = std::min(std::abs(std::clamp(corner_height, -kLimit, kLimit)), h);
  if (corner_width < 2 || corner_height < 2) return from_rect({left, top, right, bottom});

  // Row r of the corner band keeps the pixels whose centres lie inside the corner ellipse; the
  // same inset serves the mirrored row at the bottom and both sides, so the four corners match.
  const double a = corner_width / 2.0;
  const double b = corner_height / 2.0;
  const int band = std::min((corner_height + 1) / 2, (h + 1) / 2);
  std::vector<int> insets(static_cast<std::size_t>(band));
  for (int r = 0; r < band; ++r) {
    const double dy = (b - (r + 0.5)) / b;
    const double half = dy >= 1.0 ? 0.0 : a * std::sqrt(1.0 - dy * dy);
    // Pixel column c is inside when its centre (c + 0.5) is at least a - half from the edge.
    const int inset = static_cast<int>(std::ceil(a - half - 0.5 - 1e-9));
    insets[static_cast<std::size_t>(r)] = std::clamp(inset, 0, (w - 1) / 2);
  }
  Region region;
  auto row = [&](int y, int inset) {
    region.append_band(y, y + 1, {{left + inset, right - inset}});
  };
  for (int r = 0; r < band; ++r) row(top + r, insets[static_cast<std::size_t>(r)]);
  region.append_band(top + band, bottom - band, {{left, right}});
  for (int r = band - 1; r >= 0; --r) {
    const int y = bottom - 1 - r;
    if (y >= top + band) row(y, insets[static_cast<std::size_t>(r)]);
  }
  return region;
}

Region Region::from_row_spans(int top, const std::vector<Spans>& rows) {
  Region region;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const int y = top + static_cast<int>(i);
    region.append_band(y, y + 1, CombineSpans({}, rows[i], CombineMode::unite));
  }
  return region;
}

Region Region::combine(const Region& other, CombineMode mode) const {
  std::vector<int> edges;
  edges.reserve(2 * (bands_.size() + other.bands_.size()));
  for (const Band& b : bands_) edges.insert(edges.end(), {b.top, b.bottom});
  for (const Band& b : other.bands_) edges.insert(edges.end(), {b.top, b.bottom});
  std::sort(edges.begin(), edges.end());
  edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
  static const Spans kNone;
  // Both band lists are sorted: walk them alongside the edges.
  auto spans_at = [](const std::vector<Band>& bands, std::size_t& i, int y) -> const Spans& {
    while (i < bands.size() && bands[i].bottom <= y) ++i;
    return i < bands.size() && bands[i].top <= y ? bands[i].spans : kNone;
  };
  std::size_t ia = 0;
  std::size_t ib = 0;
  Region out;
  for (std::size_t k = 0; k + 1 < edges.size(); ++k) {
    const Spans& a = spans_at(bands_, ia, edges[k]);
    const Spans& b = spans_at(other.bands_, ib, edges[k]);
    out.append_band(edges[k], edges[k + 1], CombineSpans(a, b, mode));
  }
  return out;
}

Region Region::offset(int dx, int dy) const {
  Region out = *this;
  for (Band& b : out.bands_) {
    b.top += dy;
    b.bottom += dy;
    for (auto& s : b.spans) {
      s.first += dx;
      s.second += dx;
    }
  }
  return out;
}

Rect Region::bounds() const {
  if (bands_.empty()) return {};
  Rect r{bands_.front().spans.front().first, bands_.front().top, bands_.front().spans.back().second,
         bands_.back().bottom};
  for (const Band& b : bands_) {
    r.left = std::min(r.left, b.spans.front().first);
    r.right = std::max(r.right, b.spans.back().second);
  }
  return r;
}

bool Region::contains(int x, int y) const {
  for (const Band& b : bands_) {
    if (y < b.top || y >= b.bottom) continue;
    for (const auto& s : b.spans) {
      if (s.first <= x && x < s.second) return true;
    }
  }
  return false;
}

std::vector<Rect> Region::rects() const {
  std::vector<Rect> out;
  for (const Band& b : bands_) {
    for (const auto& s : b.spans) out.push_back({s.first, b.top, s.second, b.bottom});
  }
  return out;
}

}  // namespace platform::gfx
