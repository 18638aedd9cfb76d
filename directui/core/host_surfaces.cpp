#include "directui/core/host_surfaces.h"

#include <algorithm>

#include "platform/gfx/quality_modes.h"

namespace directui {

namespace gfx = platform::gfx;

void CreateSurface(gfx::Bitmap& bitmap, std::unique_ptr<gfx::Graphics>* graphics, int width,
                   int height) {
  if (graphics != nullptr) graphics->reset();
  bitmap = gfx::Bitmap::create(std::max(width, 1), std::max(height, 1));
  if (graphics == nullptr) return;
  *graphics = std::make_unique<gfx::Graphics>(bitmap);
  (*graphics)->set_smoothing_mode(gfx::SmoothingMode::anti_alias);
  (*graphics)->set_text_rendering_hint(gfx::TextRenderingHint::anti_alias_grid_fit);
}

platform::os::PixelView SurfaceView(const gfx::Bitmap& bitmap) {
  if (bitmap.empty()) return {};
  return {bitmap.pixels(), bitmap.width(), bitmap.height(), bitmap.stride()};
}

}  // namespace directui
