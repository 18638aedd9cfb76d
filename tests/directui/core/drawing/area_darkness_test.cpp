#include "directui/core/area_darkness.h"

#include <gtest/gtest.h>

#include <limits>
#include <utility>
#include <vector>

namespace directui {
namespace {

namespace gfx = platform::gfx;

constexpr gfx::Argb kWhite = 0xFFFFFFFF;
constexpr gfx::Argb kBlack = 0xFF000000;

gfx::Bitmap Filled(int w, int h, gfx::Argb colour) {
  gfx::Bitmap b = gfx::Bitmap::create(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) b.set_pixel(x, y, colour);
  }
  return b;
}

// The nine sample points of a 10 x 10 area at the origin: 20, 50 and 80 per cent each way.
std::vector<std::pair<int, int>> SamplesOfTenByTen() {
  std::vector<std::pair<int, int>> points;
  for (int y : {2, 5, 8}) {
    for (int x : {2, 5, 8}) points.emplace_back(x, y);
  }
  return points;
}

TEST(IsAreaDarkTest, NeedsMoreThanFourDarkSamplesOfNine) {
  const std::vector<std::pair<int, int>> samples = SamplesOfTenByTen();
  for (int dark : {0, 4, 5, 9}) {
    gfx::Bitmap background = Filled(10, 10, kWhite);
    for (int i = 0; i < dark; ++i)
      background.set_pixel(samples[i].first, samples[i].second, kBlack);
    const HostBackground host{&background, 0xFFFFFF};
    EXPECT_EQ(IsAreaDark(host, {0, 0, 10, 10}), dark > 4) << dark << " dark samples";
  }
}

TEST(IsAreaDarkTest, ReadsOnlyTheSamplePoints) {
  // Dark everywhere but at the nine points.
  gfx::Bitmap background = Filled(10, 10, kBlack);
  for (auto [x, y] : SamplesOfTenByTen()) background.set_pixel(x, y, kWhite);
  EXPECT_FALSE(IsAreaDark(HostBackground{&background, 0}, {0, 0, 10, 10}));
}

TEST(IsAreaDarkTest, TruncatesTheSamplePositions) {
  // A 7-pixel area at (3, 3) samples at 3 + 1.4, 3 + 3.5 and 3 + 5.6, that is 4, 6 and 8;
  // rounding would read 4, 7 and 9 instead.
  gfx::Bitmap background = Filled(12, 12, kWhite);
  for (int y : {4, 6, 8}) {
    for (int x : {4, 6, 8}) background.set_pixel(x, y, kBlack);
  }
  EXPECT_TRUE(IsAreaDark(HostBackground{&background, 0xFFFFFF}, {3, 3, 7, 7}));
}

TEST(IsAreaDarkTest, SamplesOffTheBackgroundDoNotCountAsDark) {
  const gfx::Bitmap background = Filled(10, 10, kBlack);
  EXPECT_TRUE(IsAreaDark(HostBackground{&background, 0}, {0, 0, 10, 10}));
  // The samples fall at -22, -10 and 2 each way: only (2, 2) lies on the bitmap.
  EXPECT_FALSE(IsAreaDark(HostBackground{&background, 0}, {-30, -30, 40, 40}));
}

TEST(IsAreaDarkTest, AreasThatReachNoPixelAreNotDark) {
  const gfx::Bitmap background = Filled(10, 10, kBlack);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  for (const RectF& area : {RectF{nan, 0, 10, 10}, RectF{0, 0, nan, nan}, RectF{1e30f, 0, 10, 10},
                            RectF{0, 0, 1e30f, 1e30f}, RectF{-1e30f, -1e30f, 10, 10}}) {
    EXPECT_FALSE(IsAreaDark(HostBackground{&background, 0}, area)) << area.x << ", " << area.width;
  }
}

TEST(IsAreaDarkTest, WithoutABackgroundBitmapTheColourDecides) {
  struct Case {
    std::uint32_t colour;  // red in the low byte
    bool dark;
  };
  for (const Case& c : {Case{0xFFFFFF, false}, Case{0x808080, true}, Case{0x000000, true},
                        Case{0x00FFFF, false}, Case{0xFFFF00, true}}) {
    EXPECT_EQ(IsAreaDark(HostBackground{nullptr, c.colour}, {0, 0, 10, 10}), c.dark)
        << std::hex << c.colour;
    const gfx::Bitmap none;  // a background that was never made counts as none
    EXPECT_EQ(IsAreaDark(HostBackground{&none, c.colour}, {0, 0, 10, 10}), c.dark);
  }
}

TEST(IsAreaDarkTest, WithoutAHostIsNeverDark) {
  EXPECT_FALSE(IsAreaDark(std::nullopt, {0, 0, 10, 10}));
}

}  // namespace
}  // namespace directui
