#include "platform/gfx/graphics.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>

#include "platform/gfx/pixel_probe.h"

namespace platform::gfx {
namespace {

constexpr Argb kRed = 0xFFFF0000;
constexpr Argb kBlack = 0xFF000000;

std::string Row(const Bitmap& b, int y, int from, int to) {
  std::string s;
  for (int x = from; x < to; ++x) s += AlphaOf(b.get_pixel(x, y)) == 255 ? '#' : '.';
  return s;
}

TEST(GraphicsFillTest, RectangleWithoutSmoothingCoversWholePixels) {
  Bitmap b = Bitmap::create(8, 8);
  Graphics g(b);
  g.set_smoothing_mode(SmoothingMode::none);
  g.fill_rectangle(SolidBrush{kRed}, {2, 2, 4, 4});
  for (int y = 0; y < 8; ++y) {
    EXPECT_EQ(Row(b, y, 0, 8), (y >= 2 && y < 6) ? "..####.." : "........") << y;
  }
  EXPECT_EQ(b.get_pixel(3, 3), kRed);
}

TEST(GraphicsFillTest, SmoothedRectangleHalfCoversItsEdgePixels) {
  Bitmap b = Bitmap::create(9, 9);
  Graphics g(b);
  g.set_smoothing_mode(SmoothingMode::anti_alias);
  g.fill_rectangle(SolidBrush{kRed}, {2, 2, 4, 4});
  // Pixel centres lie on whole coordinates: the rectangle's edges split pixels 2 and 6.
  EXPECT_EQ(b.get_pixel(4, 4), kRed);
  EXPECT_NEAR(AlphaOf(b.get_pixel(2, 4)), 128, 8);
  EXPECT_NEAR(AlphaOf(b.get_pixel(6, 4)), 128, 8);
  EXPECT_NEAR(AlphaOf(b.get_pixel(2, 2)), 64, 8);
  EXPECT_EQ(b.get_pixel(7, 4), 0u);
  EXPECT_EQ(b.get_pixel(4, 1), 0u);
}

TEST(GraphicsFillTest, ClearSetsTransparencyToo) {
  Bitmap b = Bitmap::create(3, 3);
  Graphics g(b);
  g.clear(kRed);
  g.clear(0x40FFFFFF);
  EXPECT_EQ(b.get_pixel(1, 1), 0x40FFFFFFu);
}

TEST(GraphicsFillTest, SourceCopyReplacesInsteadOfBlending) {
  Bitmap b = Bitmap::create(4, 4);
  Graphics g(b);
  g.clear(0xFF0000FF);
  g.set_compositing_mode(CompositingMode::source_copy);
  g.fill_rectangle(SolidBrush{0x80FF0000}, {0, 0, 4, 4});
  EXPECT_EQ(b.get_pixel(1, 1), 0x80FF0000u);
  g.set_compositing_mode(CompositingMode::source_over);
  g.fill_rectangle(SolidBrush{0x80FF0000}, {0, 0, 4, 4});
  EXPECT_NEAR(AlphaOf(b.get_pixel(1, 1)), 0x80 + 0x80 * 127 / 255, 1);
}

TEST(GraphicsGradientTest, VerticalRunsFromTopColourToBottomColour) {
  Bitmap b = Bitmap::create(4, 10);
  Graphics g(b);
  g.fill_rectangle(LinearGradientBrush{{0, 0, 4, 10},
                                       0xCCFFFFFF,
                                       0x99FFFFFF,
                                       LinearGradientMode::vertical,
                                       WrapMode::tile_flip_xy},
                   {0, 0, 4, 10});
  EXPECT_EQ(b.get_pixel(2, 0), 0xCCFFFFFFu);
  EXPECT_NEAR(AlphaOf(b.get_pixel(2, 9)), 0xCC - (0xCC - 0x99) * 0.9, 2);
  for (int y = 1; y < 10; ++y)
    EXPECT_LT(AlphaOf(b.get_pixel(2, y)), AlphaOf(b.get_pixel(2, y - 1)));
  // Colour does not change across a row.
  EXPECT_EQ(b.get_pixel(0, 5), b.get_pixel(3, 5));
}

TEST(GraphicsGradientTest, HorizontalRunsFromLeftToRightAndFlipsWhenTiled) {
  Bitmap b = Bitmap::create(20, 2);
  Graphics g(b);
  g.fill_rectangle(LinearGradientBrush{{0, 0, 10, 2},
                                       kBlack,
                                       0xFFFFFFFF,
                                       LinearGradientMode::horizontal,
                                       WrapMode::tile_flip_xy},
                   {0, 0, 20, 2});
  EXPECT_EQ(b.get_pixel(0, 1), kBlack);
  EXPECT_NEAR(RedOf(b.get_pixel(9, 1)), 229, 3);
  EXPECT_EQ(b.get_pixel(0, 0), b.get_pixel(0, 1));
  // Past its rectangle the gradient comes back mirrored.
  EXPECT_NEAR(RedOf(b.get_pixel(11, 1)), RedOf(b.get_pixel(9, 1)), 1);
  EXPECT_NEAR(RedOf(b.get_pixel(19, 1)), RedOf(b.get_pixel(1, 1)), 1);
  // Plain tiling starts over instead.
  g.fill_rectangle(
      LinearGradientBrush{
          {0, 0, 10, 2}, kBlack, 0xFFFFFFFF, LinearGradientMode::horizontal, WrapMode::tile},
      {0, 0, 20, 2});
  EXPECT_NEAR(RedOf(b.get_pixel(11, 1)), RedOf(b.get_pixel(1, 1)), 1);
}

class GraphicsLineTest : public testing::TestWithParam<SmoothingMode> {};

TEST_P(GraphicsLineTest, OnePixelLineOnWholeCoordinatesCoversOneRow) {
  Bitmap b = Bitmap::create(12, 10);
  Graphics g(b);
  g.set_smoothing_mode(GetParam());
  g.draw_line(Pen{kBlack, 1}, {1, 5}, {10, 5});
  EXPECT_EQ(Row(b, 5, 2, 10), "########");
  EXPECT_EQ(b.get_pixel(5, 5), kBlack);
  EXPECT_EQ(b.get_pixel(5, 4), 0u);
  EXPECT_EQ(b.get_pixel(5, 6), 0u);
}

INSTANTIATE_TEST_SUITE_P(SmoothingOnAndOff, GraphicsLineTest,
                         testing::Values(SmoothingMode::none, SmoothingMode::anti_alias));

TEST(GraphicsLineTest, SlantedLineIsBlendedOnlyWhenSmoothed) {
  auto partial_pixels = [](SmoothingMode mode) {
    Bitmap b = Bitmap::create(12, 8);
    Graphics g(b);
    g.set_smoothing_mode(mode);
    g.draw_line(Pen{kBlack, 1}, {0, 0}, {11, 5});
    int partial = 0, opaque = 0;
    for (int y = 0; y < 8; ++y) {
      for (int x = 0; x < 12; ++x) {
        const int a = AlphaOf(b.get_pixel(x, y));
        partial += a > 0 && a < 255;
        opaque += a == 255;
      }
    }
    return std::pair{partial, opaque};
  };
  const auto [hard_partial, hard_opaque] = partial_pixels(SmoothingMode::none);
  EXPECT_EQ(hard_partial, 0);
  EXPECT_GE(hard_opaque, 11);
  EXPECT_GT(partial_pixels(SmoothingMode::anti_alias).first, 6);
}

TEST(GraphicsLineTest, DashStylesRepeatInPenWidths) {
  struct Case {
    DashStyle dash;
    const char* row;
  };
  for (const Case& c :
       {Case{DashStyle::solid, "################"}, Case{DashStyle::dash, "###.###.###.###."},
        Case{DashStyle::dot, "#.#.#.#.#.#.#.#."}, Case{DashStyle::dash_dot, "###.#.###.#.###."}}) {
    Bitmap b = Bitmap::create(16, 4);
    Graphics g(b);
    g.set_smoothing_mode(SmoothingMode::none);
    g.draw_line(Pen{kBlack, 1, c.dash}, {-0.5f, 2}, {15.5f, 2});
    EXPECT_EQ(Row(b, 2, 0, 16), c.row) << static_cast<int>(c.dash);
  }
}

TEST(GraphicsShapeTest, RectangleOutlineStaysOnItsEdges) {
  Bitmap b = Bitmap::create(8, 6);
  Graphics g(b);
  g.set_smoothing_mode(SmoothingMode::anti_alias);
  // A box of 6 x 4 pixels is outlined as the rectangle (1, 1, 5, 3).
  g.draw_rectangle(Pen{kBlack, 1}, {1, 1, 5, 3});
  EXPECT_EQ(Row(b, 0, 0, 8), "........");
  EXPECT_EQ(Row(b, 1, 0, 8), ".######.");
  EXPECT_EQ(Row(b, 2, 0, 8), ".#....#.");
  EXPECT_EQ(Row(b, 4, 0, 8), ".######.");
  EXPECT_EQ(Row(b, 5, 0, 8), "........");
}

TEST(GraphicsShapeTest, AlternateFillLeavesOverlapsOpenWindingFillsThem) {
  // A five-pointed star drawn in one stroke: its centre is covered twice.
  const PointF star[] = {{10, 0}, {16, 19}, {0, 7}, {20, 7}, {4, 19}};
  Bitmap alternate = Bitmap::create(21, 21);
  Bitmap winding = Bitmap::create(21, 21);
  Graphics ga(alternate);
  Graphics gw(winding);
  ga.fill_polygon(SolidBrush{kRed}, star, FillMode::alternate);
  gw.fill_polygon(SolidBrush{kRed}, star, FillMode::winding);
  EXPECT_EQ(alternate.get_pixel(10, 11), 0u);
  EXPECT_EQ(winding.get_pixel(10, 11), kRed);
  EXPECT_EQ(alternate.get_pixel(10, 3), kRed);  // a point of the star
  EXPECT_EQ(winding.get_pixel(10, 3), kRed);
}

TEST(GraphicsShapeTest, ArcPathMakesRoundCorners) {
  Bitmap b = Bitmap::create(20, 20);
  Graphics g(b);
  g.set_smoothing_mode(SmoothingMode::none);
  // Four arcs joined into a rounded rectangle, the way caption shapes are built.
  Path p;
  const float d = 8;
  p.add_arc({0, 0, d, d}, 180, 90);
  p.add_arc({19 - d, 0, d, d}, 270, 90);
  p.add_arc({19 - d, 19 - d, d, d}, 0, 90);
  p.add_arc({0, 19 - d, d, d}, 90, 90);
  p.close_figure();
  g.fill_path(SolidBrush{kRed}, p);
  EXPECT_EQ(b.get_pixel(10, 10), kRed);
  EXPECT_EQ(b.get_pixel(10, 0), kRed);  // straight edge
  EXPECT_EQ(b.get_pixel(0, 10), kRed);
  for (auto [x, y] : {std::pair{0, 0}, {19, 0}, {0, 19}, {19, 19}}) {
    EXPECT_EQ(b.get_pixel(x, y), 0u) << x << "," << y;  // cut corners
  }
  // The right arcs end on x = 19, the centre of the last column.
  EXPECT_EQ(b.get_pixel(18, 10), kRed);
  EXPECT_EQ(b.get_pixel(20, 10), 0u);
}

TEST(GraphicsShapeTest, ArcsRunClockwiseAndNegativeSweepsBackwards) {
  // A quarter pie of a wide ellipse, once with a forward and once with a backward sweep.
  auto pie = [](float start, float sweep) {
    Bitmap b = Bitmap::create(24, 14);
    Graphics g(b);
    g.set_smoothing_mode(SmoothingMode::none);
    Path p;
    p.add_line({11, 6}, {11, 6});
    p.add_arc({1, 1, 20, 10}, start, sweep);
    p.close_figure();
    g.fill_path(SolidBrush{kRed}, p);
    return b;
  };
  const Bitmap forward = pie(0, 90);
  const Bitmap backward = pie(90, -90);
  EXPECT_EQ(std::memcmp(forward.pixels(), backward.pixels(), 14 * forward.stride()), 0);
  // Clockwise from the x axis on a y-down surface: the lower right quarter.
  EXPECT_EQ(forward.get_pixel(16, 8), kRed);
  EXPECT_EQ(forward.get_pixel(6, 8), 0u);
  EXPECT_EQ(forward.get_pixel(16, 3), 0u);
  // The ellipse reaches its box's right edge on the x axis, and is flatter than a circle.
  EXPECT_EQ(forward.get_pixel(20, 6), kRed);
  EXPECT_EQ(forward.get_pixel(12, 10), kRed);
  EXPECT_EQ(forward.get_pixel(12, 12), 0u);
}

struct ClipCase {
  CombineMode mode;
  bool in_first_only;
  bool in_both;
  bool in_second_only;
};

class GraphicsClipTest : public testing::TestWithParam<ClipCase> {};

TEST_P(GraphicsClipTest, CombinesWithTheCurrentClip) {
  Bitmap b = Bitmap::create(10, 10);
  Graphics g(b);
  g.set_clip(RectF{0, 0, 6, 6});
  g.set_clip(RectF{3, 3, 6, 6}, GetParam().mode);
  g.fill_rectangle(SolidBrush{kRed}, {-1, -1, 12, 12});
  EXPECT_EQ(b.get_pixel(1, 1) == kRed, GetParam().in_first_only);
  EXPECT_EQ(b.get_pixel(4, 4) == kRed, GetParam().in_both);
  EXPECT_EQ(b.get_pixel(7, 7) == kRed, GetParam().in_second_only);
  EXPECT_EQ(b.get_pixel(8, 1), 0u);
}

INSTANTIATE_TEST_SUITE_P(Modes, GraphicsClipTest,
                         testing::Values(ClipCase{CombineMode::replace, false, true, true},
                                         ClipCase{CombineMode::intersect, false, true, false},
                                         ClipCase{CombineMode::unite, true, true, true},
                                         ClipCase{CombineMode::exclusive_or, true, false, true},
                                         ClipCase{CombineMode::exclude, true, false, false},
                                         ClipCase{CombineMode::complement, false, false, true}));

TEST(GraphicsClipTest2, ClearAndDrawStayInsideARegionClip) {
  Bitmap b = Bitmap::create(12, 12);
  Graphics g(b);
  g.set_clip(Region::round_rect(1, 1, 11, 11, 4, 4));
  g.clear(kRed);
  EXPECT_EQ(b.get_pixel(1, 1), 0u);  // cut corner
  EXPECT_EQ(b.get_pixel(2, 1), kRed);
  EXPECT_EQ(b.get_pixel(10, 10), 0u);
  EXPECT_EQ(b.get_pixel(10, 5), kRed);
  EXPECT_EQ(b.get_pixel(11, 5), 0u);
  EXPECT_EQ(g.visible_clip_bounds(), (RectF{1, 1, 10, 10}));
  g.reset_clip();
  EXPECT_FALSE(g.clip().has_value());
  g.clear(kBlack);
  EXPECT_EQ(b.get_pixel(0, 0), kBlack);
  EXPECT_EQ(g.visible_clip_bounds(), (RectF{0, 0, 12, 12}));
}

TEST(GraphicsClipTest2, PathClipAndVisibleBounds) {
  Bitmap b = Bitmap::create(12, 12);
  Graphics g(b);
  Path circle;
  circle.add_ellipse({0, 0, 11, 11});
  g.set_clip(circle);
  g.clear(kRed);
  EXPECT_EQ(b.get_pixel(5, 5), kRed);
  EXPECT_EQ(b.get_pixel(0, 0), 0u);
  EXPECT_EQ(b.get_pixel(11, 11), 0u);
  EXPECT_EQ(b.get_pixel(1, 5), kRed);
  // Bounds are confined to the bitmap; an excluded part removes what it covers.
  g.set_clip(RectF{-5, 4, 30, 3});
  EXPECT_EQ(g.visible_clip_bounds(), (RectF{0, 4, 12, 3}));
  g.set_clip(RectF{0, 4, 6, 3}, CombineMode::exclude);
  EXPECT_EQ(g.visible_clip_bounds(), (RectF{6, 4, 6, 3}));
  g.set_clip(RectF{20, 20, 3, 3}, CombineMode::intersect);
  EXPECT_EQ(g.visible_clip_bounds(), RectF{});
  g.clear(kBlack);
  EXPECT_EQ(b.get_pixel(8, 5), kRed);  // nothing is drawn through an empty clip
}

Bitmap Checker() {
  Bitmap img = Bitmap::create(3, 2);
  const Argb colors[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00, 0x80FFFFFF, 0xFF000000};
  for (int i = 0; i < 6; ++i) img.set_pixel(i % 3, i / 3, colors[i]);
  return img;
}

TEST(GraphicsImageTest, DrawsImagesPixelForPixel) {
  const Bitmap img = Checker();
  Bitmap b = Bitmap::create(6, 5);
  Graphics g(b);
  g.draw_image(img, {2, 1, 3, 2});
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) EXPECT_EQ(b.get_pixel(2 + x, 1 + y), img.get_pixel(x, y));
  }
  EXPECT_EQ(b.get_pixel(1, 1), 0u);
  EXPECT_EQ(b.get_pixel(5, 1), 0u);
  // A source area: the image's right column only.
  Bitmap c = Bitmap::create(2, 2);
  Graphics gc(c);
  gc.draw_image(img, {0, 0, 1, 2}, {2, 0, 1, 2});
  EXPECT_EQ(c.get_pixel(0, 0), 0xFF0000FFu);
  EXPECT_EQ(c.get_pixel(0, 1), 0xFF000000u);
  EXPECT_EQ(c.get_pixel(1, 0), 0u);
}

