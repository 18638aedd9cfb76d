// The window's tooltip: shown after the pointer rests on an element with a tooltip text,
// hidden when the pointer leaves it, on a press and when the tool goes.
#include "directui/core/tooltip_window.h"

#include "input_fixture.h"
#include "platform/gfx/color.h"

namespace directui::input_testing {
namespace {

namespace gfx = platform::gfx;

constexpr int kDelay = static_cast<int>(kToolTipInitialDelay);

class ToolTipTest : public InputTest {
 protected:
  void SetUp() override {
    Attach();
    ASSERT_NE(button.Create(host.window, MakeRectF(20, 40, 100, 30), 2), nullptr);
    ASSERT_NE(plain.Create(host.window, MakeRectF(200, 40, 100, 30), 2), nullptr);
    button.SetToolTip("Start the query");
  }

  bool Shown() const { return desktop.is_visible(host.tooltip_window); }

  std::string Text() {
    char buffer[256] = "unchanged";
    ToolInfo info{.window = window, .text = buffer};
    desktop.send_message(host.tooltip_window, TTM_GETTEXTA, sizeof buffer,
                         reinterpret_cast<LPARAM>(&info));
    return buffer;
  }

  // Rests the pointer on the button until its tip shows.
  void ShowButtonTip() {
    PointerTo(30, 50);
    Advance(kDelay);
    ASSERT_TRUE(Shown());
  }

  Probe button, plain;
};

TEST_F(ToolTipTest, ShowsTheTextAfterThePointerRestsOnTheElement) {
  PointerTo(30, 50);
  EXPECT_EQ(host.tooltip.rect, (os::Rect{20, 40, 120, 70}));
  EXPECT_EQ(host.tooltip.text, "Start the query");
  Advance(kDelay - 1);
  EXPECT_FALSE(Shown());
  Advance(1);
  ASSERT_TRUE(Shown());
  EXPECT_EQ(Text(), "Start the query");
  // Just below the pointer, and never activated.
  const os::Rect tip = desktop.window_rect(host.tooltip_window);
  EXPECT_EQ(tip.left, kOrigin.x + 30);
  EXPECT_GT(tip.top, kOrigin.y + 50);
  EXPECT_EQ(desktop.active_window(), window);
  EXPECT_TRUE(display.window(host.tooltip_window)->topmost);
  EXPECT_TRUE(display.window(host.tooltip_window)->menu);
}

TEST_F(ToolTipTest, EveryMoveStartsTheDelayAgain) {
  PointerTo(30, 50);
  Advance(kDelay - 100);
  PointerTo(35, 50);
  Advance(kDelay - 100);
  EXPECT_FALSE(Shown());
  Advance(100);
  EXPECT_TRUE(Shown());
}

TEST_F(ToolTipTest, DrawsAPaleBoxWithABorderAndDarkText) {
  ShowButtonTip();
  const os::headless::Image pixels = display.window_pixels(host.tooltip_window);
  const os::Rect tip = desktop.window_rect(host.tooltip_window);
  ASSERT_EQ(pixels.width, tip.width());
  const gfx::Argb border = gfx::Unpremultiply(pixels.at(0, 0));
  const gfx::Argb fill = gfx::Unpremultiply(pixels.at(2, 2));
  EXPECT_EQ(gfx::Unpremultiply(pixels.at(pixels.width - 1, pixels.height - 1)), border);
  EXPECT_NE(border, fill);
  EXPECT_GT(fill & 0xFF, 0xC0u);  // pale
  int dark = 0;
  for (int y = 1; y < pixels.height - 1; ++y) {
    for (int x = 1; x < pixels.width - 1; ++x) {
      dark += (gfx::Unpremultiply(pixels.at(x, y)) & 0xFF) < 0x60 ? 1 : 0;
    }
  }
  EXPECT_GT(dark, 10);
}

TEST_F(ToolTipTest, HidesWhenThePointerLeavesForAnElementWithoutText) {
  ShowButtonTip();
  PointerTo(210, 50);
  EXPECT_FALSE(Shown());
  Advance(kDelay * 2);
  EXPECT_FALSE(Shown());
}

TEST_F(ToolTipTest, HidesWhenThePointerLeavesTheWindow) {
  ShowButtonTip();
  display.move_pointer({kOrigin.x + kWidth + 40, kOrigin.y + 50});
  Advance(static_cast<int>(kToolTipWatchInterval));
  EXPECT_FALSE(Shown());
}

TEST_F(ToolTipTest, APressHidesItUntilThePointerHasLeft) {
  ShowButtonTip();
  display.press();
  Pump();
  EXPECT_FALSE(Shown());
  display.release();
  Pump();
  Advance(kDelay * 2);
  EXPECT_FALSE(Shown());
  // Out and back in: the tip comes again.
  PointerTo(300, 200);
  PointerTo(30, 50);
  Advance(kDelay);
  EXPECT_TRUE(Shown());
}

TEST_F(ToolTipTest, DeletingTheToolHidesTheTip) {
  ShowButtonTip();
  button.SetToolTip("", true);
  EXPECT_FALSE(Shown());
  EXPECT_EQ(Text(), "");
}

TEST_F(ToolTipTest, ANewTextOnTheRestingPointerShowsAfterTheDelay) {
  ShowButtonTip();
  // The tool is deleted and added again: the tip starts over without the pointer moving.
  button.SetToolTip("Stop", true);
  EXPECT_FALSE(Shown());
  Advance(kDelay);
  EXPECT_TRUE(Shown());
  EXPECT_EQ(Text(), "Stop");
}

TEST_F(ToolTipTest, LongTextWrapsAtTheMaximumWidth) {
  button.SetToolTip("one two three four five six seven eight nine ten eleven twelve");
  ShowButtonTip();
  const os::Rect wide = desktop.window_rect(host.tooltip_window);
  PointerTo(300, 200);
  EXPECT_EQ(desktop.send_message(host.tooltip_window, TTM_SETMAXTIPWIDTH, 0, 120), 1024);
  ShowButtonTip();
  const os::Rect narrow = desktop.window_rect(host.tooltip_window);
  EXPECT_GT(wide.width(), 120);
  EXPECT_LE(narrow.width(), 120);
  EXPECT_GT(narrow.height(), wide.height());
}

}  // namespace
}  // namespace directui::input_testing
