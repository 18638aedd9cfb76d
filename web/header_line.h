#pragma once

#include <string>
#include <string_view>

namespace web {

// The two halves of a header line around its first ":", spaces trimmed; both are empty for a
// line without ":".
std::string HeaderName(std::string_view line);
std::string HeaderValue(std::string_view line);

}  // namespace web
