#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>

#include "resources/generator/picture_decoding.h"
#include "resources/pictures.h"

namespace {

using picgen::SurfacePtr;

std::uint32_t BigEndian32(std::span<const std::uint8_t> bytes, std::size_t at) {
  return (std::uint32_t{bytes[at]} << 24) | (bytes[at + 1] << 16) | (bytes[at + 2] << 8) |
         bytes[at + 3];
}

constexpr std::uint8_t kSignature[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};

struct PngHeader {
  std::uint32_t width = 0, height = 0;
  int bit_depth = 0, colour_type = 0;
};

// Reads IHDR from PNG data that starts at its first chunk.
PngHeader ReadIhdr(std::span<const std::uint8_t> chunks) {
  PngHeader h;
  if (chunks.size() < 8 + 13 || BigEndian32(chunks, 0) != 13 ||
      std::memcmp(chunks.data() + 4, "IHDR", 4) != 0) {
    return h;
  }
  h.width = BigEndian32(chunks, 8);
  h.height = BigEndian32(chunks, 12);
  h.bit_depth = chunks[16];
  h.colour_type = chunks[17];
  return h;
}

struct PngCase {
  const char* name;
  std::span<const std::uint8_t> bytes;
  bool stored_without_signature;
  std::uint32_t width, height;
};

const PngCase kPngs[] = {
    {"CaptionButtons", resources::CaptionButtons(), true, 729, 20},
    {"CheckBoxes", resources::CheckBoxes(), true, 68, 17},
    {"CheckMark", resources::CheckMark(), false, 20, 20},
    {"MenuIconTopMost", resources::MenuIconTopMost(), false, 22, 22},
    {"MenuIconNotTopMost", resources::MenuIconNotTopMost(), false, 22, 22},
    {"MenuIconContactQq", resources::MenuIconContactQq(), false, 20, 20},
    {"MenuIconContactWw", resources::MenuIconContactWw(), false, 25, 25},
    {"MenuIconOpenSite", resources::MenuIconOpenSite(), false, 22, 22},
    {"ProgramIcon20", resources::ProgramIcon20(), false, 20, 20},
    {"ProgramIcon32", resources::ProgramIcon32(), false, 32, 32},
    {"ProgramIcon48", resources::ProgramIcon48(), false, 48, 48},
};

TEST(PicturesTest, PngsHaveTheirSizeAsEightBitRgbaAndStoredFormOfTheSignature) {
  for (const PngCase& c : kPngs) {
    SCOPED_TRACE(c.name);
    ASSERT_GT(c.bytes.size(), 8u);
    const bool has_signature =
        std::equal(std::begin(kSignature), std::end(kSignature), c.bytes.begin());
    EXPECT_EQ(has_signature, !c.stored_without_signature);
    const PngHeader h = ReadIhdr(has_signature ? c.bytes.subspan(8) : c.bytes);
    EXPECT_EQ(h.width, c.width);
    EXPECT_EQ(h.height, c.height);
    EXPECT_EQ(h.bit_depth, 8);
    EXPECT_EQ(h.colour_type, 6);  // RGBA
  }
}

TEST(PicturesTest, StripsDecodeOnlyWithTheSignatureAdded) {
  for (const PngCase& c : kPngs) {
    SCOPED_TRACE(c.name);
    const auto decoded = picgen::DecodePng(c.bytes, c.stored_without_signature);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(cairo_image_surface_get_width(decoded->get()), static_cast<int>(c.width));
    EXPECT_EQ(cairo_image_surface_get_height(decoded->get()), static_cast<int>(c.height));
    if (c.stored_without_signature) {
      EXPECT_FALSE(picgen::DecodePng(c.bytes, false).has_value());
    }
  }
}

// Walks the JPEG markers up to the first frame header.
struct JpegFacts {
  bool exif = false;
  bool jfif = false;
  int frame_marker = 0;
  int width = 0, height = 0, components = 0;
};

JpegFacts ReadJpegMarkers(std::span<const std::uint8_t> b) {
  JpegFacts facts;
  if (b.size() < 4 || b[0] != 0xFF || b[1] != 0xD8) return facts;
  std::size_t at = 2;
  while (at + 4 <= b.size() && b[at] == 0xFF) {
    const int marker = b[at + 1];
    const std::size_t length = (b[at + 2] << 8) | b[at + 3];
    if (at + 2 + length > b.size()) break;
    const std::uint8_t* body = b.data() + at + 4;
    if (marker == 0xE1 && length >= 8 && std::memcmp(body, "Exif\0\0", 6) == 0) facts.exif = true;
    if (marker == 0xE0 && length >= 7 && std::memcmp(body, "JFIF\0", 5) == 0) facts.jfif = true;
    if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
      facts.frame_marker = marker;
      facts.height = (body[1] << 8) | body[2];
      facts.width = (body[3] << 8) | body[4];
      facts.components = body[5];
      break;
    }
    at += 2 + length;
  }
  return facts;
}

