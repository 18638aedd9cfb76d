// Focus and mnemonics: the host's lists of who has the keyboard and which letters click what.
#include <algorithm>

#include "directui/core/element_kinds.h"
#include "directui/core/element_messages.h"
#include "directui/core/host.h"

namespace directui {

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
      element->focusable == 0 || element->kind == kKindCaptionButtons ||
      element == focused_element) {
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
