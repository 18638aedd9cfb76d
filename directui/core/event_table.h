#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "directui/core/call_routine.h"
#include "platform/os/messages.h"

namespace directui {

struct EventBinding {
  std::uint32_t code = 0;
  Routine handler{};
};

// The user handlers bound to an element, one per message code, in the order they were first
// bound.
class EventTable {
 public:
  // Binding a code again replaces its handler; an empty routine is bound like any other.
  void Bind(std::uint32_t code, Routine handler);
  // The handler of the first binding that fires for the message: its code equals the message,
  // except that a WM_LBUTTONDBLCLK binding fires only for the host's double-click form
  // (WM_LBUTTONDOWN with DOUBLECLICK_MARK) and never for the code itself. Null when none fires.
  const Routine* Find(std::uint32_t message, platform::os::WPARAM wparam) const;
  std::span<const EventBinding> bindings() const { return bindings_; }
  bool empty() const { return bindings_.empty(); }
  void Clear() { bindings_.clear(); }

 private:
  std::vector<EventBinding> bindings_;
};

}  // namespace directui
