// Keyboard focus, mnemonics and the host's part of mouse input. The hit test, hover, capture,
// click and edge sizing come with the input work; until then a mouse message reaches no
// element and no edge sizes the window.
#include <algorithm>

#include "directui/core/element_delivery.h"
#include "directui/core/element_messages.h"
#include "directui/core/host.h"

namespace directui {

namespace os = platform::os;

void Ex_Host::HandleMouse(std::uint32_t, WPARAM, LPARAM) {}

int Ex_Host::HandleSizingBorder(std::uint32_t, LPARAM) {
  return 0;
}

void Ex_Host::HandleKeyDown(std::uint32_t, WPARAM key, LPARAM lparam) {
  DispatchElementMessage(focused_element, os::WM_KEYDOWN, key, lparam);
}

LRESULT Ex_Host::HandleMnemonic(std::uint32_t, WPARAM character, LPARAM lparam) {
  DispatchElementMessage(focused_element, os::WM_SYSCHAR, character, lparam);
  return 0;
}

void Ex_Host::SetElementToolTip(Ex_Element*, const std::string*) {}

int Ex_Host::SetHotkey(Ex_Element* element, std::uint32_t character) {
  auto entry = std::find_if(hotkeys.begin(), hotkeys.end(),
                            [element](const HotkeyEntry& e) { return e.element == element; });
  if (character == 0) {
    if (entry != hotkeys.end()) hotkeys.erase(entry);
  } else if (entry != hotkeys.end()) {
    entry->character = character;
  } else {
    hotkeys.push_back({element, character});
  }
  return 1;
}

void Ex_Host::SetFocusElement(Ex_Element* element, bool keyboard) {
  if (element == nullptr || element->disabled != 0 || element->visible == 0 ||
      element->focusable == 0 || element->kind == 1 || element == focused_element) {
    return;
  }
  Ex_Element* old = focused_element;
  focused_element = element;
  keyboard_focus_element = nullptr;
  if (old != nullptr) old->SendEvent(EXM_KILLFOCUS, 0, reinterpret_cast<LPARAM>(element));
  if (keyboard) keyboard_focus_element = element;
  element->SendEvent(EXM_SETFOCUS, 0, reinterpret_cast<LPARAM>(old));
}

}  // namespace directui
