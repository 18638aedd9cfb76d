#pragma once

#include <cstdint>
#include <optional>

#include "directui/core/rect_f.h"
#include "platform/gfx/bitmap.h"

namespace directui {

// What the darkness test reads of a host: its prepared background surface, when it has one,
// and its background colour.
struct HostBackground {
  const platform::gfx::Bitmap* bitmap = nullptr;  // none: the colour decides
  std::uint32_t colour = 0;                       // red in the lowest byte (0x00BBGGRR)
};

// Whether light text is wanted on the area: with a background bitmap, more than 4 of the nine
// samples at 20, 50 and 80 per cent of the area's width and height are dark; without one, the
// background colour is dark. False without a host.
bool IsAreaDark(const std::optional<HostBackground>& host, const RectF& area);

}  // namespace directui
