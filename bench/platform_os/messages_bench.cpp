// Posted-message throughput and cross-thread send round trips, each against a plain mutex and
// condition-variable ping-pong between two threads measured first in the same run. The
// "vs_ping_pong" counter is the time per operation divided by the time per ping-pong round.

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/os/clock.h"
#include "platform/os/desktop.h"
#include "platform/os/headless/headless_display.h"
#include "platform/os/thread.h"

namespace platform::os {
namespace {

double ping_pong_ns = 0;  // set by the baseline, which runs first

using Steady = std::chrono::steady_clock;

double ns_per_op(Steady::time_point start, benchmark::IterationCount n) {
  return std::chrono::duration<double, std::nano>(Steady::now() - start).count() /
         static_cast<double>(n);
}

void report(benchmark::State& state, double ns) {
  if (ping_pong_ns > 0) state.counters["vs_ping_pong"] = ns / ping_pong_ns;
}

void BM_MutexConditionPingPong(benchmark::State& state) {
  std::mutex mu;
  std::condition_variable cv;
  int turn = 0;  // 1: the other thread's move, 0: ours
  bool stop = false;
  std::thread peer([&] {
    std::unique_lock lock(mu);
    for (;;) {
      cv.wait(lock, [&] { return turn == 1 || stop; });
      if (stop) return;
      turn = 0;
      cv.notify_all();
    }
  });
  auto start = Steady::now();
  for (auto _ : state) {
    std::unique_lock lock(mu);
    turn = 1;
    cv.notify_all();
    cv.wait(lock, [&] { return turn == 0; });
  }
  ping_pong_ns = ns_per_op(start, state.iterations());
  {
    std::lock_guard lock(mu);
    stop = true;
  }
  cv.notify_all();
  peer.join();
}
BENCHMARK(BM_MutexConditionPingPong)->UseRealTime();

// A desktop with one window owned by a thread that runs a message loop.
class LoopThread {
 public:
  explicit LoopThread(Desktop& desktop) : desktop_(desktop) {
    desktop_.register_class(WindowClass{
        .name = "bench",
        .procedure = [this](Window w, std::uint32_t m, WPARAM wp, LPARAM lp) -> LRESULT {
          if (m == WM_USER) {
            handled_.fetch_add(1, std::memory_order_relaxed);
            return static_cast<LRESULT>(wp) + 1;
          }
          if (m == WM_USER + 1) drained_.set();
          if (m == WM_DESTROY) desktop_.post_quit_message(0);
          return desktop_.def_window_proc(w, m, wp, lp);
        },
    });
    Event ready;
    thread_ = std::make_unique<Thread>([this, &ready] {
      window_ = desktop_.create_window(CreateWindowParams{.class_name = "bench"});
      ready.set();
      Message m;
      while (desktop_.get_message(m)) desktop_.dispatch_message(m);
    });
    const Waitable* handles[] = {&ready};
    desktop_.wait_for_objects(handles, INFINITE);
  }
  ~LoopThread() {
    desktop_.post_message(window_, WM_CLOSE, 0, 0);
    thread_->join();
  }
  Window window() const { return window_; }
  long handled() const { return handled_.load(std::memory_order_relaxed); }
  // Returns once the owner has handled everything posted before.
  void drain() {
    desktop_.post_message(window_, WM_USER + 1, 0, 0);
    const Waitable* handles[] = {&drained_};
    desktop_.wait_for_objects(handles, INFINITE);
  }

 private:
  Desktop& desktop_;
  Window window_;
  std::atomic<long> handled_{0};
  Event drained_;
  std::unique_ptr<Thread> thread_;
};

void BM_PostedMessageThroughput(benchmark::State& state) {
  SteadyClock clock;
  headless::HeadlessDisplay display;
  Desktop desktop(display, clock);
  LoopThread loop(desktop);
  auto start = Steady::now();
  for (auto _ : state) desktop.post_message(loop.window(), WM_USER, 0, 0);
  // Throughput counts until the owner has handled every one.
  loop.drain();
  double ns = ns_per_op(start, state.iterations());
  state.counters["handled"] = static_cast<double>(loop.handled());
  report(state, ns);
}
BENCHMARK(BM_PostedMessageThroughput)->UseRealTime();

void BM_CrossThreadSendRoundTrip(benchmark::State& state) {
  SteadyClock clock;
  headless::HeadlessDisplay display;
  Desktop desktop(display, clock);
  LoopThread loop(desktop);
  WPARAM i = 0;
  auto start = Steady::now();
  for (auto _ : state) {
    LRESULT r = desktop.send_message(loop.window(), WM_USER, i, 0);
    benchmark::DoNotOptimize(r);
    ++i;
  }
  report(state, ns_per_op(start, state.iterations()));
}
BENCHMARK(BM_CrossThreadSendRoundTrip)->UseRealTime();

void BM_SameThreadSend(benchmark::State& state) {
  SteadyClock clock;
  headless::HeadlessDisplay display;
  Desktop desktop(display, clock);
  desktop.register_class(WindowClass{
      .name = "bench",
      .procedure = [](Window, std::uint32_t, WPARAM wp, LPARAM) -> LRESULT {
        return static_cast<LRESULT>(wp);
      },
  });
  Window w = desktop.create_window(CreateWindowParams{.class_name = "bench"});
  auto start = Steady::now();
  for (auto _ : state) benchmark::DoNotOptimize(desktop.send_message(w, WM_USER, 1, 0));
  report(state, ns_per_op(start, state.iterations()));
}
BENCHMARK(BM_SameThreadSend);

}  // namespace
}  // namespace platform::os

BENCHMARK_MAIN();
