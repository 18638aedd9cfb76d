#pragma once

namespace platform::gfx {

// How a new shape joins an existing region or clip; numbered as callers pass them.
enum class CombineMode {
  replace = 0,
  intersect = 1,
  unite = 2,
  exclusive_or = 3,
  exclude = 4,     // the existing area less the new one
  complement = 5,  // the new area less the existing one
};

}  // namespace platform::gfx
