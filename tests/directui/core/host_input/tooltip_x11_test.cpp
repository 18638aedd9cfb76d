// The tooltip on a real X server: the pointer resting on an element with a tooltip text puts
// the pale tip on the screen below it, and a press takes it away again.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>

#include "directui/core/element.h"
#include "directui/core/host.h"
#include "directui/core/tooltip_window.h"
#include "platform/os/messages.h"
#include "platform/os/window_styles.h"
#include "tests/directui/core/x11_support/x11_screen_fixture.h"

// After the fixture, which brings Xlib in last.
#include <X11/extensions/XTest.h>

namespace directui {
namespace {

namespace os = platform::os;

constexpr int kLeft = 60;
constexpr int kTop = 60;
constexpr std::uint32_t kTipFill = 0xFFFFE1;  // RGB of the tip's fill

class Plain : public Ex_Element {
 public:
  LRESULT HandleMessage(Ex_Element*, std::uint32_t, WPARAM, LPARAM) override { return -1; }
};

class ToolTipX11Test : public x11_testing::X11ScreenTest {
 protected:
  void TearDown() override {
    element_.reset();
    host_.reset();
    X11ScreenTest::TearDown();
  }

  std::optional<Ex_Host> host_;
  std::unique_ptr<Plain> element_;
};

TEST_F(ToolTipX11Test, RestingOnAnElementShowsTheTipUntilAPress) {
  ASSERT_TRUE(desktop_->register_class({.name = "ToolTipX11Test"}));
  const os::Window window = desktop_->create_window({.class_name = "ToolTipX11Test",
                                                     .style = os::WS_POPUP,
                                                     .position = os::Point{kLeft, kTop},
                                                     .size = os::Size{300, 200}});
  ASSERT_TRUE(window);
  host_.emplace();
  ASSERT_EQ(host_->Attach(*desktop_, window, {.caption_flags = 0, .drag_move = 0}), 1);
  host_->Show();
  element_ = std::make_unique<Plain>();
  ASSERT_NE(element_->InitElement({.parent = host_->window, .bounds = MakeRectF(20, 40, 200, 60)}),
            nullptr);
  element_->SetToolTip("Start the query");
  ASSERT_TRUE(PumpUntil([&] { return desktop_->is_visible(window); }));

  const os::Point rest{kLeft + 50, kTop + 60};
  XWarpPointer(observer_, None, DefaultRootWindow(observer_), 0, 0, 0, 0, rest.x, rest.y);
  XFlush(observer_);
  ASSERT_TRUE(PumpUntil([&] { return host_->hovered_element == element_.get(); }));
  ASSERT_TRUE(PumpUntil([&] { return desktop_->is_visible(host_->tooltip_window); }));
  const os::Rect tip = desktop_->window_rect(host_->tooltip_window);
  EXPECT_GT(tip.top, rest.y);
  // Inside the border, left of the text: the fill as the server shows it.
  EXPECT_TRUE(PumpUntil([&] { return ScreenPixel(tip.left + 2, tip.top + 2) == kTipFill; }));

  int has_xtest_event = 0, has_xtest_error = 0, major = 0, minor = 0;
  if (!XTestQueryExtension(observer_, &has_xtest_event, &has_xtest_error, &major, &minor)) {
    GTEST_SKIP() << "no XTEST on this server: the press part needs it";
  }
  XTestFakeButtonEvent(observer_, 1, True, 0);
  XTestFakeButtonEvent(observer_, 1, False, 0);
  XFlush(observer_);
  EXPECT_TRUE(PumpUntil([&] { return !desktop_->is_visible(host_->tooltip_window); }));
  EXPECT_TRUE(PumpUntil([&] { return ScreenPixel(tip.left + 2, tip.top + 2) != kTipFill; }));
}

}  // namespace
}  // namespace directui
