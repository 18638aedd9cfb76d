#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "directui/core/element.h"
#include "directui/core/host_window.h"
#include "directui/core/rect_f.h"
#include "platform/os/icon.h"

namespace directui {

// How a host makes its caption elements. The control classes (picture, label, caption buttons)
// fill these in when they are registered; a host attached before that gets no caption
// elements of the kinds still missing.
struct CaptionElementClasses {
  // The window icon picture at `bounds`; the icon may be null.
  std::function<std::unique_ptr<Ex_Element>(const HostWindow&, const RectF& bounds,
                                            const platform::os::Icon* icon)>
      icon{};
  // The title label at `bounds` showing `text` (code page 936).
  std::function<std::unique_ptr<Ex_Element>(const HostWindow&, const RectF& bounds,
                                            const std::string& text)>
      title{};
  // Gives the title label a new text (UTF-16), without a transition.
  std::function<void(Ex_Element& title, const std::u16string& text)> set_title_text{};
  // One caption button of the given CF_ code at `bounds`.
  std::function<std::unique_ptr<Ex_Element>(const HostWindow&, const RectF& bounds,
                                            std::uint32_t code)>
      button{};
};

// The process's caption element classes, filled in by the controls on the user-interface
// thread before any host attaches.
CaptionElementClasses& CaptionElementRegistry();

}  // namespace directui
