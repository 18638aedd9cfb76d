#pragma once

#include "platform/os/desktop.h"

namespace directui {

// The part of the desktop that panels and docks leave free.
struct WorkArea {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const WorkArea&, const WorkArea&) = default;
};

// All zero when the desktop cannot say.
WorkArea GetWorkArea(platform::os::Desktop& desktop);

}  // namespace directui
