// The input path: capture, mouse leave, double clicks, activation, focus, keys.

#include "desktop_fixture.h"
#include "platform/os/virtual_keys.h"

namespace platform::os::testing {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class InputTest : public DesktopTest {
 protected:
  InputTest() {
    left = make_window({0, 0, 100, 100});
    right = make_window({200, 0, 300, 100});
    take_all();
    log.clear();
  }

  // Mouse messages now queued, as (window, message, x, y).
  struct Mouse {
    Window window;
    std::uint32_t message;
    int x, y;
    friend bool operator==(const Mouse&, const Mouse&) = default;
    friend std::ostream& operator<<(std::ostream& os, const Mouse& m) {
      return os << "{" << m.window.id << ", 0x" << std::hex << m.message << std::dec << ", " << m.x
                << ", " << m.y << "}";
    }
  };
  std::vector<Mouse> mouse() {
    std::vector<Mouse> out;
    for (const Message& m : take_all()) {
      if (m.message >= WM_MOUSEMOVE && m.message <= WM_MBUTTONDBLCLK) {
        out.push_back({m.window, m.message, x_of_lparam(m.lparam), y_of_lparam(m.lparam)});
      }
    }
    return out;
  }
  std::vector<std::uint32_t> codes_for(Window w) {
    std::vector<std::uint32_t> out;
    for (const Message& m : take_all()) {
      if (m.window == w) out.push_back(m.message);
    }
    return out;
  }

