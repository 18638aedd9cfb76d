// Opening and closing effects on a real X server, looked at by a second client: the opening
// wipe ends on the host's whole picture, the close effect ends with the window unmapped.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "directui/core/host.h"
#include "platform/os/messages.h"
#include "platform/os/window_styles.h"
#include "tests/directui/core/x11_support/x11_screen_fixture.h"

namespace directui {
namespace {

namespace os = platform::os;

constexpr int kLeft = 60;
constexpr int kTop = 40;
constexpr int kWidth = 300;
constexpr int kHeight = 250;
constexpr std::uint32_t kPicture = 0x30A050;  // RGB of the background picture

class EffectsX11Test : public x11_testing::X11ScreenTest {
 protected:
  void SetUp() override {
    X11ScreenTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
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
    ASSERT_EQ(host_->Attach(*desktop_, window_,
                            {.background_image = x11_testing::SolidPng(60, 40, kPicture),
                             .caption_flags = 0,
                             .image_mode = 1}),
              1);
  }

  void TearDown() override {
    if (desktop_ && desktop_->is_window(window_)) desktop_->destroy_window(window_);
    host_.reset();
    X11ScreenTest::TearDown();
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

  std::optional<Ex_Host> host_;
  os::Window window_;
};

TEST_F(EffectsX11Test, OpeningWipeEndsOnTheWholePicture) {
  const std::vector<Sample> samples = PictureSamples();
  ASSERT_EQ(host_->offscreen.get_pixel(150, 125) & 0xFFFFFF, kPicture);
  ASSERT_GT(Mismatches(samples), 0);  // nothing of it on the screen yet
  host_->Show(5);
  EXPECT_FALSE(desktop_->ex_style(window_) & os::WS_EX_LAYERED);
  for (int i = 0; i < x11_testing::kPolls && (MapState() != IsViewable || Mismatches(samples) != 0);
       ++i)
    Pump();
  EXPECT_EQ(MapState(), IsViewable);
  EXPECT_EQ(Mismatches(samples), 0);
}

TEST_F(EffectsX11Test, CloseEffectEndsWithTheWindowUnmapped) {
  host_->Show();
  for (int i = 0; i < x11_testing::kPolls && MapState() != IsViewable; ++i) Pump();
  ASSERT_EQ(MapState(), IsViewable);
  host_->SetCloseEffect(1);
  desktop_->send_message(window_, os::WM_CLOSE, 0, 0);
  for (int i = 0; i < x11_testing::kPolls && MapState() != IsUnmapped; ++i) Pump();
  EXPECT_EQ(MapState(), IsUnmapped);
  EXPECT_FALSE(desktop_->is_visible(window_));
  EXPECT_TRUE(desktop_->ex_style(window_) & os::WS_EX_LAYERED);
}

}  // namespace
}  // namespace directui
