#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "platform/gfx/surface_ops.h"

namespace platform::gfx {
namespace {

// Every pixel a colour of its own, so a stretch shows which source pixel went where.
Argb ColorAt(int x, int y) {
  return MakeColor(255, static_cast<std::uint8_t>(10 + x), static_cast<std::uint8_t>(10 + y), 0x80);
}

Bitmap Numbered(int w, int h) {
  Bitmap b = Bitmap::create(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) b.set_pixel(x, y, ColorAt(x, y));
  }
  return b;
}

// Which source pixel each destination pixel of a row or column shows; -1 for none.
std::vector<int> SourceColumns(const Bitmap& b, int y) {
  std::vector<int> out;
  for (int x = 0; x < b.width(); ++x) {
    const Argb c = b.get_pixel(x, y);
    out.push_back(c == 0 ? -1 : static_cast<int>((c >> 16) & 0xFF) - 10);
  }
  return out;
}

std::vector<int> SourceRows(const Bitmap& b, int x) {
  std::vector<int> out;
  for (int y = 0; y < b.height(); ++y) {
    const Argb c = b.get_pixel(x, y);
    out.push_back(c == 0 ? -1 : static_cast<int>((c >> 8) & 0xFF) - 10);
  }
  return out;
}

struct StretchCase {
  const char* name;
  RectF target;
  Rect area;
  std::vector<int> columns;  // along row 0 of a 6-pixel-wide destination
  std::vector<int> rows;     // along the first drawn column of a 4-pixel-high destination
};

class StretchBlendTest : public ::testing::TestWithParam<StretchCase> {};

TEST_P(StretchBlendTest, EachPixelTakesTheNearestSourcePixel) {
  const StretchCase& c = GetParam();
  const Bitmap src = Numbered(4, 4);
  Bitmap dst = Bitmap::create(6, 4);
  StretchBlendArea(dst, c.target, src, c.area, 255);
  const int first_column = std::max(0, static_cast<int>(std::ceil(c.target.x - 0.5f)));
  const int first_row = std::max(0, static_cast<int>(std::ceil(c.target.y - 0.5f)));
  EXPECT_EQ(SourceColumns(dst, first_row), c.columns);
  EXPECT_EQ(SourceRows(dst, first_column), c.rows);
}

INSTANTIATE_TEST_SUITE_P(
    Targets, StretchBlendTest,
    ::testing::Values(
        StretchCase{"same_size", {1, 0, 4, 4}, {0, 0, 4, 4}, {-1, 0, 1, 2, 3, -1}, {0, 1, 2, 3}},
        StretchCase{"doubled", {0, 0, 6, 4}, {1, 1, 4, 3}, {1, 1, 2, 2, 3, 3}, {1, 1, 2, 2}},
        StretchCase{"halved", {0, 0, 2, 2}, {0, 0, 4, 4}, {1, 3, -1, -1, -1, -1}, {1, 3, -1, -1}},
        // Pixels count when their centres lie inside: 1.5 .. 3.5 takes pixels 1 and 2.
        StretchCase{
            "fractional", {1.5f, 0.5f, 2, 2}, {0, 0, 2, 2}, {-1, 0, 1, -1, -1, -1}, {0, 1, -1, -1}},
        // Larger than the destination on every side: only what lands inside is drawn.
        StretchCase{"enlarged_past_the_edges",
                    {-0.75f, -0.75f, 7.5f, 5.5f},
                    {0, 0, 4, 4},
                    {0, 1, 1, 2, 2, 3},
                    {0, 1, 2, 3}},
        StretchCase{"shifted_off_the_left",
                    {-3, 0, 6, 4},
                    {0, 0, 4, 4},
                    {2, 3, 3, -1, -1, -1},
                    {0, 1, 2, 3}}),
    [](const auto& info) { return info.param.name; });

TEST(StretchBlendAlphaTest, BlendsOverTheDestinationAtTheConstantAlpha) {
  Bitmap src = Bitmap::create(1, 1);
  src.set_pixel(0, 0, 0xFFFF0000);
  Bitmap dst = Bitmap::create(4, 2);
  for (int x = 0; x < 4; ++x) dst.set_pixel(x, 1, 0xFF0000FF);
  StretchBlendArea(dst, {0, 0, 4, 2}, src, {0, 0, 1, 1}, 102);
  // Over transparency the result is the source at 102 / 255; over blue the two mix.
  EXPECT_EQ(dst.pixels()[0], 0x66660000u);
  EXPECT_EQ(dst.pixels()[dst.stride() / 4], 0xFF660099u);
}

TEST(StretchBlendAlphaTest, MatchesTheUnstretchedBlendAtTheSameSize) {
  Bitmap src = Numbered(5, 3);
  src.set_pixel(2, 1, 0x80402010);
  Bitmap stretched = Numbered(5, 3);
  Bitmap plain = Numbered(5, 3);
  const Bitmap top = Numbered(5, 3);
  StretchBlendArea(stretched, {0, 0, 5, 3}, src, {0, 0, 5, 3}, 77);
  AlphaBlendArea(plain, 0, 0, src, {0, 0, 5, 3}, 77, SourceAlpha::per_pixel);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) EXPECT_EQ(stretched.get_pixel(x, y), plain.get_pixel(x, y));
  }
  EXPECT_NE(stretched.get_pixel(2, 1), top.get_pixel(2, 1));
}

TEST(StretchBlendAlphaTest, RefusesWhatCannotBeDrawn) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  const Bitmap src = Numbered(4, 4);
  struct Bad {
    RectF target;
    Rect area;
  };
  for (const Bad& bad : {Bad{{0, 0, 0, 4}, {0, 0, 4, 4}}, Bad{{0, 0, 4, -1}, {0, 0, 4, 4}},
                         Bad{{nan, 0, 4, 4}, {0, 0, 4, 4}}, Bad{{0, 0, inf, 4}, {0, 0, 4, 4}},
                         Bad{{0, 0, 4, 4}, {2, 2, 6, 6}}, Bad{{0, 0, 4, 4}, {-1, 0, 3, 4}},
                         Bad{{0, 0, 4, 4}, {1, 1, 1, 3}}}) {
    Bitmap dst = Bitmap::create(4, 4);
    StretchBlendArea(dst, bad.target, src, bad.area, 255);
    for (int y = 0; y < 4; ++y) {
      for (int x = 0; x < 4; ++x) ASSERT_EQ(dst.get_pixel(x, y), 0u) << x << "," << y;
    }
  }
  Bitmap same = Numbered(4, 4);
  StretchBlendArea(same, {0, 0, 2, 2}, same, {0, 0, 4, 4}, 255);
  EXPECT_EQ(same.get_pixel(1, 1), ColorAt(1, 1));
  // A target far beyond drawing range neither loops for ever nor draws.
  Bitmap dst = Bitmap::create(4, 4);
  StretchBlendArea(dst, {1e30f, 0, 1e30f, 4}, src, {0, 0, 4, 4}, 255);
  EXPECT_EQ(dst.get_pixel(3, 0), 0u);
}

}  // namespace
}  // namespace platform::gfx
