#include <gtest/gtest.h>

#include "platform/os/x11/pointer_drag.h"

namespace {

using platform::os::MoveSizeEdge;
using platform::os::Point;
using platform::os::Rect;
using platform::os::x11::PointerDrag;

constexpr Rect kStart{100, 100, 483, 443};  // 383 x 343
constexpr Point kPress{200, 200};

struct Case {
  MoveSizeEdge edge;
  Point pointer;
  Rect expected;
};

TEST(PointerDragTest, EachEdgeFollowsThePointerAndTheOthersStay) {
  const Case cases[] = {
      {MoveSizeEdge::move, {250, 180}, {150, 80, 533, 423}},
      {MoveSizeEdge::move, {-1000, -1000}, {-1100, -1100, -717, -757}},
      {MoveSizeEdge::left, {190, 500}, {90, 100, 483, 443}},
      {MoveSizeEdge::right, {210, 0}, {100, 100, 493, 443}},
      {MoveSizeEdge::top, {0, 150}, {100, 50, 483, 443}},
      {MoveSizeEdge::bottom, {0, 260}, {100, 100, 483, 503}},
      {MoveSizeEdge::top_left, {210, 220}, {110, 120, 483, 443}},
      {MoveSizeEdge::top_right, {210, 220}, {100, 120, 493, 443}},
      {MoveSizeEdge::bottom_left, {210, 220}, {110, 100, 483, 463}},
      {MoveSizeEdge::bottom_right, {210, 220}, {100, 100, 493, 463}},
      {MoveSizeEdge::bottom_right, kPress, kStart},
  };
  for (const Case& c : cases) {
    const PointerDrag drag(c.edge, kStart, kPress, {28, 38});
    EXPECT_EQ(drag.Follow(c.pointer), c.expected) << static_cast<int>(c.edge);
  }
}

TEST(PointerDragTest, SizingStopsAtTheMinimumWithoutMovingTheFarEdge) {
  const Case cases[] = {
      {MoveSizeEdge::left, {2000, 200}, {455, 100, 483, 443}},
      {MoveSizeEdge::right, {-2000, 200}, {100, 100, 128, 443}},
      {MoveSizeEdge::top, {200, 2000}, {100, 405, 483, 443}},
      {MoveSizeEdge::bottom, {200, -2000}, {100, 100, 483, 138}},
      {MoveSizeEdge::top_left, {2000, 2000}, {455, 405, 483, 443}},
  };
  for (const Case& c : cases) {
    const PointerDrag drag(c.edge, kStart, kPress, {28, 38});
    EXPECT_EQ(drag.Follow(c.pointer), c.expected) << static_cast<int>(c.edge);
  }
}

TEST(PointerDragTest, AMinimumBelowOnePixelIsOnePixel) {
  const PointerDrag drag(MoveSizeEdge::right, kStart, kPress, {0, -5});
  EXPECT_EQ(drag.Follow({-5000, 200}), (Rect{100, 100, 101, 443}));
}

}  // namespace
