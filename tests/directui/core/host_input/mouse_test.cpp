// The host's mouse handling: hover, press and click, focus by press, double clicks, dragging
// and maximising the window, and the busy host ignoring the mouse.
#include <gmock/gmock.h>

#include "input_fixture.h"

namespace directui::input_testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const WPARAM kCaption = static_cast<WPARAM>(os::HTCAPTION);

class MouseTest : public InputTest {};

TEST_F(MouseTest, MovesLeaveAndEnterElementsWithTheirRoutines) {
  Attach();
  Probe a, b;
  ASSERT_NE(a.Create(host.window, MakeRectF(20, 40, 50, 30), 2), nullptr);
  ASSERT_NE(b.Create(host.window, MakeRectF(100, 40, 50, 30), 3), nullptr);
  Move(30, 50);
  Move(31, 50);  // same element: no second enter
  Move(110, 50);
  EXPECT_EQ(a.Count(EXM_MOUSEENTER), 1);
  EXPECT_EQ(a.Last(EXM_MOUSEENTER)->lparam, 0);
  EXPECT_EQ(a.Count(os::WM_MOUSEMOVE), 2);
  ASSERT_EQ(a.Count(EXM_MOUSELEAVE), 1);
  EXPECT_EQ(a.Last(EXM_MOUSELEAVE)->lparam, Arg(&b));
  EXPECT_EQ(b.Last(EXM_MOUSEENTER)->lparam, Arg(&a));
  const LPARAM at_a = os::make_lparam(30, 50);
  const LPARAM at_b = os::make_lparam(110, 50);
  EXPECT_THAT(notified, ElementsAre(Expected("enter", &a, 0, at_a), Expected("leave", &a, 0, at_b),
                                    Expected("enter", &b, 0, at_b)));
  // Bare background is entered too, as no element.
  Move(300, 300);
  EXPECT_EQ(notified.back(), Expected("enter", nullptr, 0, os::make_lparam(300, 300)));
  EXPECT_EQ(host.hovered_element, nullptr);
}

TEST_F(MouseTest, PressAndReleaseOnOneElementClicks) {
  Attach();
  Probe button;
  ASSERT_NE(button.Create(host.window, MakeRectF(20, 40, 50, 30), 2), nullptr);
  Move(30, 50);
  notified.clear();
  Press(30, 50);
  EXPECT_EQ(host.pressed_element, &button);
  EXPECT_EQ(host.pressed_state, 1);
  EXPECT_EQ(desktop.capture(), window);
  // While pressed the element gets every mouse message, marked with its own handle.
  Move(300, 300);
  EXPECT_EQ(host.hovered_element, &button);
  EXPECT_EQ(button.Last(os::WM_MOUSEMOVE)->wparam, button.HandleParam());
  Release(32, 52);
  const LPARAM up = os::make_lparam(32, 52);
  ASSERT_EQ(button.Count(EXM_CLICK), 1);
  EXPECT_EQ(button.Last(EXM_CLICK)->wparam, button.HandleParam());
  EXPECT_EQ(button.Last(EXM_CLICK)->lparam, up);
  EXPECT_EQ(host.pressed_state, 0);
  EXPECT_EQ(host.pressed_element, nullptr);
  EXPECT_FALSE(desktop.capture());
  const LPARAM down = os::make_lparam(30, 50);
  // Nothing had the focus: the blur routine is told so with no element.
  EXPECT_THAT(notified,
              ElementsAre(Expected("down", &button, os::MK_LBUTTON, down),
                          Expected("blur", nullptr, os::MK_LBUTTON, down),
                          Expected("focus", &button, os::MK_LBUTTON, down),
                          Expected("up", &button, 0, up), Expected("click", &button, 0, up)));
}

