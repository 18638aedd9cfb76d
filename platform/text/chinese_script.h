#pragma once

#include <string>
#include <string_view>

namespace platform::text {

// Maps traditional Chinese characters to their simplified forms; everything else is kept.
std::u16string TraditionalToSimplified(std::u16string_view text);

}  // namespace platform::text