TEST(PicturesTest, BackgroundIsABaselineJpegWithExifOf450By380InThreeComponents) {
  const JpegFacts facts = ReadJpegMarkers(resources::WindowBackground());
  EXPECT_EQ(facts.frame_marker, 0xC0);  // baseline DCT
  EXPECT_TRUE(facts.exif);
  EXPECT_FALSE(facts.jfif);
  EXPECT_EQ(facts.width, 450);
  EXPECT_EQ(facts.height, 380);
  EXPECT_EQ(facts.components, 3);
  const auto decoded = picgen::DecodeJpeg(resources::WindowBackground());
  ASSERT_TRUE(decoded.has_value());
  EXPECT_EQ(cairo_image_surface_get_width(decoded->get()), 450);
}

// Pixel access on a decoded ARGB32 surface (premultiplied).
class Pixels {
 public:
  explicit Pixels(cairo_surface_t* s)
      : data_(cairo_image_surface_get_data(s)), stride_(cairo_image_surface_get_stride(s)) {
    cairo_surface_flush(s);
  }
  std::uint32_t At(int x, int y) const {
    return reinterpret_cast<const std::uint32_t*>(data_ + y * stride_)[x];
  }
  int Alpha(int x, int y) const { return At(x, y) >> 24; }

  struct Sums {
    long long red = 0, green = 0, blue = 0, opaque = 0;
  };
  Sums SumOf(int x, int y, int w, int h) const {
    Sums s;
    for (int j = y; j < y + h; ++j) {
      for (int i = x; i < x + w; ++i) {
        const std::uint32_t p = At(i, j);
        if ((p >> 24) < 128) continue;
        ++s.opaque;
        s.red += (p >> 16) & 0xFF;
        s.green += (p >> 8) & 0xFF;
        s.blue += p & 0xFF;
      }
    }
    return s;
  }
  bool SameArea(int ax, int bx, int y, int w, int h) const {
    for (int j = y; j < y + h; ++j) {
      for (int i = 0; i < w; ++i) {
        if (At(ax + i, j) != At(bx + i, j)) return false;
      }
    }
    return true;
  }

 private:
  const unsigned char* data_;
  int stride_;
};

SurfacePtr DecodedStrip() {
  auto strip = picgen::DecodePng(resources::CaptionButtons(), true);
  return strip ? std::move(*strip) : SurfacePtr();
}

struct CaptionButton {
  const char* name;
  int normal_x, width;
};

// Columns as the caption buttons cut them: normal, hot, pressed, one pixel apart.
const CaptionButton kButtons[] = {
    {"close", 0, 39},       {"maximise", 120, 28}, {"restore", 207, 28}, {"minimise", 294, 28},
    {"drop-down", 381, 28}, {"skin", 468, 28},     {"message", 555, 28}, {"settings", 642, 28},
};

TEST(CaptionStripTest, EveryLookHasAGlyphAndHotAndPressedDifferFromNormal) {
  const SurfacePtr strip = DecodedStrip();
  ASSERT_TRUE(strip);
  const Pixels px(strip.get());
  for (const CaptionButton& b : kButtons) {
    SCOPED_TRACE(b.name);
    for (int look = 0; look < 3; ++look) {
      EXPECT_GT(px.SumOf(b.normal_x + look * (b.width + 1), 2, b.width, 18).opaque, 10) << look;
    }
    EXPECT_FALSE(px.SameArea(b.normal_x, b.normal_x + b.width + 1, 2, b.width, 18));
    EXPECT_FALSE(px.SameArea(b.normal_x, b.normal_x + 2 * (b.width + 1), 2, b.width, 18));
    EXPECT_FALSE(
        px.SameArea(b.normal_x + b.width + 1, b.normal_x + 2 * (b.width + 1), 2, b.width, 18));
  }
}

