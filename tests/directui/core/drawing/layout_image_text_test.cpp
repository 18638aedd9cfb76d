#include "directui/core/layout_image_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>

namespace directui {
namespace {

namespace gfx = platform::gfx;

struct Size {
  int width;
  int height;
};

struct LayoutCase {
  const char* name;
  int layout;
  RectF box;
  std::optional<Size> image;
  RectF text_size;
  int offset_x;
  int offset_y;
  int gap;
  RectF text;
  RectF image_rect;
};

std::string Describe(const RectF& r) {
  std::ostringstream os;
  os << "(" << r.x << ", " << r.y << ", " << r.width << ", " << r.height << ")";
  return os.str();
}

// The box (10, 20, 100, 40) holds a 16 x 12 image and text measured as 30.5 x 14, shifted by
// (3, 2) with a gap of 4. Worked by hand: the group of image, gap and text is 50.5 wide, so it
// starts at 3 + 10 + 49.5 / 2 = 37.75, truncated 37; the text rectangle is 32.5 x 16.
const LayoutCase kCases[] = {
    {"image left of text",
     0,
     {10, 20, 100, 40},
     Size{16, 12},
     {0, 0, 30.5f, 14},
     3,
     2,
     4,
     {57, 34, 32.5f, 16},
     {37, 36, 16, 12}},
    {"text left of image",
     1,
     {10, 20, 100, 40},
     Size{16, 12},
     {0, 0, 30.5f, 14},
     3,
     2,
     4,
     // image x = 37 + 30.5 + 4 = 71.5, truncated
     {37, 34, 32.5f, 16},
     {71, 36, 16, 12}},
    {"image above text",
     2,
     {10, 20, 100, 40},
     Size{16, 12},
     {0, 0, 30.5f, 14},
     3,
     2,
     4,
     // image y = 2 + 20 + (40 - 12 - 4 - 14) / 2 = 27; text x = 13 + 67.5 / 2 = 46.75
     {46, 43, 32.5f, 16},
     {55, 27, 16, 12}},
    {"on top of each other",
     3,
     {10, 20, 100, 40},
     Size{16, 12},
     {0, 0, 30.5f, 14},
     3,
     2,
     4,
     {46, 34, 32.5f, 16},
     {55, 36, 16, 12}},
    {"image at the left edge",
     4,
     {10, 20, 100, 40},
     Size{16, 12},
     {0, 0, 30.5f, 14},
     3,
     2,
     4,
     // the text is as wide as the rest: 100 - 16 - 4 - 3
     {33, 34, 77, 16},
     {13, 36, 16, 12}},
    {"text at the left edge",
     5,
     {10, 20, 100, 40},
     Size{16, 12},
     {0, 0, 30.5f, 14},
     3,
     2,
     4,
     {13, 34, 77, 16},
     {94, 36, 16, 12}},
    {"image at the top",
     6,
     {10, 20, 100, 40},
     Size{16, 12},
     {0, 0, 30.5f, 14},
     3,
     2,
     4,
     // text 35.5 wide: x = 13 + 64.5 / 2 = 45.25; y = 22 + 12 + 4
     {45, 38, 35.5f, 16},
     {55, 22, 16, 12}},
    {"box too small: positions truncate toward zero",
     0,
     {0, 0, 20, 10},
     Size{16, 12},
     {0, 0, 30.5f, 14},
     0,
     0,
     4,
     // image x = (20 - 50.5) / 2 = -15.25, y = -1; text y = (10 - 16) / 2
     {5, -3, 32.5f, 16},
     {-15, -1, 16, 12}},
    {"no image counts as 0 x 0",
     0,
     {10, 20, 100, 40},
     std::nullopt,
     {0, 0, 30.5f, 14},
     3,
     2,
     4,
     // the group is 34.5 wide: 13 + 65.5 / 2 = 45.75
     {49, 34, 32.5f, 16},
     {45, 42, 0, 0}},
    {"unknown layout places nothing",
     7,
     {10, 20, 100, 40},
     Size{16, 12},
     {0, 0, 30.5f, 14},
     3,
     2,
     4,
     {0, 0, 0, 0},
     {0, 0, 0, 0}},
};

TEST(LayoutImageAndTextTest, PlacesImageAndTextByLayout) {
  for (const LayoutCase& c : kCases) {
    std::optional<gfx::Image> image;
    if (c.image) image = gfx::Image::still(gfx::Bitmap::create(c.image->width, c.image->height));
    const ImageTextRects r = LayoutImageAndText(image ? &*image : nullptr, c.layout, c.box,
                                                c.text_size, c.offset_x, c.offset_y, c.gap);
    EXPECT_TRUE(r.text == c.text) << c.name << ": text " << Describe(r.text);
    EXPECT_TRUE(r.image == c.image_rect) << c.name << ": image " << Describe(r.image);
  }
}

}  // namespace
}  // namespace directui
