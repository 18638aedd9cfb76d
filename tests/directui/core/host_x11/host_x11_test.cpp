// A host window with a background picture on a real X server: the picture inside its rounded
// shape, read back from the server by a second client.
#include <gtest/gtest.h>

#include <cairo.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <thread>
#include <vector>

#include "directui/core/host.h"
#include "platform/gfx/bitmap.h"
#include "platform/os/clock.h"
#include "platform/os/desktop.h"
#include "platform/os/messages.h"
#include "platform/os/window_styles.h"
#include "platform/os/x11/x11_backend.h"

// Xlib last: it defines CursorShape and other names as macros.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace directui {
namespace {

namespace os = platform::os;
namespace gfx = platform::gfx;

constexpr int kLeft = 50;
constexpr int kTop = 50;
constexpr int kWidth = 383;
constexpr int kHeight = 343;
constexpr std::uint32_t kPicture = 0x2080C0;  // RGB of the background picture

// Waits for the server, polling; the bound only keeps a broken run from hanging.
constexpr int kPolls = 200;

std::vector<std::uint8_t> SolidPng(int width, int height, std::uint32_t rgb) {
  gfx::Bitmap bitmap = gfx::Bitmap::create(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) bitmap.set_pixel(x, y, 0xFF000000 | rgb);
  }
  std::vector<std::uint8_t> bytes;
  cairo_surface_write_to_png_stream(
      bitmap.surface(),
      [](void* closure, const unsigned char* data, unsigned int length) {
        auto* out = static_cast<std::vector<std::uint8_t>*>(closure);
        out->insert(out->end(), data, data + length);
        return CAIRO_STATUS_SUCCESS;
      },
      &bytes);
  return bytes;
}

int Channel(std::uint32_t rgb, int shift) {
  return static_cast<int>((rgb >> shift) & 0xFF);
}

class HostX11Test : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || *name == 0) GTEST_SKIP() << "DISPLAY is not set";
    os::x11::X11BackendOpenResult opened = os::x11::OpenX11Backend();
    ASSERT_NE(opened.backend, nullptr) << opened.error;
    backend_ = std::move(opened.backend);
    desktop_.emplace(*backend_, clock_);
    observer_ = XOpenDisplay(nullptr);
    ASSERT_NE(observer_, nullptr);
  }
  void TearDown() override {
    host_.reset();
    desktop_.reset();
    backend_.reset();
    if (observer_ != nullptr) XCloseDisplay(observer_);
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
    os::Message message;
    desktop_->msg_wait_for_multiple_objects({}, 20, os::QS_ALLINPUT);
    while (desktop_->peek_message(message, {}, 0, 0, os::PM_REMOVE)) {
      desktop_->dispatch_message(message);
    }
  }

  os::SteadyClock clock_;
  std::unique_ptr<os::x11::X11Backend> backend_;
  std::optional<os::Desktop> desktop_;
  std::optional<Ex_Host> host_;
  Display* observer_ = nullptr;
};

TEST_F(HostX11Test, PictureShowsInsideTheRoundedShape) {
  const std::uint32_t corner_before = ScreenPixel(kLeft + 6, kTop + 6);
  const std::uint32_t margin_before = ScreenPixel(kLeft + 2, kTop + 150);
  ASSERT_NE(corner_before, kPicture);
  ASSERT_NE(margin_before, kPicture);
  ASSERT_TRUE(desktop_->register_class({.name = "HostX11Test"}));
  const os::Window window = desktop_->create_window({.class_name = "HostX11Test",
                                                     .style = os::WS_POPUP,
                                                     .position = os::Point{kLeft, kTop},
                                                     .size = os::Size{kWidth, kHeight}});
  ASSERT_TRUE(window);
  host_.emplace();
  ASSERT_EQ(
      host_->Attach(
          *desktop_, window,
          {.background_image = SolidPng(120, 80, kPicture), .caption_flags = 0, .image_mode = 1}),
      1);
  host_->Show();
  // The window shows the picture once the server has mapped and drawn it.
  for (int i = 0; i < kPolls && ScreenPixel(kLeft + 150, kTop + 150) != kPicture; ++i) Pump();
  EXPECT_EQ(ScreenPixel(kLeft + 150, kTop + 150), kPicture);
  EXPECT_EQ(ScreenPixel(kLeft + 20, kTop + kHeight - 20), kPicture);

  // The outer frame line: grey 0x60 at 204 over the picture.
  const std::uint32_t line = ScreenPixel(kLeft + 6, kTop + 150);
  for (int shift : {0, 8, 16}) {
    const int expected = (0x60 * 204 + Channel(kPicture, shift) * 51) / 255;
    EXPECT_NEAR(Channel(line, shift), expected, 3) << "shift " << shift;
  }
  // The rounded corner and the margin outside the frame are cut away: the screen behind
  // shows through.
  EXPECT_EQ(ScreenPixel(kLeft + 6, kTop + 6), corner_before);
  EXPECT_EQ(ScreenPixel(kLeft + 2, kTop + 150), margin_before);
}

}  // namespace
}  // namespace directui
