#pragma once

#include <string>
#include <string_view>

#include "platform/unicode/utf16.h"

namespace platform::os {

// Conversions between the UTF-16 the window text is kept in and the UTF-8 displays take.
// Ill-formed input becomes U+FFFD, never an error.
inline std::string utf16_to_utf8(std::u16string_view text) {
  return unicode::Utf16ToUtf8(text);
}
inline std::u16string utf8_to_utf16(std::string_view text) {
  return unicode::Utf8ToUtf16(text);
}

}  // namespace platform::os
