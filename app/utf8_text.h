#pragma once

#include <string>
#include <string_view>

namespace app {

// Whether a keyword file's text is UTF-8 rather than code page 936. The first three- or four-byte
// sequence decides; a text of ASCII and two-byte sequences only is taken as code page 936.
bool IsUtf8Text(std::string_view text);

// UTF-8 bytes to code page 936 text; characters code page 936 cannot hold become "?".
std::string Utf8BytesToGbk(std::string_view bytes);

}  // namespace app
