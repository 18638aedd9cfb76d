#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include "platform/os/x11/desktop_services.h"
#include "platform/os/x11/private_x_server.h"
#include "platform/os/x11/recording_sink.h"
#include "platform/os/x11/x11_backend.h"

namespace x11_testing {

using platform::os::NativeWindowDescription;
using platform::os::PixelView;
using platform::os::x11::X11Backend;

// The parts of a window's description the tests vary.
struct WindowOptions {
  std::string title{};
  Window owner{};
  bool tool_window = false;
  bool topmost = false;
  bool layered = false;
  bool menu = false;
};

// A backend on the program's private server, a recording sink, and an observer connection
// that checks our windows against the server itself. Input comes from XTest.
class X11Fixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A window with the given bounds, mapped unless `shown` is false.
  Window Create(Rect bounds, const WindowOptions& options = {}, bool shown = true);
  ::Window Native(Window window) const { return backend_->native_id(window); }

  // Lets the server act on everything asked so far and reports what came back.
  void Settle();
  void MovePointer(int x, int y);
  void Button(unsigned button, bool down);
  void Click(unsigned button) {
    Button(button, true);
    Button(button, false);
  }
  void Key(unsigned long keysym, bool down);

  XWindowAttributes Attributes(Window window) const;
  Rect RootGeometry(Window window) const;

  std::unique_ptr<Observer> observer_;
  std::unique_ptr<X11Backend> backend_;
  Display* display_ = nullptr;
  RecordingSink sink_;

 private:
  std::uint64_t next_id_ = 1;
  std::set<unsigned> buttons_down_;
  std::set<unsigned> keys_down_;
};

}  // namespace x11_testing