TEST_F(MouseTest, ReleaseOverAnotherElementLeavesAndEntersWithoutAClick) {
  Attach();
  Probe button, other;
  ASSERT_NE(button.Create(host.window, MakeRectF(20, 40, 50, 30), 2), nullptr);
  ASSERT_NE(other.Create(host.window, MakeRectF(100, 40, 50, 30), 3), nullptr);
  Move(30, 50);
  Press(30, 50);
  Move(110, 50);
  EXPECT_EQ(other.Count(EXM_MOUSEENTER), 0);
  notified.clear();
  Release(110, 50);
  const LPARAM up = os::make_lparam(110, 50);
  EXPECT_EQ(button.Count(EXM_CLICK), 0);
  EXPECT_EQ(other.Count(EXM_CLICK), 0);
  ASSERT_EQ(button.Count(EXM_MOUSELEAVE), 1);
  EXPECT_EQ(button.Last(EXM_MOUSELEAVE)->lparam, Arg(&other));
  ASSERT_EQ(other.Count(EXM_MOUSEENTER), 1);
  EXPECT_EQ(other.Last(EXM_MOUSEENTER)->lparam, Arg(&button));
  EXPECT_EQ(host.hovered_element, &other);
  EXPECT_THAT(notified,
              ElementsAre(Expected("up", &button, 0, up), Expected("leave", &button, 0, up),
                          Expected("enter", &other, 0, up)));
}

TEST_F(MouseTest, APressMovesTheFocusWithBlurAndFocusRoutines) {
  Attach();
  Probe first, second;
  ASSERT_NE(first.Create(host.window, MakeRectF(20, 40, 50, 30), 2), nullptr);
  ASSERT_NE(second.Create(host.window, MakeRectF(100, 40, 50, 30), 8), nullptr);
  Press(30, 50);
  Release(30, 50);
  host.keyboard_focus_element = &first;
  notified.clear();
  Press(110, 50);
  EXPECT_EQ(host.focused_element, &second);
  EXPECT_EQ(host.keyboard_focus_element, nullptr);
  EXPECT_EQ(first.Last(EXM_KILLFOCUS)->lparam, Arg(&second));
  EXPECT_EQ(second.Last(EXM_SETFOCUS)->lparam, Arg(&first));
  const LPARAM at = os::make_lparam(110, 50);
  EXPECT_THAT(notified, ElementsAre(Expected("leave", &first, os::MK_LBUTTON, at),
                                    Expected("down", &second, os::MK_LBUTTON, at),
                                    Expected("blur", &first, os::MK_LBUTTON, at),
                                    Expected("focus", &second, os::MK_LBUTTON, at)));
  Release(110, 50);
  // A second press on the focused element captures again but changes no focus.
  notified.clear();
  Press(110, 50);
  EXPECT_EQ(desktop.capture(), window);
  EXPECT_THAT(notified, ElementsAre(Expected("down", &second, os::MK_LBUTTON, at)));
}

TEST_F(MouseTest, AnElementAskingForTheCaptureIsPressedWithoutTakingTheFocus) {
  Attach();
  Probe bar;
  ASSERT_NE(bar.Create(host.window, MakeRectF(20, 40, 50, 30), 19, 0), nullptr);
  bar.capture_answer = 0;
  Press(30, 50);
  EXPECT_EQ(host.pressed_element, &bar);
  EXPECT_EQ(host.focused_element, nullptr);
  EXPECT_EQ(ReachedCount(os::WM_NCLBUTTONDOWN), 0);
  Release(30, 50);
  EXPECT_EQ(bar.Count(EXM_CLICK), 1);
}

TEST_F(MouseTest, APressOnWhatTakesNoPressDragsTheWindowUnlessDragMoveIsOff) {
  Attach();
  Probe label;
  ASSERT_NE(label.Create(host.window, MakeRectF(20, 40, 50, 30), 3, 0), nullptr);
  Press(30, 50);
  Press(300, 300);
  EXPECT_EQ(ReachedCount(os::WM_NCLBUTTONDOWN, kCaption), 2);
  EXPECT_EQ(host.pressed_state, 0);
  EXPECT_EQ(label.Count(os::WM_LBUTTONDOWN), 1);
  host.DragMove(0);
  reached.clear();
  Press(30, 50);
  Press(300, 300);
  EXPECT_EQ(ReachedCount(os::WM_NCLBUTTONDOWN), 0);
}

