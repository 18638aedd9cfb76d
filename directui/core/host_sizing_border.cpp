// Edge sizing of the frameless window.
#include "directui/core/element_delivery.h"
#include "directui/core/element_messages.h"
#include "directui/core/host.h"
#include "directui/core/sizing_zone.h"

namespace directui {

namespace os = platform::os;

bool Ex_Host::EdgesSize() const {
  return sizable != 0 && pressed_state == 0 && !desktop().is_zoomed(handle());
}

int Ex_Host::HandleSizingBorder(std::uint32_t message, LPARAM lparam) {
  if (message != os::WM_MOUSEMOVE && message != os::WM_LBUTTONDOWN) return 0;
  if (!EdgesSize()) return 0;
  const SizingZone zone =
      ClassifySizingZone(os::x_of_lparam(lparam), os::y_of_lparam(lparam), size.width, size.height);
  if (zone.code == 0) return 0;
  desktop().set_cursor(zone.cursor);
  if (hovered_element != nullptr) {
    DispatchElementMessage(hovered_element, EXM_MOUSELEAVE, 0, 0);
    hovered_element = nullptr;
  }
  if (message == os::WM_LBUTTONDOWN) {
    desktop().send_message(handle(), os::WM_SYSCOMMAND,
                           os::SC_SIZE | static_cast<WPARAM>(zone.code), 0);
  }
  return 1;
}

std::optional<os::CursorShape> Ex_Host::SizingCursorUnderPointer() const {
  if (!EdgesSize()) return std::nullopt;
  const os::Point pointer = desktop().cursor_pos();
  const os::Rect bounds = desktop().window_rect(handle());
  const int x = pointer.x - bounds.left;
  const int y = pointer.y - bounds.top;
  // Only the window's own pixels: the pointer may be anywhere when the message comes.
  if (x < 0 || y < 0 || x >= size.width || y >= size.height) return std::nullopt;
  const SizingZone zone = ClassifySizingZone(x, y, size.width, size.height);
  if (zone.code == 0) return std::nullopt;
  return zone.cursor;
}

}  // namespace directui
