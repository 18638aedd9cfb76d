#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>
#include <optional>

#include "directui/core/clone_image_area.h"
#include "directui/core/nine_grid.h"
#include "drawing_probe.h"
#include "platform/gfx/pixel_probe.h"

namespace directui {
namespace {

namespace gfx = platform::gfx;
using testing_support::SaveForViewing;

// A 9 x 9 picture cut by the centre (2, 3, 4, 2): margins left 2, top 3, right 3, bottom 4.
// Every piece but the top-left corner has one colour; that corner has a colour per pixel, so
// that a scaled corner would show.
constexpr RectF kCentre{2, 3, 4, 2};

gfx::Argb PieceColour(int column, int row) {
  return 0xFF000000 | static_cast<gfx::Argb>(40 + 60 * column) << 16 |
         static_cast<gfx::Argb>(40 + 60 * row) << 8 | 0x80;
}

gfx::Argb CornerPixel(int x, int y) {
  return 0xFF000000 | static_cast<gfx::Argb>(10 + 100 * x) << 8 |
         static_cast<gfx::Argb>(10 + 70 * y);
}

gfx::Image NineGridPicture() {
  gfx::Bitmap b = gfx::Bitmap::create(9, 9);
  for (int y = 0; y < 9; ++y) {
    for (int x = 0; x < 9; ++x) {
      const int column = x < 2 ? 0 : x < 6 ? 1 : 2;
      const int row = y < 3 ? 0 : y < 5 ? 1 : 2;
      b.set_pixel(x, y, column == 0 && row == 0 ? CornerPixel(x, y) : PieceColour(column, row));
    }
  }
  return gfx::Image::still(std::move(b));
}

// Destination (5, 6, 20, 16): columns 5..6, 7..21, 22..24; rows 6..8, 9..17, 18..21.
constexpr RectF kDestination{5, 6, 20, 16};
constexpr int kDestColumn[] = {5, 7, 22, 25};
constexpr int kDestRow[] = {6, 9, 18, 22};

gfx::Bitmap DrawnNineGrid(std::optional<int> alpha) {
  const gfx::Image picture = NineGridPicture();
  gfx::Bitmap b = gfx::Bitmap::create(30, 26);
  gfx::Graphics g(b);
  DrawNineGrid(g, &picture, kDestination, kCentre, alpha);
  return b;
}

TEST(DrawNineGridTest, KeepsCornersAndStretchesEdgesAndMiddle) {
  const gfx::Bitmap b = DrawnNineGrid(std::nullopt);
  SaveForViewing(b, "nine_grid");
  EXPECT_EQ(gfx::testing_support::FindInk(b, 0).box, (gfx::Rect{5, 6, 25, 22}));
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 2; ++x) EXPECT_EQ(b.get_pixel(5 + x, 6 + y), CornerPixel(x, y));
  }
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) {
      if (row == 0 && column == 0) continue;
      int wrong = 0;
      for (int y = kDestRow[row]; y < kDestRow[row + 1]; ++y) {
        for (int x = kDestColumn[column]; x < kDestColumn[column + 1]; ++x) {
          wrong += b.get_pixel(x, y) != PieceColour(column, row);
        }
      }
      EXPECT_EQ(wrong, 0) << "piece " << column << ", " << row;
    }
  }
}

TEST(DrawNineGridTest, AlphaBelow255FadesEveryPiece) {
  struct Case {
    std::optional<int> alpha;
    int expected_alpha;
  };
  for (const Case& c : {Case{std::nullopt, 255}, Case{255, 255}, Case{300, 255}, Case{-1, 255},
                        Case{128, 128}, Case{0, 0}}) {
    const gfx::Bitmap b = DrawnNineGrid(c.alpha);
    const int shown = c.alpha ? *c.alpha : 999;
    SaveForViewing(b, "nine_grid_alpha_" + std::to_string(shown));
    for (int row = 0; row < 3; ++row) {
      for (int column = 0; column < 3; ++column) {
        const gfx::Argb p = b.get_pixel(kDestColumn[column], kDestRow[row]);
        EXPECT_NEAR(gfx::AlphaOf(p), c.expected_alpha, 1)
            << "alpha " << shown << " piece " << column << ", " << row;
        if (c.expected_alpha == 0 || (row == 0 && column == 0)) continue;
        EXPECT_NEAR(gfx::RedOf(p), gfx::RedOf(PieceColour(column, row)), 2);
        EXPECT_NEAR(gfx::GreenOf(p), gfx::GreenOf(PieceColour(column, row)), 2);
      }
    }
  }
}

TEST(DrawNineGridTest, MarginsOfZeroDropTheirPieces) {
  const gfx::Image picture = NineGridPicture();
  gfx::Bitmap b = gfx::Bitmap::create(30, 26);
  gfx::Graphics g(b);
  // The centre is the whole picture: only the middle piece, stretched over the destination.
  DrawNineGrid(g, &picture, {2, 2, 20, 20}, {0, 0, 9, 9});
  EXPECT_EQ(gfx::testing_support::FindInk(b, 0).box, (gfx::Rect{2, 2, 22, 22}));
  EXPECT_EQ(b.get_pixel(21, 21), PieceColour(2, 2));
  const gfx::Bitmap before = b.clone();
  DrawNineGrid(g, nullptr, {0, 0, 30, 26}, kCentre);  // no image: nothing
  EXPECT_TRUE(testing_support::SamePixels(b, before));
}

TEST(CloneImageAreaTest, CopiesTheAreaPixelForPixel) {
  const gfx::Image picture = NineGridPicture();
  struct Case {
    RectF area;
    bool copied;
  };
  for (const Case& c :
       {Case{{0, 0, 2, 3}, true}, Case{{0.9f, 0.7f, 2.9f, 3.5f}, true}, Case{{0, 0, 9, 9}, true},
        Case{{8, 8, 2, 1}, false}, Case{{-1, 0, 2, 2}, false}, Case{{0, 0, 0, 3}, false},
        // sizes and places no int holds, and sums that would overflow one
        Case{{3e9f, 0, 2, 2}, false}, Case{{0, 0, 3e9f, 1}, false},
        Case{{5, 5, 2147483000.0f, 1}, false},
        Case{{std::numeric_limits<float>::quiet_NaN(), 0, 2, 2}, false}}) {
    const ImagePtr copy = CloneImageArea(&picture, c.area);
    ASSERT_EQ(copy != nullptr, c.copied) << c.area.x << ", " << c.area.width;
    if (!copy) continue;
    const int w = static_cast<int>(c.area.width);
    const int h = static_cast<int>(c.area.height);
    EXPECT_EQ(copy->width(), w);
    EXPECT_EQ(copy->height(), h);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        EXPECT_EQ(copy->bitmap().get_pixel(x, y),
                  picture.bitmap().get_pixel(x + static_cast<int>(c.area.x),
                                             y + static_cast<int>(c.area.y)));
      }
    }
  }
  EXPECT_EQ(CloneImageArea(nullptr, {0, 0, 2, 2}), nullptr);
}

}  // namespace
}  // namespace directui
