// Window and thread timers on the manual clock.

#include "desktop_fixture.h"
#include "platform/os/thread.h"

namespace platform::os::testing {
namespace {

using namespace std::chrono_literals;

class TimersTest : public DesktopTest {
 protected:
  TimersTest() {
    window = make_window({0, 0, 50, 50});
    take_all();
  }

  // The identifiers of the WM_TIMER messages now waiting.
  std::vector<WPARAM> fired() {
    std::vector<WPARAM> ids;
    for (const Message& m : take(WM_TIMER)) ids.push_back(m.wparam);
    return ids;
  }

  Window window;
};

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST_F(TimersTest, FiresOncePerPeriod) {
  ASSERT_EQ(desktop.set_timer(window, 7, 100), 7u);
  clock.advance(99ms);
  EXPECT_THAT(fired(), IsEmpty());
  for (int period = 1; period <= 4; ++period) {
    clock.advance(period == 1 ? 1ms : 100ms);
    EXPECT_THAT(fired(), ElementsAre(7u)) << "period " << period;
  }
}

TEST_F(TimersTest, ALateThreadGetsOneMessageNotABurst) {
  desktop.set_timer(window, 1, 50);
  clock.advance(1000ms);
  EXPECT_THAT(fired(), ElementsAre(1u));
  // The next period counts from the moment the message was taken.
  clock.advance(49ms);
  EXPECT_THAT(fired(), IsEmpty());
  clock.advance(1ms);
  EXPECT_THAT(fired(), ElementsAre(1u));
}

TEST_F(TimersTest, NoSecondMessageWhileOneIsWaiting) {
  desktop.set_timer(window, 1, 10);
  clock.advance(10ms);
  Message m;
  ASSERT_TRUE(desktop.peek_message(m, {}, WM_TIMER, WM_TIMER, PM_NOREMOVE));
  clock.advance(30ms);
  EXPECT_THAT(fired(), ElementsAre(1u));
}

TEST_F(TimersTest, SettingAnExistingIdentifierRestartsIt) {
  desktop.set_timer(window, 3, 100);
  clock.advance(60ms);
  EXPECT_EQ(desktop.set_timer(window, 3, 100), 3u);
  clock.advance(60ms);  // past the first schedule
  EXPECT_THAT(fired(), IsEmpty());
  clock.advance(40ms);
  EXPECT_THAT(fired(), ElementsAre(3u));
  // A restart may change the period.
  desktop.set_timer(window, 3, 20);
  clock.advance(20ms);
  EXPECT_THAT(fired(), ElementsAre(3u));
}

TEST_F(TimersTest, KillStopsItAndAWaitingMessage) {
  desktop.set_timer(window, 4, 10);
  clock.advance(10ms);
  EXPECT_TRUE(desktop.kill_timer(window, 4));
  EXPECT_THAT(fired(), IsEmpty());
  clock.advance(100ms);
  EXPECT_THAT(fired(), IsEmpty());
  EXPECT_FALSE(desktop.kill_timer(window, 4));
  EXPECT_FALSE(desktop.kill_timer(window, 99));
}

TEST_F(TimersTest, TimersOfOneWindowAreIndependentAndComeInDueOrder) {
  desktop.set_timer(window, 1, 30);
  desktop.set_timer(window, 2, 10);
  Window other = make_window({100, 0, 150, 50});
  take_all();
  desktop.set_timer(other, 1, 20);
  clock.advance(30ms);
  std::vector<Message> got = take(WM_TIMER);
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(got[0].window, window);
  EXPECT_EQ(got[0].wparam, 2u);
  EXPECT_EQ(got[1].window, other);
  EXPECT_EQ(got[2].window, window);
  EXPECT_EQ(got[2].wparam, 1u);
  desktop.kill_timer(window, 1);
  clock.advance(20ms);
  got = take(WM_TIMER);
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].wparam, 2u);
  EXPECT_EQ(got[1].window, other);
}

TEST_F(TimersTest, DestroyingTheWindowEndsItsTimers) {
  desktop.set_timer(window, 1, 10);
  desktop.destroy_window(window);
  clock.advance(50ms);
  EXPECT_THAT(fired(), IsEmpty());
  EXPECT_EQ(desktop.set_timer(window, 1, 10), 0u);
}

TEST_F(TimersTest, TimerMessagesComeAfterPostedOnes) {
  desktop.set_timer(window, 1, 10);
  clock.advance(10ms);
  desktop.post_message(window, WM_USER, 0, 0);
  std::vector<Message> got = take_all();
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].message, WM_USER);
  EXPECT_EQ(got[1].message, WM_TIMER);
}

TEST_F(TimersTest, DispatchCallsTheRoutineInsteadOfTheProcedure) {
  std::vector<std::tuple<Window, std::uint32_t, std::uintptr_t, std::uint32_t>> calls;
  desktop.set_timer(window, 9, 25,
                    [&](Window w, std::uint32_t m, std::uintptr_t id, std::uint32_t t) {
                      calls.emplace_back(w, m, id, t);
                    });
  clock.advance(25ms);
  log.clear();
  pump();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0], std::make_tuple(window, WM_TIMER, std::uintptr_t{9}, desktop.tick_count()));
  EXPECT_EQ(log.count(WM_TIMER), 0);
  clock.advance(25ms);
  pump();
  EXPECT_EQ(calls.size(), 2u);
}

TEST_F(TimersTest, ARoutineKilledAfterItsMessageWasTakenIsNotCalled) {
  int calls = 0;
  desktop.set_timer(window, 9, 10,
                    [&](Window, std::uint32_t, std::uintptr_t, std::uint32_t) { ++calls; });
  clock.advance(10ms);
  std::vector<Message> got = take(WM_TIMER);
  ASSERT_EQ(got.size(), 1u);
  desktop.kill_timer(window, 9);
  desktop.dispatch_message(got[0]);
  EXPECT_EQ(calls, 0);
}

TEST_F(TimersTest, WithoutAWindowTheTimerGetsAFreshIdentifierOfTheThread) {
  std::vector<std::uintptr_t> seen;
  auto routine = [&](Window w, std::uint32_t, std::uintptr_t id, std::uint32_t) {
    EXPECT_FALSE(w);
    seen.push_back(id);
  };
  std::uintptr_t first = desktop.set_timer({}, 0, 10, routine);
  std::uintptr_t second = desktop.set_timer({}, 0, 20, routine);
  ASSERT_NE(first, 0u);
  ASSERT_NE(second, 0u);
  EXPECT_NE(first, second);
  // Naming an existing one restarts it instead.
  EXPECT_EQ(desktop.set_timer({}, first, 10, routine), first);
  clock.advance(20ms);
  pump();
  EXPECT_THAT(seen, ElementsAre(first, second));
}

TEST_F(TimersTest, AdvancingTheClockWakesAThreadWaitingForItsTimer) {
  Event got_timer;
  Thread ui([&] {
    Window w = desktop.create_window(CreateWindowParams{.class_name = kPlainClass});
    desktop.set_timer(w, 5, 200);
    Message m;
    while (desktop.get_message(m)) {
      if (m.message == WM_TIMER) break;
    }
    if (m.message == WM_TIMER && m.wparam == 5) got_timer.set();
  });
  await_clock_waiters(clock);  // the thread sleeps in get_message
  clock.advance(200ms);
  const Waitable* handles[] = {&got_timer, &ui.handle()};
  EXPECT_EQ(desktop.wait_for_objects(handles, INFINITE), WAIT_OBJECT_0);
}

}  // namespace
}  // namespace platform::os::testing
