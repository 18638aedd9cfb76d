// Single wipe frames on pictures one or two lines thick, for every direction.
#include <string>
#include <vector>

#include <gmock/gmock.h>

#include "directui/core/wipe_frames.h"
#include "effects_fixture.h"
#include "platform/gfx/surface_ops.h"

namespace directui::effects_testing {
namespace {

struct Probe {
  int x;
  int y;
  int alpha;
};

// Probes of a wipe across 120 columns of a 120 × 2 picture; the same along rows of a 2 × 120
// one.
std::vector<Probe> Transposed(std::vector<Probe> probes) {
  for (Probe& p : probes) std::swap(p.x, p.y);
  return probes;
}

// Every line a colour of its own, opaque.
gfx::Bitmap Lines(int w, int h) {
  gfx::Bitmap b = gfx::Bitmap::create(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x)
      b.set_pixel(
          x, y,
          gfx::MakeColor(255, static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 0x40));
  }
  return b;
}

int AlphaOf(const gfx::Bitmap& b, int x, int y) {
  return static_cast<int>(b.get_pixel(x, y) >> 24);
}

struct WipeCase {
  const char* name;
  bool opening;
  int effect;
  std::vector<Probe> probes;  // alpha 200, offset 10
};

// Opening from the left: 10 columns revealed, the soft edge from column 10 to 109.
const std::vector<Probe> kInFromLeft = {{0, 0, 200}, {9, 1, 200}, {10, 0, 200}, {59, 0, 102},
                                        {109, 1, 2}, {110, 0, 0}, {119, 1, 0}};
const std::vector<Probe> kInFromRight = {{119, 0, 200}, {110, 1, 200}, {109, 0, 200}, {60, 0, 102},
                                         {10, 1, 2},    {9, 0, 0},     {0, 1, 0}};
// Closing with the left part first: 10 columns gone, 110 left, the 100 towards the gap fading.
const std::vector<Probe> kOutLeftFirst = {{0, 0, 0},     {9, 1, 0},    {10, 0, 0},
                                          {11, 0, 2},    {60, 1, 100}, {110, 0, 200},
                                          {111, 1, 200}, {119, 0, 200}};
// The right part first: the picture is drawn from column 1, so column 0 stays empty.
const std::vector<Probe> kOutRightFirst = {{0, 0, 0},    {1, 1, 200}, {9, 0, 200}, {10, 0, 200},
                                           {60, 1, 100}, {109, 0, 2}, {110, 1, 0}, {119, 0, 0}};

class WipeFrameTest : public ::testing::TestWithParam<WipeCase> {};

TEST_P(WipeFrameTest, DrawsEachLineFromItsOwnPlaceAtItsAlpha) {
  const WipeCase& c = GetParam();
  const bool columns = c.effect == 3 || c.effect == 4;
  const int w = columns ? 120 : 2;
  const int h = columns ? 2 : 120;
  const gfx::Bitmap source = Lines(w, h);
  gfx::Bitmap target = gfx::Bitmap::create(w, h);
  if (c.opening) {
    WipeInFrame(source, target, w, h, 200, 10, c.effect);
  } else {
    WipeOutFrame({}, source, target, w, h, 200, 10, c.effect, 1, 7);
  }
  for (const Probe& p : c.probes) {
    SCOPED_TRACE("at " + std::to_string(p.x) + ", " + std::to_string(p.y));
    EXPECT_EQ(AlphaOf(target, p.x, p.y), p.alpha);
    if (p.alpha < 200) continue;
    const gfx::Argb want = source.get_pixel(p.x, p.y);
    const gfx::Argb got = target.get_pixel(p.x, p.y);
    for (int shift : {0, 8, 16})
      EXPECT_NEAR(static_cast<int>((got >> shift) & 0xFF), static_cast<int>((want >> shift) & 0xFF),
                  1);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Directions, WipeFrameTest,
    ::testing::Values(WipeCase{"in_from_the_left", true, 3, kInFromLeft},
                      WipeCase{"in_from_the_right", true, 4, kInFromRight},
                      WipeCase{"in_from_the_top", true, 5, Transposed(kInFromLeft)},
                      WipeCase{"in_from_the_bottom", true, 6, Transposed(kInFromRight)},
                      WipeCase{"out_left_part_first", false, 3, kOutLeftFirst},
                      WipeCase{"out_right_part_first", false, 4, kOutRightFirst},
                      WipeCase{"out_top_part_first", false, 5, Transposed(kOutLeftFirst)},
                      WipeCase{"out_bottom_part_first", false, 6, Transposed(kOutRightFirst)}),
    [](const auto& info) { return info.param.name; });

TEST(WipeFrameLimitsTest, OffsetsSizesAndAlphasOutOfRangeAreHeldWithin) {
  const gfx::Bitmap source = Lines(120, 2);
  const auto wiped_in = [&](int w, int h, int alpha, int offset) {
    gfx::Bitmap target = gfx::Bitmap::create(120, 2);
    WipeInFrame(source, target, w, h, alpha, offset, 3);
    return target;
  };
  // Everything revealed, and no soft edge past the picture.
  const gfx::Bitmap all = wiped_in(120, 2, 200, 500);
  EXPECT_EQ(AlphaOf(all, 0, 0), 200);
  EXPECT_EQ(AlphaOf(all, 119, 1), 200);
  // A negative offset reveals nothing; the soft edge starts at the edge.
  const gfx::Bitmap none = wiped_in(120, 2, 200, -30);
  EXPECT_EQ(AlphaOf(none, 0, 0), 200);
  EXPECT_EQ(AlphaOf(none, 1, 0), 198);
  EXPECT_EQ(AlphaOf(wiped_in(120, 2, 999, 10), 5, 0), 255);
  EXPECT_EQ(AlphaOf(wiped_in(120, 2, -50, 10), 5, 0), 0);
  EXPECT_EQ(AlphaOf(wiped_in(0, 2, 200, 10), 5, 0), 0);
  // A picture larger than the source: what the source lacks stays empty.
  gfx::Bitmap wide = gfx::Bitmap::create(300, 2);
  WipeInFrame(source, wide, 300, 2, 200, 250, 3);
  EXPECT_EQ(AlphaOf(wide, 119, 0), 200);
  EXPECT_EQ(AlphaOf(wide, 120, 0), 0);

  gfx::Bitmap gone = gfx::Bitmap::create(120, 2);
  WipeOutFrame({}, source, gone, 120, 2, 200, 500, 3, 0, 7);
  EXPECT_EQ(AlphaOf(gone, 119, 0), 0);
  WipeOutFrame({}, source, gone, 120, -2, 200, 0, 3, 0, 7);
  EXPECT_EQ(AlphaOf(gone, 119, 0), 0);
}

TEST(WipeFrameLimitsTest, SoftEdgeAlphaIsTheExactTruncatedShare) {
  // 58 / 100 × 50 is 29 exactly; a floating 0.58 falls just short of it.
  const gfx::Bitmap source = Lines(120, 2);
  gfx::Bitmap opening = gfx::Bitmap::create(120, 2);
  WipeInFrame(source, opening, 120, 2, 58, 10, 3);
  EXPECT_EQ(AlphaOf(opening, 60, 0), 29);
  gfx::Bitmap closing = gfx::Bitmap::create(120, 2);
  WipeOutFrame({}, source, closing, 120, 2, 58, 10, 3, 0, 7);
  EXPECT_EQ(AlphaOf(closing, 60, 0), 29);
}

TEST_F(EffectsTest, ClosingWipeFrameShowsTheTargetOnTheWindow) {
  MakeHost(true, 120, 2);
  const gfx::Bitmap source = Lines(120, 2);
  gfx::Bitmap target = gfx::Bitmap::create(120, 2);
  WipeOutFrame(host.window, source, target, 120, 2, 200, 10, 4, 1, 7);
  const auto frames = Frames();
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].pixels.at(1, 0), target.pixels()[1]);
  EXPECT_EQ(AlphaAt(frames[0], 1, 0), 200);
}

}  // namespace
}  // namespace directui::effects_testing
