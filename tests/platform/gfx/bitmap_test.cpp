#include "platform/gfx/bitmap.h"

#include <gtest/gtest.h>

namespace platform::gfx {
namespace {

TEST(BitmapTest, CreatesTransparentArgbPixels) {
  Bitmap b = Bitmap::create(7, 3);
  ASSERT_FALSE(b.empty());
  EXPECT_EQ(b.width(), 7);
  EXPECT_EQ(b.height(), 3);
  EXPECT_GE(b.stride(), 7 * 4);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 7; ++x) EXPECT_EQ(b.pixels()[y * b.stride() / 4 + x], 0u);
  }
}

TEST(BitmapTest, RefusesSizesItCannotHold) {
  for (auto [w, h] : {std::pair{0, 5}, {5, 0}, {-3, 4}, {4, -3}, {100000, 2}, {20000, 20000}}) {
    EXPECT_TRUE(Bitmap::create(w, h).empty()) << w << " x " << h;
  }
  Bitmap empty;
  EXPECT_EQ(empty.width(), 0);
  EXPECT_EQ(empty.pixels(), nullptr);
  EXPECT_EQ(empty.get_pixel(0, 0), 0u);
}

TEST(BitmapTest, StoresPremultipliedAndReadsStraight) {
  Bitmap b = Bitmap::create(4, 1);
  b.set_pixel(0, 0, 0x80FF0000);
  b.set_pixel(1, 0, 0xFF123456);
  b.set_pixel(2, 0, 0x00FFFFFF);
  // The memory holds what the window system composes: colour scaled by alpha.
  EXPECT_EQ(b.pixels()[0], 0x80800000u);
  EXPECT_EQ(b.pixels()[1], 0xFF123456u);
  EXPECT_EQ(b.pixels()[2], 0u);
  EXPECT_EQ(b.get_pixel(0, 0), 0x80FF0000u);
  EXPECT_EQ(b.get_pixel(1, 0), 0xFF123456u);
  // Outside the bitmap nothing is read or written.
  b.set_pixel(4, 0, 0xFFFFFFFF);
  b.set_pixel(-1, 0, 0xFFFFFFFF);
  EXPECT_EQ(b.get_pixel(4, 0), 0u);
  EXPECT_EQ(b.get_pixel(3, 0), 0u);
}

TEST(BitmapTest, CloneAreaCopiesOnlyAreasInside) {
  Bitmap b = Bitmap::create(6, 6);
  b.set_pixel(2, 3, 0xFF00FF00);
  b.set_pixel(4, 4, 0xFF0000FF);
  Bitmap part = b.clone_area({2, 3, 5, 5});
  ASSERT_FALSE(part.empty());
  EXPECT_EQ(part.width(), 3);
  EXPECT_EQ(part.height(), 2);
  EXPECT_EQ(part.get_pixel(0, 0), 0xFF00FF00u);
  EXPECT_EQ(part.get_pixel(2, 1), 0xFF0000FFu);
  // The copy is independent of the original.
  b.set_pixel(2, 3, 0);
  EXPECT_EQ(part.get_pixel(0, 0), 0xFF00FF00u);
  EXPECT_TRUE(b.clone_area({4, 4, 7, 6}).empty());
  EXPECT_TRUE(b.clone_area({-1, 0, 2, 2}).empty());
  EXPECT_TRUE(b.clone_area({2, 2, 2, 4}).empty());
  EXPECT_EQ(b.clone().get_pixel(4, 4), 0xFF0000FFu);
}

}  // namespace
}  // namespace platform::gfx
