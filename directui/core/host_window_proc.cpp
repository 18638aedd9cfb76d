#include <optional>

#include "directui/core/caption_elements.h"
#include "directui/core/compose.h"
#include "directui/core/element_delivery.h"
#include "directui/core/element_messages.h"
#include "directui/core/host.h"
#include "directui/core/host_surfaces.h"
#include "directui/core/redraw_queue.h"
#include "directui/core/work_area.h"
#include "platform/os/window_placement.h"

namespace directui {

namespace os = platform::os;

namespace {

Ex_Element* ElementParam(std::uintptr_t value) {
  return reinterpret_cast<Ex_Element*>(value);
}

int KindOf(const Ex_Element* element) {
  return element != nullptr ? element->kind : 0;
}

bool IsFocusedElementInput(std::uint32_t message) {
  switch (message) {
    case os::WM_KEYUP:
    case os::WM_CHAR:
    case os::WM_SYSKEYDOWN:
    case os::WM_SYSKEYUP:
    case os::WM_IME_COMPOSITION:
    case os::WM_COMMAND:
    case os::WM_MOUSEWHEEL:
      return true;
    default:
      return false;
  }
}

bool IsMouseButton(std::uint32_t message) {
  return message == os::WM_LBUTTONDOWN || message == os::WM_LBUTTONUP ||
         message == os::WM_RBUTTONDOWN || message == os::WM_RBUTTONUP;
}

Ex_Element* FindIn(Ex_Element* first, const Ex_Element* wanted) {
  for (Ex_Element* element = first; element != nullptr; element = element->next_sibling) {
    if (element == wanted) return element;
    if (Ex_Element* inside = FindIn(element->first_child, wanted)) return inside;
  }
  return nullptr;
}

}  // namespace

LRESULT Ex_Host::WindowProc(std::uint32_t message, WPARAM wparam, LPARAM lparam) {
  const auto self_window = os::window_to_param(handle());
  if (message_filter) {
    const RoutineArg answer =
        CallRoutine(message_filter, self_window, message, static_cast<RoutineArg>(wparam), lparam);
    if (answer != -1) return answer;
  }
  switch (message) {
    case os::WM_DESTROY: {
      const os::WindowProc previous = previous_window_proc;
      Detach();
      return desktop().call_window_proc(previous, handle(), message, wparam, lparam);
    }
    case os::WM_SIZE:
      HandleSize(wparam, lparam);
      break;
    case os::WM_ACTIVATE:
      return OnActivate(wparam, lparam);
    case os::WM_SETTEXT:
      return OnSetText(wparam, lparam);
    case os::WM_PAINT:
      PaintFromSurface();
      break;
    case os::WM_CLOSE:
      PlayCloseEffect();
      desktop().show_window(handle(), os::SW_HIDE);
      break;
    case os::WM_SETCURSOR:
      return OnSetCursor(wparam, lparam);
    case os::WM_NCACTIVATE:
      return 1;
    case os::WM_GETMINMAXINFO:
      return OnGetMinMaxInfo(lparam);
    case os::WM_STYLECHANGED: {
      const std::uint32_t style = desktop().style(handle());
      const std::uint32_t frame = os::WS_DLGFRAME | os::WS_BORDER;
      if ((style & frame) != 0) desktop().set_style(handle(), style & ~frame);
      break;
    }
    case os::WM_NCCALCSIZE:
      if (wparam == 1) return 1;
      break;
    case os::WM_KEYDOWN:
      HandleKeyDown(message, wparam, lparam);
      break;
    case os::WM_SYSCHAR:
      if (HandleMnemonic(message, wparam, lparam) != 0) return 0;
      break;
    case os::WM_MOUSEMOVE:
      if (mouse_tracking == 0) mouse_tracking = desktop().track_mouse_leave(handle()) ? 1 : 0;
      HandleMouse(message, wparam, lparam);
      break;
    case os::WM_LBUTTONDBLCLK:
      desktop().send_message(handle(), os::WM_LBUTTONDOWN, DOUBLECLICK_MARK, lparam);
      return 0;
    case os::WM_MOUSELEAVE:
      return OnMouseLeave(wparam, lparam);
    case os::WM_TIMER:
      return OnTimer(wparam, lparam);
    case EXM_DELIVER:
      return DeliverElementMessage(wparam, lparam);
    case EXM_SETHOTKEY:
      return SetHotkey(ElementParam(wparam), static_cast<std::uint32_t>(lparam));
    case EXM_SETFOCUS:
      if (lparam != 0) SetFocusElement(ElementParam(static_cast<std::uintptr_t>(lparam)), false);
      break;
    case EXM_UPDATELAYERED:
      return OnUpdateLayered(wparam, lparam);
    case EXM_INVALIDATE:
      return OnInvalidate(wparam, lparam);
    case EXM_BOUNDSCHANGED:
      return OnBoundsChanged(wparam, lparam);
    default:
      if (IsFocusedElementInput(message)) {
        DispatchElementMessage(focused_element, message, wparam, lparam);
      } else if (IsMouseButton(message)) {
        HandleMouse(message, wparam, lparam);
      }
      break;
  }
  return PassOn(message, wparam, lparam);
}

LRESULT Ex_Host::PassOn(std::uint32_t message, WPARAM wparam, LPARAM lparam) {
  // The queue is flushed on this thread only, so a busy queue means this message arrived from
  // inside that flush: waiting for it to go idle could never end. It is passed on at once.
  return desktop().call_window_proc(previous_window_proc, handle(), message, wparam, lparam);
}

LRESULT Ex_Host::OnActivate(WPARAM wparam, LPARAM lparam) {
  // The high word tells whether the window is minimised; the low word is the state.
  if (os::low_word(wparam) == os::WA_INACTIVE) {
    DispatchElementMessage(hovered_element, EXM_MOUSELEAVE, wparam, lparam);
    if (pressed_state != 0) {
      DispatchElementMessage(pressed_element, EXM_KILLFOCUS, wparam, lparam);
      desktop().release_capture();
      pressed_state = 0;
    }
  } else if (pressed_element != nullptr) {
    DispatchElementMessage(pressed_element, EXM_SETFOCUS, wparam, lparam);
  }
  return PassOn(os::WM_ACTIVATE, wparam, lparam);
}

LRESULT Ex_Host::OnSetText(WPARAM wparam, LPARAM lparam) {
  const LRESULT result =
      desktop().call_window_proc(previous_window_proc, handle(), os::WM_SETTEXT, wparam, lparam);
  const auto& set_title_text = CaptionElementRegistry().set_title_text;
  if ((caption_flags & CF_TITLE) != 0 && result == 1 && title_label && set_title_text &&
      lparam != 0) {
    set_title_text(*title_label, std::u16string(reinterpret_cast<const char16_t*>(lparam)));
  }
  return result;
}

LRESULT Ex_Host::OnSetCursor(WPARAM wparam, LPARAM lparam) {
  if (os::window_from_param(static_cast<std::intptr_t>(wparam)) != handle()) {
    return PassOn(os::WM_SETCURSOR, wparam, lparam);
  }
  // Resting in an edge zone keeps the sizing cursor the last mouse move showed.
  if (const std::optional<os::CursorShape> sizing = SizingCursorUnderPointer()) {
    desktop().set_cursor(*sizing);
    return 1;
  }
  const bool own = hovered_element != nullptr && hovered_element->cursor != os::CursorShape::none;
  desktop().set_cursor(own ? hovered_element->cursor : default_cursor);
  return 1;
}

LRESULT Ex_Host::OnGetMinMaxInfo(LPARAM lparam) {
  auto* info = reinterpret_cast<os::MinMaxInfo*>(lparam);
  if (info == nullptr) return 0;
  const WorkArea area = GetWorkArea(desktop());
  // The maximised window's shadow margin lies outside the work area.
  info->max_size = {area.width + 14, area.height + 14};
  info->max_position = {area.left - 7, area.top - 7};
  if (caption_flags == 0) {
    info->min_track_size = {21, 20};
  } else {
    const int buttons = static_cast<int>(caption_buttons.size());
    const int close = (caption_flags & CF_CLOSE) != 0 ? 11 : 0;
    info->min_track_size = {28 * buttons + close + 35 + 1, 38};
  }
  return 0;
}

LRESULT Ex_Host::OnMouseLeave(WPARAM wparam, LPARAM lparam) {
  mouse_tracking = 0;
  desktop().release_capture();
  if (Ex_Element* left = hovered_element) {
    DispatchElementMessage(left, EXM_MOUSELEAVE, wparam, lparam);
    CallRoutine(mouse_leave_routine, os::window_to_param(handle()),
                reinterpret_cast<RoutineArg>(left), 0, 0, KindOf(left));
    hovered_element = nullptr;
  }
  return PassOn(os::WM_MOUSELEAVE, wparam, lparam);
}

LRESULT Ex_Host::OnTimer(WPARAM wparam, LPARAM lparam) {
  DispatchElementMessage(FindElement(wparam), os::WM_TIMER, wparam, lparam);
  return PassOn(os::WM_TIMER, wparam, lparam);
}

LRESULT Ex_Host::OnUpdateLayered(WPARAM wparam, LPARAM lparam) {
  if (!offscreen.empty()) {
    desktop().update_layered_window(handle(), SurfaceView(offscreen), std::nullopt, 255);
  }
  return PassOn(EXM_UPDATELAYERED, wparam, lparam);
}

LRESULT Ex_Host::OnInvalidate(WPARAM wparam, LPARAM lparam) {
  const RectF area = TakeInvalidatedArea(wparam, lparam);
  QueueRedraw(area, static_cast<int>(wparam));
  if (wparam == 1) return 0;
  return PassOn(EXM_INVALIDATE, wparam, lparam);
}

LRESULT Ex_Host::OnBoundsChanged(WPARAM wparam, LPARAM lparam) {
  Ex_Element* element = ElementParam(wparam);
  DispatchElementMessage(element, EXM_BOUNDSCHANGED, 0, 0);
  if (lparam != 1) return 1;
  if (busy != 0) return 0;
  if (element != nullptr) {
    ComposeArea(this, element->previous_bounds, nullptr, true);
    ComposeArea(this, element->bounds, nullptr, true);
  }
  return 1;
}

Ex_Element* Ex_Host::FindElement(WPARAM handle_value) const {
  const Ex_Element* wanted = ElementParam(handle_value);
  if (wanted == nullptr) return nullptr;
  return FindIn(first_root, wanted);
}

}  // namespace directui
