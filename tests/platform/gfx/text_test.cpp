#include <gtest/gtest.h>
#include <pango/pangocairo.h>

#include <cstring>
#include <limits>
#include <string>

#include "platform/gfx/font.h"
#include "platform/gfx/font_config.h"
#include "platform/gfx/font_map.h"
#include "platform/gfx/graphics.h"
#include "platform/gfx/pixel_probe.h"

namespace platform::gfx {
namespace {

using testing_support::FindInk;
using testing_support::Ink;

constexpr Argb kWhite = 0xFFFFFFFF;
const std::string kFonts = SHOULU_FONTS_DIR;

class TextTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(LoadFontConfigFile(kFonts + "/fonts.conf")); }

  static Font MakeFont(std::u16string_view family, float size = 12, int style = 0) {
    std::optional<FontFamily> f = FontFamily::find(family);
    EXPECT_TRUE(f.has_value());
    return *Font::create(*f, size, style);
  }

  // Text drawn in black on white in a layout rectangle.
  static Bitmap Draw(std::u16string_view text, const Font& font, RectF layout,
                     const StringFormat& format, int width = 120, int height = 40) {
    Bitmap b = Bitmap::create(width, height);
    Graphics g(b);
    g.clear(kWhite);
    g.set_text_rendering_hint(TextRenderingHint::anti_alias_grid_fit);
    g.draw_string(text, font, layout, format, SolidBrush{0xFF000000});
    return b;
  }

  static float Width(std::u16string_view text, const Font& font, const StringFormat& format = {}) {
    Bitmap b = Bitmap::create(1, 1);
    return Graphics(b).measure_string(text, font, {0, 0, 0, 0}, format).width;
  }
};

TEST_F(TextTest, FamiliesTheProgramNamesAreInstalledOthersAreMissing) {
  for (std::u16string_view name : {u"宋体", u"SimSun", u"微软雅黑", u"Microsoft YaHei", u"Tahoma",
                                   u"DejaVu Sans", u"dejavu sans"}) {
    EXPECT_TRUE(FontFamily::find(name).has_value()) << std::string(name.begin(), name.end());
  }
  for (std::u16string_view name : {u"No Such Family", u"", u"Wingdings"}) {
    EXPECT_FALSE(FontFamily::find(name).has_value());
  }
  EXPECT_EQ(FontFamily::find(u"宋体")->name(), u"宋体");
}

TEST_F(TextTest, VariantConfigurationLacksSimSunOnly) {
  ASSERT_TRUE(LoadFontConfigFile(kFonts + "/fonts-without-simsun.conf"));
  EXPECT_FALSE(FontFamily::find(u"宋体").has_value());
  EXPECT_FALSE(FontFamily::find(u"SimSun").has_value());
  EXPECT_TRUE(FontFamily::find(u"微软雅黑").has_value());
  EXPECT_TRUE(FontFamily::find(u"Tahoma").has_value());
}

TEST_F(TextTest, UnreadableConfigurationKeepsThePreviousOne) {
  EXPECT_FALSE(LoadFontConfigFile(kFonts + "/no-such-file.conf"));
  EXPECT_FALSE(LoadFontConfigText("<fontconfig><dir>"));
  EXPECT_TRUE(FontFamily::find(u"宋体").has_value());
}

TEST_F(TextTest, FontsKnowTheirFamilySizeAndLineHeight) {
  const Font small = MakeFont(u"宋体", 12);
  const Font large = MakeFont(u"宋体", 24, kFontBold);
  EXPECT_EQ(small.family_name(), u"宋体");
  EXPECT_EQ(large.style(), kFontBold);
  EXPECT_GE(small.line_height(), 12.0f);
  EXPECT_LT(small.line_height(), 20.0f);
  EXPECT_GT(large.line_height(), small.line_height() * 1.7f);
  const FontFamily family = *FontFamily::find(u"Tahoma");
  EXPECT_FALSE(Font::create(family, 0).has_value());
  EXPECT_FALSE(Font::create(family, -3).has_value());
}

