#pragma once

#include <string>
#include <string_view>

namespace platform::gfx {

// Makes a fontconfig file the process's whole font configuration: family lookups, fonts and
// text drawn afterwards use it. Returns false, keeping the previous configuration, when the
// file cannot be read or parsed. Call it before drawing starts, on the drawing thread.
bool LoadFontConfigFile(const std::string& path);

// The same for configuration text held in memory.
bool LoadFontConfigText(std::string_view xml);

}  // namespace platform::gfx
