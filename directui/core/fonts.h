#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/gfx/font.h"

namespace platform::os {
class Desktop;
}

namespace directui {

// The desktop's user-interface fonts, as GetSystemUiFontName selects them.
inline constexpr int kMenuFont = 1;
inline constexpr int kCaptionFont = 2;
inline constexpr int kMessageFont = 3;

// The default font: 12 pixels, regular, of the first family that exists among "宋体" and the
// desktop's caption font. None when neither exists.
std::optional<platform::gfx::Font> PickDefaultFont(platform::os::Desktop& desktop);

// Face name (code page 936) of one of the desktop's fonts; the caption font when none is
// chosen. "Tahoma" and faces no font can be made of give "宋体", as does a desktop that names
// no face. A selector other than 1, 2 or 3 is a programming error: it aborts with a message.
std::string GetSystemUiFontName(platform::os::Desktop& desktop,
                                std::optional<int> which = std::nullopt);

// A font of the named family (code page 936); a family that does not exist is replaced by the
// default font's. None when neither family exists or the size is not positive. `style` is a
// set of platform::gfx::FontStyleBit (0 regular).
std::optional<platform::gfx::Font> CreateFontByName(std::string_view face, float size_px,
                                                    int style = 0);

// The font's family name in code page 936, at most 31 UTF-16 units of it as a face-name field
// holds; the empty text without a font.
std::string GetFontFamilyName(const platform::gfx::Font* font);

}  // namespace directui
