#pragma once

#include <array>

#include "platform/os/cursor_shape.h"
#include "platform/os/x11/xlib.h"

namespace platform::os::x11 {

// The cursors windows show, made on first use and freed with the set.
class CursorSet {
 public:
  explicit CursorSet(Display* display) : display_(display) {}
  ~CursorSet();
  CursorSet(const CursorSet&) = delete;
  CursorSet& operator=(const CursorSet&) = delete;

  // None for CursorShape::none.
  Cursor Get(CursorShape shape);

 private:
  Display* display_;
  std::array<Cursor, static_cast<std::size_t>(CursorShape::size_all) + 1> cursors_{};
};

}  // namespace platform::os::x11
