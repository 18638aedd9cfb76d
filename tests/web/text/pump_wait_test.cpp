#include "web/pump_wait.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <optional>
#include <string>
#include <thread>

#include "platform/os/clock.h"
#include "platform/os/desktop.h"
#include "platform/os/headless/headless_display.h"
#include "platform/os/message.h"
#include "platform/os/messages.h"
#include "platform/os/thread.h"
#include "platform/os/waitable.h"
#include "platform/os/window_placement.h"
#include "platform/os/window_styles.h"
#include "web/quick_random.h"

namespace web {
namespace {

namespace os = platform::os;
using std::chrono::milliseconds;

constexpr std::uint32_t kPing = os::WM_USER + 1;

// A headless desktop on a manual clock with a window class that counts pings.
class PumpWaitTest : public testing::Test {
 protected:
  PumpWaitTest() {
    desktop.register_class(os::WindowClass{
        .name = "pump_wait_test",
        .procedure = [this](os::Window w, std::uint32_t m, os::WPARAM wp,
                            os::LPARAM lp) -> os::LRESULT {
          if (m == kPing) {
            pings.fetch_add(1);
            pinged.set();
            return 0;
          }
          return desktop.def_window_proc(w, m, wp, lp);
        },
    });
  }

  os::Window MakeWindow() {
    return desktop.create_window(os::CreateWindowParams{
        .class_name = "pump_wait_test", .style = os::WS_POPUP, .size = os::Size{10, 10}});
  }

  void Wait(const os::Waitable& waitable) {
    const os::Waitable* handles[] = {&waitable};
    desktop.wait_for_objects(handles, os::INFINITE);
  }

  // Pings the window; true once its thread has handled the ping, false when the thread ended
  // (or its window went) without handling it.
  bool PingHandledBefore(os::Window window, const os::Thread& thread) {
    if (!desktop.post_message(window, kPing, 0, 0)) return false;
    const os::Waitable* handles[] = {&pinged, &thread.handle()};
    return desktop.wait_for_objects(handles, os::INFINITE) == os::WAIT_OBJECT_0;
  }

  os::ManualClock clock;
  os::headless::HeadlessDisplay display;
  os::Desktop desktop{display, clock};
  std::atomic<int> pings{0};
  os::Event pinged;
};

struct IntervalCase {
  std::int64_t interval;
  std::optional<std::int64_t> unit;
  std::int64_t milliseconds;
};

class PumpWaitInterval : public PumpWaitTest, public testing::WithParamInterface<IntervalCase> {};

TEST_P(PumpWaitInterval, ReturnsOnceTheIntervalHasPassedAndDispatchesMessagesMeanwhile) {
  const IntervalCase& c = GetParam();
  os::Window window;
  os::Event ready{os::Event::Options{.manual_reset = true}};
  std::atomic<bool> returned{false};
  int result = 0;
  os::Thread waiter([&] {
    window = MakeWindow();
    ready.set();
    result = PumpWait(desktop, c.interval, c.unit);
    returned.store(true);
    desktop.destroy_window(window);
  });
  Wait(ready);
  while (clock.listener_count() < 1) std::this_thread::yield();  // the timer is armed

  EXPECT_TRUE(PingHandledBefore(window, waiter));
  clock.advance(milliseconds(c.milliseconds - 1));
  // Handled inside PumpWait, after all but the last millisecond of the interval.
  EXPECT_TRUE(PingHandledBefore(window, waiter));
  EXPECT_FALSE(returned.load());
  clock.advance(milliseconds(1));
  waiter.join();
  EXPECT_TRUE(returned.load());
  EXPECT_EQ(result, 1);
  EXPECT_EQ(pings.load(), 2);
}

INSTANTIATE_TEST_SUITE_P(Units, PumpWaitInterval,
                         testing::Values(IntervalCase{10, std::nullopt, 10},
                                         IntervalCase{10, 0, 10}, IntervalCase{2, 1, 2000},
                                         IntervalCase{1, 2, 60000}, IntervalCase{1, 3, 3600000},
                                         IntervalCase{3, 7, 21}),  // another unit multiplies
                         [](const testing::TestParamInfo<IntervalCase>& info) {
                           const IntervalCase& c = info.param;
                           return std::to_string(c.interval) + "_unit_" +
                                  (c.unit ? std::to_string(*c.unit) : std::string("none"));
                         });

TEST_F(PumpWaitTest, NoIntervalReturnsWithoutTimePassing) {
  for (const std::int64_t interval : {0, -5}) {
    int result = 0;
    os::Thread waiter([&] { result = PumpWait(desktop, interval, 1); });
    waiter.join();
    EXPECT_EQ(result, 1) << interval;
  }
}

TEST_F(PumpWaitTest, RandomDigitsDispatchesPendingMessages) {
  const os::Window window = MakeWindow();
  ASSERT_TRUE(desktop.post_message(window, kPing, 0, 0));
  EXPECT_EQ(RandomDigits(desktop, 4, 1).size(), 4u);
  EXPECT_EQ(pings.load(), 1);
  desktop.destroy_window(window);
}

TEST_F(PumpWaitTest, DispatchingLeavesTheQuitToTheThreadsLoop) {
  const os::Window window = MakeWindow();
  ASSERT_TRUE(desktop.post_message(window, kPing, 0, 0));
  desktop.post_quit_message(0);
  DispatchPendingMessages(desktop);
  EXPECT_EQ(pings.load(), 1);
  os::Message message;
  EXPECT_FALSE(desktop.get_message(message));  // the loop around still ends
  desktop.destroy_window(window);
}

}  // namespace
}  // namespace web
