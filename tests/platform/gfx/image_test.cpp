#include "platform/gfx/image.h"

#include <gif_lib.h>
#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include <jpeglib.h>

namespace platform::gfx {
namespace {

using Bytes = std::vector<std::uint8_t>;

int AppendGifBytes(GifFileType* gif, const GifByteType* data, int n) {
  auto* bytes = static_cast<Bytes*>(gif->UserData);
  bytes->insert(bytes->end(), data, data + n);
  return n;
}

// A 2 x 2 GIF: frame 1 red, green / blue, white with delay 0; frame 2 repaints only the right
// column, its top pixel transparent and its bottom one red, with delay 5.
Bytes TwoFrameGif() {
  Bytes out;
  int error = 0;
  GifFileType* gif = EGifOpen(&out, AppendGifBytes, &error);
  EGifSetGifVersion(gif, true);
  GifColorType colors[] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
  ColorMapObject* map = GifMakeMapObject(4, colors);
  EGifPutScreenDesc(gif, 2, 2, 2, 0, map);
  auto frame = [&](int delay, int transparent, int left, int width, std::vector<GifPixelType> px) {
    GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, delay, transparent};
    GifByteType ext[4];
    const size_t n = EGifGCBToExtension(&control, ext);
    EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(n), ext);
    EGifPutImageDesc(gif, left, 0, width, 2, false, nullptr);
    for (int y = 0; y < 2; ++y) EGifPutLine(gif, px.data() + y * width, width);
  };
  frame(0, NO_TRANSPARENT_COLOR, 0, 2, {0, 1, 2, 3});
  frame(5, 2, 1, 1, {2, 0});
  EGifCloseFile(gif, &error);
  GifFreeMapObject(map);
  return out;
}

// A 1 x 8 interlaced GIF whose row y has palette colour y: the rows are stored in the
// interlace order 0, 4, 2, 6, 1, 3, 5, 7.
Bytes InterlacedGif() {
  Bytes out;
  int error = 0;
  GifFileType* gif = EGifOpen(&out, AppendGifBytes, &error);
  GifColorType colors[8];
  for (int i = 0; i < 8; ++i) colors[i] = {static_cast<GifByteType>(i * 30), 0, 0};
  ColorMapObject* map = GifMakeMapObject(8, colors);
  EGifPutScreenDesc(gif, 1, 8, 3, 0, map);
  EGifPutImageDesc(gif, 0, 0, 1, 8, true, nullptr);
  for (GifPixelType row : {0, 4, 2, 6, 1, 3, 5, 7}) EGifPutLine(gif, &row, 1);
  EGifCloseFile(gif, &error);
  GifFreeMapObject(map);
  return out;
}

Bytes Png(int w, int h, const std::vector<std::uint8_t>& rgba) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(w);
  image.height = static_cast<png_uint_32>(h);
  image.format = PNG_FORMAT_RGBA;
  png_alloc_size_t size = 0;
  png_image_write_to_memory(&image, nullptr, &size, 0, rgba.data(), 0, nullptr);
  Bytes out(size);
  png_image_write_to_memory(&image, out.data(), &size, 0, rgba.data(), 0, nullptr);
  out.resize(size);
  return out;
}

// An 8 x 8 JPEG of one colour with an Exif block, as cameras write them.
Bytes JpegWithExif() {
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* memory = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &memory, &size);
  info.image_width = 8;
  info.image_height = 8;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  jpeg_start_compress(&info, TRUE);
  const std::uint8_t exif[] = {'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0, 8, 0, 0, 0, 0, 0};
  jpeg_write_marker(&info, JPEG_APP0 + 1, exif, sizeof exif);
  std::vector<JSAMPLE> row(8 * 3);
  for (int x = 0; x < 8; ++x) {
    row[x * 3] = 200;
    row[x * 3 + 1] = 40;
    row[x * 3 + 2] = 90;
  }
  while (info.next_scanline < 8) {
    JSAMPROW rows[] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  Bytes out(memory, memory + size);
  jpeg_destroy_compress(&info);
  std::free(memory);
  return out;
}

TEST(ImageTest, GifKeepsEveryFrameWithItsDelay) {
  const Bytes gif = TwoFrameGif();
  std::optional<Image> image = Image::decode(gif);
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->width(), 2);
  EXPECT_EQ(image->height(), 2);
  EXPECT_EQ(image->time_frame_count(), 2);
  ASSERT_TRUE(image->frame_delays().has_value());
  EXPECT_EQ(*image->frame_delays(), (std::vector<std::int32_t>{0, 5}));

  EXPECT_EQ(image->active_frame(), 0);
  EXPECT_EQ(image->bitmap().get_pixel(0, 0), 0xFFFF0000u);
  EXPECT_EQ(image->bitmap().get_pixel(1, 0), 0xFF00FF00u);
  EXPECT_EQ(image->bitmap().get_pixel(0, 1), 0xFF0000FFu);
  EXPECT_EQ(image->bitmap().get_pixel(1, 1), 0xFFFFFFFFu);

  ASSERT_TRUE(image->select_frame(1));
  // The second frame is drawn over the first: its transparent pixel shows what was there.
  EXPECT_EQ(image->bitmap().get_pixel(0, 0), 0xFFFF0000u);
  EXPECT_EQ(image->bitmap().get_pixel(1, 0), 0xFF00FF00u);
  EXPECT_EQ(image->bitmap().get_pixel(1, 1), 0xFFFF0000u);

  EXPECT_FALSE(image->select_frame(2));
  EXPECT_FALSE(image->select_frame(-1));
  EXPECT_EQ(image->active_frame(), 1);
}

