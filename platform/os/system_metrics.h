#pragma once

#include <string>

namespace platform::os {

// Desktop-wide settings a backend reads from its display (or is configured with).
struct SystemMetrics {
  int double_click_ms = 500;
  // Two clicks count as a double click when the second lies within this box around the first.
  int double_click_width = 4;
  int double_click_height = 4;
  // Face names (UTF-8) of the desktop's user-interface fonts.
  std::string menu_font = "Sans";
  std::string caption_font = "Sans";
  std::string message_font = "Sans";
};

}  // namespace platform::os
