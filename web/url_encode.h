#pragma once

#include <string>
#include <string_view>

namespace web {

// Percent-encodes `text` (code page 936). With `keepAlphanumerics`, ASCII letters, digits, "-"
// and "." stay as they are; with `asUtf8`, the UTF-8 form of the text is encoded.
std::string UrlEncode(std::string_view text, bool keepAlphanumerics, bool asUtf8);

}  // namespace web
