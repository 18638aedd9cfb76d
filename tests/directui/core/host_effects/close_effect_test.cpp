// The close effect WM_CLOSE plays, frame by frame, on the headless display.
#include <vector>

#include <gmock/gmock.h>

#include "effects_fixture.h"

namespace directui::effects_testing {
namespace {

using ::testing::Each;
using ::testing::ElementsAre;

// Shows the host without an effect, then closes it with `effect`; the frames of the close.
class CloseTest : public EffectsTest {
 protected:
  std::vector<os::headless::LayeredFrame> Close(int effect, bool layered = false) {
    MakeHost(layered);
    host.Show();
    host.SetCloseEffect(effect);
    display.clear_layered_frames(window);
    desktop.send_message(window, os::WM_CLOSE, 0, 0);
    return Frames();
  }
};

TEST_F(CloseTest, FadeTakesFifteenFramesDown17EachAndEndsTransparentAndHidden) {
  const auto frames = Close(1);
  // The whole picture first, the fifteen steps, then nothing.
  ASSERT_EQ(frames.size(), 17u);
  std::vector<int> alphas;
  for (std::size_t i = 1; i <= 15; ++i) {
    alphas.push_back(AlphaAt(frames[i], 150, 125));
    EXPECT_EQ(AlphaAt(frames[i], 0, 0), alphas.back());
  }
  EXPECT_THAT(alphas,
              ElementsAre(238, 221, 204, 187, 170, 153, 136, 119, 102, 85, 68, 51, 34, 17, 0));
  EXPECT_EQ(AlphaAt(frames[0], 150, 125), 255);
  EXPECT_EQ(PaintedBounds(frames.back()), InkBox{});
  EXPECT_THAT(Gaps(frames, 1), Each(10));
  // A window that was not layered stays layered, fully transparent, and is hidden.
  EXPECT_FALSE(desktop.is_visible(window));
  EXPECT_TRUE(Layered());
  EXPECT_EQ(display.window(window)->content.at(150, 125), 0u);
  EXPECT_EQ(host.busy, 0);
}

TEST_F(CloseTest, ZoomSwellsThenShrinksToTheCentre) {
  const auto frames = Close(2);
  ASSERT_EQ(frames.size(), 22u);
  for (int i = 1; i <= 20; ++i) {
    SCOPED_TRACE("frame " + std::to_string(i));
    const auto& f = frames[static_cast<std::size_t>(i)];
    EXPECT_EQ(AlphaAt(f, 150, 125), 255 - 12 * i);
    // Larger than the window up to frame 8; from then on one pixel less on every side a frame.
    const int inset = std::max(0, i - 8);
    EXPECT_EQ(PaintedBounds(f), (InkBox{inset, inset, kWidth - inset, kHeight - inset}));
  }
  EXPECT_THAT(Gaps(frames, 1), ElementsAre(15, 14, 13, 12, 11, 10, 10, 10, 10, 10, 10, 10, 10, 10,
                                           10, 10, 10, 10, 10, 10));
  EXPECT_EQ(PaintedBounds(frames.back()), InkBox{});
  EXPECT_FALSE(desktop.is_visible(window));
}

TEST_F(CloseTest, ZoomInTheCentreShrinksByATenthAndFades) {
  const auto frames = Close(7);
  ASSERT_EQ(frames.size(), 17u);
  // trunc (300 × 0.1 / 15) = 2 columns and trunc (250 × 0.1 / 15) = 1 row a frame.
  for (int i = 1; i < 15; ++i) {
    SCOPED_TRACE("frame " + std::to_string(i));
    const auto& f = frames[static_cast<std::size_t>(i)];
    const int x = 2 * (i - 1);
    const int y = i - 1;
    EXPECT_EQ(PaintedBounds(f), (InkBox{x, y, kWidth - x, kHeight - y}));
    EXPECT_EQ(AlphaAt(f, 150, 125), 255 - 17 * i);
  }
  EXPECT_EQ(PaintedBounds(frames[15]), InkBox{});  // alpha 0
  EXPECT_THAT(Gaps(frames, 1), ElementsAre(12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 1, 1, 1));
}

struct WipeCase {
  const char* name;
  int effect;
  // Frame 5: alpha 170, 5 steps of 20 columns (300 / 15) or 16 rows (250 / 15) gone.
  std::vector<std::pair<int, int>> gone;   // points already transparent
  std::vector<std::pair<int, int>> solid;  // points still at 170
};

class CloseWipeTest : public CloseTest, public ::testing::WithParamInterface<WipeCase> {};

TEST_P(CloseWipeTest, VanishesFromTheStartEdgeInFifteenFramesOf8Ms) {
  const WipeCase& c = GetParam();
  const auto frames = Close(c.effect);
  ASSERT_EQ(frames.size(), 17u);
  for (auto [x, y] : c.gone) EXPECT_EQ(AlphaAt(frames[5], x, y), 0) << x << ", " << y;
  for (auto [x, y] : c.solid) EXPECT_EQ(AlphaAt(frames[5], x, y), 170) << x << ", " << y;
  EXPECT_THAT(Gaps(frames, 1), Each(8));
  EXPECT_EQ(PaintedBounds(frames[15]), InkBox{});
  EXPECT_EQ(PaintedBounds(frames.back()), InkBox{});
  EXPECT_FALSE(desktop.is_visible(window));
}

INSTANTIATE_TEST_SUITE_P(
    Wipes, CloseWipeTest,
    ::testing::Values(
        WipeCase{"left_part_first", 3, {{0, 9}, {99, 9}, {100, 200}}, {{201, 9}, {299, 200}}},
        WipeCase{"right_part_first", 4, {{299, 9}, {201, 9}, {200, 200}}, {{100, 9}, {1, 200}}},
        WipeCase{"top_part_first", 5, {{9, 0}, {9, 79}, {200, 80}}, {{9, 181}, {200, 249}}},
        WipeCase{"bottom_part_first", 6, {{9, 249}, {9, 171}, {200, 170}}, {{9, 69}, {200, 1}}}),
    [](const auto& info) { return info.param.name; });

TEST_F(CloseTest, NoEffectChangesNothingBeforeHiding) {
  const auto frames = Close(0);
  EXPECT_TRUE(frames.empty());
  EXPECT_FALSE(Layered());
  EXPECT_FALSE(desktop.is_visible(window));
}

TEST_F(CloseTest, LayeredWindowClosesTheSameWay) {
  const auto frames = Close(1, true);
  ASSERT_EQ(frames.size(), 17u);
  EXPECT_EQ(AlphaAt(frames[1], 150, 125), 238);
  EXPECT_TRUE(Layered());
  EXPECT_FALSE(desktop.is_visible(window));
}

}  // namespace
}  // namespace directui::effects_testing
