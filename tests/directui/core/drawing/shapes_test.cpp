#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "directui/core/clip_region.h"
#include "directui/core/draw_border.h"
#include "directui/core/fills_and_lines.h"
#include "directui/core/round_rect.h"
#include "drawing_probe.h"
#include "platform/gfx/pixel_probe.h"

namespace directui {
namespace {

namespace gfx = platform::gfx;
using testing_support::Column;
using testing_support::Row;
using testing_support::SaveForViewing;

constexpr Argb kRed = 0xFFFF0000;
constexpr Argb kBlue = 0xFF0000FF;

std::vector<std::string> Rows(const gfx::Bitmap& b, Argb colour) {
  std::vector<std::string> rows;
  for (int y = 0; y < b.height(); ++y) rows.push_back(Row(b, y, colour));
  return rows;
}

TEST(RoundRectPathTest, CornerZeroIsTheRectangleOnePixelSmallerRightAndBottom) {
  gfx::Bitmap b = gfx::Bitmap::create(10, 8);
  gfx::Graphics g(b);
  FillRoundRect(g, {1, 1, 8, 6}, 0, kRed);
  SaveForViewing(b, "round_rect_corner_0");
  // The rectangle covers columns 1..8 and rows 1..6; the path stops at 7 and 5.
  const std::vector<std::string> expected = {
      "..........", ".#######..", ".#######..", ".#######..",
      ".#######..", ".#######..", "..........", "..........",
  };
  EXPECT_EQ(Rows(b, kRed), expected);
}

TEST(RoundRectPathTest, OnePixelPenStaysInsideTheRectangle) {
  for (float corner : {0.0f, 6.0f}) {
    gfx::Bitmap b = gfx::Bitmap::create(30, 20);
    gfx::Graphics g(b);
    DrawRoundRect(g, {5, 4, 20, 12}, corner, kRed, gfx::DashStyle::solid);
    SaveForViewing(b, "round_rect_pen_" + std::to_string(static_cast<int>(corner)));
    const gfx::testing_support::Ink ink = gfx::testing_support::FindInk(b, 0);
    EXPECT_EQ(ink.box, (gfx::Rect{5, 4, 25, 16})) << "corner " << corner;
    // The edges are drawn along their middles, the inside is left alone.
    EXPECT_NE(b.get_pixel(15, 4), 0u);
    EXPECT_NE(b.get_pixel(15, 15), 0u);
    EXPECT_NE(b.get_pixel(5, 10), 0u);
    EXPECT_NE(b.get_pixel(24, 10), 0u);
    EXPECT_EQ(b.get_pixel(15, 10), 0u);
  }
}

TEST(RoundRectPathTest, DrawTakesTheDashStyleAndPenWidth) {
  gfx::Bitmap dashed = gfx::Bitmap::create(30, 20);
  {
    gfx::Graphics g(dashed);
    DrawRoundRect(g, {5, 4, 20, 12}, 0, kRed, gfx::DashStyle::dash);
  }
  EXPECT_EQ(Row(dashed, 4, kRed).substr(5, 8), "###.###.");
  gfx::Bitmap thick = gfx::Bitmap::create(30, 20);
  {
    gfx::Graphics g(thick);
    DrawRoundRect(g, {5, 4, 20, 12}, 0, kRed, gfx::DashStyle::solid, 3);
  }
  SaveForViewing(thick, "round_rect_pen_width_3");
  EXPECT_EQ(Column(thick, 15, kRed).substr(2, 5), ".###.");  // centred on row 4
}

TEST(RoundRectPathTest, RoundedCornersLeaveTheCornerPixelsOut) {
  gfx::Bitmap b = gfx::Bitmap::create(30, 20);
  gfx::Graphics g(b);
  FillRoundRect(g, {5, 4, 20, 12}, 8, kRed);
  SaveForViewing(b, "round_rect_fill_8");
  for (auto [x, y] : {std::pair{5, 4}, {23, 4}, {5, 14}, {23, 14}}) {
    EXPECT_EQ(b.get_pixel(x, y), 0u) << x << ", " << y;
  }
  EXPECT_EQ(b.get_pixel(15, 10), kRed);
  EXPECT_EQ(b.get_pixel(5, 10), kRed);  // the left edge between the arcs
  EXPECT_EQ(b.get_pixel(15, 4), kRed);  // the top edge
  EXPECT_EQ(b.get_pixel(24, 10), 0u);   // the right edge sits one pixel in
  EXPECT_EQ(b.get_pixel(23, 10), kRed);
}

TEST(RoundRectPathTest, ClipsToThePath) {
  gfx::Bitmap b = gfx::Bitmap::create(10, 8);
  gfx::Graphics g(b);
  SetClipPath(g, RoundRectPath({1, 1, 8, 6}, 0, gfx::FillMode::alternate),
              gfx::CombineMode::replace);
  g.fill_rectangle(CreateSolidBrush(kRed), {0, 0, 10, 8});
  EXPECT_EQ(gfx::testing_support::FindInk(b, 0).box, (gfx::Rect{1, 1, 8, 6}));
  // Combining with the clip already set: only the overlap stays.
  SetClipPath(g, RoundRectPath({4, 0, 6, 8}, 0, gfx::FillMode::alternate),
              gfx::CombineMode::intersect);
  g.clear(kBlue);
  EXPECT_EQ(b.get_pixel(3, 3), kRed);
  EXPECT_EQ(b.get_pixel(4, 3), kBlue);
  EXPECT_EQ(b.get_pixel(8, 3), 0u);  // outside the first clip
}

TEST(RegionFromHrgnTest, UnitesTheShapeRectangles) {
  const platform::os::Rect shape[] = {{0, 0, 10, 2}, {2, 1, 8, 9}, {5, 5, 5, 9}};
  const gfx::Region region = RegionFromHrgn(shape);
  EXPECT_EQ(region.bounds(), (gfx::Rect{0, 0, 10, 9}));
  EXPECT_TRUE(region.contains(9, 1));
  EXPECT_TRUE(region.contains(2, 8));
  EXPECT_FALSE(region.contains(1, 2));
  EXPECT_FALSE(region.contains(8, 8));
  EXPECT_EQ(region, gfx::Region::from_rect({0, 0, 10, 2})
                        .combine(gfx::Region::from_rect({2, 2, 8, 9}), gfx::CombineMode::unite));
  EXPECT_TRUE(RegionFromHrgn({}).empty());
}

TEST(FillGradientRectTest, RunsTopToBottomAndLeavesTheLastRowAndColumnOut) {
  gfx::Bitmap b = gfx::Bitmap::create(6, 12);
  gfx::Graphics g(b);
  FillGradientRect(g, {1, 1, 4, 10}, 0xFFFFFFFF, 0xFF000000);
  SaveForViewing(b, "gradient_vertical");
  EXPECT_EQ(gfx::testing_support::FindInk(b, 0).box, (gfx::Rect{1, 1, 4, 10}));
  EXPECT_EQ(b.get_pixel(1, 1), 0xFFFFFFFFu);
  for (int y = 2; y < 10; ++y) {
    EXPECT_LT(gfx::RedOf(b.get_pixel(2, y)), gfx::RedOf(b.get_pixel(2, y - 1))) << y;
    EXPECT_EQ(b.get_pixel(1, y), b.get_pixel(3, y)) << y;
  }
  // Row 9 is nine tenths of the way to black.
  EXPECT_NEAR(gfx::RedOf(b.get_pixel(2, 9)), 255 * 0.2, 4);
}

TEST(FillGradientRectTest, HorizontalRunsLeftToRight) {
  gfx::Bitmap b = gfx::Bitmap::create(12, 4);
  gfx::Graphics g(b);
  FillGradientRect(g, {0, 0, 11, 4}, kRed, kBlue, gfx::LinearGradientMode::horizontal);
  EXPECT_EQ(b.get_pixel(0, 1), kRed);
  EXPECT_GT(gfx::BlueOf(b.get_pixel(9, 1)), gfx::BlueOf(b.get_pixel(2, 1)));
  EXPECT_EQ(b.get_pixel(9, 0), b.get_pixel(9, 2));
  EXPECT_EQ(b.get_pixel(5, 3), 0u);  // the last row is left out
}

TEST(DrawLineTest, DrawsInTheColourAndWidth) {
  gfx::Bitmap b = gfx::Bitmap::create(10, 9);
  gfx::Graphics g(b);
  DrawLine(g, kRed, 1, 2, 8, 2);
  DrawLine(g, kBlue, 1, 6, 8, 6, 3);
  SaveForViewing(b, "lines");
  // Both end pixels belong to the line.
  EXPECT_EQ(Row(b, 2, kRed), ".########.");
  EXPECT_EQ(Row(b, 6, kBlue), ".########.");
  EXPECT_EQ(Column(b, 4, kRed).substr(0, 5), "..#..");
  EXPECT_EQ(Column(b, 4, kBlue).substr(4), ".###.");
  EXPECT_EQ(Column(b, 8, kBlue).substr(4), ".###.");
}

}  // namespace
}  // namespace directui
