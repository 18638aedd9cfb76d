#pragma once

#include "directui/core/effect_numbers.h"
#include "directui/core/host_window.h"
#include "platform/gfx/bitmap.h"

namespace directui {

inline constexpr int kDefaultOpenDuration = 200;  // ms an opening fade or wipe takes

// Opens the window with an animation of the picture `source` (the host's off-screen surface):
// ten frames on a layered window, from invisible to the whole picture at full opacity. A
// window that is not layered is layered (and given its rounded shape) for the time of the
// effect. The host's busy flag is set throughout, and the thread's messages are handled
// between frames. Fade and wipes take `duration_ms`; the zoom takes its own 55 ms.
void PlayOpenEffect(const HostWindow& window, const platform::gfx::Bitmap& source, int window_alpha,
                    int effect, int blur, int frame_style, int duration_ms);

// Closes the window with an animation of `source`: 15 frames (20 for the zoom) that leave the
// window layered and fully transparent; hiding it is the caller's. Effect 0 does nothing.
void PlayCloseEffect(const HostWindow& window, const platform::gfx::Bitmap& source,
                     int window_alpha, int effect, int blur, int frame_style);

}  // namespace directui
