#pragma once

#include <string>
#include <string_view>

#include "platform/text/code_page.h"

namespace directui {

// Program text is zero-terminated code page 936; the window system and the graphics layer take
// UTF-16. Both conversions stop at the first zero unit, as the zero-terminated texts they are
// given would, and code page 0 is the program's ANSI code page (936). An unsupported code page
// gives the empty text.
std::u16string AnsiToWide(std::string_view text, int code_page = platform::text::kCodePageAnsi);
std::string WideToAnsi(std::u16string_view text, int code_page = platform::text::kCodePageAnsi);

}  // namespace directui
