// Keyboard input: keys for the focused element, Tab over the root elements, Enter and Space
// clicking, and mnemonics.
#include <cctype>

#include "directui/core/element_delivery.h"
#include "directui/core/element_kinds.h"
#include "directui/core/element_messages.h"
#include "directui/core/host.h"
#include "directui/core/host_notify.h"
#include "platform/os/virtual_keys.h"

namespace directui {

namespace os = platform::os;

namespace {

bool TakesTabFocus(const Ex_Element& element) {
  return element.visible != 0 && element.focusable != 0 && element.kind != kKindCaptionButtons &&
         element.disabled == 0;
}

bool Clickable(const Ex_Element* element) {
  return element != nullptr && element->visible != 0 && element->disabled == 0;
}

Ex_Element* RootOf(Ex_Element* element) {
  while (element->parent != nullptr) element = element->parent;
  return element;
}

bool SameLetter(std::uint32_t a, std::uint32_t b) {
  const auto fold = [](std::uint32_t c) {
    return std::tolower(static_cast<unsigned char>(c & 0xFF));
  };
  return fold(a) == fold(b);
}

}  // namespace

void Ex_Host::HandleKeyDown(std::uint32_t, WPARAM key, LPARAM lparam) {
  Ex_Element* focused = focused_element;
  if (DispatchElementMessage(focused, os::WM_KEYDOWN, key, lparam) != -1 && focused != nullptr) {
    return;
  }
  if (key == os::VK_TAB) {
    MoveFocusWithTab();
  } else if (key == os::VK_RETURN || key == os::VK_SPACE) {
    ClickFocusedElement();
  }
}

void Ex_Host::MoveFocusWithTab() {
  Ex_Element* start = focused_element != nullptr ? focused_element : first_root;
  if (start == nullptr) return;
  // A focused child cycles from its root: the search only ever visits root elements, so it
  // must end where it began among them.
  Ex_Element* origin = RootOf(start);
  const auto next = [this](Ex_Element* element) {
    return element->next_sibling != nullptr ? element->next_sibling : first_root;
  };
  // With nothing focused the first root element is a candidate too.
  Ex_Element* candidate = focused_element != nullptr ? next(origin) : origin;
  Ex_Element* target = nullptr;
  while (true) {
    if (TakesTabFocus(*candidate)) {
      target = candidate;
      break;
    }
    candidate = next(candidate);
    if (candidate == origin) break;
  }
  if (target != nullptr && target != focused_element) SetFocusElement(target, true);
}

void Ex_Host::ClickFocusedElement() {
  Ex_Element* focused = focused_element;
  if (!Clickable(focused)) return;
  DispatchElementMessage(focused, EXM_CLICK, 0, 0);
  NotifyElementRoutine(click_routine, handle(), focused, 0, 0);
}

LRESULT Ex_Host::HandleMnemonic(std::uint32_t, WPARAM character, LPARAM lparam) {
  DispatchElementMessage(focused_element, os::WM_SYSCHAR, character, lparam);
  for (const HotkeyEntry& entry : hotkeys) {
    if (!SameLetter(entry.character, static_cast<std::uint32_t>(character))) continue;
    if (!Clickable(entry.element)) continue;
    // The click may change the list; the entry is not touched afterwards.
    Ex_Element* element = entry.element;
    DispatchElementMessage(element, EXM_CLICK, 0, 0);
    NotifyElementRoutine(click_routine, handle(), element, character, lparam);
    return 1;
  }
  return 0;
}

}  // namespace directui