TEST(CaptionStripTest, NothingIsDrawnOutsideTheCutRectangles) {
  const SurfacePtr strip = DecodedStrip();
  ASSERT_TRUE(strip);
  const Pixels px(strip.get());
  bool inside[729] = {};
  for (const CaptionButton& b : kButtons) {
    for (int look = 0; look < 3; ++look) {
      const int x = b.normal_x + look * (b.width + 1);
      std::fill(inside + x, inside + x + b.width, true);
    }
  }
  for (int x = 0; x < 729; ++x) {
    // Rows 0 and 1 lie above every cut; row 19 is the last one a 19-row cut from y 2 reaches
    // inside the strip, and is kept clear so a cut running past the strip's end looks the same.
    for (int y : {0, 1, 19}) EXPECT_EQ(px.Alpha(x, y), 0) << x << ", " << y;
    if (inside[x]) continue;
    for (int y = 0; y < 20; ++y) EXPECT_EQ(px.Alpha(x, y), 0) << x << ", " << y;
  }
}

TEST(CaptionStripTest, CloseIsRedWhenHotAndPressedAndOthersAreNot) {
  const SurfacePtr strip = DecodedStrip();
  ASSERT_TRUE(strip);
  const Pixels px(strip.get());
  for (const CaptionButton& b : kButtons) {
    SCOPED_TRACE(b.name);
    for (int look = 1; look < 3; ++look) {
      const Pixels::Sums s = px.SumOf(b.normal_x + look * (b.width + 1), 2, b.width, 18);
      ASSERT_GT(s.opaque, 0);
      const bool red = s.red > 2 * s.green && s.red > 2 * s.blue;
      EXPECT_EQ(red, std::string(b.name) == "close") << look;
    }
  }
}

TEST(CheckBoxStripTest, CheckedStateIsDistinctFromUnchecked) {
  auto boxes = picgen::DecodePng(resources::CheckBoxes(), true);
  ASSERT_TRUE(boxes.has_value());
  const Pixels px(boxes->get());
  // The list draws x 0 for an unchecked row and x 34 for a checked one.
  const Pixels::Sums unchecked = px.SumOf(0, 0, 17, 17);
  const Pixels::Sums checked = px.SumOf(34, 0, 17, 17);
  ASSERT_GT(unchecked.opaque, 100);
  ASSERT_GT(checked.opaque, 100);
  // Unchecked is a light box, checked a filled coloured one.
  EXPECT_GT(unchecked.red + unchecked.green, checked.red + checked.green + 100 * 17);
  EXPECT_FALSE(px.SameArea(0, 17, 0, 17, 17));
  EXPECT_FALSE(px.SameArea(34, 51, 0, 17, 17));
}

TEST(MenuIconTest, DrawingStaysInsideTheBoxTheMenuShows) {
  // The menu centres an icon on a 20 x 20 box and clips it there: an icon of size s starts
  // (s - 20) / 2 pixels, rounded half away from zero, before the box.
  for (const PngCase& c : kPngs) {
    const std::string name = c.name;
    if (name.rfind("MenuIcon", 0) != 0 && name != "CheckMark") continue;
    SCOPED_TRACE(name);
    auto icon = picgen::DecodePng(c.bytes, false);
    ASSERT_TRUE(icon.has_value());
    const Pixels px(icon->get());
    const int size = static_cast<int>(c.width);
    const int offset = (size - 20 + 1) / 2;
    long long shown = 0;
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        const bool visible = x >= offset && x < offset + 20 && y >= offset && y < offset + 20;
        if (visible) {
          shown += px.Alpha(x, y) > 0;
        } else {
          EXPECT_EQ(px.Alpha(x, y), 0) << x << ", " << y;
        }
      }
    }
    EXPECT_GT(shown, 20);
  }
}

}  // namespace
