#include "directui/core/colour.h"

#include <gtest/gtest.h>

#include "directui/core/inflate_rect_f.h"

namespace directui {
namespace {

TEST(MakeArgbTest, SwapsRedAndBlueAndKeepsOpaqueBelow255) {
  struct Case {
    std::uint32_t colour;
    std::optional<int> alpha;
    Argb expected;
  };
  const Case cases[] = {
      {0x646464, std::nullopt, 0xFE646464},  // no alpha: opaque is 254
      {0xFF8800, 50, 0x320088FF},            // red in the low byte ends up in bits 16..23
      {0x0000FF, 255, 0xFEFF0000},           // 255 becomes 254 too
      {0x0000FF, 0, 0x00FF0000},             // a given 0 is not an omitted alpha
      {0x12345678, 10, 0x0A785634},          // the unused top byte is dropped
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MakeArgb(c.colour, c.alpha), c.expected) << std::hex << c.colour;
  }
}

TEST(SplitArgbTest, GivesEachChannel) {
  EXPECT_EQ(SplitArgb(0x80FF4001), (ArgbParts{0x80, 0xFF, 0x40, 0x01}));
  EXPECT_EQ(SplitArgb(0), (ArgbParts{0, 0, 0, 0}));
}

TEST(IsDarkColorTest, LuminanceBelow192IsDark) {
  struct Case {
    Argb colour;
    bool dark;
  };
  const Case cases[] = {
      {0xFFFFFFFF, false},  // white
      {0xFF808080, true},   // mid grey: luminance 128
      {0xFFC0C0C0, false},  // exactly 192 is not below it
      {0xFFBFBFBF, true},   // 191
      {0x00FFFFFF, false},  // alpha does not count
      {0xFFFFFF00, false},  // yellow: 0.299 * 255 + 0.587 * 255 = 225
      {0xFF00FFFF, true},   // cyan: 0.587 * 255 + 0.114 * 255 = 178.8
      {0xFF0000FF, true},   // blue
  };
  for (const Case& c : cases) EXPECT_EQ(IsDarkColor(c.colour), c.dark) << std::hex << c.colour;
}

TEST(InflateRectFTest, AddsEachDeltaInPlace) {
  RectF r{10, 20, 30, 40};
  InflateRectF(1, 1, -2, -2, r);
  EXPECT_EQ(r, (RectF{11, 21, 28, 38}));
  InflateRectF(-0.5f, 2, 5, 0, r);
  EXPECT_EQ(r, (RectF{10.5f, 23, 33, 38}));
}

}  // namespace
}  // namespace directui
