#include "directui/core/compose_all.h"

#include <optional>

#include "directui/core/element_delivery.h"
#include "directui/core/element_messages.h"
#include "directui/core/image_alpha.h"

namespace directui {

void ComposeAllElements(Ex_Element* first, platform::gfx::Graphics& graphics, bool prerender) {
  for (Ex_Element* element = first; element != nullptr; element = element->next_sibling) {
    if (element->visible == 0) continue;
    if (prerender) DispatchElementMessage(element, EXM_PRERENDER, 0, 0);
    int alpha = element->alpha;
    if (element->disabled != 0 &&
        DispatchElementMessage(element, EXM_QUERYDISABLEDALPHA, 0, 1) == -1) {
      alpha /= 2;
    }
    DrawImageAlpha(graphics, &element->canvas, element->bounds, alpha);
    if (element->first_child == nullptr) continue;
    // The clip goes back exactly as it was, so a shaped window stays shaped for the siblings.
    const std::optional<platform::gfx::Region> saved = graphics.clip();
    graphics.set_clip(element->bounds, platform::gfx::CombineMode::intersect);
    ComposeAllElements(element->first_child, graphics, prerender);
    if (saved) {
      graphics.set_clip(*saved, platform::gfx::CombineMode::replace);
    } else {
      graphics.reset_clip();
    }
  }
}

}  // namespace directui
