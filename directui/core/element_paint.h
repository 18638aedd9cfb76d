#pragma once

#include <optional>

#include "directui/core/element.h"
#include "directui/core/host_record.h"
#include "directui/core/host_window.h"
#include "directui/core/rect_f.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/graphics.h"

namespace directui {

// What a class paints with between BeginElementPaint and EndElementPaint.
struct ElementPaintContext {
  HostWindow window{};
  platform::gfx::Graphics* graphics = nullptr;  // the canvas graphics
  RectF rect{};                                 // the part being painted, canvas coordinates
  bool update = false;                          // whether this paint is pushed to the host
  HostRecord* host = nullptr;
  platform::gfx::Bitmap* offscreen = nullptr;
  platform::gfx::Graphics* offscreen_graphics = nullptr;
  platform::gfx::Bitmap* canvas = nullptr;
};

// Prepares a paint of the rectangle (the whole canvas when none is given): with `update`, a
// transition still running is finished at once and, for an element with transitions, the old
// picture is kept as the snapshot; the rectangle of the canvas is cleared to transparent.
// False, and nothing touched, when the element has no host.
bool BeginElementPaint(Ex_Element* element, ElementPaintContext& context, std::optional<RectF> rect,
                       bool update);

// Pushes the finished paint to the host (at once, or as a transition on the element's
// handle + 1 timer), unless the paint or the element does not update or it is hidden.
void EndElementPaint(Ex_Element* element, ElementPaintContext& context);

}  // namespace directui
