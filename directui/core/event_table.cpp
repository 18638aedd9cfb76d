#include "directui/core/event_table.h"

#include <utility>

#include "directui/core/element_messages.h"

namespace directui {

void EventTable::Bind(std::uint32_t code, Routine handler) {
  for (EventBinding& binding : bindings_) {
    if (binding.code == code) {
      binding.handler = std::move(handler);
      return;
    }
  }
  bindings_.push_back({code, std::move(handler)});
}

namespace {

bool Fires(std::uint32_t code, std::uint32_t message, platform::os::WPARAM wparam) {
  if (code == platform::os::WM_LBUTTONDBLCLK) {
    return message == platform::os::WM_LBUTTONDOWN &&
           static_cast<std::uintptr_t>(wparam) == DOUBLECLICK_MARK;
  }
  return code == message;
}

}  // namespace

const Routine* EventTable::Find(std::uint32_t message, platform::os::WPARAM wparam) const {
  for (const EventBinding& binding : bindings_) {
    if (Fires(binding.code, message, wparam)) return &binding.handler;
  }
  return nullptr;
}

}  // namespace directui
