#pragma once

// A window as the desktop keeps it. Internal to the desktop.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/os/geometry.h"
#include "platform/os/icon.h"
#include "platform/os/window_class.h"
#include "platform/os/window_handle.h"

namespace platform::os {

struct ThreadQueue;

struct WindowRecord {
  Window handle;
  std::shared_ptr<const WindowClass> window_class;
  std::shared_ptr<ThreadQueue> queue;
  Window owner;
  std::uint32_t style = 0;  // the state bits (visible, minimised, maximised) kept in step
  std::uint32_t ex_style = 0;
  std::u16string text;
  Rect bounds;
  Rect restore_bounds;  // where a maximised window goes back to
  std::shared_ptr<const WindowProc> procedure;
  std::map<std::string, std::intptr_t, std::less<>> props;
  const Icon* big_icon = nullptr;
  const Icon* small_icon = nullptr;
  std::optional<std::vector<Rect>> region;
  Rect dirty;  // window coordinates
  bool destroying = false;

  bool visible() const;
  bool minimized() const;
  bool maximized() const;
  void set_flag(std::uint32_t bit, bool on) { style = on ? style | bit : style & ~bit; }
  bool topmost() const;
  bool layered() const;
  // Whether the screen point lies in the window's visible shape.
  bool hit(Point screen) const;
};

}  // namespace platform::os
