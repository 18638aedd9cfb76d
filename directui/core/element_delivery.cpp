#include "directui/core/element_delivery.h"

#include <memory>

#include "directui/core/element_messages.h"

namespace directui {

LRESULT DispatchElementMessage(Ex_Element* element, std::uint32_t message, WPARAM wparam,
                               LPARAM lparam) {
  if (element == nullptr) return 0;
  const LRESULT result = element->HandleMessage(element, message, wparam, lparam);
  // A copy: the handler may rebind or destroy the element while it runs.
  const Routine* bound = element->event_table.Find(message, wparam);
  if (bound == nullptr) return result;
  const Routine handler = *bound;
  const auto self = reinterpret_cast<RoutineArg>(element);
  if (element->parent == nullptr) {
    CallRoutine(handler, self, message, static_cast<RoutineArg>(wparam), lparam);
  } else {
    CallRoutine(handler, reinterpret_cast<RoutineArg>(element->parent), self, message,
                static_cast<RoutineArg>(wparam), lparam);
  }
  return result;
}

LRESULT Ex_Element::SendEvent(std::uint32_t message, WPARAM wparam, LPARAM lparam) {
  if (!host_window) return 0;
  DeliveryBlock block{.message = message, .wparam = wparam, .lparam = lparam};
  return host_window.desktop->send_message(host_window.window, EXM_DELIVER, HandleParam(),
                                           reinterpret_cast<LPARAM>(&block));
}

bool Ex_Element::PostEvent(std::uint32_t message, WPARAM wparam, LPARAM lparam) {
  if (!host_window) return false;
  auto block = std::make_unique<DeliveryBlock>(DeliveryBlock{
      .message = message, .wparam = wparam, .lparam = lparam, .receiver_frees = true});
  if (!host_window.desktop->post_message(host_window.window, EXM_DELIVER, HandleParam(),
                                         reinterpret_cast<LPARAM>(block.get()))) {
    return false;
  }
  block.release();
  return true;
}

LRESULT DeliverElementMessage(WPARAM element, LPARAM block) {
  auto* delivered = reinterpret_cast<DeliveryBlock*>(block);
  if (delivered == nullptr) return 0;
  std::unique_ptr<DeliveryBlock> owned(delivered->receiver_frees ? delivered : nullptr);
  return DispatchElementMessage(reinterpret_cast<Ex_Element*>(element), delivered->message,
                                delivered->wparam, delivered->lparam);
}

RectF TakeInvalidatedArea(WPARAM mode, LPARAM area) {
  if (mode != 1) return ReadRectF(reinterpret_cast<const void*>(area));
  std::unique_ptr<RectF> owned(reinterpret_cast<RectF*>(area));
  return owned ? *owned : RectF{};
}

}  // namespace directui
