// The window's single tooltip tool follows the element under the mouse.
#include "directui/core/host.h"
#include "directui/core/tooltip_window.h"

namespace directui {

namespace os = platform::os;

namespace {

os::Rect WholePixels(const RectF& bounds) {
  return {static_cast<int>(bounds.x), static_cast<int>(bounds.y),
          static_cast<int>(bounds.x + bounds.width), static_cast<int>(bounds.y + bounds.height)};
}

}  // namespace

void Ex_Host::SetElementToolTip(Ex_Element* element, const std::string* text) {
  if (element == nullptr) return;
  // Each message gets a fresh copy of the record, which is read back afterwards.
  const auto send = [this](std::uint32_t message) {
    ToolInfo info = MakeToolInfo(tooltip);
    desktop().send_message(tooltip_window, message, 0, reinterpret_cast<LPARAM>(&info));
    ReadBack(info, tooltip);
  };
  send(TTM_DELTOOLA);
  const std::string& shown = text != nullptr ? *text : element->tooltip_text;
  if (shown.empty()) return;
  send(TTM_ADDTOOLA);
  tooltip.rect = WholePixels(element->bounds);
  tooltip.text = shown;
  send(TTM_NEWTOOLRECTA);
  send(TTM_UPDATETIPTEXTA);
}

}  // namespace directui
