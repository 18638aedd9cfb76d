#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "directui/core/transition_frames.h"
#include "test_host.h"

namespace directui {
namespace {

using element_testing::kBackground;
using element_testing::ProbeElement;
using element_testing::Screen;
using element_testing::TestHost;
namespace gfx = platform::gfx;
namespace os = platform::os;

constexpr gfx::Argb kRed = 0xFFFF0000;
constexpr gfx::Argb kBlue = 0xFF0000FF;
constexpr gfx::Argb kGreen = 0xFF00FF00;

bool Near(int actual, int expected) {
  return std::abs(actual - expected) <= 1;
}

std::size_t IndexOf(const std::vector<std::uint32_t>& codes, std::uint32_t code) {
  return static_cast<std::size_t>(std::find(codes.begin(), codes.end(), code) - codes.begin());
}

class TransitionTest : public ::testing::Test {
 protected:
  Screen screen;
  TestHost host{screen, 100, 80};
  ProbeElement element{kRed};

  // A red element that repaints blue through a transition of `steps` steps of 60 ms.
  void StartTransition(int kind, int steps = 4) {
    element.Create(host.window, MakeRectF(20, 20, 20, 20));
    element.SetAnimation(steps, 60);
    element.SetTransition(kind);
    element.received.clear();
    element.colour = kBlue;
    element.Repaint();
  }
};

TEST_F(TransitionTest, FourStepsOfSixtyMillisecondsCrossFadeFromTheOldPicture) {
  StartTransition(kTransitionCrossFade);
  EXPECT_EQ(element.Count(EXM_TRANSITIONSTART), 1);
  EXPECT_EQ(element.Count(EXM_TRANSITIONEND), 0);
  EXPECT_EQ(host.Shown(25, 25), kRed);
  host.Advance(59);
  EXPECT_EQ(host.Shown(25, 25), kRed);

  // The new picture is blended over the old one at alpha × step / steps.
  const int waits[] = {1, 60, 60};
  const int blues[] = {63, 127, 191};
  for (int i = 0; i < 3; ++i) {
    host.Advance(waits[i]);
    const gfx::Argb shown = host.Shown(25, 25);
    EXPECT_TRUE(Near(gfx::BlueOf(shown), blues[i])) << int{gfx::BlueOf(shown)};
    EXPECT_TRUE(Near(gfx::RedOf(shown), 255 - blues[i])) << int{gfx::RedOf(shown)};
    EXPECT_EQ(element.Count(EXM_TRANSITIONEND), 0);
  }
  host.Advance(60);
  EXPECT_EQ(host.Shown(25, 25), kBlue);
  EXPECT_EQ(host.Shown(19, 25), kBackground);
  EXPECT_EQ(element.steps_drawn, (std::vector<int>{1, 2, 3}));
  const auto codes = element.Codes();
  ASSERT_EQ(element.Count(EXM_TRANSITIONEND), 1);
  EXPECT_LT(IndexOf(codes, EXM_TRANSITIONSTART), IndexOf(codes, EXM_DRAWTRANSITION));
  EXPECT_LT(IndexOf(codes, EXM_DRAWTRANSITION), IndexOf(codes, EXM_TRANSITIONEND));
  EXPECT_FALSE(element.snapshot.has_value());
  EXPECT_EQ(element.GetAnimationStep(), 0);

  // The timer has stopped.
  host.Advance(240);
  EXPECT_EQ(element.steps_drawn.size(), 3u);
  EXPECT_EQ(element.Count(EXM_TRANSITIONEND), 1);
}

TEST_F(TransitionTest, ANewPaintFinishesARunningTransitionAtOnce) {
  StartTransition(kTransitionCrossFade);
  host.Advance(60);
  host.Advance(60);
  element.colour = kGreen;
  element.Repaint();
  // The first transition's end is shown and becomes the old picture of the next one.
  EXPECT_EQ(host.Shown(25, 25), kBlue);
  host.Advance(60);
  const gfx::Argb shown = host.Shown(25, 25);
  EXPECT_TRUE(Near(gfx::GreenOf(shown), 63)) << std::hex << shown;
  EXPECT_TRUE(Near(gfx::BlueOf(shown), 192)) << std::hex << shown;
  EXPECT_EQ(element.Count(EXM_TRANSITIONSTART), 2);
}

TEST_F(TransitionTest, SlidesMoveTheOldPictureOutAndTheNewOneIn) {
  struct Case {
    int kind;
    // Halfway (step 2 of 4): what the element's quarters show, clipped to its bounds.
    gfx::Argb top_left, top_right, bottom_left;
  };
  const Case cases[] = {
      {kTransitionSlideDown, kBlue, kBlue, kRed},
      {kTransitionSlideUp, kRed, kRed, kBlue},
      {kTransitionSlideRight, kBlue, kRed, kBlue},
      {kTransitionSlideLeft, kRed, kBlue, kRed},
  };
  for (const Case& c : cases) {
    Screen own_screen;
    TestHost own_host(own_screen, 100, 80);
    ProbeElement slider(kRed);
    slider.Create(own_host.window, MakeRectF(20, 20, 20, 20));
    slider.SetAnimation(4, 60);
    slider.SetTransition(c.kind);
    slider.colour = kBlue;
    slider.Repaint();
    own_host.Advance(60);
    own_host.Advance(60);
    EXPECT_EQ(own_host.Shown(25, 25), c.top_left) << "kind " << c.kind;
    EXPECT_EQ(own_host.Shown(35, 25), c.top_right) << "kind " << c.kind;
    EXPECT_EQ(own_host.Shown(25, 35), c.bottom_left) << "kind " << c.kind;
    // Outside the element only the background.
    EXPECT_EQ(own_host.Shown(25, 45), kBackground) << "kind " << c.kind;
    own_host.Advance(60);
    own_host.Advance(60);
    EXPECT_EQ(own_host.Shown(25, 25), kBlue) << "kind " << c.kind;
    EXPECT_EQ(own_host.Shown(35, 35), kBlue) << "kind " << c.kind;
  }
}

TEST_F(TransitionTest, AnElementDrawingItsOwnFrameGetsTheFrameBlock) {
  const TransitionFrameBlock* seen = nullptr;
  TransitionFrameBlock copy;
  element.BindEvent(EXM_DRAWTRANSITION, [&](RoutineArg, RoutineArg, RoutineArg, RoutineArg lp) {
    seen = reinterpret_cast<const TransitionFrameBlock*>(lp);
    copy = *seen;
  });
  element.draw_transition_answer = 1;
  StartTransition(kTransitionCrossFade);
  host.Advance(60);
  ASSERT_NE(seen, nullptr);
  EXPECT_EQ(copy.bounds, MakeRectF(20, 20, 20, 20));
  EXPECT_EQ(copy.canvas, &element.canvas);
  EXPECT_EQ(copy.snapshot, &*element.snapshot);
  EXPECT_EQ(copy.offscreen, &host.offscreen);
  EXPECT_EQ(copy.offscreen_graphics, host.offscreen_graphics.get());
  EXPECT_NE(copy.scratch, nullptr);
  EXPECT_EQ(copy.clip_x, 20);
  EXPECT_EQ(copy.clip_y, 20);
  // The element drew nothing, so nothing but the background shows.
  EXPECT_EQ(host.Shown(25, 25), kBackground);
}

TEST_F(TransitionTest, ADisabledElementShowsNoTransitionFrame) {
  StartTransition(kTransitionCrossFade);
  element.disabled = 1;
  element.disabled_alpha_answer = 0;
  host.Advance(60);
  EXPECT_TRUE(element.steps_drawn.empty());
  EXPECT_EQ(host.Shown(25, 25), kBlue);
}

TEST_F(TransitionTest, WithoutAStepCountOrIntervalAPaintIsShownAtOnce) {
  for (auto [steps, interval] : {std::pair{0, 60}, std::pair{4, 0}}) {
    Screen own_screen;
    TestHost own_host(own_screen, 60, 60);
    ProbeElement plain(kRed);
    plain.Create(own_host.window, MakeRectF(10, 10, 10, 10));
    plain.SetAnimation(steps, interval);
    plain.colour = kBlue;
    plain.Repaint();
    EXPECT_EQ(own_host.Shown(15, 15), kBlue) << steps << " " << interval;
    EXPECT_EQ(plain.Count(EXM_TRANSITIONSTART), 0);
    EXPECT_FALSE(plain.snapshot.has_value());
  }
}

TEST_F(TransitionTest, AnElementKeepingItsStepCountAfterTheEndStaysVisible) {
  element.reset_steps_on_end = false;
  StartTransition(kTransitionCrossFade);
  for (int tick = 0; tick < 4; ++tick) host.Advance(60);
  ASSERT_EQ(element.Count(EXM_TRANSITIONEND), 1);
  ComposeArea(&host, MakeRectF(0, 0, 100, 80), nullptr, true);
  EXPECT_EQ(host.Shown(25, 25), kBlue);
}

TEST_F(TransitionTest, APaintWhileTheHostIsBusyTakesNoSnapshot) {
  element.Create(host.window, MakeRectF(20, 20, 20, 20));
  element.SetAnimation(4, 60);
  host.busy = 1;
  element.colour = kBlue;
  element.Repaint();
  EXPECT_FALSE(element.snapshot.has_value());
  host.busy = 0;
  host.Advance(60);
  EXPECT_EQ(host.Shown(25, 25), kBlue);
}

}  // namespace
}  // namespace directui
