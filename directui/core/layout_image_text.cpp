#include "directui/core/layout_image_text.h"

#include <cmath>

namespace directui {

namespace {

struct Inputs {
  float iw, ih;  // image
  float tw, th;  // measured text
  RectF box;
  float ox, oy, gap;

  float centred_x(float width) const { return std::trunc(ox + box.x + (box.width - width) / 2); }
  float centred_y(float height) const { return std::trunc(oy + box.y + (box.height - height) / 2); }
  // Left edge of an image and a text side by side, centred as one group.
  float group_x() const { return std::trunc(ox + box.x + (box.width - (iw + gap + tw)) / 2); }
};

ImageTextRects ImageLeft(const Inputs& in) {
  const float ix = in.group_x();
  return {{std::trunc(ix + in.iw + in.gap), in.centred_y(in.th + 2), in.tw + 2, in.th + 2},
          {ix, in.centred_y(in.ih), in.iw, in.ih}};
}

ImageTextRects ImageRight(const Inputs& in) {
  const float tx = in.group_x();
  return {{tx, in.centred_y(in.th + 2), in.tw + 2, in.th + 2},
          {std::trunc(tx + in.tw + in.gap), in.centred_y(in.ih), in.iw, in.ih}};
}

ImageTextRects ImageAbove(const Inputs& in) {
  const float iy = std::trunc(in.oy + in.box.y + (in.box.height - in.ih - in.gap - in.th) / 2);
  return {{in.centred_x(in.tw + 2), std::trunc(iy + in.ih + in.gap), in.tw + 2, in.th + 2},
          {in.centred_x(in.iw), iy, in.iw, in.ih}};
}

ImageTextRects Overlaid(const Inputs& in) {
  return {{in.centred_x(in.tw + 2), in.centred_y(in.th + 2), in.tw + 2, in.th + 2},
          {in.centred_x(in.iw), in.centred_y(in.ih), in.iw, in.ih}};
}

// The text takes what the image, the gap and the offset leave of the box's width.
float RemainingWidth(const Inputs& in) {
  return in.box.width - in.iw - in.gap - in.ox;
}

ImageTextRects ImageAtLeftEdge(const Inputs& in) {
  const float ix = std::trunc(in.ox + in.box.x);
  return {{std::trunc(ix + in.iw + in.gap), in.centred_y(in.th + 2), RemainingWidth(in), in.th + 2},
          {ix, in.centred_y(in.ih), in.iw, in.ih}};
}

ImageTextRects TextAtLeftEdge(const Inputs& in) {
  const float tx = std::trunc(in.ox + in.box.x);
  const float tw = RemainingWidth(in);
  return {{tx, in.centred_y(in.th + 2), tw, in.th + 2},
          {std::trunc(tx + tw + in.gap), in.centred_y(in.ih), in.iw, in.ih}};
}

ImageTextRects ImageAtTop(const Inputs& in) {
  const float iy = std::trunc(in.oy + in.box.y);
  return {{in.centred_x(in.tw + 5), std::trunc(iy + in.ih + in.gap), in.tw + 5, in.th + 2},
          {in.centred_x(in.iw), iy, in.iw, in.ih}};
}

}  // namespace

ImageTextRects LayoutImageAndText(const platform::gfx::Image* image, int layout, const RectF& box,
                                  const RectF& text_size, int offset_x, int offset_y, int gap) {
  const bool has_image = image != nullptr;
  const Inputs in{has_image ? static_cast<float>(image->width()) : 0.0f,
                  has_image ? static_cast<float>(image->height()) : 0.0f,
                  text_size.width,
                  text_size.height,
                  box,
                  static_cast<float>(offset_x),
                  static_cast<float>(offset_y),
                  static_cast<float>(gap)};
  switch (static_cast<ImageTextLayout>(layout)) {
    case ImageTextLayout::image_left:
      return ImageLeft(in);
    case ImageTextLayout::image_right:
      return ImageRight(in);
    case ImageTextLayout::image_above:
      return ImageAbove(in);
    case ImageTextLayout::overlaid:
      return Overlaid(in);
    case ImageTextLayout::image_at_left_edge:
      return ImageAtLeftEdge(in);
    case ImageTextLayout::text_at_left_edge:
      return TextAtLeftEdge(in);
    case ImageTextLayout::image_at_top:
      return ImageAtTop(in);
  }
  return {};
}

}  // namespace directui
