#pragma once

namespace platform::os {

// The pointer shapes windows ask for; backends map each to a native cursor.
enum class CursorShape {
  none,  // no cursor asked for: the backend keeps what it shows
  arrow,
  hand,
  ibeam,
  wait,
  size_we,    // left and right edges
  size_ns,    // top and bottom edges
  size_nwse,  // top-left and bottom-right corners
  size_nesw,  // top-right and bottom-left corners
  size_all,
};

}  // namespace platform::os