TEST_F(MouseTest, PressingBareBackgroundStartsTheSystemMove) {
  Attach();
  PointerTo(200, 200);
  display.press();
  Pump();
  EXPECT_EQ(display.window(window)->move_size, os::MoveSizeEdge::move);
  PointerTo(210, 230);
  display.release();
  Pump();
  EXPECT_EQ(desktop.window_rect(window).left, kOrigin.x + 10);
  EXPECT_EQ(desktop.window_rect(window).top, kOrigin.y + 30);
}

TEST_F(MouseTest, ADoubleClickOnAnElementThatTakesNoPressNeitherMaximisesNorDrags) {
  TitleProbeClass title;
  Attach({.caption_flags = CF_TITLE | CF_MAXIMIZE});
  Probe label;
  ASSERT_NE(label.Create(host.window, MakeRectF(200, 5, 50, 20), 3, 0), nullptr);
  DoubleClick(210, 10);
  Pump();
  EXPECT_EQ(ReachedCount(os::WM_SYSCOMMAND), 0);
  EXPECT_EQ(ReachedCount(os::WM_NCLBUTTONDOWN), 0);
  EXPECT_FALSE(desktop.is_zoomed(window));
  // The element still hears of it, marked as a double click.
  ASSERT_TRUE(label.Last(os::WM_LBUTTONDOWN));
  EXPECT_EQ(label.Last(os::WM_LBUTTONDOWN)->wparam, DOUBLECLICK_MARK);
}

TEST_F(MouseTest, ADoubleClickOnTheTitleTogglesMaximise) {
  TitleProbeClass title;
  Attach({.caption_flags = CF_TITLE | CF_MAXIMIZE});
  ASSERT_TRUE(host.title_label);
  const RectF at = host.title_label->bounds;
  const int x = static_cast<int>(at.x) + 5;
  const int y = static_cast<int>(at.y) + 5;
  DoubleClick(x, y);
  Pump();
  EXPECT_EQ(ReachedCount(os::WM_SYSCOMMAND, os::SC_MAXIMIZE), 1);
  EXPECT_TRUE(desktop.is_zoomed(window));
  DoubleClick(static_cast<int>(host.title_label->bounds.x) + 5, y);
  Pump();
  EXPECT_EQ(ReachedCount(os::WM_SYSCOMMAND, os::SC_RESTORE), 1);
  EXPECT_FALSE(desktop.is_zoomed(window));
  // Without CF_MAXIMIZE the title only hears of the double click.
  host.caption_flags &= ~CF_MAXIMIZE;
  DoubleClick(x, y);
  Pump();
  EXPECT_FALSE(desktop.is_zoomed(window));
}

struct BandCase {
  const char* name;
  std::uint32_t flags;
  int y;
  bool maximises;
};

class CaptionBand : public MouseTest, public ::testing::WithParamInterface<BandCase> {};

