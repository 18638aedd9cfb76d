#include "directui/core/compose.h"
#include "directui/core/element.h"
#include "directui/core/element_delivery.h"
#include "directui/core/element_messages.h"

namespace directui {

void Ex_Element::AnimationTimerProc(platform::os::Window, std::uint32_t, std::uintptr_t timer_id,
                                    std::uint32_t) {
  if (host == nullptr || !host_window) return;
  transition_step += 1;
  ComposeArea(host, bounds, host->offscreen_graphics.get(), true);
  if (transition_step < transition_steps) return;
  host_window.desktop->kill_timer(host_window.window, timer_id);
  snapshot.reset();
  transition_step = 0;
  DispatchElementMessage(this, EXM_TRANSITIONEND, 0, 0);
}

void SetElementTimer(const HostWindow& window, Ex_Element* element, std::uint32_t interval_ms) {
  if (!window || element == nullptr) return;
  window.desktop->set_timer(window.window, reinterpret_cast<std::uintptr_t>(element), interval_ms);
}

}  // namespace directui
