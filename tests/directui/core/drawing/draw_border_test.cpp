#include "directui/core/draw_border.h"

#include <gtest/gtest.h>

#include <string>

#include "drawing_probe.h"
#include "platform/gfx/pixel_probe.h"

namespace directui {
namespace {

namespace gfx = platform::gfx;
using testing_support::Column;
using testing_support::Row;
using testing_support::SaveForViewing;

constexpr Argb kSunkenDark = 0xA0000000;
constexpr Argb kRaisedDark = 0xA8000000;
constexpr Argb kLight = 0xF5FFFFFF;

// A border round (1, 1, 10, 7) on a transparent 12 x 9 canvas: the edges are column 1 and 10,
// row 1 and 7.
gfx::Bitmap Bordered(std::uint32_t style, std::optional<Argb> colour = std::nullopt,
                     float width = 1.0f) {
  gfx::Bitmap b = gfx::Bitmap::create(12, 9);
  gfx::Graphics g(b);
  DrawBorder(g, {1, 1, 10, 7}, style, colour, width);
  return b;
}

TEST(DrawBorderTest, SunkenIsDarkTopAndLeftLightBottomAndRight) {
  const gfx::Bitmap b = Bordered(kBorderSunken);
  SaveForViewing(b, "border_sunken");
  // Every edge runs corner to corner, so the corners show two edges over each other.
  EXPECT_EQ(Row(b, 1, kSunkenDark), ".?########?.");
  EXPECT_EQ(Column(b, 1, kSunkenDark), ".?#####?.");
  EXPECT_EQ(Row(b, 7, kLight), ".?########?.");
  EXPECT_EQ(Column(b, 10, kLight), ".?#####?.");
  EXPECT_EQ(gfx::testing_support::FindInk(b, {2, 2, 10, 7}, 0).count, 0);  // inside
  EXPECT_EQ(gfx::testing_support::FindInk(b, 0).box, (gfx::Rect{1, 1, 11, 8}));
}

TEST(DrawBorderTest, RaisedIsLightTopAndLeftDarkBottomAndRight) {
  const gfx::Bitmap b = Bordered(kBorderRaised);
  SaveForViewing(b, "border_raised");
  EXPECT_EQ(Row(b, 1, kLight), ".?########?.");
  EXPECT_EQ(Column(b, 1, kLight), ".?#####?.");
  // The light edges stop one short of the far corners, which the dark edges own alone.
  EXPECT_EQ(Row(b, 7, kRaisedDark), ".##########.");
  EXPECT_EQ(Column(b, 10, kRaisedDark), ".#######.");
  EXPECT_EQ(gfx::testing_support::FindInk(b, {2, 2, 10, 7}, 0).count, 0);
  EXPECT_EQ(gfx::testing_support::FindInk(b, 0).box, (gfx::Rect{1, 1, 11, 8}));
}

TEST(DrawBorderTest, SolidAndDashedUseTheirDefaultColourOrTheGivenOne) {
  struct Case {
    std::uint32_t style;
    std::optional<Argb> colour;
    Argb expected;
  };
  for (const Case& c :
       {Case{kBorderSolid, std::nullopt, 0xFE646464}, Case{kBorderSolid, 0xFF00FF00, 0xFF00FF00},
        Case{kBorderDashed, std::nullopt, 0x78000000},
        Case{kBorderDashed, 0x80FF0000, 0x80FF0000}}) {
    const gfx::Bitmap b = Bordered(c.style, c.colour);
    EXPECT_TRUE(testing_support::NearlyEqual(b.get_pixel(1, 1), c.expected))
        << c.style << std::hex << " " << b.get_pixel(1, 1);
    const gfx::testing_support::Ink ink = gfx::testing_support::FindInk(b, 0);
    EXPECT_EQ(ink.box, (gfx::Rect{1, 1, 11, 8})) << c.style;
    EXPECT_EQ(gfx::testing_support::FindInk(b, {2, 2, 10, 7}, 0).count, 0) << c.style;
  }
}

TEST(DrawBorderTest, SolidIsAClosedFrame) {
  const gfx::Bitmap b = Bordered(kBorderSolid);
  SaveForViewing(b, "border_solid");
  const Argb grey = 0xFE646464;
  EXPECT_EQ(Row(b, 1, grey), ".##########.");
  EXPECT_EQ(Row(b, 7, grey), ".##########.");
  EXPECT_EQ(Column(b, 1, grey), ".#######.");
  EXPECT_EQ(Column(b, 10, grey), ".#######.");
}

TEST(DrawBorderTest, DashedLeavesGapsAlongEveryEdge) {
  gfx::Bitmap b = gfx::Bitmap::create(24, 14);
  {
    gfx::Graphics g(b);
    DrawBorder(g, {1, 1, 22, 12}, kBorderDashed);
  }
  SaveForViewing(b, "border_dashed");
  const Argb black120 = 0x78000000;
  auto gaps = [](const std::string& edge) {
    int n = 0;
    for (std::size_t i = 1; i < edge.size(); ++i) n += edge[i] == '.' && edge[i - 1] == '#';
    return n;
  };
  const std::string top = Row(b, 1, black120).substr(1, 22);
  const std::string bottom = Row(b, 12, black120).substr(1, 22);
  const std::string left = Column(b, 1, black120).substr(1, 12);
  const std::string right = Column(b, 22, black120).substr(1, 12);
  // Dashes of three pixels with one-pixel gaps.
  EXPECT_EQ(top.substr(0, 8), "###.###.");
  for (const std::string& edge : {top, bottom, left, right}) {
    EXPECT_GE(gaps(edge), 2) << edge;
    EXPECT_EQ(edge.find('?'), std::string::npos) << edge;
  }
}

TEST(DrawBorderTest, AnyOtherStyleIsTheColourOfASolidFrame) {
  const gfx::Bitmap b = Bordered(0xFF0000FF, 0xFFFF0000);  // the given colour is not used
  SaveForViewing(b, "border_colour_value");
  EXPECT_EQ(Row(b, 1, 0xFF0000FF), ".##########.");
  EXPECT_EQ(Column(b, 10, 0xFF0000FF), ".#######.");
  EXPECT_EQ(gfx::testing_support::FindInk(b, {2, 2, 10, 7}, 0).count, 0);
}

TEST(DrawBorderTest, StyleZeroDrawsNothing) {
  EXPECT_EQ(gfx::testing_support::FindInk(Bordered(kBorderNone, 0xFF0000FF), 0).count, 0);
}

TEST(DrawBorderTest, WidthThickensTheDarkEdgesAndHalvesForTheLightOnes) {
  gfx::Bitmap b = gfx::Bitmap::create(14, 12);
  {
    gfx::Graphics g(b);
    DrawBorder(g, {2, 2, 10, 8}, kBorderSunken, std::nullopt, 2);
  }
  SaveForViewing(b, "border_sunken_width_2");
  // Dark top edge two rows thick, light right edge one column.
  EXPECT_EQ(b.get_pixel(6, 1), kSunkenDark);
  EXPECT_EQ(b.get_pixel(6, 2), kSunkenDark);
  EXPECT_EQ(b.get_pixel(6, 3), 0u);
  EXPECT_EQ(b.get_pixel(11, 5), kLight);
  EXPECT_EQ(b.get_pixel(10, 5), 0u);
  EXPECT_EQ(b.get_pixel(12, 5), 0u);
}

}  // namespace
}  // namespace directui
