#pragma once

#include "directui/core/element.h"
#include "directui/core/host_record.h"
#include "directui/core/rect_f.h"
#include "platform/gfx/graphics.h"

namespace directui {

// Whether the rectangles share any area; rectangles that only touch do not.
bool RectsOverlap(const RectF& area, const RectF& bounds);

// Rebuilds the area of the host's off-screen surface: the background, then every visible
// element overlapping it in tree order (clipped to the host's shape and the area), and
// presents it when asked. `graphics` is the off-screen graphics (the host's when null).
// Nothing while the host is busy.
void ComposeArea(HostRecord* host, const RectF& area, platform::gfx::Graphics* graphics,
                 bool present);

// Composes one sibling list and, inside each element's bounds, its children: each visible
// element that overlaps the area at its alpha, halved for a disabled element whose handler
// asks for it, or as the current frame of its running transition.
void ComposeElements(HostRecord* host, Ex_Element* first, const RectF& area,
                     platform::gfx::Graphics& graphics);

// Shows the area on the window: copied for an ordinary window, the whole surface for a
// layered one. Nothing while the host is busy.
void PresentArea(HostRecord* host, const RectF& area);

// Whether composition draws a transition frame for the element now.
bool InTransition(const Ex_Element& element);

}  // namespace directui
