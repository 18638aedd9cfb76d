#include "directui/core/image_bytes.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <vector>

#include "directui/core/measure_text_ok.h"
#include "platform/gfx/font.h"
#include "resources/pictures.h"

namespace directui {
namespace {

using Bytes = std::vector<std::uint8_t>;
using platform::gfx::Bitmap;
using platform::gfx::Graphics;

// A 2 × 1 GIF of two frames: red, green; then blue, green.
Bytes TwoFrameGif() {
  Bytes out;
  auto write = [](GifFileType* gif, const GifByteType* data, int n) {
    auto* bytes = static_cast<Bytes*>(gif->UserData);
    bytes->insert(bytes->end(), data, data + n);
    return n;
  };
  int error = 0;
  GifFileType* gif = EGifOpen(&out, write, &error);
  EGifSetGifVersion(gif, true);
  GifColorType colors[] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
  ColorMapObject* map = GifMakeMapObject(4, colors);
  EGifPutScreenDesc(gif, 2, 1, 2, 0, map);
  for (GifPixelType first : {GifPixelType{0}, GifPixelType{2}}) {
    GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 10, NO_TRANSPARENT_COLOR};
    GifByteType ext[4];
    const size_t n = EGifGCBToExtension(&control, ext);
    EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(n), ext);
    EGifPutImageDesc(gif, 0, 0, 2, 1, false, nullptr);
    GifPixelType row[] = {first, 1};
    EGifPutLine(gif, row, 2);
  }
  EGifCloseFile(gif, &error);
  GifFreeMapObject(map);
  return out;
}

TEST(ImageBytesTest, TheCaptionStripDecodesOnlyWithTheSignatureAdded) {
  ImagePtr with = LoadImageFromBytes(resources::CaptionButtons(), {.add_signature = true});
  ASSERT_TRUE(with);
  EXPECT_EQ(GetImageWidth(with.get()), 729);
  EXPECT_EQ(GetImageHeight(with.get()), 20);
  EXPECT_FALSE(LoadImageFromBytes(resources::CaptionButtons()));
  EXPECT_FALSE(LoadImageFromBytes(resources::CheckBoxes()));
  ImagePtr boxes = LoadImageFromBytes(resources::CheckBoxes(), {.add_signature = true});
  ASSERT_TRUE(boxes);
  EXPECT_EQ(GetImageWidth(boxes.get()), 68);
  EXPECT_EQ(GetImageHeight(boxes.get()), 17);
  // A picture that has its signature gets a second one and no longer decodes.
  EXPECT_FALSE(LoadImageFromBytes(resources::CheckMark(), {.add_signature = true}));
}

TEST(ImageBytesTest, BytesThatDoNotDecodeGiveNoImage) {
  const Bytes garbage = {0x89, 'P', 'N', 'G', 1, 2, 3};
  EXPECT_FALSE(LoadImageFromBytes(garbage));
  EXPECT_FALSE(LoadImageFromBytes(garbage, {.keep_stream = true}));
  EXPECT_FALSE(LoadImageFromBytes({}));
  EXPECT_EQ(GetImageWidth(nullptr), 0);
  EXPECT_EQ(GetImageHeight(nullptr), 0);
}

TEST(ImageBytesTest, TheCopyIsOneStillArgbPictureWhileTheKeptFormHasEveryFrame) {
  const Bytes gif = TwoFrameGif();
  ImagePtr copy = LoadImageFromBytes(gif);
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy->time_frame_count(), 0);
  EXPECT_EQ(copy->bitmap().get_pixel(0, 0), 0xFFFF0000u);
  EXPECT_EQ(copy->bitmap().get_pixel(1, 0), 0xFF00FF00u);

  ImagePtr kept = LoadImageFromBytes(gif, {.keep_stream = true});
  ASSERT_TRUE(kept);
  EXPECT_EQ(kept->time_frame_count(), 2);
  ASSERT_TRUE(kept->select_frame(1));
  EXPECT_EQ(kept->bitmap().get_pixel(0, 0), 0xFF0000FFu);
  FreeStreamImage(kept);
  EXPECT_FALSE(kept);
}

TEST(ImageBytesTest, TheArgbCopyKeepsEveryPixelOfTheSprite) {
  ImagePtr copy = LoadImageFromBytes(resources::CaptionButtons(), {.add_signature = true});
  ImagePtr kept =
      LoadImageFromBytes(resources::CaptionButtons(), {.add_signature = true, .keep_stream = true});
  ASSERT_TRUE(copy && kept);
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 729; ++x) {
      ASSERT_EQ(copy->bitmap().get_pixel(x, y), kept->bitmap().get_pixel(x, y)) << x << "," << y;
    }
  }
}

TEST(ImageBytesTest, DrawImageRectDrawsTheWholeImageOrTheSourceArea) {
  ImagePtr sprite = LoadImageFromBytes(resources::CaptionButtons(), {.add_signature = true});
  ASSERT_TRUE(sprite);
  const Bitmap& from = sprite->bitmap();

  // No source: the whole picture lands at the destination, its corner on the corner.
  Bitmap whole = Bitmap::create(740, 30);
  {
    Graphics g(whole);
    DrawImageRect(g, sprite.get(), RectF{5, 7, 729, 20});
  }
  for (auto [x, y] : {std::pair{0, 0}, {3, 2}, {400, 10}, {728, 19}}) {
    EXPECT_EQ(whole.get_pixel(5 + x, 7 + y), from.get_pixel(x, y)) << x << "," << y;
  }

  // A source area, drawn at its own size.
  Bitmap part = Bitmap::create(39, 19);
  {
    Graphics g(part);
    DrawImageRect(g, sprite.get(), RectF{0, 0, 39, 19}, RectF{39, 2, 39, 19});
  }
  for (auto [x, y] : {std::pair{0, 0}, {20, 9}, {38, 18}}) {
    EXPECT_EQ(part.get_pixel(x, y), from.get_pixel(39 + x, 2 + y)) << x << "," << y;
  }

  Bitmap untouched = Bitmap::create(4, 4);
  Graphics g(untouched);
  DrawImageRect(g, nullptr, RectF{0, 0, 4, 4});
  EXPECT_EQ(untouched.get_pixel(1, 1), 0u);
}

TEST(MeasureTextOkTest, AnswersOneWithTheBoxOrZeroWithoutAFont) {
  Bitmap canvas = Bitmap::create(200, 50);
  Graphics g(canvas);
  auto family = platform::gfx::FontFamily::find(u"DejaVu Sans");
  ASSERT_TRUE(family);
  auto font = platform::gfx::Font::create(*family, 12.0f);
  ASSERT_TRUE(font);

  RectF bounds{-1, -1, -1, -1};
  EXPECT_EQ(MeasureTextOk(g, u"开始查询", &*font, {}, RectF{}, &bounds), 1);
  EXPECT_GT(bounds.width, 20.0f);
  EXPECT_GT(bounds.height, 10.0f);

  RectF kept{-1, -1, -1, -1};
  EXPECT_EQ(MeasureTextOk(g, u"abc", nullptr, {}, RectF{}, &kept), 0);
  EXPECT_EQ(kept, (RectF{-1, -1, -1, -1}));
  EXPECT_EQ(MeasureTextOk(g, u"abc", &*font, {}, RectF{}, nullptr), 0);
}

}  // namespace
}  // namespace directui
