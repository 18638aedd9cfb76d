#include "directui/core/fonts.h"

#include <gtest/gtest.h>

#include "directui/core/ansi_text.h"
#include "directui/core/framework_globals.h"
#include "headless_desktop.h"

namespace directui {
namespace {

using platform::gfx::Font;
using testing::HeadlessDesktop;
using testing::WithFonts;

class FontsTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::ResetFrameworkGlobals(); }
  void TearDown() override {
    testing::ResetFrameworkGlobals();
    testing::LoadFontMap(true);
  }
};

std::string Ansi(std::u16string_view text) {
  return WideToAnsi(text);
}

TEST_F(FontsTest, DefaultFontFallsBackFromSongTiToTheCaptionFont) {
  struct Case {
    const char* name;
    bool with_song_ti;
    const char* caption_font;
    std::u16string caption_name;  // what GetSystemUiFontName answers
    std::optional<std::u16string> default_family;
  };
  const Case cases[] = {
      {"song ti present", true, "DejaVu Sans", u"DejaVu Sans", u"宋体"},
      {"song ti present, caption Tahoma", true, "Tahoma", u"宋体", u"宋体"},
      {"song ti missing", false, "DejaVu Sans", u"DejaVu Sans", u"DejaVu Sans"},
      {"song ti missing, caption in Chinese", false, "微软雅黑", u"微软雅黑", u"微软雅黑"},
      // Tahoma stands for 宋体, which is missing too: no candidate is left.
      {"song ti missing, caption Tahoma", false, "Tahoma", u"宋体", std::nullopt},
      {"song ti missing, caption not installed", false, "No Such Face", u"宋体", std::nullopt},
      {"desktop names no caption font", true, "", u"宋体", u"宋体"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(testing::LoadFontMap(c.with_song_ti));
    HeadlessDesktop screen(WithFonts("DejaVu Sans", c.caption_font, "DejaVu Sans"));
    DefaultFont.reset();
    EXPECT_EQ(GetSystemUiFontName(screen.desktop), Ansi(c.caption_name));
    std::optional<Font> font = PickDefaultFont(screen.desktop);
    ASSERT_EQ(font.has_value(), c.default_family.has_value());
    if (!font) continue;
    EXPECT_EQ(font->family_name(), *c.default_family);
    EXPECT_EQ(font->size(), 12.0f);
    EXPECT_EQ(font->style(), 0);
  }
}

TEST_F(FontsTest, TheSelectorPicksMenuCaptionOrMessageFont) {
  HeadlessDesktop screen(WithFonts("DejaVu Serif", "DejaVu Sans", "WenQuanYi Micro Hei"));
  EXPECT_EQ(GetSystemUiFontName(screen.desktop, kMenuFont), "DejaVu Serif");
  EXPECT_EQ(GetSystemUiFontName(screen.desktop, kCaptionFont), "DejaVu Sans");
  EXPECT_EQ(GetSystemUiFontName(screen.desktop, kMessageFont), "WenQuanYi Micro Hei");
  EXPECT_EQ(GetSystemUiFontName(screen.desktop), "DejaVu Sans");
}

TEST_F(FontsTest, ASelectorOutsideOneToThreeAborts) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  HeadlessDesktop screen;
  EXPECT_DEATH(GetSystemUiFontName(screen.desktop, 0), "font selector 0");
  EXPECT_DEATH(GetSystemUiFontName(screen.desktop, 4), "font selector 4");
}

TEST_F(FontsTest, CreateFontByNameFallsBackToTheDefaultFontsFamily) {
  EXPECT_FALSE(CreateFontByName("No Such Face", 12.0f)) << "no default font to fall back to";

  DefaultFont = CreateFontByName(Ansi(u"宋体"), 12.0f);
  ASSERT_TRUE(DefaultFont);
  std::optional<Font> fallback = CreateFontByName(
      "No Such Face", 14.5f, platform::gfx::kFontBold | platform::gfx::kFontItalic);
  ASSERT_TRUE(fallback);
  EXPECT_EQ(fallback->family_name(), u"宋体");
  EXPECT_EQ(fallback->size(), 14.5f);
  EXPECT_EQ(fallback->style(), platform::gfx::kFontBold | platform::gfx::kFontItalic);

  std::optional<Font> named = CreateFontByName(Ansi(u"微软雅黑"), 9.0f);
  ASSERT_TRUE(named);
  EXPECT_EQ(GetFontFamilyName(&*named), Ansi(u"微软雅黑"));

  EXPECT_FALSE(CreateFontByName(Ansi(u"微软雅黑"), 0.0f));
  EXPECT_EQ(GetFontFamilyName(nullptr), "");
}

TEST_F(FontsTest, OnceADefaultFontExistsAMissingCaptionFaceIsKept) {
  // Once a default font exists every name yields a font, so the desktop's face stays.
  HeadlessDesktop screen(WithFonts("", "No Such Face", ""));
  DefaultFont = CreateFontByName(Ansi(u"宋体"), 12.0f);
  ASSERT_TRUE(DefaultFont);
  EXPECT_EQ(GetSystemUiFontName(screen.desktop), "No Such Face");
}

}  // namespace
}  // namespace directui