TEST_F(TextTest, CjkCaptionsRenderRealGlyphs) {
  for (std::u16string_view family : {u"宋体", u"微软雅黑"}) {
    const Font font = MakeFont(family);
    // The configured face has every glyph: nothing is drawn as a missing-glyph box.
    PangoLayout* layout = pango_layout_new(NewTextContext());
    g_object_unref(pango_layout_get_context(layout));
    pango_layout_set_font_description(layout, font.description());
    pango_layout_set_text(layout, "开始查询", -1);
    EXPECT_EQ(pango_layout_get_unknown_glyphs_count(layout), 0);
    g_object_unref(layout);

    StringFormat format;
    format.flags = kStringFormatNoWrap;
    const Bitmap caption = Draw(u"开始查询", font, {2, 2, 100, 20}, format);
    const Ink ink = FindInk(caption, kWhite);
    EXPECT_GT(ink.count, 60);
    EXPECT_GE(ink.box.width(), 40);  // four characters of about 12 pixels
    // Each character has ink of its own, and no two look alike.
    std::vector<Bitmap> glyphs;
    for (char16_t c : std::u16string_view(u"开始查询")) {
      glyphs.push_back(Draw(std::u16string(1, c), font, {0, 0, 16, 16}, format, 16, 16));
      EXPECT_GT(FindInk(glyphs.back(), kWhite).count, 15);
    }
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
      for (std::size_t j = i + 1; j < glyphs.size(); ++j) {
        EXPECT_NE(std::memcmp(glyphs[i].pixels(), glyphs[j].pixels(), 16 * glyphs[i].stride()), 0);
      }
    }
  }
}

TEST_F(TextTest, MeasuredWidthsGrowWithTheText) {
  const Font font = MakeFont(u"宋体");
  for (const auto& texts : {std::vector<std::u16string>{u"W", u"WW", u"WWW", u"WWWWWWWW"},
                            std::vector<std::u16string>{u"开", u"开始", u"开始查询"},
                            std::vector<std::u16string>{u"i", u"in", u"ind", u"indexed"}}) {
    float previous = 0;
    for (const std::u16string& t : texts) {
      const float w = Width(t, font);
      EXPECT_GT(w, previous) << t.size();
      previous = w;
    }
  }
  // A CJK character takes about one em.
  EXPECT_NEAR(Width(u"开始查询", font) - Width(u"开始", font), 24, 3);
  EXPECT_EQ(Width(u"", font), 0);
  // The box includes the line height.
  Bitmap b = Bitmap::create(1, 1);
  EXPECT_NEAR(Graphics(b).measure_string(u"开始", font, {}, {}).height, font.line_height(), 1);
}

TEST_F(TextTest, TrailingSpacesCountOnlyWhenAsked) {
  const Font font = MakeFont(u"Tahoma");
  StringFormat trailing;
  trailing.flags = kStringFormatMeasureTrailingSpaces;
  EXPECT_FLOAT_EQ(Width(u"ab   ", font), Width(u"ab", font));
  EXPECT_GT(Width(u"ab   ", font, trailing), Width(u"ab", font, trailing) + 5);
}

TEST_F(TextTest, EllipsisKeepsALongCaptionInsideItsBox) {
  const Font font = MakeFont(u"Tahoma");
  const std::u16string caption = u"A caption far too long for the little box it is given";
  const RectF box{4, 2, 80, 16};
  StringFormat format;
  format.flags = kStringFormatNoWrap | kStringFormatNoClip;  // so only trimming can keep it in
  format.trimming = StringTrimming::none;
  EXPECT_GT(FindInk(Draw(caption, font, box, format, 400), kWhite).box.right, 120);
  for (StringTrimming t :
       {StringTrimming::ellipsis_character, StringTrimming::ellipsis_word,
        StringTrimming::ellipsis_path, StringTrimming::character, StringTrimming::word}) {
    format.trimming = t;
    const Ink ink = FindInk(Draw(caption, font, box, format, 400), kWhite);
    EXPECT_GT(ink.count, 50) << static_cast<int>(t);
    EXPECT_LE(ink.box.right, 84) << static_cast<int>(t);
    Bitmap b = Bitmap::create(1, 1);
    EXPECT_LE(Graphics(b).measure_string(caption, font, box, format).width, 80.5f);
  }
  // Without the no-clip flag the box clips whatever overflows.
  format.flags = kStringFormatNoWrap;
  format.trimming = StringTrimming::none;
  EXPECT_LE(FindInk(Draw(caption, font, box, format, 400), kWhite).box.right, 84);
}

