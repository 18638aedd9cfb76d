// What a mouse move costs when it changes the element under the pointer (a leave and enter
// pair and a tooltip update) over one that stays on the same element (a hit test and one
// dispatch), on a window holding as many elements as the main window. Each figure is a ratio
// (x_baseline) to its baseline, which is measured in the same run.

#include <benchmark/benchmark.h>

#include <functional>
#include <memory>
#include <vector>

#include "bench/support/thread_time.h"
#include "directui/core/element.h"
#include "directui/core/host.h"
#include "platform/os/clock.h"
#include "platform/os/desktop.h"
#include "platform/os/headless/headless_display.h"
#include "platform/os/messages.h"
#include "platform/os/window_styles.h"

namespace directui::bench {
namespace {

namespace os = platform::os;

// Baseline runs per measurement.
constexpr int kBaselineRuns = 20000;

void RunAgainst(benchmark::State& state, const std::function<void()>& baseline,
                const std::function<void()>& measured) {
  bench_support::RunAgainst(state, baseline, measured, kBaselineRuns);
}

class Plain : public Ex_Element {
 public:
  LRESULT HandleMessage(Ex_Element*, std::uint32_t, WPARAM, LPARAM) override { return -1; }
};

// A host with a 6 × 10 grid of 30 × 20 elements, each with a tooltip text.
struct Screen {
  Screen() {
    desktop.register_class({.name = "InputBench"});
    window = desktop.create_window({.class_name = "InputBench",
                                    .style = os::WS_VISIBLE,
                                    .position = os::Point{0, 0},
                                    .size = os::Size{400, 300}});
    host.Attach(desktop, window, {.caption_flags = 0});
    for (int row = 0; row < 10; ++row) {
      for (int column = 0; column < 6; ++column) {
        auto element = std::make_unique<Plain>();
        element->InitElement(
            {.parent = host.window, .bounds = MakeRectF(20 + 40 * column, 20 + 25 * row, 30, 20)});
        element->SetToolTip("tip");
        elements.push_back(std::move(element));
      }
    }
  }
  ~Screen() {
    elements.clear();
    desktop.destroy_window(window);
  }

  void MoveTo(int x, int y) {
    desktop.send_message(window, os::WM_MOUSEMOVE, 0, os::make_lparam(x, y));
  }

  os::headless::HeadlessDisplay display;
  os::ManualClock clock;
  os::Desktop desktop{display, clock};
  Ex_Host host;
  os::Window window;
  std::vector<std::unique_ptr<Plain>> elements;
};

void BM_MoveOntoAnotherElement(benchmark::State& state) {
  Screen screen;
  // Both walk the grid's list from its far end to the same depth; only the second changes
  // the hovered element on every move.
  bool flip = false;
  RunAgainst(
      state,
      [&] {
        flip = !flip;
        screen.MoveTo(flip ? 25 : 26, 25);
      },
      [&] {
        flip = !flip;
        screen.MoveTo(flip ? 25 : 65, 25);
      });
}
BENCHMARK(BM_MoveOntoAnotherElement);

}  // namespace
}  // namespace directui::bench
BENCHMARK_MAIN();
