#pragma once

// A desktop on the X display the test runner provides, and a second client that looks at the
// screen the way a user would see it.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <vector>

#include "platform/gfx/bitmap.h"
#include "platform/os/clock.h"
#include "platform/os/desktop.h"
#include "platform/os/message.h"
#include "platform/os/messages.h"
#include "platform/os/x11/x11_backend.h"
#include "tests/directui/core/host/host_fixture.h"

// Xlib last: it defines CursorShape and other names as macros.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace directui::x11_testing {

// Waits for the server, polling; the bound only keeps a broken run from hanging.
inline constexpr int kPolls = 300;

// PNG bytes of a picture in one colour.
inline std::vector<std::uint8_t> SolidPng(int width, int height, std::uint32_t rgb) {
  platform::gfx::Bitmap bitmap = platform::gfx::Bitmap::create(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) bitmap.set_pixel(x, y, 0xFF000000 | rgb);
  }
  return host_testing::PngOf(bitmap);
}

class X11ScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || *name == 0) GTEST_SKIP() << "DISPLAY is not set";
    platform::os::x11::X11BackendOpenResult opened = platform::os::x11::OpenX11Backend();
    ASSERT_NE(opened.backend, nullptr) << opened.error;
    backend_ = std::move(opened.backend);
    desktop_.emplace(*backend_, clock_);
    observer_ = XOpenDisplay(nullptr);
    ASSERT_NE(observer_, nullptr);
  }

  // A test's own windows and hosts go before this runs.
  void TearDown() override {
    desktop_.reset();
    backend_.reset();
    if (observer_ != nullptr) XCloseDisplay(observer_);
    observer_ = nullptr;
  }

  // What the screen shows at a point, as another client reads it from the root window.
  std::uint32_t ScreenPixel(int x, int y) const {
    XImage* image =
        XGetImage(observer_, DefaultRootWindow(observer_), x, y, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr) return 0xFFFFFFFF;
    const auto pixel = static_cast<std::uint32_t>(XGetPixel(image, 0, 0) & 0xFFFFFF);
    XDestroyImage(image);
    return pixel;
  }

  // Handles the desktop's messages for a while.
  void Pump() {
    platform::os::Message message;
    desktop_->msg_wait_for_multiple_objects({}, 20, platform::os::QS_ALLINPUT);
    while (desktop_->peek_message(message, {}, 0, 0, platform::os::PM_REMOVE)) {
      desktop_->dispatch_message(message);
    }
  }

  template <class Done>
  bool PumpUntil(Done done) {
    for (int i = 0; i < kPolls && !done(); ++i) Pump();
    return done();
  }

  platform::os::SteadyClock clock_;
  std::unique_ptr<platform::os::x11::X11Backend> backend_;
  std::optional<platform::os::Desktop> desktop_;
  Display* observer_ = nullptr;
};

}  // namespace directui::x11_testing
