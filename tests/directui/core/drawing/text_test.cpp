#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "directui/core/text_effects.h"
#include "directui/core/text_measure.h"
#include "drawing_probe.h"
#include "platform/gfx/font_config.h"
#include "platform/gfx/pixel_probe.h"
#include "platform/text/code_page.h"

namespace directui {
namespace {

namespace gfx = platform::gfx;
using gfx::testing_support::FindInk;
using gfx::testing_support::Ink;
using testing_support::SamePixels;
using testing_support::SaveForViewing;

const std::string kFonts = SHOULU_FONTS_DIR;

class TextDrawingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gfx::LoadFontConfigFile(kFonts + "/fonts.conf"));
    const std::optional<gfx::FontFamily> family = gfx::FontFamily::find(u"宋体");
    ASSERT_TRUE(family);
    font_ = gfx::Font::create(*family, 12);
    ASSERT_TRUE(font_);
    format_.flags = gfx::kStringFormatNoWrap;
    format_.trimming = gfx::StringTrimming::none;
  }

  // The text drawn with an effect onto a transparent 100 x 40 canvas in (20, 12, 60, 16).
  gfx::Bitmap Drawn(int effect, Argb colour = 0xFE000000, std::optional<Argb> glow = std::nullopt,
                    RectF rect = {20, 12, 60, 16}) {
    gfx::Bitmap b = gfx::Bitmap::create(100, 40);
    gfx::Graphics g(b);
    DrawTextEffect(g, rect, u"Glow 光", &*font_, colour, format_, effect, glow);
    return b;
  }

  std::optional<gfx::Font> font_;
  gfx::StringFormat format_;
};

TEST(WideLengthTest, CountsUtf16UnitsUpToTheFirstZero) {
  const std::string chinese = platform::text::FromUtf16(u"收录量", platform::text::kCodePageGbk);
  ASSERT_EQ(chinese.size(), 6u);
  EXPECT_EQ(WideLength(chinese), 3);
  EXPECT_EQ(WideLength("abc"), 3);
  EXPECT_EQ(WideLength("a" + chinese), 4);
  EXPECT_EQ(WideLength(std::string("ab\0cd", 5)), 2);
  EXPECT_EQ(WideLength(""), 0);
}

TEST_F(TextDrawingTest, MeasureTextRangeGivesTheRangeInsideTheWholeText) {
  gfx::Bitmap b = gfx::Bitmap::create(200, 40);
  const gfx::Graphics g(b);
  const std::u16string text = u"Hello world";
  const RectF layout{10, 5, 180, 30};
  const auto whole = MeasureTextRange(g, text, &*font_, format_, 0, 11, layout);
  const auto world = MeasureTextRange(g, text, &*font_, format_, 6, 5, layout);
  ASSERT_TRUE(whole && world);
  EXPECT_GE(whole->bounds.x, layout.x);
  EXPECT_GT(whole->bounds.width, 30);
  EXPECT_GT(whole->bounds.height, 8);
  // "world" is the right part of the whole line.
  EXPECT_GT(world->bounds.x, whole->bounds.x + 20);
  EXPECT_NEAR(world->bounds.right(), whole->bounds.right(), 0.5);
  EXPECT_LT(world->bounds.width, whole->bounds.width * 0.6);
  EXPECT_FALSE(world->region);
  // The layout rectangle moves the result with it.
  const auto moved = MeasureTextRange(g, text, &*font_, format_, 6, 5, {40, 25, 180, 30});
  ASSERT_TRUE(moved);
  EXPECT_NEAR(moved->bounds.x - world->bounds.x, 30, 0.01);
  EXPECT_NEAR(moved->bounds.y - world->bounds.y, 20, 0.01);
}

TEST_F(TextDrawingTest, MeasureTextRangeKeepsTheRegionWhenAsked) {
  gfx::Bitmap b = gfx::Bitmap::create(200, 40);
  const gfx::Graphics g(b);
  const auto kept = MeasureTextRange(g, u"Hello", &*font_, format_, 1, 3, {0, 0, 200, 40}, true);
  ASSERT_TRUE(kept && kept->region);
  EXPECT_FALSE(kept->region->empty());
  EXPECT_EQ(kept->region->bounds(), kept->bounds);
}

TEST_F(TextDrawingTest, MeasureTextRangeRefusesWhatItCannotMeasure) {
  gfx::Bitmap b = gfx::Bitmap::create(200, 40);
  const gfx::Graphics g(b);
  const RectF layout{0, 0, 200, 40};
  EXPECT_FALSE(MeasureTextRange(g, u"Hello", nullptr, format_, 0, 5, layout));
  EXPECT_FALSE(MeasureTextRange(g, u"Hello", &*font_, format_, 0, 6, layout));
  EXPECT_FALSE(MeasureTextRange(g, u"Hello", &*font_, format_, -1, 2, layout));
  EXPECT_FALSE(MeasureTextRange(g, u"Hello", &*font_, format_, 2, -1, layout));
  EXPECT_FALSE(MeasureTextRange(g, u"Hello", &*font_, format_, 0x7FFFFFFF, 1, layout));
  // An empty caption measured for its whole length is an empty box, not a failure.
  const auto empty = MeasureTextRange(g, u"", &*font_, format_, 0, 0, layout);
  ASSERT_TRUE(empty);
  EXPECT_EQ(empty->bounds.width, 0);
  gfx::Bitmap none;
  const gfx::Graphics dead(none);
  EXPECT_FALSE(MeasureTextRange(dead, u"Hello", &*font_, format_, 0, 5, layout));
}

