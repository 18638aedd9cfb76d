#include "directui/core/clone_image_area.h"

namespace directui {

ImagePtr CloneImageArea(const platform::gfx::Image* image, const RectF& area) {
  if (image == nullptr || area.width < 1 || area.height < 1) return nullptr;
  const int x = static_cast<int>(area.x);
  const int y = static_cast<int>(area.y);
  platform::gfx::Bitmap copy = image->bitmap().clone_area(
      {x, y, x + static_cast<int>(area.width), y + static_cast<int>(area.height)});
  if (copy.empty()) return nullptr;
  return std::make_unique<platform::gfx::Image>(platform::gfx::Image::still(std::move(copy)));
}

}  // namespace directui
