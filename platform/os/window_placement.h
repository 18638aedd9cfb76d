#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/os/geometry.h"
#include "platform/os/messages.h"
#include "platform/os/window_handle.h"

namespace platform::os {

// set_window_pos flags
inline constexpr std::uint32_t SWP_NOSIZE = 0x0001;
inline constexpr std::uint32_t SWP_NOMOVE = 0x0002;
inline constexpr std::uint32_t SWP_NOZORDER = 0x0004;
inline constexpr std::uint32_t SWP_NOREDRAW = 0x0008;
inline constexpr std::uint32_t SWP_NOACTIVATE = 0x0010;
inline constexpr std::uint32_t SWP_FRAMECHANGED = 0x0020;
inline constexpr std::uint32_t SWP_SHOWWINDOW = 0x0040;
inline constexpr std::uint32_t SWP_HIDEWINDOW = 0x0080;

// Where set_window_pos puts a window in the stacking order.
struct InsertAfter {
  enum class Kind { top, bottom, topmost, notopmost, after };
  Kind kind = Kind::top;
  Window window{};  // for Kind::after: directly below this window

  static InsertAfter top() { return {Kind::top, {}}; }
  static InsertAfter bottom() { return {Kind::bottom, {}}; }
  static InsertAfter topmost() { return {Kind::topmost, {}}; }
  static InsertAfter notopmost() { return {Kind::notopmost, {}}; }
  static InsertAfter below(Window w) { return {Kind::after, w}; }
};

// WM_GETMINMAXINFO lparam: filled with defaults from the work area, adjusted by the window.
struct MinMaxInfo {
  Point reserved{};
  Point max_size{};
  Point max_position{};
  Point min_track_size{};
  Point max_track_size{};
};

// WM_NCCALCSIZE lparam: the proposed window rectangle, replaced by the client rectangle.
// Windows here have no frame: the default keeps the whole window as client area.
struct NcCalcSizeParams {
  Rect rects[3]{};
};

// WM_STYLECHANGED lparam; wparam is GWL_STYLE or GWL_EXSTYLE.
struct StyleChange {
  std::uint32_t old_style = 0;
  std::uint32_t new_style = 0;
};

// What create_window needs. Position and size left out take the defaults below.
struct CreateWindowParams {
  std::string class_name{};
  std::u16string title{};
  std::uint32_t style = 0;
  std::uint32_t ex_style = 0;
  std::optional<Point> position{};  // default (0, 0)
  std::optional<Size> size{};       // default 0 × 0
  Window owner{};
  LPARAM create_param = 0;  // handed to WM_CREATE in CreateStruct
};

// WM_CREATE lparam.
struct CreateStruct {
  LPARAM create_param = 0;
  const CreateWindowParams* params = nullptr;
};

}  // namespace platform::os
