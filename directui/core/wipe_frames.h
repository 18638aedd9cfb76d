#pragma once

#include "directui/core/effect_numbers.h"
#include "directui/core/host_window.h"
#include "platform/gfx/bitmap.h"

namespace directui {

// Lines a wipe runs across: the width for wipes from the left or right, else the height.
int WipeLength(int effect, int width, int height);

// One opening wipe frame: the `offset` lines at the start edge drawn from the source at alpha
// a, then a soft edge of 100 lines fading from there. Everything goes to the same place in the
// target; lines outside the w × h picture are left out.
void WipeInFrame(const platform::gfx::Bitmap& source, platform::gfx::Bitmap& target, int w, int h,
                 int alpha, int offset, int effect);

// One closing wipe frame: all but the `offset` lines at the start edge drawn at alpha a, the
// last 100 of them towards the vanishing edge fading out; the blur behind follows the part
// that remains. Then the window shows the target (no window: only the drawing).
void WipeOutFrame(const HostWindow& window, const platform::gfx::Bitmap& source,
                  platform::gfx::Bitmap& target, int w, int h, int alpha, int offset, int effect,
                  int blur, int frame_style);

}  // namespace directui
