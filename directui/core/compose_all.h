#pragma once

#include "directui/core/element.h"
#include "platform/gfx/graphics.h"

namespace directui {

// Draws every visible element of the sibling list and, inside each element's bounds, its
// children, at their alpha (halved for a disabled element whose handler asks for it). With
// prerender each element first gets EXM_PRERENDER. Transitions are not drawn: this is the
// full render after a background change.
void ComposeAllElements(Ex_Element* first, platform::gfx::Graphics& graphics, bool prerender);

}  // namespace directui
