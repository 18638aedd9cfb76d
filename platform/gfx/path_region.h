#pragma once

#include "platform/gfx/geometry.h"
#include "platform/gfx/path.h"
#include "platform/gfx/region.h"

namespace platform::gfx {

// The pixels inside area whose centres the path's fill covers, without smoothing.
Region RegionFromPath(const Path& path, const Rect& area);

}  // namespace platform::gfx