TEST_P(CaptionBand, ADoubleClickOnBareBackground) {
  const BandCase& c = GetParam();
  Attach({.caption_flags = c.flags});
  DoubleClick(200, c.y);
  Pump();
  EXPECT_EQ(desktop.is_zoomed(window), c.maximises);
  // A double click never drags by itself.
  EXPECT_EQ(ReachedCount(os::WM_NCLBUTTONDOWN), c.maximises ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Band, CaptionBand,
                         ::testing::Values(BandCase{"At29", CF_MAXIMIZE, 29, true},
                                           BandCase{"At30", CF_MAXIMIZE, 30, false},
                                           BandCase{"WithoutMaximise", CF_CLOSE, 10, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MouseTest, ADoubleClickOnAFocusableElementCallsTheDoubleClickRoutine) {
  Attach({.caption_flags = CF_MAXIMIZE});
  Probe button;
  ASSERT_NE(button.Create(host.window, MakeRectF(20, 10, 50, 15), 2), nullptr);
  DoubleClick(30, 15);
  Release(30, 15);
  Pump();
  EXPECT_EQ(Calls("double").size(), 1u);
  EXPECT_EQ(button.Count(EXM_CLICK), 1);
  EXPECT_FALSE(desktop.is_zoomed(window));
}

TEST_F(MouseTest, RightButtonsCallTheirRoutinesWithTheElementUnder) {
  Attach();
  Probe list;
  ASSERT_NE(list.Create(host.window, MakeRectF(20, 40, 50, 30), 8), nullptr);
  Send(os::WM_RBUTTONDOWN, 30, 50, os::MK_RBUTTON);
  Send(os::WM_RBUTTONUP, 300, 300);
  EXPECT_EQ(Calls("right down"), std::vector<Notified>{Expected("right down", &list, os::MK_RBUTTON,
                                                                os::make_lparam(30, 50))});
  EXPECT_EQ(Calls("right up"),
            std::vector<Notified>{Expected("right up", nullptr, 0, os::make_lparam(300, 300))});
  EXPECT_EQ(list.Count(os::WM_RBUTTONDOWN), 1);
  EXPECT_EQ(host.focused_element, nullptr);
}

TEST_F(MouseTest, ClicksAreIgnoredWhileAFadeInRuns) {
  Attach();
  Probe button;
  ASSERT_NE(button.Create(host.window, MakeRectF(20, 40, 50, 30), 2), nullptr);
  host.SetBackground(std::nullopt, 0x336699, kBackgroundFadeIn);
  ASSERT_EQ(host.busy, 1);
  Move(30, 50);
  Press(30, 50);
  Release(30, 50);
  EXPECT_EQ(button.Count(EXM_CLICK), 0);
  EXPECT_EQ(button.Count(EXM_MOUSEENTER), 0);
  EXPECT_EQ(host.pressed_state, 0);
  EXPECT_THAT(notified, IsEmpty());
  for (int step = 0; step < 5; ++step) Advance(static_cast<int>(kFadeInterval));
  ASSERT_EQ(host.busy, 0);
  Press(30, 50);
  Release(30, 50);
  EXPECT_EQ(button.Count(EXM_CLICK), 1);
}

TEST_F(MouseTest, AnElementDestroyedByItsPressEndsThePressQuietly) {
  Attach();
  Probe button, below;
  ASSERT_NE(below.Create(host.window, MakeRectF(0, 0, 200, 200)), nullptr);
  ASSERT_NE(button.Create(host.window, MakeRectF(20, 40, 50, 30), 2), nullptr);
  button.BindEvent(os::WM_LBUTTONUP, [&](RoutineArg) { button.Destroy(); });
  Press(30, 50);
  Release(30, 50);
  EXPECT_EQ(host.pressed_state, 0);
  EXPECT_EQ(host.pressed_element, nullptr);
  EXPECT_FALSE(desktop.capture());
  EXPECT_THAT(Calls("click"), IsEmpty());
  // The next move finds the element below.
  Move(30, 50);
  EXPECT_EQ(host.hovered_element, &below);
}

TEST_F(MouseTest, TwoQuickClicksOnTheCaptionBandMaximiseThroughTheDisplay) {
  Attach({.caption_flags = CF_MAXIMIZE});
  const os::Point at{kOrigin.x + 200, kOrigin.y + 20};
  display.click(at);
  Pump();
  display.click(at);
  Pump();
  EXPECT_TRUE(desktop.is_zoomed(window));
}

}  // namespace
}  // namespace directui::input_testing
