// What the server reports about pointer, keyboard, focus and the window manager reaches the
// sink as the right facts with the right coordinates.
#include <gmock/gmock.h>
#include <poll.h>

#include "platform/os/virtual_keys.h"
#include "platform/os/x11/x11_fixture.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

namespace x11_testing {
namespace {

using platform::os::MoveSizeEdge;
using ::testing::ElementsAre;

class X11InputTest : public X11Fixture {};

TEST_F(X11InputTest, PointerMotionIsReportedInScreenCoordinatesOverItsWindow) {
  const Window window = Create({50, 50, 433, 393});
  MovePointer(150, 120);
  MovePointer(151, 125);
  const std::vector<Fact> moved = sink_.Of(FactKind::moved);
  ASSERT_GE(moved.size(), 2u);
  EXPECT_EQ(moved.back().window, window);
  EXPECT_EQ(moved.back().screen, (Point{151, 125}));
  EXPECT_EQ(moved[moved.size() - 2].screen, (Point{150, 120}));

  MovePointer(1000, 900);  // off the window: it is left for nothing of ours
  ASSERT_FALSE(sink_.Of(FactKind::moved).empty());
  EXPECT_EQ(sink_.Of(FactKind::moved).back().window, platform::os::kNoWindow);
}

TEST_F(X11InputTest, ButtonsArriveWithTheirPositionAndState) {
  const Window window = Create({50, 50, 433, 393});
  MovePointer(60, 70);
  sink_.facts.clear();
  Click(Button1);
  Click(Button3);
  Click(Button2);
  const std::vector<Fact> buttons = sink_.Of(FactKind::button);
  ASSERT_EQ(buttons.size(), 6u);
  const std::array expected{MouseButton::left,  MouseButton::left,   MouseButton::right,
                            MouseButton::right, MouseButton::middle, MouseButton::middle};
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    EXPECT_EQ(buttons[i].button, expected[i]) << i;
    EXPECT_EQ(buttons[i].on, i % 2 == 0) << i;
    EXPECT_EQ(buttons[i].window, window) << i;
    EXPECT_EQ(buttons[i].screen, (Point{60, 70})) << i;
  }
}

TEST_F(X11InputTest, WheelButtonsAreNotchesAndNoClicks) {
  const Window window = Create({50, 50, 433, 393});
  MovePointer(200, 200);
  sink_.facts.clear();
  Click(Button4);
  Click(Button5);
  Click(Button5);
  EXPECT_TRUE(sink_.Of(FactKind::button).empty());
  const std::vector<Fact> wheel = sink_.Of(FactKind::wheel);
  ASSERT_EQ(wheel.size(), 3u);
  EXPECT_EQ(wheel[0].notches, 1);
  EXPECT_EQ(wheel[1].notches, -1);
  EXPECT_EQ(wheel[2].notches, -1);
  for (const Fact& fact : wheel) {
    EXPECT_EQ(fact.window, window);
    EXPECT_EQ(fact.screen, (Point{200, 200}));
  }
}

TEST_F(X11InputTest, ModifiersHeldDuringAClickAreReported) {
  Create({50, 50, 433, 393});
  MovePointer(100, 100);
  Key(XK_Shift_L, true);
  Key(XK_Control_L, true);
  sink_.facts.clear();
  Button(Button1, true);
  Key(XK_Control_L, false);
  Key(XK_Shift_L, false);
  Button(Button1, false);
  const std::vector<Fact> buttons = sink_.Of(FactKind::button);
  ASSERT_EQ(buttons.size(), 2u);
  EXPECT_EQ(buttons[0].modifiers, (Modifiers{.shift = true, .control = true, .alt = false}));
  EXPECT_EQ(buttons[1].modifiers, Modifiers{});
}

TEST_F(X11InputTest, WhileAButtonIsHeldThePointerIsReportedOverWhateverLiesBeneath) {
  const Window pressed = Create({50, 50, 250, 250});
  const Window other = Create({400, 50, 600, 250});
  MovePointer(100, 100);
  Button(Button1, true);
  sink_.facts.clear();
  MovePointer(700, 500);  // over nothing of ours, still delivered to the pressed window
  MovePointer(450, 100);  // over the other window
  Button(Button1, false);
  const std::vector<Fact> moved = sink_.Of(FactKind::moved);
  ASSERT_FALSE(moved.empty());
  bool saw_nothing = false;
  for (const Fact& fact : moved) {
    if (fact.screen == Point{700, 500}) {
      saw_nothing = true;
      EXPECT_EQ(fact.window, platform::os::kNoWindow);
    }
  }
  EXPECT_TRUE(saw_nothing);
  EXPECT_EQ(moved.back().window, other);
  const std::vector<Fact> buttons = sink_.Of(FactKind::button);
  ASSERT_EQ(buttons.size(), 1u);
  EXPECT_EQ(buttons[0].window, other);
  EXPECT_EQ(buttons[0].screen, (Point{450, 100}));
  EXPECT_NE(pressed, other);
}

TEST_F(X11InputTest, AGrabReportsThePointerEverywhere) {
  const Window grabbing = Create({50, 50, 250, 250});
  const Window other = Create({400, 50, 600, 250});
  backend_->grab_pointer(grabbing);
  MovePointer(450, 100);
  Click(Button1);
  EXPECT_EQ(sink_.Of(FactKind::moved).back().window, other);
  ASSERT_EQ(sink_.Of(FactKind::button).size(), 2u);
  EXPECT_EQ(sink_.Of(FactKind::button)[0].window, other);

  backend_->release_grab();
  sink_.facts.clear();
  MovePointer(700, 500);
  ASSERT_FALSE(sink_.Of(FactKind::moved).empty());
  EXPECT_EQ(sink_.Of(FactKind::moved).back().window, platform::os::kNoWindow);
  EXPECT_NE(grabbing, other);
}

struct KeyCase {
  const char* name;
  unsigned long keysym;
  bool shift;
  unsigned virtual_key;
  const char* text;
};

class X11KeyTest : public X11Fixture, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(X11KeyTest, KeyPressCarriesItsVirtualKeyAndText) {
  const KeyCase& c = GetParam();
  const Window window = Create({50, 50, 433, 393});
  backend_->activate(window);
  Settle();
  if (c.shift) Key(XK_Shift_L, true);
  sink_.facts.clear();
  Key(c.keysym, true);
  Key(c.keysym, false);
  if (c.shift) Key(XK_Shift_L, false);
  const std::vector<Fact> keys = sink_.Of(FactKind::key);
  ASSERT_EQ(keys.size(), c.shift ? 3u : 2u);  // with the release of Shift last
  EXPECT_EQ(keys[0].window, window);
  EXPECT_TRUE(keys[0].key.pressed);
  EXPECT_FALSE(keys[0].key.repeat);
  EXPECT_EQ(keys[0].key.virtual_key, c.virtual_key);
  EXPECT_EQ(keys[0].key.text, c.text);
  EXPECT_EQ(keys[0].key.modifiers.shift, c.shift);
  EXPECT_FALSE(keys[1].key.pressed);
  EXPECT_EQ(keys[1].key.virtual_key, c.virtual_key);
  EXPECT_EQ(keys[1].key.text, "");
}

INSTANTIATE_TEST_SUITE_P(
    Keys, X11KeyTest,
    ::testing::Values(KeyCase{"letter", XK_a, false, 'A', "a"},
                      KeyCase{"shifted_letter", XK_a, true, 'A', "A"},
                      KeyCase{"shifted_digit", XK_1, true, '1', "!"},
                      KeyCase{"enter", XK_Return, false, platform::os::VK_RETURN, "\r"},
                      KeyCase{"escape", XK_Escape, false, platform::os::VK_ESCAPE, "\x1b"},
                      KeyCase{"backspace", XK_BackSpace, false, platform::os::VK_BACK, "\b"},
                      KeyCase{"tab", XK_Tab, false, platform::os::VK_TAB, "\t"},
                      KeyCase{"space", XK_space, false, platform::os::VK_SPACE, " "},
                      KeyCase{"left", XK_Left, false, platform::os::VK_LEFT, ""},
                      KeyCase{"f5", XK_F5, false, platform::os::VK_F1 + 4, ""},
                      KeyCase{"comma", XK_comma, false, platform::os::VK_OEM_COMMA, ","},
                      KeyCase{"shift", XK_Shift_R, false, platform::os::VK_SHIFT, ""}),
    [](const ::testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

TEST_F(X11InputTest, AltCombinationCarriesAltAndTheLetter) {
  const Window window = Create({50, 50, 433, 393});
  backend_->activate(window);
  Key(XK_Alt_L, true);
  sink_.facts.clear();
  Key(XK_q, true);
  Key(XK_q, false);
  Key(XK_Alt_L, false);
  const std::vector<Fact> keys = sink_.Of(FactKind::key);
  ASSERT_GE(keys.size(), 2u);
  EXPECT_EQ(keys[0].key.virtual_key, unsigned('Q'));
  EXPECT_EQ(keys[0].key.text, "q");
  EXPECT_TRUE(keys[0].key.modifiers.alt);
}

TEST_F(X11InputTest, ControlLetterTypesItsControlCode) {
  const Window window = Create({50, 50, 433, 393});
  backend_->activate(window);
  Key(XK_Control_L, true);
  sink_.facts.clear();
  Key(XK_c, true);
  Key(XK_c, false);
  Key(XK_Control_L, false);
  const std::vector<Fact> keys = sink_.Of(FactKind::key);
  ASSERT_GE(keys.size(), 1u);
  EXPECT_EQ(keys[0].key.virtual_key, unsigned('C'));
  EXPECT_EQ(keys[0].key.text, "\x03");
  EXPECT_TRUE(keys[0].key.modifiers.control);
}

TEST_F(X11InputTest, AHeldKeyRepeatsAsPressesMarkedRepeat) {
  const Window window = Create({50, 50, 433, 393});
  backend_->activate(window);
  Settle();
  sink_.facts.clear();
  Key(XK_x, true);
  // Auto-repeat with detectable repeat sends presses only; the server drops a second XTest
  // press of a held key, so the repeat comes as a sent event.
  XEvent repeat{};
  repeat.xkey.type = KeyPress;
  repeat.xkey.window = Native(window);
  repeat.xkey.root = observer_->root();
  repeat.xkey.keycode = XKeysymToKeycode(observer_->display(), XK_x);
  repeat.xkey.same_screen = True;
  XSendEvent(observer_->display(), Native(window), False, KeyPressMask, &repeat);
  Settle();
  Key(XK_x, false);
  Key(XK_x, true);
  Key(XK_x, false);
  const std::vector<Fact> keys = sink_.Of(FactKind::key);
  ASSERT_EQ(keys.size(), 5u);
  EXPECT_FALSE(keys[0].key.repeat);
  EXPECT_TRUE(keys[1].key.repeat);
  EXPECT_FALSE(keys[3].key.repeat) << "a press after the release is a new press";
}

TEST_F(X11InputTest, ActivationMovesTheKeyboardFocus) {
  const Window first = Create({50, 50, 250, 250});
  const Window second = Create({300, 50, 500, 250});
  backend_->activate(first);
  Settle();
  backend_->activate(second);
  Settle();
  std::vector<std::pair<Window, bool>> changes;
  for (const Fact& fact : sink_.Of(FactKind::focus)) changes.emplace_back(fact.window, fact.on);
  EXPECT_THAT(changes, ElementsAre(std::pair{first, true}, std::pair{first, false},
                                   std::pair{second, true}));
  MovePointer(100, 100);  // keys follow the focus, not the pointer
  sink_.facts.clear();
  Key(XK_z, true);
  Key(XK_z, false);
  ASSERT_FALSE(sink_.Of(FactKind::key).empty());
  EXPECT_EQ(sink_.Of(FactKind::key).front().window, second);
}

TEST_F(X11InputTest, ShowingWithActivationFocusesTheWindow) {
  const Window window = Create({50, 50, 250, 250}, {}, false);
  backend_->set_visible(window, true, true);
  Settle();
  ::Window focus = None;
  int revert = 0;
  XGetInputFocus(observer_->display(), &focus, &revert);
  EXPECT_EQ(focus, Native(window));
}

TEST_F(X11InputTest, MovesByOthersAreReportedAndOurOwnAreNot) {
  const Window window = Create({50, 50, 433, 393});
  XMoveResizeWindow(observer_->display(), Native(window), 70, 80, 400, 300);
  Settle();
  backend_->set_geometry(window, {10, 20, 110, 220});
  Settle();
  const std::vector<Fact> geometry = sink_.Of(FactKind::geometry);
  ASSERT_EQ(geometry.size(), 1u);
  EXPECT_EQ(geometry[0].window, window);
  EXPECT_EQ(geometry[0].area, (Rect{70, 80, 470, 380}));
  EXPECT_EQ(RootGeometry(window), (Rect{10, 20, 110, 220}));
}

TEST_F(X11InputTest, AReparentingWindowManagersReportedGeometryIsTakenInScreenCoordinates) {
  const Window window = Create({50, 50, 433, 393});
  // The window inside a frame: its own notifications are relative to the frame.
  const ::Window frame =
      XCreateSimpleWindow(observer_->display(), observer_->root(), 300, 200, 500, 500, 0, 0, 0);
  XReparentWindow(observer_->display(), Native(window), frame, 4, 24);
  XMapWindow(observer_->display(), frame);
  Settle();
  ASSERT_FALSE(sink_.Of(FactKind::geometry).empty());
  EXPECT_EQ(sink_.Of(FactKind::geometry).back().area, (Rect{304, 224, 687, 567}));

  // The manager moves the frame and says so with a synthetic notification in root coordinates.
  sink_.facts.clear();
  XMoveWindow(observer_->display(), frame, 10, 20);
  XEvent event{};
  event.xconfigure.type = ConfigureNotify;
  event.xconfigure.event = Native(window);
  event.xconfigure.window = Native(window);
  event.xconfigure.x = 14;
  event.xconfigure.y = 44;
  event.xconfigure.width = 383;
  event.xconfigure.height = 343;
  XSendEvent(observer_->display(), Native(window), False, StructureNotifyMask, &event);
  Settle();
  const std::vector<Fact> geometry = sink_.Of(FactKind::geometry);
  ASSERT_EQ(geometry.size(), 1u);
  EXPECT_EQ(geometry[0].area, (Rect{14, 44, 397, 387}));
  XReparentWindow(observer_->display(), Native(window), observer_->root(), 14, 44);
  XDestroyWindow(observer_->display(), frame);
  XSync(observer_->display(), False);
}

TEST_F(X11InputTest, MinimisingAndRestoringByTheWindowManagerIsReportedOnce) {
  const Window window = Create({50, 50, 433, 393});
  const Atom wm_state = observer_->atom("WM_STATE");
  auto set_state = [&](long state) {
    const long data[2] = {state, None};
    XChangeProperty(observer_->display(), Native(window), wm_state, wm_state, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(data), 2);
    Settle();
  };
  set_state(NormalState);
  set_state(IconicState);
  set_state(IconicState);
  set_state(NormalState);
  std::vector<platform::os::NativeShowState> states;
  for (const Fact& fact : sink_.Of(FactKind::show_state)) {
    EXPECT_EQ(fact.window, window);
    states.push_back(fact.state);
  }
  EXPECT_THAT(states, ElementsAre(platform::os::NativeShowState::minimized,
                                  platform::os::NativeShowState::normal));

  // What the desktop asked for itself is not reported back.
  sink_.facts.clear();
  backend_->set_show_state(window, platform::os::NativeShowState::minimized);
  set_state(IconicState);
  EXPECT_TRUE(sink_.Of(FactKind::show_state).empty());
}

TEST_F(X11InputTest, ACloseRequestOfTheWindowManagerIsReported) {
  const Window window = Create({50, 50, 433, 393});
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = Native(window);
  event.xclient.message_type = observer_->atom("WM_PROTOCOLS");
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(observer_->atom("WM_DELETE_WINDOW"));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(observer_->display(), Native(window), False, NoEventMask, &event);
  Settle();
  const std::vector<Fact> closes = sink_.Of(FactKind::close);
  ASSERT_EQ(closes.size(), 1u);
  EXPECT_EQ(closes[0].window, window);
}

TEST_F(X11InputTest, ExposureOfAMappedWindowIsReportedInWindowCoordinates) {
  const Window window = Create({50, 50, 433, 393}, {}, false);
  sink_.facts.clear();
  backend_->set_visible(window, true, false);
  Settle();
  Rect covered;
  for (const Fact& fact : sink_.Of(FactKind::exposed)) {
    EXPECT_EQ(fact.window, window);
    covered = covered.unite(fact.area);
  }
  EXPECT_EQ(covered, (Rect{0, 0, 383, 343}));
}

struct DragCase {
  const char* name;
  MoveSizeEdge edge;
  Rect expected;  // from (100, 100, 300, 260), the pointer moved by (+30, +20)
};

class X11DragTest : public X11Fixture, public ::testing::WithParamInterface<DragCase> {};

TEST_P(X11DragTest, WithoutWindowManagerTheLayerMovesAndSizesTheWindow) {
  const DragCase& c = GetParam();
  const Window window = Create({100, 100, 300, 260});
  MovePointer(150, 150);
  Button(Button1, true);
  backend_->begin_move_size(window, c.edge, {150, 150});
  Settle();
  sink_.facts.clear();
  MovePointer(170, 160);
  MovePointer(180, 170);
  EXPECT_EQ(RootGeometry(window), c.expected);
  ASSERT_FALSE(sink_.Of(FactKind::geometry).empty());
  EXPECT_EQ(sink_.Of(FactKind::geometry).back().area, c.expected);
  EXPECT_TRUE(sink_.Of(FactKind::moved).empty()) << "the drag's motion is the drag's";
  Button(Button1, false);
  EXPECT_TRUE(sink_.Of(FactKind::button).empty()) << "the release that ends a drag is its own";
  ASSERT_EQ(sink_.Of(FactKind::move_size_ended).size(), 1u);
  EXPECT_EQ(sink_.Of(FactKind::move_size_ended)[0].window, window);

  sink_.facts.clear();
  MovePointer(200, 200);
  EXPECT_EQ(RootGeometry(window), c.expected) << "the drag outlived its button";
  EXPECT_FALSE(sink_.Of(FactKind::moved).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Edges, X11DragTest,
    ::testing::Values(DragCase{"move", MoveSizeEdge::move, {130, 120, 330, 280}},
                      DragCase{"left", MoveSizeEdge::left, {130, 100, 300, 260}},
                      DragCase{"top", MoveSizeEdge::top, {100, 120, 300, 260}},
                      DragCase{"bottom_right", MoveSizeEdge::bottom_right, {100, 100, 330, 280}},
                      DragCase{"top_right", MoveSizeEdge::top_right, {100, 120, 330, 260}},
                      DragCase{"bottom_left", MoveSizeEdge::bottom_left, {130, 100, 300, 280}}),
    [](const ::testing::TestParamInfo<DragCase>& info) { return std::string(info.param.name); });

TEST_F(X11InputTest, ADragBegunAfterTheReleaseEndsAtOnce) {
  const Window window = Create({100, 100, 300, 260});
  MovePointer(150, 150);
  Click(Button1);
  sink_.facts.clear();
  backend_->begin_move_size(window, MoveSizeEdge::move, {150, 150});
  Settle();
  ASSERT_EQ(sink_.Of(FactKind::move_size_ended).size(), 1u);
  MovePointer(250, 250);
  EXPECT_EQ(RootGeometry(window), (Rect{100, 100, 300, 260}));
}

TEST_F(X11InputTest, AWindowManagerGetsTheDragAndItsEndIsReported) {
  const Window window = Create({100, 100, 300, 260});
  observer_->PretendWindowManager({"_NET_WM_MOVERESIZE"});
  MovePointer(150, 150);
  Button(Button1, true);
  backend_->begin_move_size(window, MoveSizeEdge::bottom_right, {150, 150});
  Settle();
  const std::vector<XClientMessageEvent> messages = observer_->TakeRootMessages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].window, Native(window));
  EXPECT_EQ(messages[0].message_type, observer_->atom("_NET_WM_MOVERESIZE"));
  EXPECT_THAT(std::vector<long>(messages[0].data.l, messages[0].data.l + 5),
              ElementsAre(150, 150, 4 /* bottom-right */, 1 /* button */, 1 /* application */));

  // The manager grabs the pointer for the drag and lets it go at the end.
  XGrabPointer(observer_->display(), observer_->root(), False, ButtonReleaseMask, GrabModeAsync,
               GrabModeAsync, None, None, CurrentTime);
  Settle();
  EXPECT_TRUE(sink_.Of(FactKind::move_size_ended).empty());
  XUngrabPointer(observer_->display(), CurrentTime);
  Settle();
  ASSERT_EQ(sink_.Of(FactKind::move_size_ended).size(), 1u);
  EXPECT_EQ(sink_.Of(FactKind::move_size_ended)[0].window, window);
}

bool Readable(int fd) {
  pollfd ready{fd, POLLIN, 0};
  return poll(&ready, 1, 0) == 1;
}

TEST_F(X11InputTest, TheEventDescriptorWakesForQueuedEventsAndIsQuietWhenIdle) {
  const Window window = Create({50, 50, 433, 393});
  const int fd = backend_->event_fd();
  ASSERT_GE(fd, 0);
  backend_->flush();
  EXPECT_FALSE(Readable(fd)) << "an idle window must let the thread sleep";

  XWarpPointer(observer_->display(), None, observer_->root(), 0, 0, 0, 0, 120, 130);
  XSync(observer_->display(), False);
  // A round trip of our own pulls the motion into Xlib's queue; the socket is then quiet.
  XSync(display_, False);
  backend_->flush();
  EXPECT_TRUE(Readable(fd));
  backend_->drain();
  backend_->flush();
  EXPECT_FALSE(Readable(fd));
  ASSERT_FALSE(sink_.Of(FactKind::moved).empty());
  EXPECT_EQ(sink_.Of(FactKind::moved).back().window, window);
  EXPECT_EQ(sink_.Of(FactKind::moved).back().screen, (Point{120, 130}));
}

}  // namespace
}  // namespace x11_testing
