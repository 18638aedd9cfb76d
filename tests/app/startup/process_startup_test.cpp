#include "app/process_startup.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "app/globals.h"
#include "app/main_window.h"
#include "directui/core/framework_globals.h"
#include "platform/os/clock.h"
#include "platform/os/headless/headless_display.h"

namespace app {
namespace {

namespace os = platform::os;

struct Screen {
  os::headless::HeadlessDisplay display;
  os::ManualClock clock;
  os::Desktop desktop{display, clock};

  // Handles everything the thread has waiting.
  void Pump() {
    os::Message m;
    while (desktop.peek_message(m)) {
      desktop.translate_message(m);
      desktop.dispatch_message(m);
    }
  }
};

TEST(ProcessStartupTest, TheMainWindowOpensAt50x50WithItsSizeCaptionAndIcons) {
  Screen screen;
  const os::Window window = StartProgram(screen.desktop);
  ASSERT_TRUE(window);
  EXPECT_EQ(MainWindow, window);
  EXPECT_EQ(ProgramDesktop, &screen.desktop);
  EXPECT_EQ(screen.desktop.window_rect(window), (os::Rect{50, 50, 433, 393}));
  EXPECT_EQ(screen.desktop.window_text(window), u"Tarnel软件");
  EXPECT_TRUE(screen.desktop.is_visible(window));

  const auto native = screen.display.window(window);
  ASSERT_TRUE(native);
  EXPECT_TRUE(native->visible);
  EXPECT_EQ(native->bounds, (os::Rect{50, 50, 433, 393}));
  EXPECT_EQ(native->title, "Tarnel软件");
  EXPECT_EQ(native->big_icon.width, 48);
  EXPECT_EQ(native->small_icon.width, 20);

  // The framework was started before the window: its class and resources exist.
  EXPECT_TRUE(directui::SpriteImage);
  EXPECT_TRUE(directui::DefaultFont);
  EXPECT_FALSE(screen.desktop.register_class({.name = "Ex_DirectUI"}));
}

TEST(ProcessStartupTest, TheWindowShowsItsPlainFrameUntilTheHostDrawsIt) {
  Screen screen;
  const os::Window window = StartProgram(screen.desktop);
  ASSERT_TRUE(window);
  screen.Pump();
  const os::headless::Image pixels = screen.display.window_pixels(window);
  ASSERT_EQ(pixels.width, 383);
  ASSERT_EQ(pixels.height, 343);
  const std::uint32_t frame = pixels.at(0, 0);
  const std::uint32_t face = pixels.at(191, 171);
  EXPECT_EQ(face, 0xFFF0F0F0u);
  EXPECT_NE(frame, face);
  EXPECT_EQ(pixels.at(382, 342), frame);
  EXPECT_EQ(pixels.at(382, 100), frame);
  EXPECT_EQ(pixels.at(1, 1), face);
}

// Runs after ReleaseGlobals (exit routines run in reverse order of registration) and tells
// whether that routine ran.
void ReportExitRoutine() {
  std::fprintf(stderr, "exit routine ran, branding text [%s]\n", BrandingText.c_str());
}

TEST(ProcessStartupDeathTest, ACloseRequestEndsTheProcessAtOnceWithoutTheExitRoutine) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        std::atexit(ReportExitRoutine);
        Screen screen;
        const os::Window window = StartProgram(screen.desktop);
        BrandingText = "title[x]";
        screen.display.request_close(window);
        screen.Pump();
        std::fprintf(stderr, "still running\n");
        std::exit(3);
      },
      ::testing::ExitedWithCode(0), ::testing::Not(::testing::HasSubstr("ran")));
}

TEST(ProcessStartupDeathTest, ANormalExitRunsReleaseGlobals) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        std::atexit(ReportExitRoutine);
        Screen screen;
        StartProgram(screen.desktop);
        BrandingText = "title[x]";
        std::exit(5);
      },
      ::testing::ExitedWithCode(5), ::testing::HasSubstr("exit routine ran, branding text []"));
}

TEST(ProcessStartupTest, TheMessageLoopEndsWithTheQuitCode) {
  Screen screen;
  screen.desktop.post_quit_message(7);
  EXPECT_EQ(RunMessageLoop(screen.desktop), 7);
}

}  // namespace
}  // namespace app
