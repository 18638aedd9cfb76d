#pragma once

#include <string>

#include "platform/os/x11/xlib.h"

namespace platform::os::x11 {

// The virtual-key code of a key, from the keysym of its unshifted level (so that Shift+1 is
// still the 1 key). 0 for a key without one.
unsigned VirtualKeyFromKeysym(KeySym unshifted);

// The character a key press types, from the keysym with the modifiers applied: printable
// characters, and the control characters of Backspace, Tab, Enter and Escape; with Control held,
// a letter gives its control code (Control+A = 1). 0 when the press types nothing.
char32_t CharacterFromKeysym(KeySym keysym, bool control);

// The UTF-8 text a key press types: empty for 0 and for values that are no character.
std::string TextOfCharacter(char32_t character);

}  // namespace platform::os::x11
