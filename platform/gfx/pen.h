#pragma once

#include "platform/gfx/color.h"

namespace platform::gfx {

// Dash patterns in multiples of the pen width: dash 3 on 1 off, dot 1 on 1 off.
enum class DashStyle { solid = 0, dash = 1, dot = 2, dash_dot = 3, dash_dot_dot = 4 };

struct Pen {
  Argb color = 0;
  float width = 1.0f;  // world units; zero or less draws one pixel wide
  DashStyle dash = DashStyle::solid;
};

}  // namespace platform::gfx
