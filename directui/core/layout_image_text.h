#pragma once

#include "directui/core/rect_f.h"
#include "platform/gfx/image.h"

namespace directui {

// How an image and a caption share a box.
enum class ImageTextLayout {
  image_left = 0,   // image, gap, text: centred as a group
  image_right = 1,  // text, gap, image: centred as a group
  image_above = 2,  // image over text: centred as a group
  overlaid = 3,     // both centred on the box
  image_at_left_edge = 4,
  text_at_left_edge = 5,
  image_at_top = 6,
};

struct ImageTextRects {
  RectF text;
  RectF image;
  friend bool operator==(const ImageTextRects&, const ImageTextRects&) = default;
};

// Places an image (none counts as 0 x 0) and text of the measured size (its width and height)
// in the box, shifted by the offsets, with the gap between them. The image rectangle has the
// image's size and the text rectangle the text's size plus 2 each way (plus 5 across under an
// image at the top); positions are truncated to whole pixels. A layout number outside 0 to 6
// places nothing: both rectangles are empty.
ImageTextRects LayoutImageAndText(const platform::gfx::Image* image, int layout, const RectF& box,
                                  const RectF& text_size, int offset_x, int offset_y, int gap);

}  // namespace directui
