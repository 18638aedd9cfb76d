#pragma once

#include <string>
#include <string_view>

namespace web {

// The items of a `separator`-joined text with repeats removed, first occurrences kept in order.
// An empty separator takes the text character by character, a double-byte character as one.
std::string DedupeItems(std::string_view text, std::string_view separator);

}  // namespace web
