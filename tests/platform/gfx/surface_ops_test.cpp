#include "platform/gfx/surface_ops.h"

#include <gtest/gtest.h>

#include <limits>

namespace platform::gfx {
namespace {

// Every pixel a colour of its own.
Argb ColorAt(int x, int y) {
  return MakeColor(255, static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 0x80);
}

Bitmap Numbered(int w, int h) {
  Bitmap b = Bitmap::create(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) b.set_pixel(x, y, ColorAt(x, y));
  }
  return b;
}

TEST(CopyAreaTest, CopiesPixelsAndAlphaAsTheyAre) {
  const Bitmap src = Numbered(8, 8);
  Bitmap dst = Bitmap::create(8, 8);
  dst.set_pixel(0, 0, 0xFFFFFFFF);
  Bitmap half = Bitmap::create(1, 1);
  half.set_pixel(0, 0, 0x40102030);
  CopyArea(dst, 5, 5, half, {0, 0, 1, 1});
  CopyArea(dst, 1, 2, src, {3, 4, 6, 6});
  EXPECT_EQ(dst.get_pixel(1, 2), ColorAt(3, 4));
  EXPECT_EQ(dst.get_pixel(3, 3), ColorAt(5, 5));
  EXPECT_EQ(dst.get_pixel(4, 2), 0u);  // right of the copied 3 x 2 block
  EXPECT_EQ(dst.get_pixel(0, 0), 0xFFFFFFFFu);
  // Semi-transparent pixels are copied, not blended.
  EXPECT_EQ(dst.pixels()[5 * dst.stride() / 4 + 5], half.pixels()[0]);
}

TEST(CopyAreaTest, LeavesOutWhatFallsOutsideEitherBitmap) {
  const Bitmap src = Numbered(4, 4);
  struct Case {
    int x, y;
    Rect area;
    Rect expected_block;  // in destination coordinates
  };
  for (const Case& c :
       {Case{-2, -1, {0, 0, 4, 4}, {0, 0, 2, 3}}, Case{4, 4, {0, 0, 4, 4}, {4, 4, 6, 6}},
        Case{0, 0, {-2, -2, 2, 2}, {2, 2, 4, 4}}, Case{9, 9, {0, 0, 4, 4}, {}}}) {
    Bitmap dst = Bitmap::create(6, 6);
    CopyArea(dst, c.x, c.y, src, c.area);
    for (int y = 0; y < 6; ++y) {
      for (int x = 0; x < 6; ++x) {
        const bool inside = x >= c.expected_block.left && x < c.expected_block.right &&
                            y >= c.expected_block.top && y < c.expected_block.bottom;
        const int sx = x - c.x + c.area.left;
        const int sy = y - c.y + c.area.top;
        ASSERT_EQ(dst.get_pixel(x, y), inside ? ColorAt(sx, sy) : 0u)
            << "case at " << c.x << "," << c.y << " pixel " << x << "," << y;
      }
    }
  }
}

TEST(CopyAreaTest, OverlappingCopyWithinOneBitmap) {
  for (auto [dx, dy] : {std::pair{2, 3}, {-2, -3}, {0, 1}, {0, -1}}) {
    Bitmap b = Numbered(10, 10);
    CopyArea(b, 3 + dx, 3 + dy, b, {3, 3, 7, 7});
    for (int y = 0; y < 4; ++y) {
      for (int x = 0; x < 4; ++x) {
        ASSERT_EQ(b.get_pixel(3 + dx + x, 3 + dy + y), ColorAt(3 + x, 3 + y))
            << dx << "," << dy << " at " << x << "," << y;
      }
    }
  }
}

TEST(CopyAreaTest, FarOffCornersCopyNothing) {
  const Bitmap src = Numbered(4, 4);
  Bitmap dst = Bitmap::create(4, 4);
  const int lo = std::numeric_limits<int>::min();
  const int hi = std::numeric_limits<int>::max();
  CopyArea(dst, lo, lo, src, {0, 0, 4, 4});
  CopyArea(dst, hi, 0, src, {0, 0, 4, 4});
  CopyArea(dst, 0, 0, src, {lo, lo, hi, hi});  // the whole source, placed far up-left
  AlphaBlendArea(dst, lo, hi, src, {0, 0, 4, 4}, 255, SourceAlpha::per_pixel);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) EXPECT_EQ(dst.get_pixel(x, y), 0u);
  }
}

TEST(AlphaBlendAreaTest, ConstantAlphaIgnoringSourceAlphaMixesEveryChannel) {
  Bitmap src = Bitmap::create(2, 1);
  src.set_pixel(0, 0, 0xFFFFFFFF);
  src.set_pixel(1, 0, 0x00000000);
  Bitmap dst = Bitmap::create(2, 1);
  dst.set_pixel(0, 0, 0xFF000000);
  dst.set_pixel(1, 0, 0xFFFFFFFF);
  AlphaBlendArea(dst, 0, 0, src, {0, 0, 2, 1}, 51, SourceAlpha::ignored);
  // 51 / 255 of the source: white over black gives 51, transparent over white takes alpha too.
  EXPECT_EQ(dst.pixels()[0], 0xFF333333u);
  EXPECT_EQ(dst.pixels()[1], 0xCCCCCCCCu);
}

TEST(AlphaBlendAreaTest, PerPixelAlphaComposesOver) {
  Bitmap src = Bitmap::create(3, 1);
  src.set_pixel(0, 0, 0xFFFFFFFF);
  src.set_pixel(1, 0, 0x00FFFFFF);
  src.set_pixel(2, 0, 0x80FF0000);
  Bitmap dst = Bitmap::create(3, 1);
  for (int x = 0; x < 3; ++x) dst.set_pixel(x, 0, 0xFF0000FF);
  AlphaBlendArea(dst, 0, 0, src, {0, 0, 3, 1}, 255, SourceAlpha::per_pixel);
  EXPECT_EQ(dst.get_pixel(0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(dst.get_pixel(1, 0), 0xFF0000FFu);  // a transparent source leaves it
  const Argb mixed = dst.get_pixel(2, 0);
  EXPECT_EQ(AlphaOf(mixed), 255);
  EXPECT_NEAR(RedOf(mixed), 128, 1);
  EXPECT_NEAR(BlueOf(mixed), 127, 1);
  // With a constant alpha as well, the source counts that much less.
  Bitmap faded = Bitmap::create(1, 1);
  faded.set_pixel(0, 0, 0xFF000000);
  AlphaBlendArea(faded, 0, 0, src, {0, 0, 1, 1}, 102, SourceAlpha::per_pixel);
  EXPECT_NEAR(RedOf(faded.get_pixel(0, 0)), 102, 1);
}

TEST(AlphaBlendAreaTest, FiveFadeStepsEndOnTheNewPicture) {
  Bitmap next = Bitmap::create(1, 1);
  next.set_pixel(0, 0, 0xFF20C040);
  Bitmap shown = Bitmap::create(1, 1);
  shown.set_pixel(0, 0, 0xFFFFFFFF);
  for (int alpha = 51; alpha <= 255; alpha += 51) {
    AlphaBlendArea(shown, 0, 0, next, {0, 0, 1, 1}, static_cast<std::uint8_t>(alpha),
                   SourceAlpha::ignored);
  }
  EXPECT_EQ(shown.get_pixel(0, 0), 0xFF20C040u);
}

}  // namespace
}  // namespace platform::gfx
