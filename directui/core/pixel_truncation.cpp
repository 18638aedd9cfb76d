#include "directui/core/pixel_truncation.h"

#include <cmath>
#include <limits>

namespace directui {

std::optional<int> TruncatedPixel(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  const double t = std::trunc(value);
  if (t < std::numeric_limits<int>::min() || t > std::numeric_limits<int>::max()) {
    return std::nullopt;
  }
  return static_cast<int>(t);
}

}  // namespace directui
