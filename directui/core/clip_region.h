#pragma once

#include <span>

#include "platform/gfx/combine_mode.h"
#include "platform/gfx/graphics.h"
#include "platform/gfx/path.h"
#include "platform/gfx/region.h"
#include "platform/os/geometry.h"

namespace directui {

void SetClipPath(platform::gfx::Graphics& graphics, const platform::gfx::Path& path,
                 platform::gfx::CombineMode mode);

// The drawing region covering a window shape, given as the window system keeps it: a list of
// rectangles, which may overlap.
platform::gfx::Region RegionFromHrgn(std::span<const platform::os::Rect> shape);

}  // namespace directui
