#include "directui/core/image_alpha.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/gfx/image_attributes.h"

namespace directui {

namespace gfx = platform::gfx;

void DrawImageAlpha(gfx::Graphics& graphics, const gfx::Bitmap* image, const RectF& rect,
                    int alpha) {
  if (image == nullptr || image->empty()) return;
  if (alpha >= 255) {
    graphics.draw_image(*image, rect);
    return;
  }
  const auto a = static_cast<std::uint8_t>(std::max(alpha, 0));
  graphics.draw_image(*image, rect, RectF{0, 0, rect.width, rect.height},
                      gfx::ImageAttributes::with_alpha(a));
}

void DrawImageAlpha(gfx::Graphics& graphics, const gfx::Image* image, const RectF& rect,
                    int alpha) {
  if (image != nullptr) DrawImageAlpha(graphics, &image->bitmap(), rect, alpha);
}

void DrawImageAt(gfx::Graphics& graphics, const gfx::Bitmap* image, const RectF& rect,
                 bool centred) {
  if (image == nullptr || image->empty()) return;
  const auto width = static_cast<float>(image->width());
  const auto height = static_cast<float>(image->height());
  float x = std::trunc(rect.x);
  float y = std::trunc(rect.y);
  if (centred) {
    x = std::round(rect.x - (width - rect.width) / 2);
    y = std::round(rect.y - (height - rect.height) / 2);
  }
  graphics.draw_image(*image, RectF{x, y, width, height});
}

void DrawImageAt(gfx::Graphics& graphics, const gfx::Image* image, const RectF& rect,
                 bool centred) {
  if (image != nullptr) DrawImageAt(graphics, &image->bitmap(), rect, centred);
}

}  // namespace directui
