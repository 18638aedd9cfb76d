// Opening and closing effects on a real X server, looked at by a second client: the opening
// wipe ends on the host's whole picture, the close effect ends with the window unmapped.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <vector>

#include "../host/host_fixture.h"
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

constexpr int kLeft = 60;
constexpr int kTop = 40;
constexpr int kWidth = 300;
constexpr int kHeight = 250;
constexpr std::uint32_t kPicture = 0x30A050;  // RGB of the background picture

// Waits for the server, polling; the bound only keeps a broken run from hanging.
constexpr int kPolls = 200;

std::vector<std::uint8_t> SolidPng(int width, int height, std::uint32_t rgb) {
  gfx::Bitmap bitmap = gfx::Bitmap::create(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) bitmap.set_pixel(x, y, 0xFF000000 | rgb);
  }
  return host_testing::PngOf(bitmap);
}

class EffectsX11Test : public ::testing::Test {
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
    // The window keeps itself on WM_CLOSE, so the test can see it hidden rather than gone.
    ASSERT_TRUE(desktop_->register_class(
        {.name = "EffectsX11Test",
         .procedure = [this](os::Window w, std::uint32_t m, WPARAM wp, LPARAM lp) {
           if (m == os::WM_CLOSE) return LRESULT{0};
           return desktop_->def_window_proc(w, m, wp, lp);
         }}));
    window_ = desktop_->create_window({.class_name = "EffectsX11Test",
                                       .style = os::WS_POPUP,
                                       .position = os::Point{kLeft, kTop},
                                       .size = os::Size{kWidth, kHeight}});
    ASSERT_TRUE(window_);
    host_.emplace();
    ASSERT_EQ(
        host_->Attach(
            *desktop_, window_,
            {.background_image = SolidPng(60, 40, kPicture), .caption_flags = 0, .image_mode = 1}),
        1);
  }

  void TearDown() override {
    if (desktop_ && desktop_->is_window(window_)) desktop_->destroy_window(window_);
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

  int MapState() const {
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(observer_, backend_->native_id(window_), &attributes) == 0) return -1;
    return attributes.map_state;
  }

  // Points of the window's content, away from the cut corners, and what the host drew there.
  struct Sample {
    int x;
    int y;
    std::uint32_t rgb;
  };
  std::vector<Sample> PictureSamples() const {
    std::vector<Sample> samples;
    for (int y = 8; y < kHeight - 8; y += 29) {
      for (int x = 8; x < kWidth - 8; x += 31)
        samples.push_back({x, y, host_->offscreen.get_pixel(x, y) & 0xFFFFFF});
    }
    return samples;
  }

  // How many samples the screen does not show as the host drew them.
  int Mismatches(const std::vector<Sample>& samples) const {
    int n = 0;
    for (const Sample& s : samples) n += ScreenPixel(kLeft + s.x, kTop + s.y) != s.rgb ? 1 : 0;
    return n;
  }

  // Handles the desktop's messages for a while.
  void Pump() {
    os::Message message;
    desktop_->msg_wait_for_multiple_objects({}, 20, os::QS_ALLINPUT);
    while (desktop_->peek_message(message, {}, 0, 0, os::PM_REMOVE))
      desktop_->dispatch_message(message);
  }

  os::SteadyClock clock_;
  std::unique_ptr<os::x11::X11Backend> backend_;
  std::optional<os::Desktop> desktop_;
  std::optional<Ex_Host> host_;
  os::Window window_;
  Display* observer_ = nullptr;
};

TEST_F(EffectsX11Test, OpeningWipeEndsOnTheWholePicture) {
  const std::vector<Sample> samples = PictureSamples();
  ASSERT_EQ(host_->offscreen.get_pixel(150, 125) & 0xFFFFFF, kPicture);
  ASSERT_GT(Mismatches(samples), 0);  // nothing of it on the screen yet
  host_->Show(5);
  EXPECT_FALSE(desktop_->ex_style(window_) & os::WS_EX_LAYERED);
  for (int i = 0; i < kPolls && (MapState() != IsViewable || Mismatches(samples) != 0); ++i) Pump();
  EXPECT_EQ(MapState(), IsViewable);
  EXPECT_EQ(Mismatches(samples), 0);
}

TEST_F(EffectsX11Test, CloseEffectEndsWithTheWindowUnmapped) {
  host_->Show();
  for (int i = 0; i < kPolls && MapState() != IsViewable; ++i) Pump();
  ASSERT_EQ(MapState(), IsViewable);
  host_->SetCloseEffect(1);
  desktop_->send_message(window_, os::WM_CLOSE, 0, 0);
  for (int i = 0; i < kPolls && MapState() != IsUnmapped; ++i) Pump();
  EXPECT_EQ(MapState(), IsUnmapped);
  EXPECT_FALSE(desktop_->is_visible(window_));
  EXPECT_TRUE(desktop_->ex_style(window_) & os::WS_EX_LAYERED);
}

}  // namespace
}  // namespace directui
