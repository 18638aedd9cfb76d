#include "platform/os/x11/key_translation.h"

#include <X11/keysym.h>

#include <algorithm>
#include <array>

#include "platform/os/virtual_keys.h"
#include "platform/unicode/utf16.h"

namespace platform::os::x11 {

namespace {

// Keys whose codes the desktop's table does not name.
constexpr unsigned kVkClear = 0x0C;
constexpr unsigned kVkSnapshot = 0x2C;
constexpr unsigned kVkSeparator = 0x6C;

struct KeyEntry {
  KeySym keysym;
  unsigned virtual_key;
};

// Sorted by keysym for the binary search.
constexpr std::array kKeyTable{
    KeyEntry{XK_space, VK_SPACE},
    KeyEntry{XK_apostrophe, VK_OEM_7},
    KeyEntry{XK_comma, VK_OEM_COMMA},
    KeyEntry{XK_minus, VK_OEM_MINUS},
    KeyEntry{XK_period, VK_OEM_PERIOD},
    KeyEntry{XK_slash, VK_OEM_2},
    KeyEntry{XK_semicolon, VK_OEM_1},
    KeyEntry{XK_equal, VK_OEM_PLUS},
    KeyEntry{XK_bracketleft, VK_OEM_4},
    KeyEntry{XK_backslash, VK_OEM_5},
    KeyEntry{XK_bracketright, VK_OEM_6},
    KeyEntry{XK_grave, VK_OEM_3},
    KeyEntry{XK_ISO_Left_Tab, VK_TAB},
    KeyEntry{XK_BackSpace, VK_BACK},
    KeyEntry{XK_Tab, VK_TAB},
    KeyEntry{XK_Clear, kVkClear},
    KeyEntry{XK_Return, VK_RETURN},
    KeyEntry{XK_Pause, VK_PAUSE},
    KeyEntry{XK_Scroll_Lock, VK_SCROLL},
    KeyEntry{XK_Escape, VK_ESCAPE},
    KeyEntry{XK_Home, VK_HOME},
    KeyEntry{XK_Left, VK_LEFT},
    KeyEntry{XK_Up, VK_UP},
    KeyEntry{XK_Right, VK_RIGHT},
    KeyEntry{XK_Down, VK_DOWN},
    KeyEntry{XK_Page_Up, VK_PRIOR},
    KeyEntry{XK_Page_Down, VK_NEXT},
    KeyEntry{XK_End, VK_END},
    KeyEntry{XK_Print, kVkSnapshot},
    KeyEntry{XK_Insert, VK_INSERT},
    KeyEntry{XK_Menu, VK_APPS},
    KeyEntry{XK_Num_Lock, VK_NUMLOCK},
    KeyEntry{XK_KP_Enter, VK_RETURN},
    KeyEntry{XK_KP_Home, VK_HOME},
    KeyEntry{XK_KP_Left, VK_LEFT},
    KeyEntry{XK_KP_Up, VK_UP},
    KeyEntry{XK_KP_Right, VK_RIGHT},
    KeyEntry{XK_KP_Down, VK_DOWN},
    KeyEntry{XK_KP_Page_Up, VK_PRIOR},
    KeyEntry{XK_KP_Page_Down, VK_NEXT},
    KeyEntry{XK_KP_End, VK_END},
    KeyEntry{XK_KP_Begin, kVkClear},
    KeyEntry{XK_KP_Insert, VK_INSERT},
    KeyEntry{XK_KP_Delete, VK_DELETE},
    KeyEntry{XK_KP_Multiply, VK_MULTIPLY},
    KeyEntry{XK_KP_Add, VK_ADD},
    KeyEntry{XK_KP_Separator, kVkSeparator},
    KeyEntry{XK_KP_Subtract, VK_SUBTRACT},
    KeyEntry{XK_KP_Decimal, VK_DECIMAL},
    KeyEntry{XK_KP_Divide, VK_DIVIDE},
    KeyEntry{XK_Shift_L, VK_SHIFT},
    KeyEntry{XK_Shift_R, VK_SHIFT},
    KeyEntry{XK_Control_L, VK_CONTROL},
    KeyEntry{XK_Control_R, VK_CONTROL},
    KeyEntry{XK_Caps_Lock, VK_CAPITAL},
    KeyEntry{XK_Meta_L, VK_MENU},
    KeyEntry{XK_Meta_R, VK_MENU},
    KeyEntry{XK_Alt_L, VK_MENU},
    KeyEntry{XK_Alt_R, VK_MENU},
    KeyEntry{XK_Super_L, VK_LWIN},
    KeyEntry{XK_Super_R, VK_RWIN},
    KeyEntry{XK_Delete, VK_DELETE},
};

constexpr bool TableSorted() {
  for (std::size_t i = 1; i < kKeyTable.size(); ++i) {
    if (kKeyTable[i - 1].keysym >= kKeyTable[i].keysym) return false;
  }
  return true;
}
static_assert(TableSorted(), "keep the key table sorted by keysym");

char32_t KeypadCharacter(KeySym keysym) {
  switch (keysym) {
    case XK_KP_Space:
      return U' ';
    case XK_KP_Multiply:
      return U'*';
    case XK_KP_Add:
      return U'+';
    case XK_KP_Subtract:
      return U'-';
    case XK_KP_Decimal:
      return U'.';
    case XK_KP_Divide:
      return U'/';
    case XK_KP_Equal:
      return U'=';
    default:
      break;
  }
  if (keysym >= XK_KP_0 && keysym <= XK_KP_9) return U'0' + static_cast<char32_t>(keysym - XK_KP_0);
  return 0;
}

}  // namespace

unsigned VirtualKeyFromKeysym(KeySym keysym) {
  if (keysym >= XK_a && keysym <= XK_z) return 'A' + static_cast<unsigned>(keysym - XK_a);
  if (keysym >= XK_A && keysym <= XK_Z) return static_cast<unsigned>(keysym);
  if (keysym >= XK_0 && keysym <= XK_9) return static_cast<unsigned>(keysym);
  if (keysym >= XK_KP_0 && keysym <= XK_KP_9) {
    return VK_NUMPAD0 + static_cast<unsigned>(keysym - XK_KP_0);
  }
  if (keysym >= XK_F1 && keysym <= XK_F24) return VK_F1 + static_cast<unsigned>(keysym - XK_F1);
  const auto found =
      std::lower_bound(kKeyTable.begin(), kKeyTable.end(), keysym,
                       [](const KeyEntry& entry, KeySym wanted) { return entry.keysym < wanted; });
  if (found != kKeyTable.end() && found->keysym == keysym) return found->virtual_key;
  return 0;
}

char32_t CharacterFromKeysym(KeySym keysym, bool control) {
  switch (keysym) {
    case XK_BackSpace:
      return 0x08;
    case XK_Tab:
    case XK_ISO_Left_Tab:
      return 0x09;
    case XK_Return:
    case XK_KP_Enter:
      return 0x0D;
    case XK_Escape:
      return 0x1B;
    default:
      break;
  }
  char32_t character = KeypadCharacter(keysym);
  if ((keysym >= 0x20 && keysym <= 0x7E) || (keysym >= 0xA0 && keysym <= 0xFF)) {
    character = static_cast<char32_t>(keysym);  // Latin-1 keysyms are their code points
  } else if (keysym >= 0x01000100 && keysym <= 0x0110FFFF) {
    character = static_cast<char32_t>(keysym - 0x01000000);  // the Unicode keysym range
  }
  if (control &&
      ((character >= U'a' && character <= U'z') || (character >= U'A' && character <= U'Z'))) {
    return character & 0x1F;
  }
  return character;
}

std::string TextOfCharacter(char32_t c) {
  if (c == 0) return {};
  return unicode::Utf8OfCodePoint(c);
}

}  // namespace platform::os::x11
