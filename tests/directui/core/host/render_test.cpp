// Background rendering: window shape, frame lines, drop shadow, pictures and their average
// colour, skins, size changes and the fade-in.
#include <gmock/gmock.h>

#include "directui/core/average_colour.h"
#include "directui/core/window_shape.h"
#include "host_fixture.h"

namespace directui::host_testing {
namespace {

constexpr gfx::Argb kRed = 0xFFFF0000;
constexpr gfx::Argb kBlue = 0xFF0000FF;

bool ShapeHas(const std::optional<std::vector<os::Rect>>& shape, int x, int y) {
  if (!shape) return true;
  for (const os::Rect& r : *shape) {
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
  }
  return false;
}

// Colours compared as shown: an opaque background is drawn at alpha 254, which costs a step of
// rounding.
void ExpectRgbNear(gfx::Argb shown, std::uint32_t rgb) {
  EXPECT_NEAR(RedOf(shown), RedOf(rgb), 1);
  EXPECT_NEAR(GreenOf(shown), GreenOf(rgb), 1);
  EXPECT_NEAR(BlueOf(shown), BlueOf(rgb), 1);
}

int AlphaAt(const Ex_Host& host, int x, int y) {
  return AlphaOf(host.offscreen.get_pixel(x, y));
}

TEST_F(HostTest, OrdinaryWindowIsCutToItsRoundedShape) {
  Ex_Host host;
  const os::Window w = MakeWindow();
  ASSERT_EQ(host.Attach(desktop, w, {.caption_flags = 0}), 1);
  const auto shape = desktop.window_region(w);
  ASSERT_TRUE(shape.has_value());
  EXPECT_EQ(*shape, RoundRectShape(6, 6, 378, 338, 5));
  EXPECT_TRUE(ShapeHas(shape, 6, 100));
  EXPECT_TRUE(ShapeHas(shape, 377, 337 - 5));
  EXPECT_FALSE(ShapeHas(shape, 5, 100));
  EXPECT_FALSE(ShapeHas(shape, 378, 100));
  EXPECT_FALSE(ShapeHas(shape, 6, 6));  // the corner is cut
  EXPECT_TRUE(ShapeHas(shape, 8, 8));

  desktop.show_window(w, os::SW_MAXIMIZE);
  ASSERT_TRUE(desktop.is_zoomed(w));
  EXPECT_EQ(desktop.window_region(w), RoundRectShape(5, 5, 1934 - 4, 1054 - 4, 5));
}

TEST_F(HostTest, SquareFrameStyleKeepsSquareShapeAndLines) {
  Ex_Host square;
  const os::Window w = MakeWindow();
  ASSERT_EQ(square.Attach(desktop, w, {.caption_flags = 0, .frame_style = 0}), 1);
  EXPECT_EQ(desktop.window_region(w), (std::vector<os::Rect>{{6, 6, 378, 338}}));
  // The outer frame line reaches into the corner: 0x60 at 204 over black.
  EXPECT_NEAR(RedOf(square.offscreen.get_pixel(6, 6)), 0x60 * 204 / 255, 3);
  EXPECT_EQ(square.clip_region, gfx::Region::from_rect({7, 7, kWidth - 6, kHeight - 6}));

  Ex_Host rounded;
  const os::Window v = MakeWindow();
  ASSERT_EQ(rounded.Attach(desktop, v, {.caption_flags = 0}), 1);
  EXPECT_EQ(AlphaAt(rounded, 6, 6), 0);
  EXPECT_NE(AlphaAt(rounded, 6, 100), 0);
  EXPECT_EQ(rounded.clip_region, gfx::Region::round_rect(7, 7, kWidth - 6, kHeight - 6, 3, 3));
}

struct ShadowCase {
  const char* name;
  int frame_style;
  bool corner_shaded;  // whether the innermost ring reaches its rectangle's corner pixel
};

class ShadowTest : public HostTest, public ::testing::WithParamInterface<ShadowCase> {};

TEST_P(ShadowTest, FourRingsFadeOutwards) {
  const ShadowCase& c = GetParam();
  Ex_Host host;
  const os::Window w = MakeWindow();
  ASSERT_EQ(host.Attach(desktop, w,
                        {.caption_flags = 0, .window_alpha = 255, .frame_style = c.frame_style}),
            1);
  EXPECT_FALSE(desktop.window_region(w).has_value());  // a layered window is shaped by alpha
  // Ring 1 on the content edge at alpha 45, then 25, 10 and 5 one pixel further out each.
  const int expected[] = {45, 25, 10, 5};
  for (int ring = 0; ring < 4; ++ring) {
    EXPECT_NEAR(AlphaAt(host, 5 - ring, 150), expected[ring], 2) << "left ring " << ring;
    EXPECT_NEAR(AlphaAt(host, 150, 5 - ring), expected[ring], 2) << "top ring " << ring;
  }
  EXPECT_EQ(AlphaAt(host, 1, 150), 0);
  EXPECT_EQ(AlphaAt(host, 5, 5) > 20, c.corner_shaded);
  // Shadow in the given colour.
  host.SetShadowColour(0x0000FF);
  host.SetBackground();
  EXPECT_EQ(
      RedOf(gfx::Unpremultiply(host.offscreen.pixels()[150 * host.offscreen.stride() / 4 + 5])),
      255);
}

INSTANTIATE_TEST_SUITE_P(Render, ShadowTest,
                         ::testing::Values(ShadowCase{"Square", 0, true},
                                           ShadowCase{"Rounded", 7, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(HostTest, PictureGivesTheBackgroundItsAverageColour) {
  const std::vector<std::uint8_t> png = TwoColourPng(100, 50, kRed, kBlue);
  Ex_Host host;
  const os::Window w = MakeWindow();
  ASSERT_EQ(host.Attach(desktop, w, {.background_image = png, .caption_flags = 0}), 1);
  // Half 255 red, half 255 blue: 127 each, red in the lowest byte.
  EXPECT_EQ(host.background_colour, 0x7F007Fu);
  host.SetBackground();
  ExpectRgbNear(Shown(w, 300, 300), 0x7F007F);
  EXPECT_EQ(Shown(w, 10, 10) & 0xFFFFFF, 0xFF0000u);  // the picture at its size at (5, 5)
  // Its bottom edge melts into the background colour.
  EXPECT_NE(Shown(w, 20, 54) & 0xFFFFFF, 0xFF0000u);

  Ex_Host given;
  const os::Window v = MakeWindow();
  ASSERT_EQ(
      given.Attach(desktop, v,
                   {.background_image = png, .background_colour = 0x00FF00, .caption_flags = 0}),
      1);
  EXPECT_EQ(given.background_colour, 0x00FF00u);
  given.SetBackground();
  ExpectRgbNear(Shown(v, 300, 300), 0x00FF00);

  // Bytes that are no picture leave no picture and colour 0.
  const std::vector<std::uint8_t> junk{1, 2, 3, 4};
  given.SetBackground(junk);
  EXPECT_EQ(given.background_image, nullptr);
  EXPECT_EQ(given.background_colour, 0u);
  EXPECT_EQ(AverageImageColour(nullptr), 0u);
}

struct ImageModeCase {
  const char* name;
  int mode;
  int x, y;           // a point of the window
  std::uint32_t rgb;  // what it shows
  int tolerance = 1;
};

class ImageModeTest : public HostTest, public ::testing::WithParamInterface<ImageModeCase> {};

TEST_P(ImageModeTest, PicturePlacement) {
  const ImageModeCase& c = GetParam();
  Ex_Host host;
  const os::Window w = MakeWindow();
  ASSERT_EQ(host.Attach(desktop, w,
                        {.background_image = TwoColourPng(100, 50, kRed, kBlue),
                         .background_colour = 0x00FF00,
                         .caption_flags = 0,
                         .image_mode = c.mode}),
            1);
  const gfx::Argb shown = host.offscreen.get_pixel(c.x, c.y);
  EXPECT_NEAR(RedOf(shown), RedOf(c.rgb), c.tolerance);
  EXPECT_NEAR(GreenOf(shown), GreenOf(c.rgb), c.tolerance);
  EXPECT_NEAR(BlueOf(shown), BlueOf(c.rgb), c.tolerance);
}

// Centred, the picture spans (141, 146) to (241, 196) and melts in on every edge. The side
// bands are a hundred pixels wide across a picture of 101, so at x 191 the left band lets
// 51 % through and the right one 56 % of that: 29 % blue over the green colour.
INSTANTIATE_TEST_SUITE_P(
    Render, ImageModeTest,
    ::testing::Values(ImageModeCase{"StretchedReachesTheFarCorner", 1, 370, 330, 0xFF},
                      ImageModeCase{"StretchedStartsAtTheContentCorner", 1, 8, 100, 0xFF0000},
                      ImageModeCase{"CentredMiddle", 2, 191, 171, 0xB549, 4},
                      ImageModeCase{"CentredLeftEdgeMelts", 2, 141, 171, 0xFF00, 5},
                      ImageModeCase{"CentredOutside", 2, 100, 171, 0xFF00},
                      ImageModeCase{"NaturalSizeCorner", 0, 10, 10, 0xFF0000},
                      ImageModeCase{"NaturalSizeOutside", 0, 110, 10, 0xFF00},
                      ImageModeCase{"OtherModesDrawNoPicture", 3, 10, 10, 0xFF00}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HostTest, LayeredBackgroundTakesTheWindowAlpha) {
  Ex_Host host;
  const os::Window w = MakeWindow();
  ASSERT_EQ(host.Attach(desktop, w,
                        {.background_image = TwoColourPng(100, 50, kRed, kBlue),
                         .caption_flags = 0,
                         .window_alpha = 128}),
            1);
  EXPECT_NEAR(AlphaAt(host, 10, 10), 128, 1);    // the picture
  EXPECT_NEAR(AlphaAt(host, 200, 200), 128, 1);  // the colour
  ExpectRgbNear(gfx::Unpremultiply(host.offscreen.pixels()[10 * host.offscreen.stride() / 4 + 10]),
                0xFF0000);
}

TEST_F(HostTest, SkinWithoutCentreIsThePictureAtItsSize) {
  const std::vector<std::uint8_t> png = TwoColourPng(100, 50, kRed, kBlue);
  Ex_Host host;
  const os::Window w = MakeWindow();
  ASSERT_EQ(host.Attach(desktop, w,
                        {.background_image = png,
                         .caption_flags = 0,
                         .frame_style = 1,
                         .nine_grid_centre = os::Rect{}}),
            1);
  EXPECT_EQ(host.offscreen.get_pixel(0, 0), kRed);  // no clip: the very corner is drawn
  EXPECT_EQ(host.offscreen.get_pixel(99, 49), kBlue);
  EXPECT_EQ(AlphaAt(host, 150, 150), 0);  // nothing beyond the picture
  EXPECT_EQ(AlphaAt(host, 6, 200), 0);    // no frame lines
  EXPECT_FALSE(desktop.window_region(w).has_value());
  EXPECT_FALSE(host.clip_region.has_value());

  // With a centre the picture covers the window in nine pieces.
  host.nine_grid_centre = {10, 10, 90, 40};
  host.SetBackground();
  EXPECT_EQ(host.offscreen.get_pixel(0, kHeight - 1), kRed);
  EXPECT_EQ(host.offscreen.get_pixel(kWidth - 1, kHeight - 1), kBlue);
}

TEST_F(HostTest, SkinSourceLendsItsPictureAndColour) {
  const std::vector<std::uint8_t> png = TwoColourPng(100, 50, kRed, kBlue);
  Ex_Host lender;
  const os::Window a = MakeWindow();
  ASSERT_EQ(lender.Attach(desktop, a, {.background_image = png, .caption_flags = 0}), 1);
  Ex_Host borrower;
  const os::Window b = MakeWindow();
  ASSERT_EQ(borrower.Attach(desktop, b, {.caption_flags = 0, .skin_source_window = a}), 1);
  EXPECT_EQ(borrower.background_colour, 0x7F007Fu);
  EXPECT_EQ(borrower.background_image, nullptr);  // still the lender's
  EXPECT_EQ(borrower.offscreen.get_pixel(10, 10) & 0xFFFFFF, 0xFF0000u);
}

TEST_F(HostTest, PaintRoutineDrawsBetweenBackgroundAndElements) {
  Ex_Host host;
  const os::Window w = MakeWindow();
  ASSERT_EQ(host.Attach(desktop, w, {.caption_flags = 0}), 1);
  Probe probe(kRed);
  ASSERT_NE(probe.Create(host.window, MakeRectF(50, 50, 20, 20)), nullptr);
  std::vector<RoutineArg> call;
  host.SetPaintHandler([&](RoutineArg window, RoutineArg graphics, RoutineArg wd, RoutineArg ht) {
    call = {window, wd, ht};
    reinterpret_cast<gfx::Graphics*>(graphics)->clear(0xFF00FF00);
  });
  host.SetBackground();
  EXPECT_THAT(call, ::testing::ElementsAre(os::window_to_param(w), kWidth, kHeight));
  EXPECT_EQ(Shown(w, 55, 55), kRed);
  ExpectRgbNear(Shown(w, 200, 200), 0x00FF00);
}

TEST_F(HostTest, SizeMessagesRenderOnlyForANewSize) {
  Ex_Host host;
  const os::Window w = MakeWindow();
  ASSERT_EQ(host.Attach(desktop, w, {.caption_flags = 0}), 1);
  int renders = 0;
  std::vector<RoutineArg> sized;
  host.SetPaintHandler([&] { ++renders; });
  host.SetSizeHandler([&](RoutineArg, RoutineArg wd, RoutineArg ht) { sized = {wd, ht}; });
  const int presents = display.window(w)->presents;
  desktop.send_message(w, os::WM_SIZE, os::SIZE_MINIMIZED, os::make_lparam(10, 10));
  desktop.send_message(w, os::WM_SIZE, os::SIZE_RESTORED, os::make_lparam(kWidth, kHeight));
  EXPECT_EQ(renders, 0);
  EXPECT_TRUE(sized.empty());
  EXPECT_EQ(display.window(w)->presents, presents);

  desktop.move_window(w, {50, 50, 450, 350});
  EXPECT_EQ(renders, 1);
  EXPECT_THAT(sized, ::testing::ElementsAre(400, 300));
  EXPECT_EQ(host.offscreen.width(), 400);
  EXPECT_EQ(host.background.height(), 300);
  EXPECT_EQ(desktop.window_region(w), RoundRectShape(6, 6, 395, 295, 5));
  EXPECT_GT(display.window(w)->presents, presents);
}

TEST_F(HostTest, FadeInBlendsTheNewPictureInFiveSteps) {
  Ex_Host host;
  const os::Window w = MakeWindow();
  ASSERT_EQ(host.Attach(desktop, w, {.background_colour = 0x000000, .caption_flags = 0}), 1);
  host.SetBackground();
  const auto raw = [&] { return display.window_pixels(w).at(100, 100); };
  ASSERT_EQ(raw(), 0xFE000000u);
  host.SetBackground(std::nullopt, 0xFFFFFF, kBackgroundFadeIn);
  EXPECT_EQ(host.busy, 1);
  EXPECT_EQ(raw(), 0xFE000000u);  // nothing shown before the first step

  // Each step blends the new picture (254 in every channel) over what the window shows.
  double shown = 0;
  for (int alpha : {51, 102, 153, 204, 255}) {
    Advance(50);
    const double expected = shown + (254 - shown) * alpha / 255.0;
    shown = static_cast<double>(raw() & 0xFF);
    EXPECT_NEAR(shown, expected, 1) << "alpha " << alpha;
    EXPECT_EQ(host.fade_alpha, alpha);
    EXPECT_EQ(host.busy, alpha < 255 ? 1 : 0);
  }
  EXPECT_EQ(raw(), 0xFEFEFEFEu);
  EXPECT_TRUE(host.fade.empty());
  const int presents = display.window(w)->presents;
  Advance(200);
  EXPECT_EQ(display.window(w)->presents, presents);  // the timer is gone
}

TEST_F(HostTest, LayeredFadeInShowsEachStepOneTickLate) {
  Ex_Host host;
  const os::Window w = MakeWindow();
  ASSERT_EQ(host.Attach(desktop, w,
                        {.background_colour = 0x000000, .caption_flags = 0, .window_alpha = 255}),
            1);
  host.SetBackground(std::nullopt, 0xFFFFFF, kBackgroundFadeIn);
  display.clear_layered_frames(w);
  for (int tick = 0; tick < 5; ++tick) Advance(50);
  const auto frames = display.layered_frames(w);
  // One frame per tick from the fade surface, then the finished picture.
  ASSERT_EQ(frames.size(), 6u);
  std::vector<int> reds;
  for (const auto& frame : frames)
    reds.push_back(static_cast<int>(frame.pixels.at(100, 100) & 0xFF));
  EXPECT_EQ(reds.front(), 0);  // the old picture
  for (std::size_t i = 1; i < reds.size(); ++i) EXPECT_GT(reds[i], reds[i - 1]) << i;
  EXPECT_EQ(reds.back(), 254);
  EXPECT_EQ(host.busy, 0);
}

TEST_F(HostTest, CloseHidesAndEndsTheWindow) {
  Ex_Host host;
  const os::Window w = MakeWindow();
  ASSERT_EQ(host.Attach(desktop, w, {.caption_flags = 0}), 1);
  desktop.send_message(w, os::WM_CLOSE, 0, 0);
  EXPECT_FALSE(desktop.is_window(w));
  EXPECT_FALSE(host.attached());
}

TEST_F(HostTest, PaintMessageCopiesTheInvalidArea) {
  Ex_Host host;
  const os::Window w = MakeWindow();
  ASSERT_EQ(host.Attach(desktop, w, {.background_colour = 0xFF, .caption_flags = 0}), 1);
  host.SetBackground(std::nullopt, std::nullopt, kBackgroundQuiet);
  const int presents = display.window(w)->presents;
  desktop.invalidate_rect(w, os::Rect{10, 10, 60, 60});
  desktop.update_window(w);
  EXPECT_EQ(display.window(w)->presents, presents + 1);
  EXPECT_TRUE(desktop.update_rect(w).right <= desktop.update_rect(w).left);
  ExpectRgbNear(Shown(w, 30, 30), 0xFF0000);
}

}  // namespace
}  // namespace directui::host_testing
