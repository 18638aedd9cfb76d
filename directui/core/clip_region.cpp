#include "directui/core/clip_region.h"

namespace directui {

namespace gfx = platform::gfx;

void SetClipPath(gfx::Graphics& graphics, const gfx::Path& path, gfx::CombineMode mode) {
  graphics.set_clip(path, mode);
}

gfx::Region RegionFromHrgn(std::span<const platform::os::Rect> shape) {
  gfx::Region region;
  for (const platform::os::Rect& r : shape) {
    if (r.empty()) continue;
    region = region.combine(gfx::Region::from_rect({r.left, r.top, r.right, r.bottom}),
                            gfx::CombineMode::unite);
  }
  return region;
}

}  // namespace directui
