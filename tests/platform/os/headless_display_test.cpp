// What the virtual screen shows and records.

#include "desktop_fixture.h"

namespace platform::os::testing {
namespace {

using ::testing::ElementsAre;

// A window-sized picture of one colour.
headless::Image solid(int w, int h, std::uint32_t argb) {
  return headless::Image(w, h, argb);
}

class HeadlessDisplayTest : public DesktopTest {};

TEST_F(HeadlessDisplayTest, PresentedPixelsAreReadBackAndDirtyAreasOnlyAreCopied) {
  Window w = make_window({10, 10, 14, 12});
  headless::Image red = solid(4, 2, 0xFFFF0000);
  ASSERT_TRUE(desktop.present(w, red.view()));
  headless::Image blue = solid(4, 2, 0xFF0000FF);
  desktop.present(w, blue.view(), Rect{1, 0, 2, 2});
  headless::Image got = display.window_pixels(w);
  ASSERT_EQ(got.width, 4);
  EXPECT_THAT(got.pixels, ElementsAre(0xFFFF0000, 0xFF0000FF, 0xFFFF0000, 0xFFFF0000, 0xFFFF0000,
                                      0xFF0000FF, 0xFFFF0000, 0xFFFF0000));
}

TEST_F(HeadlessDisplayTest, TheScreenComposesWindowsBottomToTopWithShapes) {
  Window bottom = make_window({0, 0, 4, 1});
  Window top = make_window({2, 0, 6, 1});
  desktop.present(bottom, solid(4, 1, 0xFF112233).view());
  // Alpha of an opaque window is ignored.
  desktop.present(top, solid(4, 1, 0x80445566).view());
  headless::Image screen = display.screen();
  ASSERT_EQ(screen.width, 1920);
  ASSERT_EQ(screen.height, 1080);
  std::vector<std::uint32_t> row(screen.pixels.begin(), screen.pixels.begin() + 7);
  EXPECT_THAT(row, ElementsAre(0xFF112233, 0xFF112233, 0xFF445566, 0xFF445566, 0xFF445566,
                               0xFF445566, 0xFF000000));
  // Cut the top window to its last pixel.
  desktop.set_window_region(top, std::vector<Rect>{{3, 0, 4, 1}});
  screen = display.screen();
  row.assign(screen.pixels.begin(), screen.pixels.begin() + 7);
  EXPECT_THAT(row, ElementsAre(0xFF112233, 0xFF112233, 0xFF112233, 0xFF112233, 0xFF000000,
                               0xFF445566, 0xFF000000));
  desktop.show_window(top, SW_HIDE);
  screen = display.screen();
  EXPECT_EQ(screen.at(5, 0), 0xFF000000u);
}

TEST_F(HeadlessDisplayTest, LayeredWindowsBlendByPixelAndConstantAlpha) {
  Window under = make_window({0, 0, 3, 1});
  desktop.present(under, solid(3, 1, 0xFF0000FF).view());
  Window layered = make_window({0, 0, 3, 1}, {.ex_style = WS_EX_LAYERED});
  headless::Image pixels(3, 1);
  pixels.pixels = {0xFFFF0000, 0x80800000, 0x00000000};  // opaque, half, clear red
  ASSERT_TRUE(desktop.update_layered_window(layered, pixels.view(), Point{0, 0}, 255));
  headless::Image screen = display.screen();
  EXPECT_EQ(screen.at(0, 0), 0xFFFF0000u);
  EXPECT_EQ(screen.at(1, 0), 0xFF80007Fu);
  EXPECT_EQ(screen.at(2, 0), 0xFF0000FFu);
  desktop.update_layered_window(layered, pixels.view(), Point{0, 0}, 0);
  EXPECT_EQ(display.screen().at(0, 0), 0xFF0000FFu);
}

TEST_F(HeadlessDisplayTest, EveryLayeredUpdateIsRecordedWithPositionAndAlpha) {
  Window w = make_window({0, 0, 2, 2}, {.ex_style = WS_EX_LAYERED});
  for (int step = 1; step <= 5; ++step) {
    headless::Image frame = solid(2, 2, 0xFF000000u | static_cast<std::uint32_t>(step));
    desktop.update_layered_window(w, frame.view(), Point{step, 2 * step},
                                  static_cast<std::uint8_t>(step * 50));
  }
  std::vector<headless::LayeredFrame> frames = display.layered_frames(w);
  ASSERT_EQ(frames.size(), 5u);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(frames[i].alpha, (i + 1) * 50);
    EXPECT_EQ(frames[i].position, (Point{i + 1, 2 * (i + 1)}));
    EXPECT_EQ(frames[i].pixels.at(1, 1), 0xFF000000u | static_cast<std::uint32_t>(i + 1));
  }
  EXPECT_EQ(desktop.window_rect(w), (Rect{5, 10, 7, 12}));
  display.clear_layered_frames(w);
  EXPECT_TRUE(display.layered_frames(w).empty());
}

TEST_F(HeadlessDisplayTest, ALayeredUpdateThatResizesTellsTheWindow) {
  Window w = make_window({0, 0, 2, 2}, {.ex_style = WS_EX_LAYERED});
  log.clear();
  desktop.update_layered_window(w, solid(6, 4, 0xFF000000).view(), std::nullopt, 255);
  EXPECT_EQ(desktop.window_rect(w), (Rect{0, 0, 6, 4}));
  std::vector<Recorded> sizes = log.of({WM_SIZE});
  ASSERT_EQ(sizes.size(), 1u);
  EXPECT_EQ(sizes[0].lparam, make_lparam(6, 4));
}

TEST_F(HeadlessDisplayTest, LayeredAndOpaqueContentDoNotMix) {
  Window opaque = make_window({0, 0, 2, 2});
  Window layered = make_window({0, 0, 2, 2}, {.ex_style = WS_EX_LAYERED});
  headless::Image px = solid(2, 2, 0xFFFFFFFF);
  EXPECT_FALSE(desktop.update_layered_window(opaque, px.view(), std::nullopt, 255));
  EXPECT_FALSE(desktop.present(layered, px.view()));
  EXPECT_FALSE(desktop.present(opaque, PixelView{}));
}

TEST_F(HeadlessDisplayTest, FlagsMirrorTheWindow) {
  Window owner = make_window({0, 0, 10, 10});
  Window menu =
      make_window({5, 5, 50, 50},
                  {.ex_style = WS_EX_TOPMOST | WS_EX_TOOLWINDOW, .owner = owner, .show = false});
  std::optional<headless::HeadlessWindow> info = display.window(menu);
  ASSERT_TRUE(info);
  EXPECT_TRUE(info->topmost);
  EXPECT_TRUE(info->tool_window);
  EXPECT_TRUE(info->menu);
  EXPECT_FALSE(info->visible);
  EXPECT_EQ(info->owner, owner);
  EXPECT_EQ(info->bounds, (Rect{5, 5, 50, 50}));
  desktop.show_window(menu, SW_SHOW);
  info = display.window(menu);
  EXPECT_TRUE(info->visible);
  EXPECT_TRUE(info->focused);
  EXPECT_FALSE(display.window(owner)->focused);
}

TEST_F(HeadlessDisplayTest, TheWindowManagerResizingAWindowIsReported) {
  Window w = make_window({0, 0, 100, 100});
  log.clear();
  display.wm_set_geometry(w, {10, 20, 210, 120});
  EXPECT_EQ(desktop.window_rect(w), (Rect{10, 20, 210, 120}));
  EXPECT_EQ(log.count(WM_SIZE, w), 1);
  EXPECT_EQ(log.count(WM_MOVE, w), 1);
  display.wm_set_show_state(w, NativeShowState::minimized);
  EXPECT_TRUE(desktop.is_iconic(w));
  display.wm_set_show_state(w, NativeShowState::normal);
  EXPECT_FALSE(desktop.is_iconic(w));
}

}  // namespace
}  // namespace platform::os::testing
