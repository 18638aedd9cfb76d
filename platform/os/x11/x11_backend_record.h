#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/os/display_backend.h"
#include "platform/os/x11/native_window.h"
#include "platform/os/x11/presenter.h"
#include "platform/os/x11/x11_backend.h"

namespace platform::os::x11 {

// What the backend keeps per window besides the X window itself.
struct X11Backend::Record {
  Window handle;
  std::unique_ptr<NativeWindow> native;
  std::unique_ptr<Presenter> presenter;
  Rect bounds;                         // as the desktop set it or we last reported it
  unsigned long configure_serial = 0;  // request that set `bounds`; older notifications are stale
  XWindow parent = None;               // a reparenting window manager's frame, or the root
  Window owner;
  bool topmost = false;
  bool layered = false;
  bool tool_window = false;
  bool visible = false;  // as the desktop wants it
  bool iconic = false;   // minimised on the display
  bool activate_on_map = false;
  NativeShowState state = NativeShowState::normal;  // as the desktop set it
  std::optional<std::vector<Rect>> shape;           // the desktop's window region
  std::vector<std::uint32_t> frame;                 // a layered window's last content
  int frame_width = 0;
  int frame_height = 0;
  unsigned char frame_alpha = 255;
  CursorShape cursor = CursorShape::none;

  PixelView frame_view() const {
    return frame.empty() ? PixelView{}
                         : PixelView{frame.data(), frame_width, frame_height, frame_width * 4};
  }
};

}  // namespace platform::os::x11
