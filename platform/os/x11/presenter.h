#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/os/geometry.h"
#include "platform/os/pixel_view.h"
#include "platform/os/x11/connection.h"
#include "platform/os/x11/visual.h"
#include "platform/os/x11/xlib.h"

namespace platform::os::x11 {

// Puts a window's pixels on the screen: through a shared-memory image when the server offers
// MIT-SHM and accepts our segment, with XPutImage otherwise.
class Presenter {
 public:
  Presenter(const Connection& connection, XWindow window, const VisualChoice& visual);
  ~Presenter();
  Presenter(const Presenter&) = delete;
  Presenter& operator=(const Presenter&) = delete;

  // Copies `dirty` (window coordinates, clipped to the pixels) to the window; `pixels` covers
  // the window from its top-left corner. With `opaque`, a window of the ARGB visual shows
  // every pixel at full alpha, as a window without per-pixel alpha does.
  void Present(const PixelView& pixels, const Rect& dirty, bool opaque);
  // Waits until the server has taken every presented pixel.
  void Finish();
  bool shared() const { return shared_ != nullptr; }

 private:
  class SharedImage;
  void PresentShared(const PixelView& pixels, const Rect& area, bool force_alpha);
  void PresentPlain(const PixelView& pixels, const Rect& area, bool force_alpha);

  const Connection& connection_;
  XWindow window_;
  VisualChoice visual_;
  GC gc_;
  bool direct_layout_;  // the server takes 32-bit words in our byte order: no conversion
  std::unique_ptr<SharedImage> shared_;
  bool shared_failed_ = false;
  bool in_flight_ = false;
  std::vector<std::uint32_t> opaque_copy_;
};

}  // namespace platform::os::x11
