#pragma once

#include "directui/core/colour.h"
#include "directui/core/rect_f.h"
#include "platform/gfx/brush.h"
#include "platform/gfx/graphics.h"
#include "platform/gfx/pen.h"

namespace directui {

platform::gfx::Brush CreateSolidBrush(Argb colour);

// A solid pen; widths are in world units, which on our canvases are pixels.
platform::gfx::Pen CreatePen(Argb colour, float width = 1.0f);

// The gradient runs across the whole rectangle, mirrored past it; the fill leaves out the last
// column and row, as the framework's rectangles do.
void FillGradientRect(
    platform::gfx::Graphics& graphics, const RectF& rect, Argb from, Argb to,
    platform::gfx::LinearGradientMode mode = platform::gfx::LinearGradientMode::vertical);

// Both end points are drawn: a one-pixel line from (1, 2) to (8, 2) covers pixels 1 to 8.
void DrawLine(platform::gfx::Graphics& graphics, Argb colour, float x1, float y1, float x2,
              float y2, float width = 1.0f);

// The same with a pen of the caller's.
void StrokeLine(platform::gfx::Graphics& graphics, const platform::gfx::Pen& pen,
                platform::gfx::PointF from, platform::gfx::PointF to);

}  // namespace directui