TEST_F(TextDrawingTest, EffectsWithoutGlowDrawOnlyTheText) {
  const gfx::Bitmap plain = Drawn(kTextEffectNone);
  SaveForViewing(plain, "text_effect_0");
  const Ink ink = FindInk(plain, 0);
  ASSERT_GT(ink.count, 20);
  // Only the text colour, and only inside the text's rectangle.
  EXPECT_GE(ink.box.left, 20);
  EXPECT_GE(ink.box.top, 12);
  EXPECT_LE(ink.box.bottom, 28);
  for (int effect : {1, 2, 5, -1}) {
    EXPECT_TRUE(SamePixels(Drawn(effect), plain)) << "effect " << effect;
  }
}

TEST_F(TextDrawingTest, GlowReachesBeyondTheTextsBox) {
  const Ink text = FindInk(Drawn(kTextEffectNone), 0);
  for (int effect : {kTextEffectGlow, kTextEffectTightGlow}) {
    const gfx::Bitmap glowing = Drawn(effect);
    SaveForViewing(glowing, "text_effect_" + std::to_string(effect));
    const Ink ink = FindInk(glowing, 0);
    EXPECT_LT(ink.box.left, text.box.left) << effect;
    EXPECT_LT(ink.box.top, text.box.top) << effect;
    EXPECT_GT(ink.box.right, text.box.right) << effect;
    EXPECT_GT(ink.box.bottom, text.box.bottom) << effect;
    // ... but no further than the glow canvas: 4 left and above, 3 right and below.
    EXPECT_GE(ink.box.left, 16) << effect;
    EXPECT_GE(ink.box.top, 8) << effect;
    EXPECT_LE(ink.box.bottom, 12 + 16 + 3) << effect;
  }
}

TEST_F(TextDrawingTest, GlowColourFollowsTheTextColourUnlessGiven) {
  struct Case {
    Argb text_colour;
    std::optional<Argb> glow;
    Argb expected_glow;  // its colour; its alpha is smeared by the blur
  };
  const Case cases[] = {
      {0xFE000000, std::nullopt, 0x55FFFFFF},  // dark text: white glow
      {0xFE000000, 0, 0x55FFFFFF},             // 0 is the same as none
      {0xFEFFFFFF, std::nullopt, 0x4B000000},  // light text: black glow
      {0xFE000000, 0xC0FF0000, 0xC0FF0000},    // a given glow colour
  };
  for (const Case& c : cases) {
    const gfx::Bitmap b = Drawn(kTextEffectGlow, c.text_colour, c.glow);
    // Left of the text's rectangle there is glow only.
    const Ink halo = FindInk(b, {0, 0, 20, 40}, 0);
    ASSERT_GT(halo.count, 0) << std::hex << c.text_colour;
    for (int y = halo.box.top; y < halo.box.bottom; ++y) {
      for (int x = halo.box.left; x < 20; ++x) {
        const Argb p = b.get_pixel(x, y);
        if (p == 0) continue;
        EXPECT_LE(gfx::AlphaOf(p), gfx::AlphaOf(c.expected_glow) + 1);
        // Faint pixels lose colour precision in premultiplied storage.
        if (gfx::AlphaOf(p) < 24) continue;
        EXPECT_NEAR(gfx::RedOf(p), gfx::RedOf(c.expected_glow), 24) << x << ", " << y;
        EXPECT_NEAR(gfx::GreenOf(p), gfx::GreenOf(c.expected_glow), 24) << x << ", " << y;
      }
    }
  }
}

TEST_F(TextDrawingTest, TextEffectTruncatesItsRectangle) {
  EXPECT_TRUE(
      SamePixels(Drawn(kTextEffectGlow, 0xFE000000, std::nullopt, {20.9f, 12.8f, 60.7f, 16.6f}),
                 Drawn(kTextEffectGlow)));
}

TEST_F(TextDrawingTest, GlowAloneStaysInItsCanvasAndNeedsAFontAndAReduction) {
  gfx::Bitmap b = gfx::Bitmap::create(100, 40);
  gfx::Graphics g(b);
  DrawGlowText(g, {30, 10, 40, 16}, u"Glow", &*font_, format_, 0xFF000000, 3.0f);
  SaveForViewing(b, "glow_alone");
  const Ink ink = FindInk(b, 0);
  ASSERT_GT(ink.count, 0);
  EXPECT_GE(ink.box.left, 26);
  EXPECT_GE(ink.box.top, 6);
  EXPECT_LE(ink.box.right, 77);
  EXPECT_LE(ink.box.bottom, 33);
  // A halo round the text's own place: it covers the text drawn there and more.
  gfx::Bitmap plain = gfx::Bitmap::create(100, 40);
  {
    gfx::Graphics p(plain);
    p.draw_string(u"Glow", *font_, {30, 10, 40, 16}, format_, gfx::SolidBrush{0xFF000000});
  }
  const Ink text = FindInk(plain, 0);
  EXPECT_LT(ink.box.left, text.box.left);
  EXPECT_LT(ink.box.top, text.box.top);
  EXPECT_GT(ink.box.right, text.box.right);
  EXPECT_GT(ink.box.bottom, text.box.bottom);
  EXPECT_GT(ink.count, text.count * 2);

  gfx::Bitmap other = gfx::Bitmap::create(100, 40);
  gfx::Graphics h(other);
  DrawGlowText(h, {30, 10, 40, 16}, u"Glow", nullptr, format_, 0xFF000000);
  DrawGlowText(h, {30, 10, 40, 16}, u"Glow", &*font_, format_, 0xFF000000, 0);
  DrawGlowText(h, {30, 10, 40, 16}, u"Glow", &*font_, format_, 0xFF000000, -2);
  DrawTextEffect(h, {30, 10, 40, 16}, u"Glow", nullptr, 0xFE000000, format_, kTextEffectGlow);
  EXPECT_EQ(FindInk(other, 0).count, 0);
}

}  // namespace
}  // namespace directui
