#pragma once

#include <functional>

#include "platform/os/desktop.h"
#include "platform/os/thread.h"
#include "platform/os/waitable.h"

namespace platform::os::testing {

// A thread that makes one window and runs its message loop until the window is destroyed.
class UiThread {
 public:
  UiThread(Desktop& desktop, std::function<Window()> make_window)
      : desktop_(desktop), thread_([this, make = std::move(make_window)] {
          window_ = make();
          ready_.set();
          Message m;
          while (desktop_.get_message(m)) {
            desktop_.translate_message(m);
            desktop_.dispatch_message(m);
          }
        }) {
    const Waitable* ready[] = {&ready_};
    desktop_.wait_for_objects(ready, INFINITE);
  }
  ~UiThread() { stop(); }

  Window window() const { return window_; }
  const Thread& thread() const { return thread_; }
  // Closes the window, which ends the loop (its procedure posts the quit on WM_DESTROY).
  void stop() {
    desktop_.post_message(window_, WM_CLOSE, 0, 0);
    thread_.join();
  }

 private:
  Desktop& desktop_;
  Window window_;
  Event ready_{Event::Options{.manual_reset = true}};
  Thread thread_;
};

}  // namespace platform::os::testing
