#include "directui/core/scratch_surface.h"

#include <algorithm>

#include "platform/gfx/quality_modes.h"

namespace directui {

namespace gfx = platform::gfx;

ScratchSurface& SharedScratchSurface() {
  static ScratchSurface surface;
  return surface;
}

void EnsureScratchSurface(int width, int height) {
  ScratchSurface& scratch = SharedScratchSurface();
  const int old_width = scratch.bitmap.empty() ? 0 : scratch.bitmap.width();
  const int old_height = scratch.bitmap.empty() ? 0 : scratch.bitmap.height();
  if (!scratch.bitmap.empty() && old_width >= width && old_height >= height) return;
  scratch.graphics.reset();
  scratch.bitmap = gfx::Bitmap::create(std::max(old_width, width), std::max(old_height, height));
  scratch.graphics = std::make_unique<gfx::Graphics>(scratch.bitmap);
  scratch.graphics->set_smoothing_mode(gfx::SmoothingMode::anti_alias);
  scratch.graphics->set_text_rendering_hint(gfx::TextRenderingHint::anti_alias_grid_fit);
}

}  // namespace directui