TEST(ImageTest, InterlacedGifRowsComeOutInPictureOrder) {
  std::optional<Image> image = Image::decode(InterlacedGif());
  ASSERT_TRUE(image.has_value());
  ASSERT_EQ(image->height(), 8);
  EXPECT_EQ(image->time_frame_count(), 1);
  for (int y = 0; y < 8; ++y) EXPECT_EQ(RedOf(image->bitmap().get_pixel(0, y)), y * 30) << y;
}

TEST(ImageTest, PngDecodesOnlyWithItsSignature) {
  const Bytes png = Png(3, 1, {255, 0, 0, 255, 0, 0, 255, 128, 10, 20, 30, 0});
  std::optional<Image> image = Image::decode(png);
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->width(), 3);
  EXPECT_EQ(image->height(), 1);
  EXPECT_EQ(image->bitmap().get_pixel(0, 0), 0xFFFF0000u);
  EXPECT_EQ(image->bitmap().get_pixel(1, 0), 0x800000FFu);
  EXPECT_EQ(image->bitmap().get_pixel(2, 0), 0u);
  // A still picture has no time dimension and no frame delays.
  EXPECT_EQ(image->time_frame_count(), 0);
  EXPECT_FALSE(image->frame_delays().has_value());

  const Bytes unsigned_png(png.begin() + 8, png.end());
  EXPECT_FALSE(Image::decode(unsigned_png).has_value());
  Bytes resigned = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};
  resigned.insert(resigned.end(), unsigned_png.begin(), unsigned_png.end());
  EXPECT_TRUE(Image::decode(resigned).has_value());
}

TEST(ImageTest, JpegWithExifDecodes) {
  std::optional<Image> image = Image::decode(JpegWithExif());
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->width(), 8);
  EXPECT_EQ(image->height(), 8);
  const Argb c = image->bitmap().get_pixel(4, 4);
  EXPECT_EQ(AlphaOf(c), 255);
  EXPECT_NEAR(RedOf(c), 200, 6);
  EXPECT_NEAR(GreenOf(c), 40, 6);
  EXPECT_NEAR(BlueOf(c), 90, 6);
}

TEST(ImageTest, BrokenOrTruncatedBytesGiveNoImage) {
  const Bytes jpeg = JpegWithExif();
  const Bytes png = Png(16, 16, std::vector<std::uint8_t>(16 * 16 * 4, 77));
  const Bytes gif = TwoFrameGif();
  const std::vector<std::pair<const char*, Bytes>> cases = {
      {"empty", {}},
      {"text", {'h', 'e', 'l', 'l', 'o'}},
      {"jpeg cut in half", Bytes(jpeg.begin(), jpeg.begin() + jpeg.size() / 2)},
      {"jpeg marker only", Bytes(jpeg.begin(), jpeg.begin() + 3)},
      {"png cut short", Bytes(png.begin(), png.end() - 20)},
      {"png header only", Bytes(png.begin(), png.begin() + 33)},
      {"gif cut short", Bytes(gif.begin(), gif.begin() + gif.size() - 8)},
      {"gif header only", Bytes(gif.begin(), gif.begin() + 6)},
  };
  for (const auto& [name, bytes] : cases) {
    EXPECT_FALSE(Image::decode(bytes).has_value()) << name;
  }
}

std::uint32_t Crc32(const std::uint8_t* data, std::size_t n) {
  std::uint32_t crc = 0xFFFFFFFF;
  for (std::size_t i = 0; i < n; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

// The PNG with its header rewritten to claim another size, checksum mended.
Bytes WithDeclaredSize(Bytes png, std::uint32_t side) {
  for (int at : {16, 20}) {
    for (int k = 0; k < 4; ++k) png[at + k] = static_cast<std::uint8_t>(side >> (24 - 8 * k));
  }
  const std::uint32_t crc = Crc32(png.data() + 12, 17);
  for (int k = 0; k < 4; ++k) png[29 + k] = static_cast<std::uint8_t>(crc >> (24 - 8 * k));
  return png;
}

TEST(ImageTest, HugeDeclaredSizesAreRefusedBeforeDecoding) {
  const Bytes png = Png(1, 1, {1, 2, 3, 4});
  EXPECT_TRUE(Image::decode(WithDeclaredSize(png, 1)).has_value());  // the rewrite itself is sound
  EXPECT_FALSE(Image::decode(WithDeclaredSize(png, 20000)).has_value());
  // A GIF screen of 65535 x 65535 with nothing in it.
  const Bytes gif = {'G', 'I', 'F', '8', '9', 'a', 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, ';'};
  EXPECT_FALSE(Image::decode(gif).has_value());
}

TEST(ImageTest, CorruptedBodiesNeverCrash) {
  // Flipped bytes anywhere in the data: decoding either succeeds or gives none.
  for (const Bytes& original :
       {JpegWithExif(), TwoFrameGif(), Png(4, 4, std::vector<std::uint8_t>(64, 200))}) {
    for (std::size_t i = 0; i < original.size(); i += 3) {
      Bytes bytes = original;
      bytes[i] ^= 0x5A;
      std::optional<Image> image = Image::decode(bytes);
      if (image) {
        EXPECT_GT(image->width(), 0);
        EXPECT_FALSE(image->bitmap().empty());
      }
    }
  }
}

}  // namespace
}  // namespace platform::gfx