TEST(GraphicsImageTest, StretchesWithNearestNeighbour) {
  const Bitmap img = Checker();
  Bitmap b = Bitmap::create(6, 4);
  Graphics g(b);
  g.set_interpolation_mode(InterpolationMode::nearest_neighbor);
  g.draw_image(img, {0, 0, 6, 4});
  EXPECT_EQ(b.get_pixel(0, 0), 0xFFFF0000u);
  EXPECT_EQ(b.get_pixel(1, 1), 0xFFFF0000u);
  EXPECT_EQ(b.get_pixel(3, 1), 0xFF00FF00u);
  EXPECT_EQ(b.get_pixel(5, 3), 0xFF000000u);
}

TEST(GraphicsImageTest, AlphaMatrixScalesOpacity) {
  Bitmap white = Bitmap::create(4, 4);
  Graphics(white).clear(0xFFFFFFFF);
  struct Case {
    std::uint8_t alpha;
    int on_transparent;  // resulting alpha
    int on_black;        // resulting grey on an opaque black ground
  };
  for (const Case& c : {Case{127, 127, 127}, Case{255, 255, 255}, Case{0, 0, 0}}) {
    Bitmap clear = Bitmap::create(4, 4);
    Bitmap black = Bitmap::create(4, 4);
    Graphics(black).clear(kBlack);
    Graphics gc(clear);
    Graphics gb(black);
    gc.draw_image(white, {0, 0, 4, 4}, {0, 0, 4, 4}, ImageAttributes::with_alpha(c.alpha));
    gb.draw_image(white, {0, 0, 4, 4}, {0, 0, 4, 4}, ImageAttributes::with_alpha(c.alpha));
    const Argb over_clear = clear.get_pixel(2, 2);
    EXPECT_NEAR(AlphaOf(over_clear), c.on_transparent, 1) << int{c.alpha};
    if (c.alpha > 0) {
      EXPECT_EQ(over_clear & 0xFFFFFF, 0xFFFFFFu);
    }
    EXPECT_NEAR(RedOf(black.get_pixel(2, 2)), c.on_black, 1) << int{c.alpha};
    EXPECT_EQ(AlphaOf(black.get_pixel(2, 2)), 255);
  }
}

