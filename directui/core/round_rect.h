#pragma once

#include "directui/core/colour.h"
#include "directui/core/rect_f.h"
#include "platform/gfx/graphics.h"
#include "platform/gfx/path.h"
#include "platform/gfx/pen.h"

namespace directui {

// A closed figure of four corner arcs, each in a corner x corner box. The right and bottom arcs
// sit one pixel in, so that a one-pixel pen drawn on the path stays inside the rectangle; a
// corner of 0 gives the rectangle one pixel smaller on the right and bottom.
platform::gfx::Path RoundRectPath(const RectF& rect, float corner,
                                  platform::gfx::FillMode fill_mode);

void FillRoundRect(platform::gfx::Graphics& graphics, const RectF& rect, float corner, Argb colour);

void DrawRoundRect(platform::gfx::Graphics& graphics, const RectF& rect, float corner, Argb colour,
                   platform::gfx::DashStyle dash, float pen_width = 1.0f);

}  // namespace directui
