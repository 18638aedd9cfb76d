#pragma once

#include <string>
#include <string_view>

namespace platform::text {

// UTF-8 straight to code page 936 and back, byte for byte what the way through UTF-16 gives
// (FromUtf16(ToUtf16(text, from), to)): malformed bytes and characters the target cannot hold
// get the same replacements, zero bytes are converted like any other. Result pages are mostly
// ASCII and common Chinese characters; those go through tables built once from the converters,
// anything else through the converters themselves.
std::string TranscodeUtf8ToGbk(std::string_view utf8);
std::string TranscodeGbkToUtf8(std::string_view gbk);

}  // namespace platform::text
