// The desktop on a real X server: what the user does reaches window procedures as the right
// messages, and what the program does to its windows shows on the server.
#include <gmock/gmock.h>

#include <vector>

#include "platform/os/clock.h"
#include "platform/os/desktop.h"
#include "platform/os/virtual_keys.h"
#include "platform/os/window_styles.h"
#include "platform/os/x11/desktop_services.h"
#include "platform/os/x11/private_x_server.h"
#include "platform/os/x11/x11_backend.h"

#include <X11/extensions/XTest.h>
#include <X11/extensions/shape.h>
#include <X11/keysym.h>

namespace x11_testing {
namespace {

using namespace platform::os;
using platform::os::Window;  // the desktop's handle; the server's is ::Window
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;

struct Logged {
  Window window;
  std::uint32_t message;
  WPARAM wparam;
  LPARAM lparam;
};

class X11DesktopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const PrivateXServer& server = SharedServer();
    ASSERT_FALSE(server.name().empty()) << "Xvfb did not start";
    observer_ = std::make_unique<Observer>(server.name());
    x11::X11BackendOpenResult opened = x11::OpenX11Backend(server.name());
    ASSERT_TRUE(opened.backend) << opened.error;
    backend_ = std::move(opened.backend);
    display_ = backend_->connection().display();
    desktop_ = std::make_unique<Desktop>(*backend_, clock_);
    desktop_->register_class(WindowClass{
        .name = "logged",
        .procedure = [this](Window w, std::uint32_t m, WPARAM wp, LPARAM lp) -> LRESULT {
          log_.push_back({w, m, wp, lp});
          return desktop_->def_window_proc(w, m, wp, lp);
        },
    });
    XTestFakeMotionEvent(display_, -1, 1900, 1060, CurrentTime);
    Pump();
  }

  void TearDown() override {
    if (display_ != nullptr) {
      for (unsigned button = 1; button <= 3; ++button) {
        XTestFakeButtonEvent(display_, button, False, CurrentTime);
      }
      XSync(display_, False);
    }
    desktop_.reset();
    backend_.reset();
    observer_.reset();
  }

  Window MakeWindow(Rect bounds, std::uint32_t ex_style = 0) {
    const Window window = desktop_->create_window(CreateWindowParams{
        .class_name = "logged",
        .title = u"收录",
        .style = WS_POPUP,
        .ex_style = ex_style,
        .position = bounds.origin(),
        .size = bounds.size(),
    });
    desktop_->show_window(window, SW_SHOW);
    Pump();
    return window;
  }

  // Everything the server has to say, handled the way a message loop does.
  void Pump() {
    for (int round = 0; round < 3; ++round) {
      XSync(display_, False);
      Message message;
      while (desktop_->peek_message(message)) {
        desktop_->translate_message(message);
        desktop_->dispatch_message(message);
      }
    }
  }
  void Motion(int x, int y) {
    XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
    Pump();
  }
  void Button(unsigned button, bool down) {
    XTestFakeButtonEvent(display_, button, down ? True : False, CurrentTime);
    Pump();
  }
  void Key(unsigned long keysym, bool down) {
    XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, keysym), down ? True : False,
                      CurrentTime);
    Pump();
  }

  std::vector<Logged> Of(std::uint32_t message) const {
    std::vector<Logged> found;
    for (const Logged& entry : log_) {
      if (entry.message == message) found.push_back(entry);
    }
    return found;
  }

  ::Window Native(Window window) const { return backend_->native_id(window); }
  Rect ServerGeometry(Window window) const {
    XWindowAttributes attributes{};
    XGetWindowAttributes(observer_->display(), Native(window), &attributes);
    return {attributes.x, attributes.y, attributes.x + attributes.width,
            attributes.y + attributes.height};
  }

  ManualClock clock_;
  std::unique_ptr<Observer> observer_;
  std::unique_ptr<x11::X11Backend> backend_;
  Display* display_ = nullptr;
  std::unique_ptr<Desktop> desktop_;
  std::vector<Logged> log_;
};

TEST_F(X11DesktopTest, AWindowOfTheDesktopIsMappedWhereItWasCreated) {
  const Window window = MakeWindow({50, 50, 433, 393});
  ASSERT_NE(Native(window), 0u);
  EXPECT_EQ(ServerGeometry(window), (Rect{50, 50, 433, 393}));
  desktop_->set_window_pos(window, InsertAfter::top(), {100, 120, 300, 260}, SWP_NOZORDER);
  Pump();
  EXPECT_EQ(ServerGeometry(window), (Rect{100, 120, 300, 260}));
}

TEST_F(X11DesktopTest, PointerInputArrivesAsMouseMessagesInWindowCoordinates) {
  const Window window = MakeWindow({50, 50, 433, 393});
  log_.clear();
  Motion(150, 120);
  Button(Button1, true);
  Button(Button1, false);
  Button(Button3, true);
  Button(Button3, false);

  const std::vector<Logged> moves = Of(WM_MOUSEMOVE);
  ASSERT_FALSE(moves.empty());
  EXPECT_EQ(moves.back().window, window);
  EXPECT_EQ(x_of_lparam(moves.back().lparam), 100);
  EXPECT_EQ(y_of_lparam(moves.back().lparam), 70);
  for (std::uint32_t message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP}) {
    const std::vector<Logged> clicks = Of(message);
    ASSERT_EQ(clicks.size(), 1u) << std::hex << message;
    EXPECT_EQ(clicks[0].window, window);
    EXPECT_EQ(clicks[0].lparam, make_lparam(100, 70)) << std::hex << message;
  }
  EXPECT_EQ(Of(WM_LBUTTONDOWN)[0].wparam & MK_LBUTTON, MK_LBUTTON);
}

