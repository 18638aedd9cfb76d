#pragma once

#include "platform/os/cursor_shape.h"

namespace directui {

// An edge or corner of a frameless sizable window: the WMSZ_* edge code the system size loop
// takes (0 = none) and the cursor shown over it.
struct SizingZone {
  int code = 0;
  platform::os::CursorShape cursor = platform::os::CursorShape::none;

  friend bool operator==(const SizingZone&, const SizingZone&) = default;
};

// The zone a point of a window of w × h lies in (window coordinates). The top band is 8
// pixels deep and the left one 8 wide, the corners reach 10 along each edge, and the right and
// bottom bands are 10 pixels.
SizingZone ClassifySizingZone(int x, int y, int width, int height);

}  // namespace directui
