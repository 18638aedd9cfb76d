#pragma once

#include <memory>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/graphics.h"

namespace directui {

// The surface every host of the process composes cross-fade frames on, at least as large as
// each host's window. Used on the user-interface thread only, one composition at a time.
struct ScratchSurface {
  platform::gfx::Bitmap bitmap{};
  std::unique_ptr<platform::gfx::Graphics> graphics{};
};

ScratchSurface& SharedScratchSurface();

// Grows the shared surface to at least width × height (it never shrinks).
void EnsureScratchSurface(int width, int height);

}  // namespace directui
