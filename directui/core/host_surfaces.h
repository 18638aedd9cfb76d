#pragma once

#include <memory>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/graphics.h"
#include "platform/os/pixel_view.h"

namespace directui {

// Replaces the bitmap by a fresh transparent one of the size and, when asked for, gives it
// graphics that draw anti-aliased shapes and grid-fitted anti-aliased text. What the two held
// before is released first, graphics before their bitmap.
void CreateSurface(platform::gfx::Bitmap& bitmap,
                   std::unique_ptr<platform::gfx::Graphics>* graphics, int width, int height);

// The surface's pixels as the desktop takes them; empty for an empty bitmap.
platform::os::PixelView SurfaceView(const platform::gfx::Bitmap& bitmap);

}  // namespace directui
