#pragma once

#include <optional>

namespace directui {

// A coordinate truncated toward zero to a whole pixel; none for a value that is not a number or
// does not fit an int, which would otherwise make the conversion undefined.
std::optional<int> TruncatedPixel(double value);

}  // namespace directui