TEST(GraphicsImageTest, EmptyInputsDrawNothing) {
  Bitmap b = Bitmap::create(3, 3);
  Graphics g(b);
  g.draw_image(Bitmap{}, {0, 0, 3, 3});
  g.draw_image(Checker(), {0, 0, 0, 3});
  EXPECT_EQ(platform::gfx::testing_support::FindInk(b, 0).count, 0);
  Bitmap none;
  Graphics on_nothing(none);
  EXPECT_FALSE(on_nothing.valid());
  on_nothing.clear(kRed);
  on_nothing.fill_rectangle(SolidBrush{kRed}, {0, 0, 2, 2});
}

TEST(GraphicsBadInputTest, UnusableCoordinatesDrawNothingAndLeaveTheGraphicsWorking) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  Bitmap b = Bitmap::create(8, 8);
  Graphics g(b);
  const Bitmap img = Checker();
  for (float bad : {nan, inf, -inf, 1e30f}) {
    g.fill_rectangle(SolidBrush{kRed}, {bad, 0, 4, 4});
    g.fill_rectangle(SolidBrush{kRed}, {0, 0, bad, 4});
    g.fill_rectangle(
        LinearGradientBrush{{0, 0, bad, 4}, kRed, kRed, LinearGradientMode::horizontal},
        {0, 0, 0, 0});
    g.draw_line(Pen{kRed, 1}, {0, 0}, {bad, 3});
    g.draw_line(Pen{kRed, bad}, {0, 0}, {0, 0});
    g.draw_image(img, {0, 0, bad, 2});
    g.draw_image(img, {0, 0, 3, 2}, {0, 0, bad, 2});
    Path p;
    p.add_arc({0, 0, bad, 4}, 0, 90);
    g.fill_path(SolidBrush{kRed}, p);
    g.set_clip(RectF{bad, 0, 2, 2});
    g.set_clip(p, CombineMode::intersect);
  }
  EXPECT_FALSE(g.clip().has_value());
  EXPECT_EQ(platform::gfx::testing_support::FindInk(b, 0).count, 0);
  // Vanishingly small shapes are drawable; afterwards drawing goes on as usual.
  Path tiny;
  tiny.add_ellipse({1, 1, 1e-30f, 1e-30f});
  g.fill_path(SolidBrush{kRed}, tiny);
  g.draw_image(img, {0, 0, 1e-30f, 1e-30f});
  g.set_clip(RectF{2, 2, 4, 4});
  g.fill_rectangle(SolidBrush{kRed}, {0, 0, 8, 8});
  EXPECT_EQ(b.get_pixel(3, 3), kRed);
  EXPECT_EQ(b.get_pixel(1, 1), 0u);
}

}  // namespace
}  // namespace platform::gfx
