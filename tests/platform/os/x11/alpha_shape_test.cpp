#include <gmock/gmock.h>

#include <vector>

#include "platform/os/x11/window_shape.h"

namespace {

using platform::os::PixelView;
using platform::os::Rect;
using platform::os::x11::RectsFromAlpha;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr std::uint32_t kOpaque = 0xFF102030;
constexpr std::uint32_t kFaint = 0x01010101;  // barely visible still counts

// Rows of '#' (visible), '.' (alpha 0) and '+' (faint), in rows `stride` pixels apart.
std::vector<std::uint32_t> Pixels(const std::vector<const char*>& rows, int stride) {
  std::vector<std::uint32_t> pixels(rows.size() * static_cast<std::size_t>(stride), kOpaque);
  for (std::size_t y = 0; y < rows.size(); ++y) {
    for (int x = 0; rows[y][x] != '\0'; ++x) {
      const char c = rows[y][x];
      pixels[y * stride + x] = c == '#' ? kOpaque : c == '+' ? kFaint : 0x00FFFFFF;
    }
  }
  return pixels;
}

TEST(RectsFromAlphaTest, IdenticalRowsShareABandAndRunsSplitIt) {
  const std::vector<const char*> rows{
      "........",  //
      "..####..",  //
      "..####..",  //
      ".##..+#.",  //
      "..####..",  //
      "........",
  };
  // Each row is padded to 10 pixels of opaque colour that must not count.
  const std::vector<std::uint32_t> pixels = Pixels(rows, 10);
  EXPECT_THAT(RectsFromAlpha(PixelView{pixels.data(), 8, 6, 40}),
              ElementsAre(Rect{2, 1, 6, 3}, Rect{1, 3, 3, 4}, Rect{5, 3, 7, 4}, Rect{2, 4, 6, 5}));
}

TEST(RectsFromAlphaTest, RunsReachingTheEdgesAreKept) {
  const std::vector<const char*> rows{"####", "#..#", "####"};
  const std::vector<std::uint32_t> pixels = Pixels(rows, 4);
  EXPECT_THAT(RectsFromAlpha(PixelView{pixels.data(), 4, 3, 16}),
              ElementsAre(Rect{0, 0, 4, 1}, Rect{0, 1, 1, 2}, Rect{3, 1, 4, 2}, Rect{0, 2, 4, 3}));
}

TEST(RectsFromAlphaTest, NothingVisibleOrNoPixelsGiveNoRectangles) {
  const std::vector<const char*> rows{"....", "...."};
  const std::vector<std::uint32_t> clear = Pixels(rows, 4);
  EXPECT_THAT(RectsFromAlpha(PixelView{clear.data(), 4, 2, 16}), IsEmpty());
  EXPECT_THAT(RectsFromAlpha(PixelView{}), IsEmpty());
  EXPECT_THAT(RectsFromAlpha(PixelView{clear.data(), 4, 2, 8}), IsEmpty())
      << "a stride shorter than a row is refused";
}

}  // namespace
