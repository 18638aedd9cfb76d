// The host's window procedure: its message table, the notification routines and the redraw
// queue.
#include <gmock/gmock.h>

#include "directui/core/redraw_queue.h"
#include "host_fixture.h"

namespace directui::host_testing {
namespace {

using ::testing::ElementsAre;

constexpr gfx::Argb kRed = 0xFFFF0000;
constexpr gfx::Argb kBlue = 0xFF0000FF;

TEST_F(HostTest, MinMaxInfoOnAFullHdWorkArea) {
  CaptionStandIns stand_ins;
  Ex_Host host;
  const os::Window w = MakeWindow(os::WS_VISIBLE | os::WS_MINIMIZEBOX);
  ASSERT_EQ(host.Attach(desktop, w, {.caption_flags = 276}), 1);
  os::MinMaxInfo info{};
  EXPECT_EQ(desktop.send_message(w, os::WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info)), 0);
  EXPECT_EQ(info.max_size, (os::Point{1934, 1054}));
  EXPECT_EQ(info.max_position, (os::Point{-7, -7}));
  // Three buttons and the close margin: 28 × 3 + 11 + 35 + 1.
  EXPECT_EQ(info.min_track_size, (os::Point{131, 38}));

  // Maximising uses it: the shadow margin hangs over the work area's edges.
  desktop.show_window(w, os::SW_MAXIMIZE);
  EXPECT_EQ(desktop.window_rect(w), (os::Rect{-7, -7, 1927, 1047}));
  EXPECT_EQ(host.size, (os::Size{1934, 1054}));
}

TEST_F(HostTest, MessageFilterAnswersFirstUnlessItSaysMinusOne) {
  Ex_Host host;
  const os::Window w = MakeWindow();
  ASSERT_EQ(host.Attach(desktop, w, {.caption_flags = 0}), 1);
  std::vector<RoutineArg> seen;
  host.SetMessageFilter([&](RoutineArg window, RoutineArg message, RoutineArg, RoutineArg lparam) {
    seen = {window, message, lparam};
    return message == os::WM_USER + 1 ? 0 : -1;
  });
  reached.clear();
  // 0 is an answer: the message goes no further.
  EXPECT_EQ(desktop.send_message(w, os::WM_USER + 1, 0, 33), 0);
  EXPECT_THAT(seen, ElementsAre(os::window_to_param(w), os::WM_USER + 1, 33));
  EXPECT_EQ(ReachedCount(os::WM_USER + 1), 0);
  // -1 lets the table handle it: WM_NCACTIVATE is answered 1 by the host.
  EXPECT_EQ(desktop.send_message(w, os::WM_NCACTIVATE, 0, 0), 1);
  EXPECT_EQ(ReachedCount(os::WM_NCACTIVATE), 0);
  desktop.send_message(w, os::WM_USER + 2, 0, 0);
  EXPECT_EQ(ReachedCount(os::WM_USER + 2), 1);
}

TEST_F(HostTest, NewWindowTextReachesTheTitleLabel) {
  CaptionStandIns stand_ins;
  Ex_Host host;
  const os::Window w = MakeWindow();
  ASSERT_EQ(host.Attach(desktop, w), 1);
  EXPECT_TRUE(desktop.set_window_text(w, u"关键词"));
  EXPECT_EQ(desktop.window_text(w), u"关键词");
  EXPECT_EQ(static_cast<CaptionProbe&>(*host.title_label).new_text, u"关键词");
}

TEST_F(HostTest, DoubleClickBecomesAMarkedPress) {
  Ex_Host host;
  const os::Window w = MakeWindow();
  ASSERT_EQ(host.Attach(desktop, w, {.caption_flags = 0}), 1);
  reached.clear();
  EXPECT_EQ(desktop.send_message(w, os::WM_LBUTTONDBLCLK, 0, os::make_lparam(20, 30)), 0);
  ASSERT_EQ(ReachedCount(os::WM_LBUTTONDOWN), 1);
  EXPECT_EQ(ReachedCount(os::WM_LBUTTONDBLCLK), 0);
  EXPECT_EQ(reached.back().wparam, DOUBLECLICK_MARK);
  EXPECT_EQ(reached.back().lparam, os::make_lparam(20, 30));
}

TEST_F(HostTest, FrameAnswersAndStyleRepairs) {
  Ex_Host host;
  const os::Window w = MakeWindow();
  ASSERT_EQ(host.Attach(desktop, w, {.caption_flags = 0}), 1);
  EXPECT_EQ(desktop.send_message(w, os::WM_NCCALCSIZE, 1, 0), 1);
  desktop.set_style(w, desktop.style(w) | os::WS_BORDER | os::WS_DLGFRAME);
  EXPECT_EQ(desktop.style(w) & (os::WS_BORDER | os::WS_DLGFRAME), 0u);
}

TEST_F(HostTest, TimersReachOnlyTheHostsOwnElements) {
  Ex_Host host;
  const os::Window w = MakeWindow();
  ASSERT_EQ(host.Attach(desktop, w, {.caption_flags = 0}), 1);
  Probe probe;
  ASSERT_NE(probe.Create(host.window, MakeRectF(20, 20, 10, 10)), nullptr);
  desktop.send_message(w, os::WM_TIMER, probe.HandleParam(), 5);
  EXPECT_EQ(probe.Count(os::WM_TIMER), 1);
  // An identifier that is no element of the host reaches none and harms nothing.
  Probe stranger;
  desktop.send_message(w, os::WM_TIMER, reinterpret_cast<WPARAM>(&stranger), 5);
  desktop.send_message(w, os::WM_TIMER, 1, 5);
  EXPECT_EQ(stranger.Count(os::WM_TIMER), 0);
  EXPECT_EQ(probe.Count(os::WM_TIMER), 1);
}

TEST_F(HostTest, BoundsChangesWaitWhileTheHostIsBusy) {
  Ex_Host host;
  const os::Window w = MakeWindow();
  ASSERT_EQ(host.Attach(desktop, w, {.caption_flags = 0}), 1);
  Probe probe(kRed);
  ASSERT_NE(probe.Create(host.window, MakeRectF(20, 20, 10, 10)), nullptr);
  host.busy = 1;
  EXPECT_EQ(desktop.send_message(w, EXM_BOUNDSCHANGED, probe.HandleParam(), 1), 0);
  EXPECT_EQ(desktop.send_message(w, EXM_BOUNDSCHANGED, probe.HandleParam(), 0), 1);
  host.busy = 0;
  probe.previous_bounds = probe.bounds;
  probe.bounds = MakeRectF(60, 60, 10, 10);
  EXPECT_EQ(desktop.send_message(w, EXM_BOUNDSCHANGED, probe.HandleParam(), 1), 1);
  EXPECT_EQ(probe.Count(EXM_BOUNDSCHANGED), 3);
  // Both areas were recomposed and shown: the old place shows the background again.
  EXPECT_EQ(Shown(w, 65, 65), kRed);
  EXPECT_NE(Shown(w, 25, 25), kRed);
}

TEST_F(HostTest, SetCursorPrefersTheHoveredElementsCursor) {
  Ex_Host host;
  const os::Window w = MakeWindow();
  ASSERT_EQ(host.Attach(desktop, w, {.caption_flags = 0}), 1);
  host.SetDefaultCursor(os::CursorShape::arrow);
  const auto self = static_cast<WPARAM>(os::window_to_param(w));
  EXPECT_EQ(desktop.send_message(w, os::WM_SETCURSOR, self, 0), 1);
  EXPECT_EQ(desktop.set_cursor(os::CursorShape::arrow), os::CursorShape::arrow);
  Probe probe;
  ASSERT_NE(probe.Create(host.window, MakeRectF(20, 20, 10, 10)), nullptr);
  probe.cursor = os::CursorShape::hand;
  host.hovered_element = &probe;
  EXPECT_EQ(desktop.send_message(w, os::WM_SETCURSOR, self, 0), 1);
  EXPECT_EQ(desktop.set_cursor(os::CursorShape::arrow), os::CursorShape::hand);
  host.hovered_element = nullptr;
}

TEST_F(HostTest, DeactivationLeavesHoverAndEndsThePress) {
  Ex_Host host;
  const os::Window w = MakeWindow();
  ASSERT_EQ(host.Attach(desktop, w, {.caption_flags = 0}), 1);
  Probe hovered;
  Probe pressed;
  ASSERT_NE(hovered.Create(host.window, MakeRectF(20, 20, 10, 10)), nullptr);
  ASSERT_NE(pressed.Create(host.window, MakeRectF(40, 20, 10, 10)), nullptr);
  host.hovered_element = &hovered;
  host.pressed_element = &pressed;
  host.pressed_state = 1;
  desktop.set_capture(w);
  desktop.send_message(w, os::WM_ACTIVATE, os::WA_INACTIVE, 0);
  EXPECT_EQ(hovered.Count(EXM_MOUSELEAVE), 1);
  EXPECT_EQ(pressed.Count(EXM_KILLFOCUS), 1);
  EXPECT_EQ(host.pressed_state, 0);
  EXPECT_FALSE(desktop.capture());
  desktop.send_message(w, os::WM_ACTIVATE, os::WA_ACTIVE, 0);
  EXPECT_EQ(pressed.Count(EXM_SETFOCUS), 1);
  host.hovered_element = host.pressed_element = nullptr;
}

TEST_F(HostTest, MouseLeaveClearsHoverAndCallsTheRoutine) {
  Ex_Host host;
  const os::Window w = MakeWindow();
  ASSERT_EQ(host.Attach(desktop, w, {.caption_flags = 0}), 1);
  Probe probe;
  ASSERT_NE(probe.Create(host.window, MakeRectF(20, 20, 10, 10), 9), nullptr);
  std::vector<RoutineArg> call;
  host.SetMouseLeaveHandler([&](RoutineArg window, RoutineArg element, RoutineArg wparam,
                                RoutineArg lparam, RoutineArg kind) {
    call = {window, element, wparam, lparam, kind};
  });
  host.hovered_element = &probe;
  host.mouse_tracking = 1;
  desktop.send_message(w, os::WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(probe.Count(EXM_MOUSELEAVE), 1);
  EXPECT_THAT(call,
              ElementsAre(os::window_to_param(w), reinterpret_cast<RoutineArg>(&probe), 0, 0, 9));
  EXPECT_EQ(host.hovered_element, nullptr);
  EXPECT_EQ(host.mouse_tracking, 0);
}

TEST_F(HostTest, KeysAndCommandsGoToTheFocusedElement) {
  Ex_Host host;
  const os::Window w = MakeWindow();
  ASSERT_EQ(host.Attach(desktop, w, {.caption_flags = 0}), 1);
  Probe probe;
  ASSERT_NE(probe.Create(host.window, MakeRectF(20, 20, 10, 10)), nullptr);
  host.focused_element = &probe;
  for (std::uint32_t m :
       {os::WM_KEYDOWN, os::WM_KEYUP, os::WM_CHAR, os::WM_SYSKEYDOWN, os::WM_SYSKEYUP,
        os::WM_IME_COMPOSITION, os::WM_COMMAND, os::WM_MOUSEWHEEL, os::WM_SYSCHAR}) {
    desktop.send_message(w, m, 65, 7);
    EXPECT_EQ(probe.Count(m), 1) << m;
  }
  host.focused_element = nullptr;
}

TEST_F(HostTest, HotkeysAreAddedReplacedAndRemoved) {
  Ex_Host host;
  const os::Window w = MakeWindow();
  ASSERT_EQ(host.Attach(desktop, w, {.caption_flags = 0}), 1);
  Probe a;
  Probe b;
  ASSERT_NE(a.Create(host.window, MakeRectF(20, 20, 10, 10)), nullptr);
  ASSERT_NE(b.Create(host.window, MakeRectF(40, 20, 10, 10)), nullptr);
  EXPECT_EQ(desktop.send_message(w, EXM_SETHOTKEY, a.HandleParam(), 'q'), 1);
  EXPECT_EQ(desktop.send_message(w, EXM_SETHOTKEY, b.HandleParam(), 's'), 1);
  EXPECT_EQ(desktop.send_message(w, EXM_SETHOTKEY, a.HandleParam(), 'x'), 1);
  ASSERT_EQ(host.hotkeys.size(), 2u);
  EXPECT_EQ(host.hotkeys[0].element, &a);
  EXPECT_EQ(host.hotkeys[0].character, static_cast<std::uint32_t>('x'));
  EXPECT_EQ(desktop.send_message(w, EXM_SETHOTKEY, a.HandleParam(), 0), 1);
  ASSERT_EQ(host.hotkeys.size(), 1u);
  EXPECT_EQ(host.hotkeys[0].element, &b);
}

TEST_F(HostTest, SetFocusMessageMovesTheFocus) {
  Ex_Host host;
  const os::Window w = MakeWindow();
  ASSERT_EQ(host.Attach(desktop, w, {.caption_flags = 0}), 1);
  Probe a;
  Probe b;
  ASSERT_NE(a.Create(host.window, MakeRectF(20, 20, 10, 10)), nullptr);
  ASSERT_NE(b.Create(host.window, MakeRectF(40, 20, 10, 10)), nullptr);
  desktop.send_message(w, EXM_SETFOCUS, 0, reinterpret_cast<LPARAM>(&a));
  EXPECT_EQ(host.focused_element, &a);
  desktop.send_message(w, EXM_SETFOCUS, 0, reinterpret_cast<LPARAM>(&b));
  EXPECT_EQ(host.focused_element, &b);
  EXPECT_EQ(a.Count(EXM_KILLFOCUS), 1);
  EXPECT_EQ(b.Count(EXM_SETFOCUS), 1);
  // A disabled element takes no focus.
  a.disabled = 1;
  desktop.send_message(w, EXM_SETFOCUS, 0, reinterpret_cast<LPARAM>(&a));
  EXPECT_EQ(host.focused_element, &b);
}

TEST_F(HostTest, QueueTakesAreasInTheirModesOrder) {
  Ex_Host host;
  const os::Window w = MakeWindow();
  ASSERT_EQ(host.Attach(desktop, w, {.caption_flags = 0}), 1);
  Ex_RedrawQueue queue(host.redraw_queue);
  host.redraw_queue.busy = 1;  // as inside a flush: the areas wait
  queue.Add(MakeRectF(1, 0, 5, 5), kRedrawAppend);
  queue.Add(MakeRectF(2, 0, 5, 5), kRedrawFirst);
  queue.Add(MakeRectF(3, 0, 5, 5), kRedrawAppend);
  std::vector<float> xs;
  for (const RectF& r : host.redraw_queue.pending) xs.push_back(r.x);
  EXPECT_THAT(xs, ElementsAre(2, 1, 3));
  host.redraw_queue.busy = 0;
  const int presents = display.window(w)->presents;
  queue.Flush();
  EXPECT_TRUE(host.redraw_queue.pending.empty());
  EXPECT_TRUE(queue.IsIdle());
  // An ordinary window shows each area as it is composed.
  EXPECT_EQ(display.window(w)->presents, presents + 3);
}

TEST_F(HostTest, InvalidatedAreasAreComposedAndShown) {
  Ex_Host host;
  const os::Window w = MakeWindow();
  ASSERT_EQ(host.Attach(desktop, w, {.caption_flags = 0}), 1);
  Probe probe(kBlue);
  ASSERT_NE(probe.Create(host.window, MakeRectF(100, 100, 30, 30)), nullptr);
  probe.Invalidate();
  Pump();
  EXPECT_EQ(Shown(w, 110, 110), kBlue);
}

TEST_F(HostTest, LayeredWindowIsUpdatedOncePerFlush) {
  Ex_Host host;
  const os::Window w = MakeWindow();
  ASSERT_EQ(host.Attach(desktop, w, {.caption_flags = 0, .window_alpha = 255}), 1);
  Probe first(kRed);
  Probe second(kBlue);
  ASSERT_NE(first.Create(host.window, MakeRectF(20, 20, 30, 30)), nullptr);
  ASSERT_NE(second.Create(host.window, MakeRectF(100, 20, 30, 30)), nullptr);
  Pump();
  // Composing the first area queues the second while the flush runs.
  first.disabled = 1;
  bool queued = false;
  first.on_disabled_query = [&] {
    if (queued) return;
    queued = true;
    host.QueueRedraw(second.bounds, kRedrawAppend);
  };
  display.clear_layered_frames(w);
  host.QueueRedraw(first.bounds, kRedrawAppend);
  EXPECT_TRUE(queued);
  EXPECT_EQ(first.Count(EXM_QUERYDISABLEDALPHA), 1);
  EXPECT_TRUE(host.redraw_queue.pending.empty());
  ASSERT_EQ(display.layered_frames(w).size(), 1u);
  // The one frame holds the first area at half alpha over the background.
  const gfx::Argb shown = gfx::Unpremultiply(display.layered_frames(w)[0].pixels.at(30, 30));
  EXPECT_EQ(AlphaOf(shown), 254);  // the opaque background colour is stored at 254
  EXPECT_NEAR(RedOf(shown), 127, 2);
}

}  // namespace
}  // namespace directui::host_testing
