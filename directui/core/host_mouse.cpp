// The host's mouse handling: hover, capture, click, focus by press, double click, dragging the
// frameless window and maximising it from its caption.
#include "directui/core/element_delivery.h"
#include "directui/core/element_messages.h"
#include "directui/core/host.h"
#include "directui/core/host_notify.h"
#include "directui/core/tooltip_window.h"

namespace directui {

namespace os = platform::os;

namespace {

// A double click on bare background maximises only in the caption band.
constexpr int kCaptionBandHeight = 30;

LPARAM ElementArg(const Ex_Element* element) {
  return reinterpret_cast<LPARAM>(element);
}

}  // namespace

void Ex_Host::HandleMouse(std::uint32_t message, WPARAM wparam, LPARAM lparam) {
  RouteMouse(message, wparam, lparam);
  // The tooltip hears of the message after its tool has followed the hovered element.
  RelayToToolTip(message, wparam, lparam);
}

void Ex_Host::RouteMouse(std::uint32_t message, WPARAM wparam, LPARAM lparam) {
  if (busy != 0 || HandleSizingBorder(message, lparam) == 1) return;
  if (pressed_state != 0 && pressed_element != nullptr) {
    HandleCapturedMouse(message, wparam, lparam);
    return;
  }
  // A press whose element went away holds nothing any more.
  if (pressed_state != 0) {
    pressed_state = 0;
    desktop().release_capture();
  }
  const int x = os::x_of_lparam(lparam);
  const int y = os::y_of_lparam(lparam);
  Ex_Element* under = HitTest(x, y);
  Ex_Element* before = hovered_element;
  if (under != before && before != nullptr && before->visible != 0) {
    DispatchElementMessage(before, EXM_MOUSELEAVE, wparam, ElementArg(under));
    NotifyElementRoutine(mouse_leave_routine, handle(), before, wparam, lparam);
  }
  switch (message) {
    case os::WM_LBUTTONDOWN:
      HandleLeftPress(under, wparam, lparam);
      break;
    case os::WM_RBUTTONDOWN:
      NotifyElementRoutine(right_down_routine, handle(), under, wparam, lparam);
      break;
    case os::WM_RBUTTONUP:
      NotifyElementRoutine(right_up_routine, handle(), under, wparam, lparam);
      break;
    case os::WM_MOUSEMOVE:
      if (under != before) EnterElement(under, before, wparam, lparam);
      break;
    default:
      break;
  }
  if (under != nullptr) DispatchElementMessage(under, message, wparam, lparam);
  hovered_element = under;
}

void Ex_Host::HandleCapturedMouse(std::uint32_t message, WPARAM wparam, LPARAM lparam) {
  Ex_Element* pressed = pressed_element;
  DispatchElementMessage(pressed, message, pressed->HandleParam(), lparam);
  if (message != os::WM_LBUTTONUP) return;
  if (pressed_state == 0 || pressed_element != pressed) {
    // The element's own handling ended the press (it was destroyed or disabled).
    desktop().release_capture();
    return;
  }
  // The release is told to the element that took the press.
  NotifyElementRoutine(mouse_up_routine, handle(), pressed, wparam, lparam);
  desktop().release_capture();
  Ex_Element* under = HitTest(os::x_of_lparam(lparam), os::y_of_lparam(lparam));
  if (under == pressed) {
    DispatchElementMessage(under, EXM_CLICK, pressed->HandleParam(), lparam);
    NotifyElementRoutine(click_routine, handle(), under, wparam, lparam);
  } else if (pressed->visible != 0) {
    DispatchElementMessage(pressed, EXM_MOUSELEAVE, wparam, ElementArg(under));
    NotifyElementRoutine(mouse_leave_routine, handle(), pressed, wparam, lparam);
    EnterElement(under, pressed, wparam, lparam);
  }
  pressed_state = 0;
  pressed_element = nullptr;
  hovered_element = under;
}

void Ex_Host::HandleLeftPress(Ex_Element* element, WPARAM wparam, LPARAM lparam) {
  const os::Window focus = desktop().focus();
  if (focus != handle()) {
    desktop().send_message(focus, os::WM_KILLFOCUS, 0, 0);
    desktop().set_focus(handle());
  }
  const bool double_click = wparam == DOUBLECLICK_MARK;
  if (element != nullptr) {
    const bool takes_press =
        DispatchElementMessage(element, EXM_QUERYCAPTURE, 0, 0) != -1 || element->focusable != 0;
    if (takes_press) {
      PressElement(element, wparam, lparam);
    } else if (double_click && (caption_flags & CF_TITLE) != 0 &&
               (caption_flags & CF_MAXIMIZE) != 0 && element == title_label.get()) {
      ToggleMaximise();
    }
    // Only a single press drags: a double click on an element that takes no press, the title
    // aside, leaves the window where it is.
    if (pressed_state == 0 && !double_click && drag_move != 0) {
      desktop().send_message(handle(), os::WM_NCLBUTTONDOWN, static_cast<WPARAM>(os::HTCAPTION), 0);
    }
    return;
  }
  if (double_click) {
    if (os::y_of_lparam(lparam) < kCaptionBandHeight && (caption_flags & CF_MAXIMIZE) != 0) {
      ToggleMaximise();
    }
  } else if (drag_move != 0) {
    desktop().send_message(handle(), os::WM_NCLBUTTONDOWN, static_cast<WPARAM>(os::HTCAPTION), 0);
  }
}

void Ex_Host::PressElement(Ex_Element* element, WPARAM wparam, LPARAM lparam) {
  NotifyElementRoutine(mouse_down_routine, handle(), element, wparam, lparam);
  pressed_state = 1;
  pressed_element = element;
  if (element->focusable != 0 && element != focused_element) {
    Ex_Element* old = focused_element;
    focused_element = element;
    keyboard_focus_element = nullptr;
    DispatchElementMessage(old, EXM_KILLFOCUS, wparam, ElementArg(element));
    NotifyElementRoutine(blur_routine, handle(), old, wparam, lparam);
    DispatchElementMessage(element, EXM_SETFOCUS, wparam, ElementArg(old));
    NotifyElementRoutine(focus_routine, handle(), element, wparam, lparam);
  }
  if (wparam == DOUBLECLICK_MARK) {
    NotifyElementRoutine(double_click_routine, handle(), element, wparam, lparam);
  }
  // Every press that sets the pressed state holds the capture, or its release could be lost
  // outside the window.
  desktop().set_capture(handle());
}

void Ex_Host::EnterElement(Ex_Element* element, Ex_Element* previous, WPARAM wparam,
                           LPARAM lparam) {
  DispatchElementMessage(element, EXM_MOUSEENTER, wparam, ElementArg(previous));
  NotifyElementRoutine(mouse_enter_routine, handle(), element, wparam, lparam);
  SetElementToolTip(element, nullptr);
}

void Ex_Host::ToggleMaximise() {
  const os::WPARAM command = desktop().is_zoomed(handle()) ? os::SC_RESTORE : os::SC_MAXIMIZE;
  desktop().post_message(handle(), os::WM_SYSCOMMAND, command, 0);
  desktop().send_message(handle(), os::WM_NCLBUTTONDOWN, static_cast<WPARAM>(os::HTCAPTION), 0);
}

void Ex_Host::RelayToToolTip(std::uint32_t message, WPARAM wparam, LPARAM lparam) {
  if (!tooltip_window) return;
  const os::Message relayed{.window = handle(),
                            .message = message,
                            .wparam = wparam,
                            .lparam = lparam,
                            .time = desktop().tick_count(),
                            .pt = desktop().cursor_pos()};
  desktop().send_message(tooltip_window, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

}  // namespace directui
