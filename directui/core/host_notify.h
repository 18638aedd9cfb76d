#pragma once

#include "directui/core/call_routine.h"
#include "directui/core/element.h"
#include "platform/os/messages.h"

namespace directui {

// Calls one of the host's element notification routines: (window, element, wparam, lparam,
// the element's kind, 0 without an element).
inline RoutineArg NotifyElementRoutine(const Routine& routine, platform::os::Window window,
                                       const Ex_Element* element, WPARAM wparam, LPARAM lparam) {
  return CallRoutine(routine, platform::os::window_to_param(window),
                     reinterpret_cast<RoutineArg>(element), static_cast<RoutineArg>(wparam), lparam,
                     element != nullptr ? element->kind : 0);
}

}  // namespace directui