TEST_F(TextTest, TrimmingWithoutEllipsisShowsAPrefixOfTheText) {
  const Font font = MakeFont(u"Tahoma");
  const std::u16string caption = u"A caption far too long";
  StringFormat trimmed;
  trimmed.flags = kStringFormatNoWrap | kStringFormatNoClip;
  StringFormat plain = trimmed;
  plain.trimming = StringTrimming::none;
  struct Case {
    StringTrimming trimming;
    bool ends_on_word;
  };
  for (const Case& c : {Case{StringTrimming::character, false}, Case{StringTrimming::word, true}}) {
    trimmed.trimming = c.trimming;
    const Bitmap shown = Draw(caption, font, {4, 2, 80, 16}, trimmed);
    // The picture is that of some prefix drawn untrimmed: no hyphen, no ellipsis.
    std::size_t matched = 0;
    for (std::size_t n = 1; n < caption.size() && matched == 0; ++n) {
      const Bitmap prefix = Draw(caption.substr(0, n), font, {4, 2, 80, 16}, plain);
      if (std::memcmp(prefix.pixels(), shown.pixels(), shown.height() * shown.stride()) == 0) {
        matched = n;
      }
    }
    ASSERT_GT(matched, 3u) << static_cast<int>(c.trimming);
    if (c.ends_on_word) {
      EXPECT_TRUE(matched == caption.size() || caption[matched] == u' ' ||
                  caption[matched - 1] == u' ')
          << matched;
    } else {
      EXPECT_NE(caption[matched], u' ') << matched;  // cut inside a word
    }
  }
}

TEST_F(TextTest, EllipsisShortensOnlyCaptionsThatOverflow) {
  const Font font = MakeFont(u"Tahoma");
  StringFormat ellipsis;
  ellipsis.flags = kStringFormatNoWrap;
  ellipsis.trimming = StringTrimming::ellipsis_character;
  StringFormat plain = ellipsis;
  plain.trimming = StringTrimming::none;
  const Bitmap a = Draw(u"Short", font, {4, 2, 80, 16}, ellipsis);
  const Bitmap b = Draw(u"Short", font, {4, 2, 80, 16}, plain);
  EXPECT_EQ(std::memcmp(a.pixels(), b.pixels(), a.height() * a.stride()), 0);
}

TEST_F(TextTest, HotkeyPrefixUnderlinesTheMarkedCharacter) {
  const Font font = MakeFont(u"Tahoma", 14);
  const RectF box{2, 2, 100, 20};
  StringFormat show, hide, none;
  show.hotkey_prefix = HotkeyPrefix::show;
  hide.hotkey_prefix = HotkeyPrefix::hide;
  const Bitmap shown = Draw(u"&Save", font, box, show);
  const Bitmap hidden = Draw(u"&Save", font, box, hide);
  const Bitmap plain = Draw(u"Save", font, box, none);
  // Hidden: the "&" vanishes and nothing else changes.
  EXPECT_EQ(std::memcmp(hidden.pixels(), plain.pixels(), plain.height() * plain.stride()), 0);
  // None: the "&" is text like any other.
  EXPECT_GT(FindInk(Draw(u"&Save", font, box, none), kWhite).count,
            FindInk(plain, kWhite).count + 10);

  // Shown: the only difference is a line under the "S", below the letters.
  Bitmap b = Bitmap::create(1, 1);
  StringFormat ranges = show;
  ranges.measurable_ranges = {{1, 1}};
  const RectF s_box = Graphics(b).measure_character_ranges(u"&Save", font, box, ranges)[0].bounds();
  const Ink letters = FindInk(plain, kWhite);
  int under = 0;
  for (int y = 0; y < shown.height(); ++y) {
    for (int x = 0; x < shown.width(); ++x) {
      if (shown.get_pixel(x, y) == plain.get_pixel(x, y)) continue;
      ++under;
      EXPECT_GE(x, s_box.x - 1);
      EXPECT_LE(x, s_box.right() + 1);
      EXPECT_GE(y, letters.box.top + letters.box.height() * 3 / 4);
    }
  }
  EXPECT_GE(under, 4);
  // "&&" is one ampersand.
  EXPECT_FLOAT_EQ(Width(u"a&&b", font, hide), Width(u"a&b", font));
}

