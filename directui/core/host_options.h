#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/os/geometry.h"
#include "platform/os/window_handle.h"

namespace directui {

// What Attach is given besides the window. Each option is either given or not; a given 0 is
// not the same as one left out.
struct HostOptions {
  std::optional<std::vector<std::uint8_t>> background_image{};  // encoded picture bytes
  std::optional<std::int64_t> background_colour{};              // red lowest; -1: from the image
  std::optional<std::uint32_t> caption_flags{};                 // left out: as CF_AUTO
  std::optional<int> window_alpha{};                            // -1 (default): not layered
  std::optional<int> image_mode{};                              // default 0
  std::optional<int> frame_style{};                             // default 7
  std::optional<int> reserved_position{};                       // accepted and ignored
  std::optional<int> sizable{};      // default: whether the style has WS_THICKFRAME
  std::optional<int> drag_move{};    // default 1
  std::optional<int> edge_blend{};   // default 1
  std::optional<int> blur_behind{};  // default 0 (no compositor here gives it)
  std::optional<platform::os::Rect> nine_grid_centre{};  // default all zero
  std::optional<platform::os::Window> skin_source_window{};
};

}  // namespace directui