TEST_F(X11DesktopTest, TheWheelTurnsIntoWheelMessagesOf120PerNotch) {
  const Window window = MakeWindow({50, 50, 433, 393});
  Motion(200, 210);
  desktop_->set_focus(window);
  Pump();
  log_.clear();
  for (unsigned button : {4u, 5u}) {
    XTestFakeButtonEvent(display_, button, True, CurrentTime);
    XTestFakeButtonEvent(display_, button, False, CurrentTime);
  }
  Pump();
  const std::vector<Logged> wheel = Of(WM_MOUSEWHEEL);
  ASSERT_EQ(wheel.size(), 2u);
  EXPECT_EQ(static_cast<std::int16_t>(high_word(wheel[0].wparam)), WHEEL_DELTA);
  EXPECT_EQ(static_cast<std::int16_t>(high_word(wheel[1].wparam)), -WHEEL_DELTA);
  EXPECT_EQ(wheel[0].lparam, make_lparam(200, 210)) << "the wheel carries screen coordinates";
  EXPECT_TRUE(Of(WM_LBUTTONDOWN).empty());
}

TEST_F(X11DesktopTest, KeysBecomeKeyAndCharacterMessagesAndAltCombinationsSystemOnes) {
  const Window window = MakeWindow({50, 50, 433, 393});
  desktop_->set_foreground_window(window);
  desktop_->set_focus(window);
  Pump();
  log_.clear();
  Key(XK_a, true);
  Key(XK_a, false);
  ASSERT_EQ(Of(WM_KEYDOWN).size(), 1u);
  EXPECT_EQ(Of(WM_KEYDOWN)[0].wparam, WPARAM{'A'});
  ASSERT_EQ(Of(WM_CHAR).size(), 1u);
  EXPECT_EQ(Of(WM_CHAR)[0].wparam, WPARAM{'a'});
  EXPECT_EQ(Of(WM_KEYUP).size(), 1u);

  log_.clear();
  Key(XK_Alt_L, true);
  Key(XK_q, true);
  Key(XK_q, false);
  Key(XK_Alt_L, false);
  EXPECT_TRUE(Of(WM_CHAR).empty());
  ASSERT_EQ(Of(WM_SYSCHAR).size(), 1u);
  EXPECT_EQ(Of(WM_SYSCHAR)[0].wparam, WPARAM{'q'});
  std::vector<WPARAM> system_keys;
  for (const Logged& entry : Of(WM_SYSKEYDOWN)) system_keys.push_back(entry.wparam);
  EXPECT_THAT(system_keys, Contains(WPARAM{'Q'}));
}

TEST_F(X11DesktopTest, ClickingAnotherWindowDeactivatesTheMenuAboveIt) {
  const Window owner = MakeWindow({50, 50, 433, 393});
  const Window menu = desktop_->create_window(CreateWindowParams{
      .class_name = "logged",
      .style = WS_POPUP,
      .ex_style = WS_EX_TOPMOST | WS_EX_TOOLWINDOW,
      .position = Point{300, 100},
      .size = Size{120, 113},
      .owner = owner,
  });
  desktop_->show_window(menu, SW_SHOW);
  desktop_->set_foreground_window(menu);
  Pump();
  XWindowAttributes attributes{};
  XGetWindowAttributes(observer_->display(), Native(menu), &attributes);
  EXPECT_TRUE(attributes.override_redirect) << "a topmost tool window is a popup";
  log_.clear();
  Motion(100, 300);  // on the owner, outside the menu
  Button(Button1, true);
  Button(Button1, false);
  bool menu_deactivated = false;
  for (const Logged& entry : Of(WM_ACTIVATE)) {
    if (entry.window == menu && low_word(entry.wparam) == WA_INACTIVE) menu_deactivated = true;
  }
  EXPECT_TRUE(menu_deactivated);
  EXPECT_EQ(desktop_->active_window(), owner);
}

TEST_F(X11DesktopTest, TopmostAndRegionOfTheDesktopReachTheServer) {
  const Window window = MakeWindow({50, 50, 433, 393});
  const Atom above = observer_->atom("_NET_WM_STATE_ABOVE");
  desktop_->set_ex_style(window, WS_EX_TOPMOST);
  Pump();
  EXPECT_THAT(observer_->AtomList(Native(window), "_NET_WM_STATE"), Contains(above));
  desktop_->set_ex_style(window, 0);
  Pump();
  EXPECT_THAT(observer_->AtomList(Native(window), "_NET_WM_STATE"), Not(Contains(above)));

  desktop_->set_window_region(window, std::vector<Rect>{{6, 6, 378, 338}});
  Pump();
  int count = 0;
  int ordering = 0;
  XRectangle* boxes =
      XShapeGetRectangles(observer_->display(), Native(window), ShapeBounding, &count, &ordering);
  ASSERT_EQ(count, 1);
  EXPECT_EQ(boxes[0].x, 6);
  EXPECT_EQ(boxes[0].y, 6);
  EXPECT_EQ(boxes[0].width, 372);
  EXPECT_EQ(boxes[0].height, 332);
  XFree(boxes);
}

TEST_F(X11DesktopTest, ACaptionDragMovesTheWindowWithThePointer) {
  const Window window = MakeWindow({100, 100, 483, 443});
  Motion(150, 110);
  Button(Button1, true);
  desktop_->send_message(window, WM_NCLBUTTONDOWN, static_cast<WPARAM>(HTCAPTION), 0);
  Pump();
  Motion(250, 160);
  Button(Button1, false);
  EXPECT_EQ(ServerGeometry(window), (Rect{200, 150, 583, 493}));
  EXPECT_EQ(desktop_->window_rect(window), (Rect{200, 150, 583, 493}));
}

}  // namespace
}  // namespace x11_testing