TEST_F(TextTest, UnderlineStyleDrawsALineUnderTheWholeText) {
  const RectF box{2, 2, 100, 20};
  const Ink plain = FindInk(Draw(u"Save", MakeFont(u"Tahoma", 14), box, {}), kWhite);
  const Bitmap underlined = Draw(u"Save", MakeFont(u"Tahoma", 14, kFontUnderline), box, {});
  // A row below the letters is inked across their whole width.
  const Ink below =
      FindInk(underlined, {0, plain.box.bottom - 1, 120, plain.box.bottom + 4}, kWhite);
  EXPECT_GE(below.box.width(), plain.box.width() - 2);
  EXPECT_GT(FindInk(underlined, kWhite).count, plain.count + plain.box.width() - 2);
}

TEST_F(TextTest, SingleBitRenderingHasNoBlendedPixels) {
  const Font font = MakeFont(u"Tahoma", 13);
  auto blended_pixels = [&](TextRenderingHint hint) {
    Bitmap b = Bitmap::create(80, 20);
    Graphics g(b);
    g.set_text_rendering_hint(hint);
    g.draw_string(u"Query 123", font, {0, 0, 80, 20}, {}, SolidBrush{0xFF000000});
    int blended = 0, solid = 0;
    for (int y = 0; y < 20; ++y) {
      for (int x = 0; x < 80; ++x) {
        const int a = AlphaOf(b.get_pixel(x, y));
        blended += a > 0 && a < 255;
        solid += a == 255;
      }
    }
    return std::pair{blended, solid};
  };
  const auto [hard_blended, hard_solid] = blended_pixels(TextRenderingHint::single_bit_per_pixel);
  EXPECT_EQ(hard_blended, 0);
  EXPECT_GT(hard_solid, 40);
  EXPECT_GT(blended_pixels(TextRenderingHint::anti_alias_grid_fit).first, 20);
  EXPECT_GT(blended_pixels(TextRenderingHint::anti_alias).first, 20);
}

TEST_F(TextTest, AlignmentPlacesTheLineInTheBox) {
  const Font font = MakeFont(u"宋体");
  const RectF box{10, 4, 100, 30};
  StringFormat format;
  format.flags = kStringFormatNoWrap;
  const Ink near = FindInk(Draw(u"开始", font, box, format, 130), kWhite);
  format.alignment = StringAlignment::center;
  format.line_alignment = StringAlignment::center;
  const Ink centre = FindInk(Draw(u"开始", font, box, format, 130), kWhite);
  format.alignment = StringAlignment::far;
  format.line_alignment = StringAlignment::far;
  const Ink far = FindInk(Draw(u"开始", font, box, format, 130), kWhite);
  EXPECT_NEAR(near.box.left, 12, 2);  // after the padding of a sixth of the size
  EXPECT_NEAR(near.box.top, 5, 3);
  EXPECT_NEAR((centre.box.left + centre.box.right) / 2.0, 60, 2);
  EXPECT_NEAR((centre.box.top + centre.box.bottom) / 2.0, 19, 2);
  EXPECT_NEAR(far.box.right, 108, 2);
  EXPECT_NEAR(far.box.bottom, 34, 3);
}

