// Show and its opening effects, frame by frame, on the headless display.
#include <string>
#include <vector>

#include <gmock/gmock.h>

#include "directui/core/effect_pause.h"
#include "effects_fixture.h"

namespace directui::effects_testing {
namespace {

using ::testing::Each;
using ::testing::ElementsAre;

// Frames of an opening: the blank one shown before the window appears, ten steps, the whole
// picture.
constexpr std::size_t kOpenFrames = 12;

TEST_F(EffectsTest, WipeFromTheTopRevealsTenStepsOf20MsWithASoftEdge) {
  MakeHost(false);
  host.Show(5);
  const auto frames = Frames();
  ASSERT_EQ(frames.size(), kOpenFrames);
  EXPECT_EQ(PaintedBounds(frames[0]), InkBox{});
  EXPECT_EQ(PaintedBounds(frames[1]), InkBox{});  // step 1 is at alpha 0
  EXPECT_THAT(Gaps(frames), ElementsAre(0, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20));

  // Step i reveals 25 (i − 1) rows at alpha 25 (i − 1), then 100 rows fading out.
  for (int i = 2; i <= 10; ++i) {
    SCOPED_TRACE("step " + std::to_string(i));
    const auto& f = frames[static_cast<std::size_t>(i)];
    const int a = 25 * (i - 1);
    const int d = 25 * (i - 1);
    const auto expect_row = [&](int y, int alpha) {
      if (y < kHeight) {
        EXPECT_EQ(AlphaAt(f, 10 * i, y), alpha) << "row " << y;
      }
    };
    expect_row(0, a);
    expect_row(d - 1, a);
    expect_row(d, a);                  // the soft edge's first row
    expect_row(d + 50, a * 50 / 100);  // halfway
    expect_row(d + 99, a / 100);       // its last row
    expect_row(d + 100, 0);
    expect_row(kHeight - 1, d + 100 < kHeight ? 0 : a * (101 - (kHeight - d)) / 100);
    for (int y = d; y < std::min(d + 100, kHeight) - 1; ++y)
      ASSERT_GE(AlphaAt(f, 7, y), AlphaAt(f, 7, y + 1)) << "row " << y;
    ASSERT_EQ(AlphaAt(f, 0, d + 20), AlphaAt(f, kWidth - 1, d + 20));  // level across
  }

  // The last frame is the whole picture at full opacity; the window ends shown as it was, not
  // layered, with its picture presented and the host idle.
  EXPECT_EQ(PaintedBounds(frames.back()), (InkBox{0, 0, kWidth, kHeight}));
  EXPECT_EQ(AlphaAt(frames.back(), 0, 0), 255);
  EXPECT_EQ(AlphaAt(frames.back(), 299, 249), 255);
  EXPECT_TRUE(desktop.is_visible(window));
  EXPECT_FALSE(Layered());
  EXPECT_EQ(display.window_pixels(window).at(150, 125), kPicture);
  EXPECT_EQ(host.busy, 0);
}

struct Probe {
  int x;
  int y;
  int alpha;
};

struct OpenCase {
  const char* name;
  int effect;
  std::vector<int> gaps;        // after each of the ten steps
  std::vector<Probe> at_step6;  // alpha 125; wipes have revealed 5 of 10 steps
};

const std::vector<int> k20MsSteps(10, 20);

// A wipe from the bottom at step 6: 125 rows revealed, the soft edge's first, middle and last
// row, and beyond it.
const std::vector<Probe> kFromTheBottom = {{9, 249, 125}, {9, 125, 125}, {9, 124, 125},
                                           {9, 74, 62},   {9, 25, 1},    {9, 24, 0}};

class OpenEffectTest : public EffectsTest, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(OpenEffectTest, StepsFromInvisibleToTheWholePicture) {
  const OpenCase& c = GetParam();
  MakeHost(false);
  host.Show(c.effect);
  const auto frames = Frames();
  ASSERT_EQ(frames.size(), kOpenFrames);
  EXPECT_EQ(PaintedBounds(frames[0]), InkBox{});
  EXPECT_EQ(PaintedBounds(frames[1]), InkBox{});
  EXPECT_EQ(Gaps(frames, 1), c.gaps);
  for (const Probe& p : c.at_step6)
    EXPECT_EQ(AlphaAt(frames[6], p.x, p.y), p.alpha) << "at " << p.x << ", " << p.y;
  EXPECT_EQ(PaintedBounds(frames.back()), (InkBox{0, 0, kWidth, kHeight}));
  EXPECT_EQ(AlphaAt(frames.back(), 150, 125), 255);
  EXPECT_FALSE(Layered());
  EXPECT_EQ(host.busy, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Effects, OpenEffectTest,
    ::testing::Values(
        OpenCase{"fade", 1, k20MsSteps, {{150, 125, 125}, {0, 0, 125}, {299, 249, 125}}},
        // A tenth of the size shrinks away in ten steps of (3, 2) pixels; waits 10 down to 1.
        OpenCase{"zoom_in_the_centre",
                 7,
                 {10, 9, 8, 7, 6, 5, 4, 3, 2, 1},
                 {{11, 125, 0},
                  {12, 125, 125},
                  {287, 125, 125},
                  {288, 125, 0},
                  {150, 7, 0},
                  {150, 8, 125},
                  {150, 241, 125},
                  {150, 242, 0}}},
        OpenCase{
            "from_the_left",
            3,
            k20MsSteps,
            {{0, 9, 125}, {149, 9, 125}, {150, 9, 125}, {200, 9, 62}, {249, 9, 1}, {250, 9, 0}}},
        OpenCase{
            "from_the_right",
            4,
            k20MsSteps,
            {{299, 9, 125}, {150, 9, 125}, {149, 9, 125}, {99, 9, 62}, {50, 9, 1}, {49, 9, 0}}},
        OpenCase{
            "from_the_top",
            5,
            k20MsSteps,
            {{9, 0, 125}, {9, 124, 125}, {9, 125, 125}, {9, 175, 62}, {9, 224, 1}, {9, 225, 0}}},
        OpenCase{"from_the_bottom", 6, k20MsSteps, kFromTheBottom},
        OpenCase{"zoom_opens_from_the_bottom", 2, k20MsSteps, kFromTheBottom},
        OpenCase{"other_numbers_open_from_the_bottom", 99, k20MsSteps, kFromTheBottom}),
    [](const auto& info) { return info.param.name; });

TEST_F(EffectsTest, LayeredWindowStaysLayeredAndEndsOnItsPicture) {
  MakeHost(true);
  host.Show(1);
  const auto frames = Frames();
  // The opening, then the presentation of the whole picture that follows it.
  ASSERT_EQ(frames.size(), kOpenFrames + 1);
  EXPECT_EQ(AlphaAt(frames[kOpenFrames - 1], 150, 125), 255);
  EXPECT_EQ(frames.back().pixels.at(150, 125), kPicture);
  EXPECT_TRUE(Layered());
  EXPECT_TRUE(desktop.is_visible(window));
  EXPECT_EQ(host.busy, 0);
}

struct DurationCase {
  const char* name;
  std::optional<int> duration;
  int step_ms;
};

class OpenDurationTest : public EffectsTest, public ::testing::WithParamInterface<DurationCase> {};

TEST_P(OpenDurationTest, EachStepTakesATenthOfTheDuration) {
  MakeHost(false);
  host.Show(3, GetParam().duration);
  const auto frames = Frames();
  ASSERT_EQ(frames.size(), kOpenFrames);
  EXPECT_THAT(Gaps(frames, 1), Each(GetParam().step_ms));
}

INSTANTIATE_TEST_SUITE_P(Durations, OpenDurationTest,
                         ::testing::Values(DurationCase{"not_given", std::nullopt, 20},
                                           DurationCase{"zero", 0, 0}, DurationCase{"fifty", 50, 5},
                                           DurationCase{"truncated", 75, 7},
                                           DurationCase{"negative", -40, 0}),
                         [](const auto& info) { return info.param.name; });

TEST_F(EffectsTest, WithoutAnEffectTheWindowShowsAtOnce) {
  for (std::optional<int> effect : {std::optional<int>{}, std::optional<int>{0}}) {
    MakeHost(false);
    host.Show(effect);
    EXPECT_TRUE(Frames().empty());
    EXPECT_TRUE(desktop.is_visible(window));
    EXPECT_FALSE(Layered());
    EXPECT_EQ(display.window_pixels(window).at(150, 125), kPicture);
    desktop.destroy_window(window);
  }
}

}  // namespace
}  // namespace directui::effects_testing
