#include <gtest/gtest.h>

#include "platform/os/virtual_keys.h"
#include "platform/os/x11/key_translation.h"

#include <X11/keysym.h>

namespace {

using namespace platform::os;
using platform::os::x11::CharacterFromKeysym;
using platform::os::x11::TextOfCharacter;
using platform::os::x11::VirtualKeyFromKeysym;

TEST(VirtualKeyFromKeysymTest, MapsKeysToTheirCodes) {
  const struct {
    KeySym keysym;
    unsigned expected;
  } cases[] = {
      {XK_a, 'A'},
      {XK_z, 'Z'},
      {XK_Q, 'Q'},
      {XK_0, '0'},
      {XK_9, '9'},
      {XK_F1, VK_F1},
      {XK_F12, VK_F12},
      {XK_KP_0, VK_NUMPAD0},
      {XK_KP_9, VK_NUMPAD0 + 9},
      {XK_Return, VK_RETURN},
      {XK_KP_Enter, VK_RETURN},
      {XK_Escape, VK_ESCAPE},
      {XK_BackSpace, VK_BACK},
      {XK_Tab, VK_TAB},
      {XK_ISO_Left_Tab, VK_TAB},
      {XK_space, VK_SPACE},
      {XK_Left, VK_LEFT},
      {XK_Up, VK_UP},
      {XK_Right, VK_RIGHT},
      {XK_Down, VK_DOWN},
      {XK_Page_Up, VK_PRIOR},
      {XK_Page_Down, VK_NEXT},
      {XK_Home, VK_HOME},
      {XK_End, VK_END},
      {XK_Insert, VK_INSERT},
      {XK_Delete, VK_DELETE},
      {XK_KP_Delete, VK_DELETE},
      {XK_Shift_L, VK_SHIFT},
      {XK_Control_R, VK_CONTROL},
      {XK_Alt_L, VK_MENU},
      {XK_Caps_Lock, VK_CAPITAL},
      {XK_Super_L, VK_LWIN},
      {XK_Menu, VK_APPS},
      {XK_KP_Add, VK_ADD},
      {XK_KP_Divide, VK_DIVIDE},
      {XK_semicolon, VK_OEM_1},
      {XK_equal, VK_OEM_PLUS},
      {XK_slash, VK_OEM_2},
      {XK_grave, VK_OEM_3},
      {XK_bracketleft, VK_OEM_4},
      {XK_backslash, VK_OEM_5},
      {XK_apostrophe, VK_OEM_7},
      {XK_exclam, 0},
      {XK_VoidSymbol, 0},
      {NoSymbol, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(VirtualKeyFromKeysym(c.keysym), c.expected) << "keysym 0x" << std::hex << c.keysym;
  }
}

TEST(CharacterFromKeysymTest, GivesTheTypedCharacter) {
  const struct {
    KeySym keysym;
    bool control;
    char32_t expected;
  } cases[] = {
      {XK_a, false, U'a'},
      {XK_A, false, U'A'},
      {XK_exclam, false, U'!'},
      {XK_eacute, false, U'é'},
      {0x01004E2D, false, U'中'},
      {XK_KP_7, false, U'7'},
      {XK_KP_Multiply, false, U'*'},
      {XK_Return, false, 0x0D},
      {XK_KP_Enter, false, 0x0D},
      {XK_Tab, false, 0x09},
      {XK_BackSpace, false, 0x08},
      {XK_Escape, false, 0x1B},
      {XK_a, true, 0x01},
      {XK_Z, true, 0x1A},
      {XK_1, true, U'1'},
      {XK_Left, false, 0},
      {XK_F3, false, 0},
      {XK_Shift_L, false, 0},
      {XK_KP_Home, false, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CharacterFromKeysym(c.keysym, c.control), c.expected)
        << "keysym 0x" << std::hex << c.keysym;
  }
}

TEST(TextOfCharacterTest, EncodesEveryLengthAndRefusesNonCharacters) {
  EXPECT_EQ(TextOfCharacter(U'a'), "a");
  EXPECT_EQ(TextOfCharacter(0x0D), "\r");
  EXPECT_EQ(TextOfCharacter(U'é'), "é");
  EXPECT_EQ(TextOfCharacter(U'中'), "中");
  EXPECT_EQ(TextOfCharacter(U'😀'), "😀");
  EXPECT_EQ(TextOfCharacter(0), "");
  EXPECT_EQ(TextOfCharacter(0xD800), "");
  EXPECT_EQ(TextOfCharacter(0x110000), "");
}

}  // namespace
