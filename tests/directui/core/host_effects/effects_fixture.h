#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include <gtest/gtest.h>

#include "directui/core/host.h"
#include "platform/os/clock.h"
#include "platform/os/desktop.h"
#include "platform/os/headless/headless_display.h"
#include "platform/os/messages.h"
#include "platform/os/window_styles.h"

namespace directui::effects_testing {

namespace os = platform::os;
namespace gfx = platform::gfx;

using std::chrono::milliseconds;

// Time that jumps to whatever a wait waits for, so every pause of an effect ends at once and
// exactly on time, timers due meanwhile firing in order. One thread only.
class SteppingClock final : public os::Clock {
 public:
  TimePoint now() const override {
    std::lock_guard lock(mu_);
    return now_;
  }
  int real_wait_ms(TimePoint deadline) const override {
    std::lock_guard lock(mu_);
    if (deadline > now_) now_ = deadline;
    return 0;
  }

 private:
  mutable std::mutex mu_;
  mutable TimePoint now_ = std::chrono::seconds(1);
};

// The opaque colour every test host shows, so a frame's alpha is the effect's alpha.
inline constexpr gfx::Argb kPicture = 0xFF336699;

inline int AlphaAt(const os::headless::LayeredFrame& frame, int x, int y) {
  return static_cast<int>(frame.pixels.at(x, y) >> 24);
}

struct InkBox {
  int left = 0;
  int top = 0;
  int right = 0;  // just outside
  int bottom = 0;
  friend bool operator==(const InkBox&, const InkBox&) = default;
};

inline std::ostream& operator<<(std::ostream& out, const InkBox& b) {
  return out << "(" << b.left << ", " << b.top << ") - (" << b.right << ", " << b.bottom << ")";
}

// The box around every pixel the frame shows at all; all zero for a transparent frame.
inline InkBox PaintedBounds(const os::headless::LayeredFrame& frame) {
  InkBox box{frame.pixels.width, frame.pixels.height, 0, 0};
  for (int y = 0; y < frame.pixels.height; ++y) {
    for (int x = 0; x < frame.pixels.width; ++x) {
      if (frame.pixels.at(x, y) >> 24 == 0) continue;
      box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
             std::max(box.bottom, y + 1)};
    }
  }
  return box.right == 0 ? InkBox{} : box;
}

// Milliseconds between consecutive frames, from frame `first` on.
inline std::vector<int> Gaps(const std::vector<os::headless::LayeredFrame>& frames,
                             std::size_t first = 0) {
  std::vector<int> gaps;
  for (std::size_t i = first + 1; i < frames.size(); ++i) {
    gaps.push_back(static_cast<int>(
        std::chrono::duration_cast<milliseconds>(frames[i].time - frames[i - 1].time).count()));
  }
  return gaps;
}

// Display options that stamp every layered frame with the clock's time.
inline os::headless::HeadlessOptions StampedBy(const os::Clock& clock) {
  os::headless::HeadlessOptions options;
  options.clock = &clock;
  return options;
}

// A virtual screen on a stepping clock, with a window whose own procedure notes messages and
// keeps itself alive on WM_CLOSE (so the test can look at it after a close effect).
class EffectsTest : public ::testing::Test {
 protected:
  static constexpr const char* kClass = "EffectsTestWindow";
  static constexpr int kWidth = 300;
  static constexpr int kHeight = 250;

  EffectsTest() {
    desktop.register_class(
        {.name = kClass, .procedure = [this](os::Window w, std::uint32_t m, WPARAM wp, LPARAM lp) {
           if (on_message) on_message(m);
           if (m == os::WM_CLOSE) return LRESULT{0};
           return desktop.def_window_proc(w, m, wp, lp);
         }});
  }

  ~EffectsTest() override {
    if (desktop.is_window(window)) desktop.destroy_window(window);
  }

  // A hidden window of kWidth × kHeight with a host showing kPicture; no frames recorded yet.
  void MakeHost(bool layered, int width = kWidth, int height = kHeight) {
    window = desktop.create_window({.class_name = kClass,
                                    .style = os::WS_POPUP,
                                    .position = os::Point{40, 30},
                                    .size = os::Size{width, height}});
    ASSERT_TRUE(window);
    HostOptions options{.background_colour = 0x996633, .caption_flags = 0};
    if (layered) options.window_alpha = 255;
    ASSERT_EQ(host.Attach(desktop, window, options), 1);
    host.offscreen_graphics->clear(kPicture);
    display.clear_layered_frames(window);
  }

  std::vector<os::headless::LayeredFrame> Frames() const { return display.layered_frames(window); }

  bool Layered() const { return (desktop.ex_style(window) & os::WS_EX_LAYERED) != 0; }

  SteppingClock clock;
  os::headless::HeadlessDisplay display{StampedBy(clock)};
  os::Desktop desktop{display, clock};
  os::Window window;
  Ex_Host host;
  std::function<void(std::uint32_t)> on_message;
};

}  // namespace directui::effects_testing
