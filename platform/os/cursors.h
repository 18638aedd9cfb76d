#pragma once

#include "platform/os/cursor_shape.h"

namespace platform::os {

// Numeric names of the standard cursors, as programs ask for them.
inline constexpr int IDC_ARROW = 32512;
inline constexpr int IDC_IBEAM = 32513;
inline constexpr int IDC_WAIT = 32514;
inline constexpr int IDC_SIZENWSE = 32642;
inline constexpr int IDC_SIZENESW = 32643;
inline constexpr int IDC_SIZEWE = 32644;
inline constexpr int IDC_SIZENS = 32645;
inline constexpr int IDC_SIZEALL = 32646;
inline constexpr int IDC_HAND = 32649;

// The shape a standard cursor name stands for; unknown names give the arrow.
constexpr CursorShape load_cursor(int id) {
  switch (id) {
    case IDC_IBEAM:
      return CursorShape::ibeam;
    case IDC_WAIT:
      return CursorShape::wait;
    case IDC_SIZENWSE:
      return CursorShape::size_nwse;
    case IDC_SIZENESW:
      return CursorShape::size_nesw;
    case IDC_SIZEWE:
      return CursorShape::size_we;
    case IDC_SIZENS:
      return CursorShape::size_ns;
    case IDC_SIZEALL:
      return CursorShape::size_all;
    case IDC_HAND:
      return CursorShape::hand;
    default:
      return CursorShape::arrow;
  }
}

}  // namespace platform::os