TEST_F(TextTest, WrappingAndLineLimit) {
  const Font font = MakeFont(u"Tahoma");
  const std::u16string text = u"one two three four five six";
  const float line = font.line_height();
  Bitmap b = Bitmap::create(1, 1);
  Graphics g(b);
  StringFormat wrap;
  EXPECT_GE(g.measure_string(text, font, {0, 0, 60, 0}, wrap).height, 2.5f * line);
  StringFormat no_wrap;
  no_wrap.flags = kStringFormatNoWrap;
  EXPECT_NEAR(g.measure_string(text, font, {0, 0, 60, 0}, no_wrap).height, line, 1);

  // A box one and a half lines high: the second line shows cut, unless only whole lines may.
  const RectF box{2, 2, 60, 1.5f * line};
  const int second_line_top = static_cast<int>(2 + line + 1);
  const Rect second{0, second_line_top, 70, static_cast<int>(2 + 1.5f * line)};
  EXPECT_GT(FindInk(Draw(text, font, box, wrap, 70, 60), second, kWhite).count, 0);
  StringFormat limited;
  limited.flags = kStringFormatLineLimit;
  EXPECT_EQ(FindInk(Draw(text, font, box, limited, 70, 60), second, kWhite).count, 0);
  EXPECT_GT(FindInk(Draw(text, font, box, limited, 70, 60), kWhite).count, 20);
  EXPECT_NEAR(g.measure_string(text, font, box, limited).height, line, 1);
}

TEST_F(TextTest, CharacterRangesCoverTheirCharacters) {
  const Font font = MakeFont(u"宋体");
  StringFormat format;
  format.flags = kStringFormatNoWrap;
  format.measurable_ranges = {{0, 1}, {1, 1}, {3, 1}, {0, 4}, {2, 0}, {9, 3}};
  Bitmap b = Bitmap::create(1, 1);
  const std::vector<TextRegion> regions =
      Graphics(b).measure_character_ranges(u"开始查询", font, {5, 3, 200, 20}, format);
  ASSERT_EQ(regions.size(), 6u);
  const RectF first = regions[0].bounds();
  const RectF second = regions[1].bounds();
  const RectF fourth = regions[2].bounds();
  const RectF all = regions[3].bounds();
  EXPECT_NEAR(first.x, 7, 1);
  EXPECT_NEAR(first.width, 12, 1);
  EXPECT_NEAR(second.x, first.right(), 0.5);
  EXPECT_NEAR(fourth.right(), all.right(), 0.5);
  EXPECT_NEAR(all.width, 48, 2);
  EXPECT_NEAR(all.height, font.line_height(), 1);
  EXPECT_NEAR(all.y, 3, 0.5);
  EXPECT_TRUE(regions[4].empty());
  EXPECT_TRUE(regions[5].empty());
}

TEST_F(TextTest, UnusableLayoutRectanglesDrawAndMeasureNothing) {
  const Font font = MakeFont(u"Tahoma");
  const float nan = std::numeric_limits<float>::quiet_NaN();
  StringFormat format;
  format.measurable_ranges = {{0, 2}};
  for (RectF bad : {RectF{nan, 0, 50, 20}, RectF{0, 0, std::numeric_limits<float>::infinity(), 20},
                    RectF{0, 0, 1e30f, 1e30f}}) {
    EXPECT_EQ(FindInk(Draw(u"abc", font, bad, format), kWhite).count, 0);
    Bitmap b = Bitmap::create(1, 1);
    Graphics g(b);
    EXPECT_EQ(g.measure_string(u"abc", font, bad, format), RectF{});
    EXPECT_TRUE(g.measure_character_ranges(u"abc", font, bad, format)[0].empty());
  }
  // A very wide but usable rectangle lays out as an unlimited one.
  EXPECT_GT(FindInk(Draw(u"abc", font, {2, 2, 3e6f, 3e6f}, format), kWhite).count, 10);
}

TEST_F(TextTest, NoFontFallbackStillDrawsCoveredText) {
  const Font font = MakeFont(u"宋体");
  StringFormat format;
  format.flags = kStringFormatNoWrap | kStringFormatNoFontFallback;
  EXPECT_GT(FindInk(Draw(u"收录量", font, {2, 2, 100, 20}, format), kWhite).count, 60);
}

}  // namespace
}  // namespace platform::gfx
