#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace web {

// Bytes of `codePage` (default UTF-8, 65001) to UTF-16. The terminating zero is the string's own.
std::u16string MultiByteToUtf16(std::string_view text, std::optional<int> codePage = {});

// UTF-16 to text of `codePage` (default the ANSI code page, 936), with the code page's default
// replacement for characters it cannot hold; the text ends at the first zero.
std::string Utf16ToMultiByte(std::u16string_view text, std::optional<int> codePage = {});

std::string GbkToUtf8(std::string_view text);
std::string Utf8ToGbk(std::string_view text);

// Code page 950 text to code page 936 text with traditional characters made simplified. The
// text ends before the first character code page 936 cannot hold.
std::string Big5ToSimplifiedGbk(std::string_view text);

}  // namespace web
