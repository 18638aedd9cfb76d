#pragma once

#include <cstdint>

#include "directui/core/element.h"
#include "directui/core/rect_f.h"

namespace directui {

// Calls the element's class handler and then the user handler bound to the message: with
// (element, message, wparam, lparam) for a root element, with (parent, element, message,
// wparam, lparam) for a child. The user handler's answer is ignored. 0 for a null element.
LRESULT DispatchElementMessage(Ex_Element* element, std::uint32_t message, WPARAM wparam,
                               LPARAM lparam);

// A message travelling to an element through EXM_DELIVER.
struct DeliveryBlock {
  std::uint32_t message = 0;
  WPARAM wparam = 0;
  LPARAM lparam = 0;
  // Posted blocks belong to the receiver, which frees them after dispatch; a sent block stays
  // the sender's.
  bool receiver_frees = false;
};

// The host's answer to EXM_DELIVER (wparam: the element, lparam: the block): dispatches the
// block's message to the element, frees a posted block and answers the dispatch result.
LRESULT DeliverElementMessage(WPARAM element, LPARAM block);

// The area of an EXM_INVALIDATE; takes over and frees the copy a mode-1 request carries.
RectF TakeInvalidatedArea(WPARAM mode, LPARAM area);

}  // namespace directui
