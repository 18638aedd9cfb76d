#include "directui/core/nine_grid.h"

#include "platform/gfx/image_attributes.h"

namespace directui {

namespace gfx = platform::gfx;

namespace {

// Where one axis is cut: the near margin, the stretched middle and the far margin.
struct Cuts {
  float start;
  float near_size;
  float middle;
  float far_size;

  float at(int piece) const {
    return piece == 0 ? start : piece == 1 ? start + near_size : start + near_size + middle;
  }
  float size(int piece) const { return piece == 0 ? near_size : piece == 1 ? middle : far_size; }
};

Cuts CutAxis(float start, float length, float near_size, float far_size) {
  return {start, near_size, length - near_size - far_size, far_size};
}

}  // namespace

void DrawNineGrid(gfx::Graphics& graphics, const gfx::Image* image, const RectF& destination,
                  const RectF& centre, std::optional<int> alpha) {
  if (image == nullptr) return;
  const gfx::Bitmap& picture = image->bitmap();
  const float iw = static_cast<float>(picture.width());
  const float ih = static_cast<float>(picture.height());
  const float right = iw - centre.x - centre.width;
  const float bottom = ih - centre.y - centre.height;
  const Cuts source_x = CutAxis(0, iw, centre.x, right);
  const Cuts source_y = CutAxis(0, ih, centre.y, bottom);
  const Cuts dest_x = CutAxis(destination.x, destination.width, centre.x, right);
  const Cuts dest_y = CutAxis(destination.y, destination.height, centre.y, bottom);
  std::optional<gfx::ImageAttributes> attributes;
  if (alpha && *alpha >= 0 && *alpha <= 254) {
    attributes = gfx::ImageAttributes::with_alpha(static_cast<std::uint8_t>(*alpha));
  }
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) {
      const RectF from{source_x.at(column), source_y.at(row), source_x.size(column),
                       source_y.size(row)};
      const RectF to{dest_x.at(column), dest_y.at(row), dest_x.size(column), dest_y.size(row)};
      // Empty pieces (a margin of 0, a destination smaller than the margins) draw nothing.
      if (from.empty() || to.empty()) continue;
      graphics.draw_image(picture, to, from, attributes);
    }
  }
}

}  // namespace directui
