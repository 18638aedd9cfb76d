#include "platform/os/x11/x11_fixture.h"

#include <X11/extensions/XTest.h>

namespace x11_testing {

void X11Fixture::SetUp() {
  const PrivateXServer& server = SharedServer();
  ASSERT_FALSE(server.name().empty()) << "Xvfb did not start";
  observer_ = std::make_unique<Observer>(server.name());
  ASSERT_NE(observer_->display(), nullptr);
  platform::os::x11::X11BackendOpenResult opened = platform::os::x11::OpenX11Backend(server.name());
  ASSERT_TRUE(opened.backend) << opened.error;
  backend_ = std::move(opened.backend);
  backend_->set_sink(&sink_);
  display_ = backend_->connection().display();
  MovePointer(1900, 1060);  // a corner no test window covers
  sink_.facts.clear();
}

void X11Fixture::TearDown() {
  if (backend_) {
    for (unsigned button : std::set<unsigned>(buttons_down_)) Button(button, false);
    for (unsigned keycode : std::set<unsigned>(keys_down_)) {
      XTestFakeKeyEvent(display_, keycode, False, CurrentTime);
    }
    XSync(display_, False);
  }
  backend_.reset();
  observer_.reset();
}

Window X11Fixture::Create(Rect bounds, const WindowOptions& options, bool shown) {
  const Window window{next_id_++};
  NativeWindowDescription description;
  description.bounds = bounds;
  description.title = options.title;
  description.owner = options.owner;
  description.tool_window = options.tool_window;
  description.topmost = options.topmost;
  description.layered = options.layered;
  description.menu = options.menu;
  EXPECT_TRUE(backend_->create_window(window, description));
  if (shown) backend_->set_visible(window, true, false);
  Settle();
  return window;
}

void X11Fixture::Settle() {
  backend_->flush();
  XSync(display_, False);
  XSync(observer_->display(), False);
  XSync(display_, False);
  backend_->drain();
}

void X11Fixture::MovePointer(int x, int y) {
  XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
  Settle();
}

void X11Fixture::Button(unsigned button, bool down) {
  XTestFakeButtonEvent(display_, button, down ? True : False, CurrentTime);
  if (down) {
    buttons_down_.insert(button);
  } else {
    buttons_down_.erase(button);
  }
  Settle();
}

void X11Fixture::Key(unsigned long keysym, bool down) {
  const unsigned keycode = XKeysymToKeycode(display_, keysym);
  ASSERT_NE(keycode, 0u) << "no key for keysym " << keysym;
  XTestFakeKeyEvent(display_, keycode, down ? True : False, CurrentTime);
  if (down) {
    keys_down_.insert(keycode);
  } else {
    keys_down_.erase(keycode);
  }
  Settle();
}

XWindowAttributes X11Fixture::Attributes(Window window) const {
  XWindowAttributes attributes{};
  XGetWindowAttributes(observer_->display(), Native(window), &attributes);
  return attributes;
}

Rect X11Fixture::RootGeometry(Window window) const {
  const XWindowAttributes attributes = Attributes(window);
  int x = 0;
  int y = 0;
  ::Window child = None;
  XTranslateCoordinates(observer_->display(), Native(window), observer_->root(), 0, 0, &x, &y,
                        &child);
  return {x, y, x + attributes.width, y + attributes.height};
}

}  // namespace x11_testing
