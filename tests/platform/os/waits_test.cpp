// Waits on handles, time-outs and queued input; events, waitable timers, threads and sleep,
// all on the manual clock.

#include <atomic>

#include "desktop_fixture.h"
#include "platform/os/thread.h"
#include "platform/os/virtual_keys.h"

namespace platform::os::testing {
namespace {

using namespace std::chrono_literals;

class WaitsTest : public DesktopTest {};

TEST_F(WaitsTest, TheLowestSignalledHandleWins) {
  Event a, b, c;
  b.set();
  c.set();
  const Waitable* handles[] = {&a, &b, &c};
  EXPECT_EQ(desktop.wait_for_objects(handles, 0), WAIT_OBJECT_0 + 1);
  // b was auto-reset by that wait; c is still set.
  EXPECT_EQ(desktop.wait_for_objects(handles, 0), WAIT_OBJECT_0 + 2);
  EXPECT_EQ(desktop.wait_for_objects(handles, 0), WAIT_TIMEOUT);
}

TEST_F(WaitsTest, AManualResetEventStaysSignalledUntilReset) {
  Event e{Event::Options{.manual_reset = true, .initially_set = true}};
  const Waitable* handles[] = {&e};
  EXPECT_EQ(desktop.wait_for_objects(handles, 0), WAIT_OBJECT_0);
  EXPECT_EQ(desktop.wait_for_objects(handles, 0), WAIT_OBJECT_0);
  e.reset();
  EXPECT_EQ(desktop.wait_for_objects(handles, 0), WAIT_TIMEOUT);
}

TEST_F(WaitsTest, AWaitEndsWhenAnotherThreadSignals) {
  Event e;
  Thread t([&] {
    await_clock_waiters(clock);
    e.set();
  });
  const Waitable* handles[] = {&e};
  EXPECT_EQ(desktop.msg_wait_for_multiple_objects(handles, INFINITE, QS_ALLINPUT), WAIT_OBJECT_0);
}

TEST_F(WaitsTest, ATimeOutEndsTheWaitOnlyWhenTheClockReachesIt) {
  Event never;
  std::atomic<std::uint32_t> result{0xDEAD};
  Thread t([&] {
    const Waitable* handles[] = {&never};
    result = desktop.msg_wait_for_multiple_objects(handles, 100, QS_ALLINPUT);
  });
  await_clock_waiters(clock);
  clock.advance(99ms);
  EXPECT_EQ(result.load(), 0xDEADu);
  clock.advance(1ms);
  t.join();
  EXPECT_EQ(result.load(), WAIT_TIMEOUT);
}

TEST_F(WaitsTest, QueuedInputEndsTheWaitWithTheHandleCount) {
  Window w = make_window({0, 0, 100, 100});
  take_all();
  Event never;
  const Waitable* handles[] = {&never};
  desktop.post_message(w, WM_USER, 0, 0);
  EXPECT_EQ(desktop.msg_wait_for_multiple_objects(handles, INFINITE, QS_POSTMESSAGE),
            WAIT_OBJECT_0 + 1);
  // The wait leaves the message in the queue.
  EXPECT_EQ(take(WM_USER).size(), 1u);
}

struct MaskCase {
  const char* name;
  std::uint32_t mask;
  bool post;
  bool key;
  bool click;
  bool timer;
  bool wakes;
};

class WakeMaskTest : public DesktopTest, public ::testing::WithParamInterface<MaskCase> {};

TEST_P(WakeMaskTest, OnlyInputTheMaskNamesEndsTheWait) {
  const MaskCase& c = GetParam();
  Window w = make_window({0, 0, 100, 100});
  take_all();
  if (c.post) desktop.post_message(w, WM_USER, 0, 0);
  if (c.key) display.type_key('A', "a");
  if (c.click) display.click({5, 5});
  if (c.timer) {
    desktop.set_timer(w, 1, 10);
    clock.advance(10ms);
  }
  EXPECT_EQ(desktop.msg_wait_for_multiple_objects({}, 0, c.mask),
            c.wakes ? WAIT_OBJECT_0 : WAIT_TIMEOUT);
}

INSTANTIATE_TEST_SUITE_P(
    Masks, WakeMaskTest,
    ::testing::Values(MaskCase{"post_all", QS_ALLINPUT, true, false, false, false, true},
                      MaskCase{"post_keys_only", QS_KEY, true, false, false, false, false},
                      MaskCase{"key_keys", QS_KEY, false, true, false, false, true},
                      MaskCase{"key_mouse_only", QS_MOUSE, false, true, false, false, false},
                      MaskCase{"click_mouse", QS_MOUSEBUTTON, false, false, true, false, true},
                      MaskCase{"timer_timer", QS_TIMER, false, false, false, true, true},
                      MaskCase{"timer_post_only", QS_POSTMESSAGE, false, false, false, true, false},
                      MaskCase{"worker_mask", 0x4BF, true, false, false, false, true},
                      MaskCase{"nothing", QS_ALLINPUT, false, false, false, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WaitsTest, APostFromAnotherThreadWakesAMessageWait) {
  Window w = make_window({0, 0, 100, 100});
  take_all();
  Event never;
  Thread poster([&] {
    await_clock_waiters(clock);
    desktop.post_message(w, WM_USER, 0, 0);
  });
  const Waitable* handles[] = {&never};
  EXPECT_EQ(desktop.msg_wait_for_multiple_objects(handles, INFINITE, QS_ALLINPUT),
            WAIT_OBJECT_0 + 1);
}

TEST_F(WaitsTest, SentMessagesAreHandledDuringAWaitThatDoesNotAskForThem) {
  Window w = make_window({0, 0, 100, 100});
  take_all();
  set_handler([](Window, std::uint32_t m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_USER) return 55;
    return std::nullopt;
  });
  Event done;
  std::atomic<LRESULT> answer{0};
  Thread sender([&] {
    answer = desktop.send_message(w, WM_USER, 0, 0);
    done.set();
  });
  // Without handling the sent message here, `done` would never come.
  const Waitable* handles[] = {&done};
  EXPECT_EQ(desktop.msg_wait_for_multiple_objects(handles, INFINITE, QS_POSTMESSAGE),
            WAIT_OBJECT_0);
  EXPECT_EQ(answer.load(), 55);
}

TEST_F(WaitsTest, AThreadHandleIsSignalledWhenTheThreadEnds) {
  Event finish;
  Thread t([&] {
    const Waitable* handles[] = {&finish};
    desktop.wait_for_objects(handles, INFINITE);
  });
  const Waitable* handles[] = {&t.handle()};
  EXPECT_EQ(desktop.wait_for_objects(handles, 0), WAIT_TIMEOUT);
  finish.set();
  EXPECT_EQ(desktop.wait_for_objects(handles, INFINITE), WAIT_OBJECT_0);
  // It stays signalled.
  EXPECT_EQ(desktop.wait_for_objects(handles, 0), WAIT_OBJECT_0);
}

TEST_F(WaitsTest, AWaitableTimerSignalsAtItsRelativeDueTime) {
  WaitableTimer timer(clock);
  timer.set(50ms);
  const Waitable* handles[] = {&timer};
  clock.advance(49ms);
  EXPECT_EQ(desktop.wait_for_objects(handles, 0), WAIT_TIMEOUT);
  clock.advance(1ms);
  EXPECT_EQ(desktop.wait_for_objects(handles, 0), WAIT_OBJECT_0);
  // Auto-reset and no period: once.
  clock.advance(500ms);
  EXPECT_EQ(desktop.wait_for_objects(handles, 0), WAIT_TIMEOUT);
}

TEST_F(WaitsTest, AWaitOnAWaitableTimerWakesWhenTheClockGetsThere) {
  WaitableTimer timer(clock);
  std::atomic<std::uint32_t> result{0xDEAD};
  timer.set(300ms);
  Thread t([&] {
    const Waitable* handles[] = {&timer};
    // The pump-wait pattern: the timer alone, no time-out, waking for messages too.
    result = desktop.msg_wait_for_multiple_objects(handles, INFINITE, 0xFF);
  });
  await_clock_waiters(clock);
  clock.advance(299ms);
  EXPECT_EQ(result.load(), 0xDEADu);
  clock.advance(1ms);
  t.join();
  EXPECT_EQ(result.load(), WAIT_OBJECT_0);
}

TEST_F(WaitsTest, ResettingAWaitableTimerMovesItsDueTime) {
  WaitableTimer timer(clock);
  timer.set(50ms);
  clock.advance(40ms);
  timer.set(50ms);
  const Waitable* handles[] = {&timer};
  clock.advance(20ms);
  EXPECT_EQ(desktop.wait_for_objects(handles, 0), WAIT_TIMEOUT);
  clock.advance(30ms);
  EXPECT_EQ(desktop.wait_for_objects(handles, 0), WAIT_OBJECT_0);
  timer.set(10ms);
  timer.cancel();
  clock.advance(100ms);
  EXPECT_EQ(desktop.wait_for_objects(handles, 0), WAIT_TIMEOUT);
}

TEST_F(WaitsTest, SleepReturnsWhenTheClockHasMovedOnByItsLength) {
  std::atomic<bool> woke{false};
  Thread t([&] {
    desktop.sleep(1000);
    woke = true;
  });
  await_clock_waiters(clock);
  clock.advance(999ms);
  EXPECT_FALSE(woke.load());
  clock.advance(1ms);
  t.join();
  EXPECT_TRUE(woke.load());
}

TEST_F(WaitsTest, AcceleratedTimeRunsFasterThanRealTime) {
  AcceleratedClock fast(1000.0);
  Clock::TimePoint start = fast.now();
  SteadyClock real;
  Clock::TimePoint real_start = real.now();
  // 2 s of accelerated time is 2 ms of real time.
  Desktop fast_desktop(display, fast);
  EXPECT_EQ(fast_desktop.wait_for_objects({}, 2000), WAIT_TIMEOUT);
  EXPECT_GE(fast.now() - start, 2s);
  EXPECT_LT(real.now() - real_start, 2s);
}

}  // namespace
}  // namespace platform::os::testing
