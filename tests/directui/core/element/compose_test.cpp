#include <gtest/gtest.h>

#include <cstdlib>

#include "directui/core/image_alpha.h"
#include "test_host.h"

namespace directui {
namespace {

using element_testing::kBackground;
using element_testing::ProbeElement;
using element_testing::Screen;
using element_testing::TestHost;
namespace gfx = platform::gfx;
namespace os = platform::os;

bool Near(int actual, int expected) {
  return std::abs(actual - expected) <= 1;
}

class ComposeTest : public ::testing::Test {
 protected:
  Screen screen;
  TestHost host{screen, 100, 80};
};

TEST_F(ComposeTest, ADisabledElementIsHalvedOnlyWhenItsHandlerAnswersMinusOne) {
  struct Case {
    int alpha;
    LRESULT answer;
    int red;  // white over black: the red channel is the alpha used
  };
  const Case cases[] = {
      {255, -1, 127}, {200, -1, 100}, {255, 0, 255}, {255, 1, 255}, {200, 5, 200}};
  for (const Case& c : cases) {
    ProbeElement element(0xFFFFFFFF);
    element.Create(host.window, MakeRectF(10, 10, 20, 20));
    element.disabled_alpha_answer = c.answer;
    element.SetAlpha(c.alpha);
    element.SetDisabled(1);
    host.Pump();
    EXPECT_TRUE(Near(gfx::RedOf(host.Shown(15, 15)), c.red))
        << "alpha " << c.alpha << " answer " << c.answer << ": "
        << int{gfx::RedOf(host.Shown(15, 15))};
    EXPECT_GE(element.Count(EXM_QUERYDISABLEDALPHA), 1);
    element.Destroy();
    host.Pump();
  }
}

TEST_F(ComposeTest, LaterSiblingsAndChildrenAreDrawnOnTop) {
  ProbeElement bottom(0xFF00FF00);
  ProbeElement top(0xFFFFFFFF);
  ProbeElement child(0xFF0000FF);
  bottom.Create(host.window, MakeRectF(10, 10, 30, 30));
  top.Create(host.window, MakeRectF(20, 20, 30, 30));
  child.Create(&bottom, MakeRectF(25, 25, 10, 10));
  ComposeArea(&host, MakeRectF(0, 0, 100, 80), nullptr, true);
  EXPECT_EQ(host.Shown(15, 15), 0xFF00FF00u);
  // The child is drawn right after its parent, so the parent's later sibling covers it.
  EXPECT_EQ(host.Shown(30, 30), 0xFFFFFFFFu);

  top.SetZOrder(2);
  host.Pump();
  EXPECT_EQ(host.Shown(30, 30), 0xFF0000FFu);
  EXPECT_EQ(host.Shown(38, 38), 0xFF00FF00u);
  EXPECT_EQ(host.Shown(45, 45), 0xFFFFFFFFu);
}

TEST_F(ComposeTest, AChildOfAnInvisibleParentIsNotDrawn) {
  ProbeElement parent(0xFF00FF00);
  ProbeElement child(0xFFFFFFFF);
  parent.Create(host.window, MakeRectF(10, 10, 40, 40), {.parent = HostWindow{}, .visible = 0});
  child.Create(&parent, MakeRectF(20, 20, 10, 10));
  host.Pump();
  ComposeArea(&host, MakeRectF(0, 0, 100, 80), nullptr, true);
  EXPECT_EQ(child.visible, 1);
  EXPECT_EQ(host.Shown(25, 25), kBackground);
  EXPECT_EQ(host.Shown(12, 12), kBackground);

  parent.SetVisible(1);
  host.Pump();
  EXPECT_EQ(host.Shown(25, 25), 0xFFFFFFFFu);
  EXPECT_EQ(host.Shown(12, 12), 0xFF00FF00u);
}

TEST_F(ComposeTest, AChildIsClippedToItsParent) {
  ProbeElement parent(0xFF00FF00);
  ProbeElement child(0xFFFFFFFF);
  parent.Create(host.window, MakeRectF(10, 10, 30, 30));
  child.Create(&parent, MakeRectF(30, 30, 30, 30));
  ComposeArea(&host, MakeRectF(0, 0, 100, 80), nullptr, true);
  EXPECT_EQ(host.Shown(35, 35), 0xFFFFFFFFu);
  EXPECT_EQ(host.Shown(39, 39), 0xFFFFFFFFu);
  EXPECT_EQ(host.Shown(40, 35), kBackground);
  EXPECT_EQ(host.Shown(45, 45), kBackground);
  EXPECT_EQ(host.Shown(35, 40), kBackground);
}

TEST_F(ComposeTest, ElementsThatOnlyTouchTheAreaAreSkipped) {
  // A disabled element asks its handler for the disabled alpha exactly when it is drawn.
  ProbeElement element;
  element.Create(host.window, MakeRectF(20, 20, 10, 10));
  element.disabled = 1;
  struct Case {
    RectF area;
    int drawn;
  };
  const Case cases[] = {
      {MakeRectF(30, 20, 10, 10), 0}, {MakeRectF(10, 20, 10, 10), 0},
      {MakeRectF(20, 30, 10, 10), 0}, {MakeRectF(20, 10, 10, 10), 0},
      {RectF{29.5f, 20, 10, 10}, 1},  {RectF{20, 10.5f, 10, 10}, 1},
      {MakeRectF(0, 0, 100, 80), 1},  {MakeRectF(22, 22, 2, 2), 1},
  };
  for (const Case& c : cases) {
    element.received.clear();
    ComposeArea(&host, c.area, nullptr, false);
    EXPECT_EQ(element.Count(EXM_QUERYDISABLEDALPHA), c.drawn)
        << c.area.x << "," << c.area.y << " " << c.area.width << "x" << c.area.height;
  }
}

TEST(RectsOverlapTest, SharedAreaBeyondTheMarginIsNeeded) {
  const RectF bounds{10, 10, 10, 10};
  struct Case {
    RectF area;
    bool overlap;
  };
  const Case cases[] = {
      {{20, 10, 5, 5}, false},  {{5, 10, 5, 5}, false},      {{10, 20, 5, 5}, false},
      {{10, 5, 5, 5}, false},   {{19.999f, 10, 5, 5}, true}, {{12, 12, 0, 0}, true},
      {{0, 0, 100, 100}, true}, {{15, 15, 1, 1}, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RectsOverlap(c.area, bounds), c.overlap) << c.area.x << "," << c.area.y;
  }
}

TEST_F(ComposeTest, NothingIsComposedOrPresentedWhileTheHostIsBusy) {
  ProbeElement element(0xFFFFFFFF);
  element.Create(host.window, MakeRectF(10, 10, 20, 20));
  element.colour = 0xFF0000FF;
  element.SuspendUpdates();
  element.Repaint();
  host.busy = 1;
  ComposeArea(&host, MakeRectF(0, 0, 100, 80), nullptr, true);
  EXPECT_EQ(host.Composed(15, 15), 0xFFFFFFFFu);
  host.busy = 0;
  ComposeArea(&host, MakeRectF(0, 0, 100, 80), nullptr, false);
  EXPECT_EQ(host.Composed(15, 15), 0xFF0000FFu);
  host.busy = 1;
  PresentArea(&host, MakeRectF(0, 0, 100, 80));
  EXPECT_EQ(host.Shown(15, 15), 0xFFFFFFFFu);
}

TEST_F(ComposeTest, TheHostsShapeConfinesCompositionAndSurvivesChildren) {
  // An L-shaped window: the lower right quarter is not part of it.
  host.clip_region = gfx::Region::from_rect({0, 0, 100, 40})
                         .combine(gfx::Region::from_rect({0, 40, 50, 80}), gfx::CombineMode::unite);
  ProbeElement parent(0xFF00FF00);
  ProbeElement child(0xFFFFFFFF);
  ProbeElement later(0xFF0000FF);
  parent.Create(host.window, MakeRectF(0, 0, 30, 30));
  child.Create(&parent, MakeRectF(5, 5, 10, 10));
  later.Create(host.window, MakeRectF(40, 30, 40, 40));
  ComposeArea(&host, MakeRectF(0, 0, 100, 80), nullptr, true);
  EXPECT_EQ(host.Shown(7, 7), 0xFFFFFFFFu);
  EXPECT_EQ(host.Shown(45, 45), 0xFF0000FFu);
  EXPECT_EQ(host.Shown(60, 35), 0xFF0000FFu);
  EXPECT_EQ(host.Shown(60, 45), kBackground);
  EXPECT_FALSE(host.offscreen_graphics->clip().has_value());
}

TEST_F(ComposeTest, AnOrdinaryWindowGetsOnlyTheArea) {
  ProbeElement element(0xFFFFFFFF);
  element.Create(host.window, MakeRectF(10, 10, 20, 20));
  // Composed but not presented: the window shows it only once an area covering it is.
  host.offscreen_graphics->fill_rectangle(gfx::SolidBrush{0xFF00FF00}, {60, 60, 10, 10});
  ComposeArea(&host, MakeRectF(10, 10, 20, 20), nullptr, true);
  EXPECT_EQ(host.Shown(65, 65), kBackground);
  PresentArea(&host, MakeRectF(60, 60, 10, 10));
  EXPECT_EQ(host.Shown(65, 65), 0xFF00FF00u);
}

TEST(LayeredComposeTest, ALayeredWindowIsPushedWholeOnEveryPresentation) {
  Screen screen;
  TestHost host(screen, 60, 40, true);
  ProbeElement left(0xFFFFFFFF);
  ProbeElement right(0xFF00FF00);
  left.Create(host.window, MakeRectF(0, 0, 20, 20));
  right.Create(host.window, MakeRectF(40, 0, 20, 20));
  screen.display.clear_layered_frames(host.window.window);

  ComposeArea(&host, MakeRectF(0, 0, 10, 10), nullptr, true);
  PresentArea(&host, MakeRectF(5, 5, 1, 1));
  const auto frames = screen.display.layered_frames(host.window.window);
  ASSERT_EQ(frames.size(), 2u);
  for (const auto& frame : frames) {
    EXPECT_EQ(frame.pixels.width, 60);
    EXPECT_EQ(frame.pixels.height, 40);
    EXPECT_EQ(gfx::Unpremultiply(frame.pixels.at(45, 5)), 0xFF00FF00u);
    EXPECT_EQ(frame.alpha, 255);
  }
}

TEST(ImageDrawingTest, DrawImageAtPlacesThePictureAtItsOwnSize) {
  struct Case {
    RectF rect;
    bool centred;
    int left;
    int top;
  };
  // A 4 × 4 picture.
  const Case cases[] = {
      {{10.7f, 5.2f, 0, 0}, false, 10, 5}, {{10, 10, 8, 8}, true, 12, 12},
      {{10, 10, 7, 7}, true, 12, 12},  // 11.5 rounds away from zero
      {{10, 10, 1, 1}, true, 9, 9},    // 8.5 rounds to 9
      {{-3, -3, 1, 1}, true, -5, -5},  // -4.5 rounds to -5
  };
  gfx::Bitmap picture = gfx::Bitmap::create(4, 4);
  gfx::Graphics(picture).clear(0xFFFF0000);
  for (const Case& c : cases) {
    gfx::Bitmap target = gfx::Bitmap::create(30, 30);
    gfx::Graphics graphics(target);
    DrawImageAt(graphics, &picture, c.rect, c.centred);
    int left = 99, top = 99, count = 0;
    for (int y = 0; y < 30; ++y) {
      for (int x = 0; x < 30; ++x) {
        if (target.get_pixel(x, y) == 0) continue;
        left = std::min(left, x);
        top = std::min(top, y);
        ++count;
      }
    }
    if (c.left >= 0) {
      EXPECT_EQ(left, c.left) << c.rect.x << " centred " << c.centred;
      EXPECT_EQ(top, c.top) << c.rect.y << " centred " << c.centred;
      EXPECT_EQ(count, 16);
    } else {
      // Placed at (-5, -5): wholly outside the target.
      EXPECT_EQ(count, 0);
    }
  }
}

TEST(ImageDrawingTest, DrawImageAlphaScalesOpacityAndStretches) {
  gfx::Bitmap picture = gfx::Bitmap::create(2, 2);
  gfx::Graphics(picture).clear(0xFFFFFFFF);
  struct Case {
    int alpha;
    int expected;
  };
  for (const Case& c : {Case{255, 255}, Case{127, 127}, Case{0, 0}, Case{64, 64}}) {
    gfx::Bitmap target = gfx::Bitmap::create(10, 10);
    gfx::Graphics graphics(target);
    DrawImageAlpha(graphics, &picture, {0, 0, 2, 2}, c.alpha);
    EXPECT_TRUE(Near(gfx::AlphaOf(target.get_pixel(1, 1)), c.expected)) << c.alpha;
  }
  gfx::Bitmap target = gfx::Bitmap::create(10, 10);
  gfx::Graphics graphics(target);
  DrawImageAlpha(graphics, &picture, {0, 0, 6, 6}, 255);
  EXPECT_EQ(target.get_pixel(5, 5), 0xFFFFFFFFu);
  DrawImageAlpha(graphics, static_cast<const gfx::Bitmap*>(nullptr), {0, 0, 6, 6}, 255);
}

}  // namespace
}  // namespace directui
