#include "directui/core/framework_init.h"

#include <gtest/gtest.h>

#include "directui/core/ansi_text.h"
#include "directui/core/framework_globals.h"
#include "directui/core/popup_window.h"
#include "headless_desktop.h"

namespace directui {
namespace {

class FrameworkInitTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::ResetFrameworkGlobals(); }
  void TearDown() override {
    testing::ResetFrameworkGlobals();
    testing::LoadFontMap(true);
  }
};

TEST_F(FrameworkInitTest, PreparesEveryFrameworkResource) {
  ASSERT_TRUE(testing::LoadFontMap(true));
  testing::HeadlessDesktop screen;
  InitFramework(screen.desktop);

  ASSERT_TRUE(DefaultFont);
  EXPECT_EQ(DefaultFont->family_name(), u"宋体");
  EXPECT_EQ(DefaultFont->size(), 12.0f);
  EXPECT_EQ(DefaultCursor, platform::os::CursorShape::arrow);
  ASSERT_TRUE(SpriteImage);
  EXPECT_EQ(SpriteImage->width(), 729);
  EXPECT_EQ(SpriteImage->height(), 20);
  EXPECT_EQ(SpriteImage->time_frame_count(), 0);
  EXPECT_TRUE(ClassIcon);
  EXPECT_EQ(OsMajorVersion, 0) << "no blur-behind service to ask for";

  // The framework's class exists, and its windows get the framework's cursor.
  const platform::os::Window window = CreatePopupWindow(screen.desktop, {});
  ASSERT_TRUE(window);
  EXPECT_EQ(screen.desktop.class_style(window), platform::os::CS_DBLCLKS);
}

TEST_F(FrameworkInitTest, WithoutSongTiTheDefaultFontIsTheCaptionFace) {
  ASSERT_TRUE(testing::LoadFontMap(false));
  testing::HeadlessDesktop screen(testing::WithFonts("", "DejaVu Sans", ""));
  InitFramework(screen.desktop);
  ASSERT_TRUE(DefaultFont);
  EXPECT_EQ(DefaultFont->family_name(), u"DejaVu Sans");
  EXPECT_EQ(DefaultFont->size(), 12.0f);
}

}  // namespace
}  // namespace directui
