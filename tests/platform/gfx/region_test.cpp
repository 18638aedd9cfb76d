#include "platform/gfx/region.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace platform::gfx {
namespace {

// The region's pixels inside a frame as rows of '#' and '.'.
std::vector<std::string> Picture(const Region& r, int left, int top, int width, int height) {
  std::vector<std::string> rows;
  for (int y = top; y < top + height; ++y) {
    std::string row;
    for (int x = left; x < left + width; ++x) row += r.contains(x, y) ? '#' : '.';
    rows.push_back(row);
  }
  return rows;
}

// Leftmost and rightmost pixel of each row inside the region, as inset from the bounds.
struct RowInsets {
  int left;
  int right;
};
std::vector<RowInsets> Insets(const Region& r) {
  const Rect b = r.bounds();
  std::vector<RowInsets> out;
  for (int y = b.top; y < b.bottom; ++y) {
    int first = b.right, last = b.left - 1;
    for (int x = b.left; x < b.right; ++x) {
      if (r.contains(x, y)) {
        first = std::min(first, x);
        last = std::max(last, x);
      }
    }
    out.push_back({first - b.left, b.right - 1 - last});
  }
  return out;
}

TEST(RegionTest, RoundRectCornerFourOnTenByTen) {
  const Region r = Region::round_rect(0, 0, 10, 10, 4, 4);
  EXPECT_EQ(r.bounds(), (Rect{0, 0, 10, 10}));
  const std::vector<std::string> expected = {
      ".########.", "##########", "##########", "##########", "##########",
      "##########", "##########", "##########", "##########", ".########.",
  };
  EXPECT_EQ(Picture(r, 0, 0, 10, 10), expected);
  // Nothing leaks outside the exclusive right and bottom edges.
  EXPECT_EQ(Picture(r, -1, -1, 12, 1), std::vector<std::string>{std::string(12, '.')});
  EXPECT_FALSE(r.contains(10, 5));
  EXPECT_FALSE(r.contains(5, 10));
}

TEST(RegionTest, WindowShapeHasStraightEdgesOnItsBoundsAndSymmetricCorners) {
  const Region r = Region::round_rect(6, 6, 378, 338, 5, 5);
  ASSERT_EQ(r.bounds(), (Rect{6, 6, 378, 338}));
  // Straight edges: the middle of every side reaches exactly the bounds.
  EXPECT_TRUE(r.contains(6, 170));
  EXPECT_TRUE(r.contains(377, 170));
  EXPECT_TRUE(r.contains(190, 6));
  EXPECT_TRUE(r.contains(190, 337));
  EXPECT_FALSE(r.contains(5, 170));
  EXPECT_FALSE(r.contains(378, 170));
  EXPECT_FALSE(r.contains(190, 5));
  EXPECT_FALSE(r.contains(190, 338));

  const std::vector<RowInsets> insets = Insets(r);
  ASSERT_EQ(insets.size(), 332u);
  // The corner pixel itself is cut, and the cut is the same on all four corners.
  EXPECT_GT(insets.front().left, 0);
  for (std::size_t i = 0; i < insets.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(insets[i].left, insets[i].right);
    EXPECT_EQ(insets[i].left, insets[insets.size() - 1 - i].left);
  }
  // The cut shrinks towards the straight part and is gone after the corner's height.
  for (std::size_t i = 1; i < 3; ++i) EXPECT_LE(insets[i].left, insets[i - 1].left);
  for (std::size_t i = 3; i < insets.size() - 3; ++i) ASSERT_EQ(insets[i].left, 0) << i;
}

TEST(RegionTest, LargerCornerFollowsTheEllipse) {
  const Region r = Region::round_rect(0, 0, 40, 40, 20, 20);
  const std::vector<RowInsets> insets = Insets(r);
  // Pixel centres inside the circle of radius 10 around (10, 10).
  for (int y = 0; y < 10; ++y) {
    const double dy = 10 - (y + 0.5);
    int expected = 0;
    while ((10 - (expected + 0.5)) * (10 - (expected + 0.5)) + dy * dy > 100) ++expected;
    EXPECT_EQ(insets[static_cast<std::size_t>(y)].left, expected) << "row " << y;
  }
}

TEST(RegionTest, SmallOrZeroCornersGiveRectangles) {
  EXPECT_EQ(Region::round_rect(2, 3, 12, 9, 0, 0), Region::from_rect({2, 3, 12, 9}));
  EXPECT_EQ(Region::round_rect(2, 3, 12, 9, 1, 1), Region::from_rect({2, 3, 12, 9}));
  EXPECT_TRUE(Region::round_rect(5, 5, 5, 9, 4, 4).empty());
}

struct CombineCase {
  CombineMode mode;
  bool in_a_only;
  bool in_both;
  bool in_b_only;
};

class RegionCombineTest : public testing::TestWithParam<CombineCase> {};

TEST_P(RegionCombineTest, KeepsThePartsTheModeSelects) {
  const Region a = Region::from_rect({0, 0, 6, 6});
  const Region b = Region::from_rect({3, 3, 9, 9});
  const Region r = a.combine(b, GetParam().mode);
  EXPECT_EQ(r.contains(1, 1), GetParam().in_a_only);
  EXPECT_EQ(r.contains(4, 4), GetParam().in_both);
  EXPECT_EQ(r.contains(7, 7), GetParam().in_b_only);
  EXPECT_FALSE(r.contains(7, 1));  // in neither
  // The rectangle list covers exactly the region, without overlaps.
  int covered = 0;
  for (const Rect& q : r.rects()) covered += q.width() * q.height();
  int counted = 0;
  for (int y = -1; y < 10; ++y) {
    for (int x = -1; x < 10; ++x) counted += r.contains(x, y);
  }
  EXPECT_EQ(covered, counted);
}

INSTANTIATE_TEST_SUITE_P(Modes, RegionCombineTest,
                         testing::Values(CombineCase{CombineMode::replace, false, true, true},
                                         CombineCase{CombineMode::intersect, false, true, false},
                                         CombineCase{CombineMode::unite, true, true, true},
                                         CombineCase{CombineMode::exclusive_or, true, false, true},
                                         CombineCase{CombineMode::exclude, true, false, false},
                                         CombineCase{CombineMode::complement, false, false, true}));

TEST(RegionTest, CombiningBackGivesEqualRegions) {
  const Region a = Region::from_rect({0, 0, 10, 4});
  const Region b = Region::from_rect({0, 4, 10, 8});
  // Two halves joined make the same banded region as the whole rectangle.
  EXPECT_EQ(a.combine(b, CombineMode::unite), Region::from_rect({0, 0, 10, 8}));
  EXPECT_TRUE(a.combine(a, CombineMode::exclude).empty());
  EXPECT_EQ(a.combine(b, CombineMode::unite).rects().size(), 1u);
}

TEST(RegionTest, RectsAreSortedForWindowShapes) {
  const Region r = Region::round_rect(0, 0, 20, 20, 8, 8)
                       .combine(Region::from_rect({25, 5, 30, 10}), CombineMode::unite);
  const std::vector<Rect> rects = r.rects();
  ASSERT_FALSE(rects.empty());
  for (std::size_t i = 1; i < rects.size(); ++i) {
    const Rect& p = rects[i - 1];
    const Rect& q = rects[i];
    EXPECT_TRUE(p.top < q.top || (p.top == q.top && p.right <= q.left)) << i;
  }
  EXPECT_EQ(r.bounds(), (Rect{0, 0, 30, 20}));
  EXPECT_EQ(r.offset(3, -2).bounds(), (Rect{3, -2, 33, 18}));
}

TEST(RegionTest, ExtremeEdgesAreHeldInRangeAndStayCheap) {
  const int lo = std::numeric_limits<int>::min();
  const int hi = std::numeric_limits<int>::max();
  const Region all = Region::round_rect(lo, lo, hi, hi, hi, lo);
  EXPECT_EQ(all.bounds(), (Rect{-65536, -65536, 65536, 65536}));
  EXPECT_TRUE(all.contains(0, 0));
  EXPECT_FALSE(all.contains(-65536, -65536));  // still a rounded corner
  // A very tall shape is a handful of bands, not one per row.
  const Region tall = Region::round_rect(0, 0, 10, 60000, 6, 6);
  EXPECT_LT(tall.rects().size(), 10u);
  EXPECT_EQ(tall.bounds(), (Rect{0, 0, 10, 60000}));
}

TEST(RegionTest, CornerTallerThanTheShapeStillMirrors) {
  // Height 5, corner 8: the corner rows meet in the middle.
  const Region r = Region::round_rect(0, 0, 12, 5, 8, 8);
  const std::vector<RowInsets> insets = Insets(r);
  ASSERT_EQ(insets.size(), 5u);
  EXPECT_EQ(insets[0].left, insets[4].left);
  EXPECT_EQ(insets[1].left, insets[3].left);
  EXPECT_EQ(r.bounds(), (Rect{0, 0, 12, 5}));
}

TEST(RegionTest, EmptyRegionHasNoBounds) {
  const Region empty;
  EXPECT_TRUE(empty.empty());
  EXPECT_EQ(empty.bounds(), Rect{});
  EXPECT_TRUE(empty.rects().empty());
  EXPECT_TRUE(Region::from_rect({4, 4, 2, 9}).empty());
}

}  // namespace
}  // namespace platform::gfx
