#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "platform/os/clock.h"
#include "platform/os/desktop.h"
#include "platform/os/headless/headless_display.h"

namespace platform::os::testing {

struct Recorded {
  Window window;
  std::uint32_t message = 0;
  WPARAM wparam = 0;
  LPARAM lparam = 0;
  std::thread::id thread;
};

// Every message the test windows' procedures saw, in order, from any thread.
class MessageLog {
 public:
  void add(Recorded r) {
    std::lock_guard lock(mu_);
    entries_.push_back(r);
  }
  std::vector<Recorded> all() const {
    std::lock_guard lock(mu_);
    return entries_;
  }
  // Only these messages, in order.
  std::vector<Recorded> of(std::initializer_list<std::uint32_t> messages) const {
    std::lock_guard lock(mu_);
    std::vector<Recorded> out;
    for (const Recorded& r : entries_) {
      for (std::uint32_t m : messages) {
        if (r.message == m) out.push_back(r);
      }
    }
    return out;
  }
  int count(std::uint32_t message, Window window = {}) const {
    std::lock_guard lock(mu_);
    int n = 0;
    for (const Recorded& r : entries_) n += r.message == message && (!window || r.window == window);
    return n;
  }
  void clear() {
    std::lock_guard lock(mu_);
    entries_.clear();
  }

 private:
  mutable std::mutex mu_;
  std::vector<Recorded> entries_;
};

// A headless desktop on a manual clock, with two window classes whose procedures log every
// message and then call `handler` (when it answers) or the default handling.
class DesktopTest : public ::testing::Test {
 protected:
  using Handler = std::function<std::optional<LRESULT>(Window, std::uint32_t, WPARAM, LPARAM)>;

  static constexpr const char* kDoubleClickClass = "logged_dblclks";
  static constexpr const char* kPlainClass = "logged_plain";

  DesktopTest() {
    for (auto [name, style] :
         {std::pair{kDoubleClickClass, CS_DBLCLKS}, std::pair{kPlainClass, 0u}}) {
      desktop.register_class(WindowClass{
          .name = name,
          .style = style,
          .procedure = [this](Window w, std::uint32_t m, WPARAM wp, LPARAM lp) -> LRESULT {
            log.add({w, m, wp, lp, std::this_thread::get_id()});
            Handler h;
            {
              std::lock_guard lock(handler_mu);
              h = handler;
            }
            if (h) {
              if (auto r = h(w, m, wp, lp)) return *r;
            }
            return desktop.def_window_proc(w, m, wp, lp);
          },
      });
    }
  }

  void set_handler(Handler h) {
    std::lock_guard lock(handler_mu);
    handler = std::move(h);
  }

  struct WindowOptions {
    std::uint32_t style = WS_POPUP;
    std::uint32_t ex_style = 0;
    Window owner{};
    const char* class_name = kDoubleClickClass;
    bool show = true;
  };

  Window make_window(Rect bounds, WindowOptions o) {
    Window w = desktop.create_window(CreateWindowParams{
        .class_name = o.class_name,
        .title = u"test",
        .style = o.style,
        .ex_style = o.ex_style,
        .position = bounds.origin(),
        .size = bounds.size(),
        .owner = o.owner,
    });
    if (w && o.show) desktop.show_window(w, SW_SHOW);
    return w;
  }
  Window make_window(Rect bounds) { return make_window(bounds, WindowOptions{}); }

  // Handles everything the calling thread has queued, as a message loop would.
  int pump() {
    int n = 0;
    Message m;
    while (desktop.peek_message(m, {}, 0, 0, PM_REMOVE)) {
      if (m.message == WM_QUIT) break;
      desktop.translate_message(m);
      desktop.dispatch_message(m);
      ++n;
    }
    return n;
  }

  // Takes the calling thread's queued messages without dispatching them, paint and timers
  // included.
  std::vector<Message> take_all() {
    std::vector<Message> out;
    Message m;
    while (desktop.peek_message(m, {}, 0, 0, PM_REMOVE)) {
      out.push_back(m);
      if (m.message == WM_PAINT) desktop.validate_rect(m.window);
      if (m.message == WM_QUIT) break;
    }
    return out;
  }

  // Taken messages of one kind.
  std::vector<Message> take(std::uint32_t message) {
    std::vector<Message> out;
    for (const Message& m : take_all()) {
      if (m.message == message) out.push_back(m);
    }
    return out;
  }

  ManualClock clock;
  headless::HeadlessDisplay display;
  Desktop desktop{display, clock};
  MessageLog log;
  std::mutex handler_mu;
  Handler handler;
};

// Waits (without a time-out of its own) until a thread has begun a timed wait on the clock.
inline void await_clock_waiters(const Clock& clock, std::size_t count = 1) {
  while (clock.listener_count() < count) std::this_thread::yield();
}

}  // namespace platform::os::testing
