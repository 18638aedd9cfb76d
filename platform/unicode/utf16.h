#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform::unicode {

// UTF-8 for UTF-16 text; a lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// The same, also giving for every UTF-16 index (and one past the end) the byte offset in the
// result where that code unit's character starts.
std::string Utf16ToUtf8(std::u16string_view text, std::vector<int>& byte_offsets);

// Every ill-formed byte (a stray continuation, a truncated or overlong sequence, an encoded
// surrogate, a value beyond U+10FFFF) becomes one U+FFFD, never an error.
std::u16string Utf8ToUtf16(std::string_view text);

// The UTF-8 bytes of one code point; empty for a surrogate or a value beyond U+10FFFF.
std::string Utf8OfCodePoint(char32_t c);

}  // namespace platform::unicode
