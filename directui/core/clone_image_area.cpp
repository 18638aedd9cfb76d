#include "directui/core/clone_image_area.h"

#include "directui/core/pixel_truncation.h"

namespace directui {

ImagePtr CloneImageArea(const platform::gfx::Image* image, const RectF& area) {
  if (image == nullptr) return nullptr;
  const std::optional<int> x = TruncatedPixel(area.x);
  const std::optional<int> y = TruncatedPixel(area.y);
  const std::optional<int> w = TruncatedPixel(area.width);
  const std::optional<int> h = TruncatedPixel(area.height);
  const platform::gfx::Bitmap& picture = image->bitmap();
  // Checked here, before any sum that could overflow: the area must lie inside the picture.
  if (!x || !y || !w || !h || *w < 1 || *h < 1 || *x < 0 || *y < 0 || *w > picture.width() - *x ||
      *h > picture.height() - *y) {
    return nullptr;
  }
  platform::gfx::Bitmap copy = picture.clone_area({*x, *y, *x + *w, *y + *h});
  if (copy.empty()) return nullptr;
  return std::make_unique<platform::gfx::Image>(platform::gfx::Image::still(std::move(copy)));
}

}  // namespace directui
