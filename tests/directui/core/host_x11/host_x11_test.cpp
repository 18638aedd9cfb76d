// A host window with a background picture on a real X server: the picture inside its rounded
// shape, read back from the server by a second client.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <thread>

#include "directui/core/host.h"
#include "platform/os/messages.h"
#include "platform/os/window_styles.h"
#include "tests/directui/core/x11_support/x11_screen_fixture.h"

namespace directui {
namespace {

namespace os = platform::os;

constexpr int kLeft = 50;
constexpr int kTop = 50;
constexpr int kWidth = 383;
constexpr int kHeight = 343;
constexpr std::uint32_t kPicture = 0x2080C0;  // RGB of the background picture

int Channel(std::uint32_t rgb, int shift) {
  return static_cast<int>((rgb >> shift) & 0xFF);
}

class HostX11Test : public x11_testing::X11ScreenTest {
 protected:
  void TearDown() override {
    host_.reset();
    X11ScreenTest::TearDown();
  }

  std::optional<Ex_Host> host_;
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
  ASSERT_EQ(host_->Attach(*desktop_, window,
                          {.background_image = x11_testing::SolidPng(120, 80, kPicture),
                           .caption_flags = 0,
                           .image_mode = 1}),
            1);
  host_->Show();
  // The window shows the picture once the server has mapped and drawn it.
  for (int i = 0; i < x11_testing::kPolls && ScreenPixel(kLeft + 150, kTop + 150) != kPicture; ++i)
    Pump();
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
