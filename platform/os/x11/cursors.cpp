#include "platform/os/x11/cursors.h"

#include <X11/cursorfont.h>

namespace platform::os::x11 {

namespace {

// The core cursor font has no diagonal double arrows; its corner arrows point the same ways.
unsigned FontGlyph(CursorShape shape) {
  switch (shape) {
    case CursorShape::none:
    case CursorShape::arrow:
      return XC_left_ptr;
    case CursorShape::hand:
      return XC_hand2;
    case CursorShape::ibeam:
      return XC_xterm;
    case CursorShape::wait:
      return XC_watch;
    case CursorShape::size_we:
      return XC_sb_h_double_arrow;
    case CursorShape::size_ns:
      return XC_sb_v_double_arrow;
    case CursorShape::size_nwse:
      return XC_bottom_right_corner;
    case CursorShape::size_nesw:
      return XC_bottom_left_corner;
    case CursorShape::size_all:
      return XC_fleur;
  }
  return XC_left_ptr;
}

}  // namespace

CursorSet::~CursorSet() {
  for (Cursor cursor : cursors_) {
    if (cursor != None) XFreeCursor(display_, cursor);
  }
}

Cursor CursorSet::Get(CursorShape shape) {
  if (shape == CursorShape::none) return None;
  const auto index = static_cast<std::size_t>(shape);
  if (index >= cursors_.size()) return None;
  Cursor& cursor = cursors_[index];
  if (cursor == None) cursor = XCreateFontCursor(display_, FontGlyph(shape));
  return cursor;
}

}  // namespace platform::os::x11