  Window left, right;
};

TEST_F(InputTest, MouseMessagesGoToTheWindowUnderThePointerInWindowCoordinates) {
  display.move_pointer({250, 40});
  display.press();
  display.release();
  display.move_pointer({10, 20});
  display.move_pointer({500, 500});  // over no window
  EXPECT_THAT(mouse(),
              ElementsAre(Mouse{right, WM_MOUSEMOVE, 50, 40}, Mouse{right, WM_LBUTTONDOWN, 50, 40},
                          Mouse{right, WM_LBUTTONUP, 50, 40}, Mouse{left, WM_MOUSEMOVE, 10, 20}));
}

TEST_F(InputTest, CaptureRoutesEveryMouseMessageToTheCapturingWindow) {
  desktop.set_capture(left);
  EXPECT_EQ(display.grab(), left);
  display.move_pointer({250, 40});  // over the other window
  display.press(MouseButton::right);
  display.release(MouseButton::right);
  display.move_pointer({900, 700});  // over nothing
  display.press();
  display.release();
  EXPECT_THAT(
      mouse(),
      ElementsAre(Mouse{left, WM_MOUSEMOVE, 250, 40}, Mouse{left, WM_RBUTTONDOWN, 250, 40},
                  Mouse{left, WM_RBUTTONUP, 250, 40}, Mouse{left, WM_MOUSEMOVE, 900, 700},
                  Mouse{left, WM_LBUTTONDOWN, 900, 700}, Mouse{left, WM_LBUTTONUP, 900, 700}));
  EXPECT_TRUE(desktop.release_capture());
  EXPECT_FALSE(display.grab());
  EXPECT_FALSE(desktop.capture());
  display.move_pointer({260, 50});
  EXPECT_THAT(mouse(), ElementsAre(Mouse{right, WM_MOUSEMOVE, 60, 50}));
}

TEST_F(InputTest, TakingCaptureTellsTheWindowThatLosesIt) {
  desktop.set_capture(left);
  EXPECT_EQ(desktop.set_capture(right), left);
  desktop.release_capture();
  std::vector<Recorded> changes = log.of({WM_CAPTURECHANGED});
  ASSERT_EQ(changes.size(), 2u);
  EXPECT_EQ(changes[0].window, left);
  EXPECT_EQ(window_from_param(changes[0].lparam), right);
  EXPECT_EQ(changes[1].window, right);
  EXPECT_EQ(changes[1].lparam, 0);
}

TEST_F(InputTest, MovesNotYetTakenCoalesce) {
  display.move_pointer({10, 10});
  display.move_pointer({11, 12});
  display.move_pointer({13, 14});
  display.press();
  display.move_pointer({15, 16});
  EXPECT_THAT(mouse(),
              ElementsAre(Mouse{left, WM_MOUSEMOVE, 13, 14}, Mouse{left, WM_LBUTTONDOWN, 13, 14},
                          Mouse{left, WM_MOUSEMOVE, 15, 16}));
}

TEST_F(InputTest, MouseLeaveIsPostedOnceWhenThePointerLeaves) {
  display.move_pointer({50, 50});
  ASSERT_TRUE(desktop.track_mouse_leave(left));
  display.move_pointer({60, 60});
  EXPECT_EQ(take(WM_MOUSELEAVE).size(), 0u);
  display.move_pointer({250, 50});
  display.move_pointer({600, 600});
  std::vector<Message> leaves = take(WM_MOUSELEAVE);
  ASSERT_EQ(leaves.size(), 1u);
  EXPECT_EQ(leaves[0].window, left);
  // Tracking ended with the leave: coming back and going again says nothing.
  display.move_pointer({50, 50});
  display.move_pointer({600, 600});
  EXPECT_EQ(take(WM_MOUSELEAVE).size(), 0u);
}

TEST_F(InputTest, TrackingAWindowThePointerIsNotOverLeavesAtOnce) {
  display.move_pointer({250, 50});
  desktop.track_mouse_leave(left);
  std::vector<Message> leaves = take(WM_MOUSELEAVE);
  ASSERT_EQ(leaves.size(), 1u);
  EXPECT_EQ(leaves[0].window, left);
}

TEST_F(InputTest, WhileCapturedTheLeaveWaitsForTheRelease) {
  display.move_pointer({50, 50});
  desktop.track_mouse_leave(left);
  desktop.set_capture(left);
  display.move_pointer({250, 50});
  EXPECT_EQ(take(WM_MOUSELEAVE).size(), 0u);
  desktop.release_capture();
  std::vector<Message> leaves = take(WM_MOUSELEAVE);
  ASSERT_EQ(leaves.size(), 1u);
  EXPECT_EQ(leaves[0].window, left);
}

TEST_F(InputTest, CancelledTrackingPostsNothing) {
  display.move_pointer({50, 50});
  desktop.track_mouse_leave(left);
  EXPECT_TRUE(desktop.cancel_mouse_leave(left));
  display.move_pointer({250, 50});
  EXPECT_EQ(take(WM_MOUSELEAVE).size(), 0u);
}

struct ClickPair {
  const char* name;
  int gap_ms;
  Point second;  // the first click is at (50, 50)
  bool double_click_class;
  MouseButton second_button;
  bool expect_double;
};

class DoubleClickTest : public InputTest, public ::testing::WithParamInterface<ClickPair> {};

TEST_P(DoubleClickTest, SecondPressBecomesADoubleClickOnlyWithinTimeAndDistance) {
  const ClickPair& c = GetParam();
  Window target =
      c.double_click_class ? left : make_window({400, 0, 500, 100}, {.class_name = kPlainClass});
  Point offset = c.double_click_class ? Point{0, 0} : Point{400, 0};
  take_all();
  display.click({50 + offset.x, 50 + offset.y});
  clock.advance(std::chrono::milliseconds(c.gap_ms));
  display.click({c.second.x + offset.x, c.second.y + offset.y}, c.second_button);
  std::vector<std::uint32_t> presses;
  for (const Mouse& m : mouse()) {
    if (m.window == target && m.message != WM_MOUSEMOVE && m.message != WM_LBUTTONUP &&
        m.message != WM_RBUTTONUP) {
      presses.push_back(m.message);
    }
  }
  std::uint32_t second = c.second_button == MouseButton::right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN;
  if (c.expect_double) second = WM_LBUTTONDBLCLK;
  EXPECT_THAT(presses, ElementsAre(WM_LBUTTONDOWN, second));
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, DoubleClickTest,
    ::testing::Values(
        ClickPair{"quick_same_place", 100, {50, 50}, true, MouseButton::left, true},
        ClickPair{"at_the_time_limit", 500, {50, 50}, true, MouseButton::left, true},
        ClickPair{"just_too_late", 501, {50, 50}, true, MouseButton::left, false},
        ClickPair{"inside_the_box", 100, {52, 48}, true, MouseButton::left, true},
        ClickPair{"too_far_right", 100, {53, 50}, true, MouseButton::left, false},
        ClickPair{"too_far_up", 100, {50, 47}, true, MouseButton::left, false},
        ClickPair{"class_without_double_clicks", 100, {50, 50}, false, MouseButton::left, false},
        ClickPair{"other_button", 100, {50, 50}, true, MouseButton::right, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(InputTest, TheClickAfterADoubleClickStartsANewPair) {
  for (int i = 0; i < 4; ++i) {
    display.click({50, 50});
    clock.advance(100ms);
  }
  std::vector<std::uint32_t> presses;
  for (const Mouse& m : mouse()) {
    if (m.message == WM_LBUTTONDOWN || m.message == WM_LBUTTONDBLCLK) presses.push_back(m.message);
  }
  EXPECT_THAT(presses,
              ElementsAre(WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK));
}

TEST_F(InputTest, TwoClicksOnDifferentWindowsAreNoDoubleClick) {
  Window near = make_window({100, 0, 200, 100});
  take_all();
  display.click({99, 50});
  display.click({100, 50});
  std::vector<Mouse> got = mouse();
  EXPECT_EQ(std::count_if(got.begin(), got.end(),
                          [](const Mouse& m) { return m.message == WM_LBUTTONDBLCLK; }),
            0);
  EXPECT_NE(near, left);
}

TEST_F(InputTest, ClickingAnInactiveWindowActivatesAndFocusesIt) {
  desktop.set_foreground_window(left);
  log.clear();
  display.click({250, 50});
  EXPECT_EQ(desktop.active_window(), right);
  EXPECT_EQ(desktop.focus(), right);
  EXPECT_EQ(display.focused(), right);
  EXPECT_EQ(desktop.stacking().front(), right);
  EXPECT_EQ(display.stacking().front(), right);

  std::vector<Recorded> seq = log.of({WM_NCACTIVATE, WM_ACTIVATE, WM_KILLFOCUS, WM_SETFOCUS});
  ASSERT_EQ(seq.size(), 6u);
  auto expect = [&](int i, Window w, std::uint32_t m, WPARAM wp) {
    EXPECT_EQ(seq[i].window, w) << i;
    EXPECT_EQ(seq[i].message, m) << i;
    EXPECT_EQ(seq[i].wparam, wp) << i;
  };
  expect(0, left, WM_NCACTIVATE, 0);
  expect(1, left, WM_ACTIVATE, WA_INACTIVE);
  EXPECT_EQ(window_from_param(seq[1].lparam), right);
  expect(2, right, WM_NCACTIVATE, 1);
  expect(3, right, WM_ACTIVATE, WA_CLICKACTIVE);
  EXPECT_EQ(window_from_param(seq[3].lparam), left);
  expect(4, left, WM_KILLFOCUS, static_cast<WPARAM>(window_to_param(right)));
  expect(5, right, WM_SETFOCUS, static_cast<WPARAM>(window_to_param(left)));
  // The click itself still arrives.
  EXPECT_EQ(take(WM_LBUTTONDOWN).size(), 1u);
}

TEST_F(InputTest, SetForegroundWindowActivatesRaisesAndFocusesNatively) {
  desktop.set_foreground_window(right);
  log.clear();
  ASSERT_TRUE(desktop.set_foreground_window(left));
  EXPECT_EQ(desktop.active_window(), left);
  EXPECT_EQ(display.focused(), left);
  EXPECT_EQ(display.stacking().front(), left);
  std::vector<Recorded> activations = log.of({WM_ACTIVATE});
  ASSERT_EQ(activations.size(), 2u);
  EXPECT_EQ(activations[1].window, left);
  EXPECT_EQ(low_word(activations[1].wparam), static_cast<int>(WA_ACTIVE));
  EXPECT_FALSE(desktop.set_foreground_window(Window{987654}));
}

TEST_F(InputTest, AWindowTheDisplayFocusesBecomesActive) {
  ASSERT_EQ(desktop.active_window(), right);
  display.give_focus(left);
  EXPECT_EQ(desktop.active_window(), left);
  EXPECT_EQ(desktop.focus(), left);
  std::vector<Recorded> activations = log.of({WM_ACTIVATE});
  ASSERT_EQ(activations.size(), 2u);
  EXPECT_EQ(activations[0].window, right);
  EXPECT_EQ(activations[1].window, left);
}

TEST_F(InputTest, LosingTheDisplayFocusReleasesCaptureButtonsAndModifiers) {
  desktop.set_foreground_window(left);
  display.move_pointer({50, 50});
  display.press();
  display.press_key(VK_CONTROL);
  desktop.set_capture(left);
  ASSERT_LT(desktop.key_state(VK_LBUTTON), 0);
  ASSERT_LT(desktop.key_state(VK_CONTROL), 0);
  log.clear();
  display.focus_elsewhere();
  EXPECT_FALSE(desktop.active_window());
  EXPECT_FALSE(desktop.focus());
  EXPECT_FALSE(desktop.capture());
  EXPECT_GE(desktop.key_state(VK_LBUTTON), 0);
  EXPECT_GE(desktop.key_state(VK_CONTROL), 0);
  EXPECT_EQ(log.count(WM_KILLFOCUS, left), 1);
  EXPECT_EQ(log.count(WM_CAPTURECHANGED, left), 1);
  std::vector<Recorded> deactivated = log.of({WM_ACTIVATE});
  ASSERT_EQ(deactivated.size(), 1u);
  EXPECT_EQ(deactivated[0].wparam, WA_INACTIVE);
}

TEST_F(InputTest, SetFocusMovesTheFocusAndActivatesItsWindow) {
  desktop.set_foreground_window(left);
  log.clear();
  EXPECT_EQ(desktop.set_focus(right), left);
  EXPECT_EQ(desktop.focus(), right);
  EXPECT_EQ(desktop.active_window(), right);
  EXPECT_EQ(desktop.set_focus({}), right);
  EXPECT_FALSE(desktop.focus());
  EXPECT_EQ(log.count(WM_KILLFOCUS, right), 1);
}

TEST_F(InputTest, KeyStateFollowsControlAndShift) {
  desktop.set_foreground_window(left);
  EXPECT_GE(desktop.key_state(VK_CONTROL), 0);
  display.press_key(VK_LCONTROL);
  EXPECT_LT(desktop.key_state(VK_CONTROL), 0);
  EXPECT_LT(desktop.key_state(VK_LCONTROL), 0);
  display.press_key(VK_SHIFT);
  EXPECT_LT(desktop.key_state(VK_SHIFT), 0);
  display.release_key(VK_LCONTROL);
  EXPECT_GE(desktop.key_state(VK_CONTROL), 0);
  EXPECT_LT(desktop.key_state(VK_SHIFT), 0);
  // A click reports the held keys in its flags.
  display.click({10, 10});
  std::vector<Message> downs = take(WM_LBUTTONDOWN);
  ASSERT_EQ(downs.size(), 1u);
  EXPECT_EQ(downs[0].wparam, MK_LBUTTON | MK_SHIFT);
}

TEST_F(InputTest, TranslateTurnsKeysIntoCharactersAndAltKeysIntoSystemCharacters) {
  desktop.set_foreground_window(left);
  take_all();
  display.type_key('A', "a");
  display.press_key(VK_MENU);
  display.type_key('F', "f");
  display.release_key(VK_MENU);
  log.clear();
  pump();
  std::vector<Recorded> seq =
      log.of({WM_KEYDOWN, WM_KEYUP, WM_CHAR, WM_SYSKEYDOWN, WM_SYSKEYUP, WM_SYSCHAR});
  std::vector<std::pair<std::uint32_t, WPARAM>> got;
  for (const Recorded& r : seq) got.emplace_back(r.message, r.wparam);
  using P = std::pair<std::uint32_t, WPARAM>;
  EXPECT_THAT(got, ElementsAre(P{WM_KEYDOWN, 'A'}, P{WM_CHAR, 'a'}, P{WM_KEYUP, 'A'},
                               P{WM_SYSKEYDOWN, VK_MENU}, P{WM_SYSKEYDOWN, 'F'}, P{WM_SYSCHAR, 'f'},
                               P{WM_SYSKEYUP, 'F'}, P{WM_SYSKEYUP, VK_MENU}));
  for (const Recorded& r : seq) EXPECT_EQ(r.window, left);
}

TEST_F(InputTest, TextBeyondOneUnitBecomesOneCharacterPerUnit) {
  desktop.set_foreground_window(left);
  take_all();
  display.type_key(VK_SPACE, "收录😀");
  log.clear();
  pump();
  std::vector<WPARAM> chars;
  for (const Recorded& r : log.of({WM_CHAR})) chars.push_back(r.wparam);
  EXPECT_THAT(chars, ElementsAre(0x6536u, 0x5F55u, 0xD83Du, 0xDE00u));
}

TEST_F(InputTest, AMessageNotTakenFromTheQueueIsNotTranslated) {
  Message made{left, WM_KEYDOWN, 'A', 1, desktop.tick_count(), {}};
  EXPECT_FALSE(desktop.translate_message(made));
  EXPECT_THAT(take(WM_CHAR), IsEmpty());
}

TEST_F(InputTest, TheWheelGoesToTheFocusWindowWithItsDelta) {
  desktop.set_foreground_window(left);
  take_all();
  display.move_pointer({250, 60});
  display.turn_wheel(-2);
  std::vector<Message> wheels = take(WM_MOUSEWHEEL);
  ASSERT_EQ(wheels.size(), 1u);
  EXPECT_EQ(wheels[0].window, left);
  EXPECT_EQ(static_cast<std::int16_t>(high_word(wheels[0].wparam)), -2 * WHEEL_DELTA);
  EXPECT_EQ(x_of_lparam(wheels[0].lparam), 250);  // screen coordinates
}

TEST_F(InputTest, TakingAMouseMessageAsksTheWindowForItsCursor) {
  desktop.register_class(WindowClass{.name = "hand", .cursor = CursorShape::hand});
  Window hand = make_window({400, 0, 500, 100}, {.class_name = "hand"});
  take_all();
  display.move_pointer({450, 50});
  pump();
  EXPECT_EQ(display.window(hand)->cursor, CursorShape::hand);
  display.move_pointer({50, 50});
  log.clear();
  pump();
  std::vector<Recorded> set_cursor = log.of({WM_SETCURSOR});
  ASSERT_EQ(set_cursor.size(), 1u);
  EXPECT_EQ(set_cursor[0].window, left);
  EXPECT_EQ(low_word(static_cast<std::uintptr_t>(set_cursor[0].lparam)), HTCLIENT);
  EXPECT_EQ(high_word(static_cast<std::uintptr_t>(set_cursor[0].lparam)),
            static_cast<int>(WM_MOUSEMOVE));
  EXPECT_EQ(display.window(left)->cursor, CursorShape::arrow);
}

}  // namespace
}  // namespace platform::os::testing
