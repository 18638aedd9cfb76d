#include "directui/core/tooltip_window.h"

#include "platform/os/window_styles.h"

namespace directui {

namespace os = platform::os;

namespace {

os::LRESULT ToolTipProc(os::Desktop& desktop, os::Window window, std::uint32_t message,
                        os::WPARAM wparam, os::LPARAM lparam) {
  if (message == TTM_SETMAXTIPWIDTH) {
    const std::intptr_t before = desktop.get_prop(window, kToolTipMaxWidthProperty);
    desktop.set_prop(window, kToolTipMaxWidthProperty, lparam);
    return before;
  }
  return desktop.def_window_proc(window, message, wparam, lparam);
}

}  // namespace

os::Window CreateToolTip(os::Desktop& desktop) {
  // A second registration on the same desktop is refused, which is what we want.
  desktop.register_class(
      {.name = kToolTipClass,
       .procedure = [&desktop](os::Window w, std::uint32_t m, os::WPARAM wp, os::LPARAM lp) {
         return ToolTipProc(desktop, w, m, wp, lp);
       }});
  const os::Window tip = desktop.create_window({.class_name = kToolTipClass,
                                                .style = os::WS_POPUP,
                                                .ex_style = os::WS_EX_TOOLWINDOW,
                                                .position = os::Point{0, 0},
                                                .size = os::Size{0, 0}});
  desktop.set_window_pos(tip, os::InsertAfter::topmost(), {},
                         os::SWP_NOSIZE | os::SWP_NOMOVE | os::SWP_NOACTIVATE);
  return tip;
}

}  // namespace directui
