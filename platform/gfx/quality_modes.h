#pragma once

namespace platform::gfx {

// Quality settings of a Graphics, numbered as callers pass them.

enum class SmoothingMode {
  default_mode = 0,
  high_speed = 1,
  high_quality = 2,
  none = 3,
  anti_alias = 4
};

enum class TextRenderingHint {
  system_default = 0,
  single_bit_per_pixel_grid_fit = 1,
  single_bit_per_pixel = 2,
  anti_alias_grid_fit = 3,
  anti_alias = 4,
  clear_type_grid_fit = 5
};

enum class CompositingQuality {
  default_quality = 0,
  high_speed = 1,
  high_quality = 2,
  gamma_corrected = 3,
  assume_linear = 4
};

enum class CompositingMode { source_over = 0, source_copy = 1 };

enum class InterpolationMode {
  default_mode = 0,
  low_quality = 1,
  high_quality = 2,
  bilinear = 3,
  bicubic = 4,
  nearest_neighbor = 5,
  high_quality_bilinear = 6,
  high_quality_bicubic = 7
};

}  // namespace platform::gfx
