#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform::gfx {

// UTF-8 for UTF-16 text; a lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// The same, also giving for every UTF-16 index (and one past the end) the byte offset in the
// result where that code unit's character starts.
std::string Utf16ToUtf8(std::u16string_view text, std::vector<int>& byte_offsets);

std::u16string Utf8ToUtf16(std::string_view text);

}  // namespace platform::gfx
