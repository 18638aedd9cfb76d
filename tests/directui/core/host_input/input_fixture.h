#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "directui/core/caption_elements.h"
#include "directui/core/element.h"
#include "directui/core/element_messages.h"
#include "directui/core/host.h"
#include "platform/os/clock.h"
#include "platform/os/desktop.h"
#include "platform/os/headless/headless_display.h"
#include "platform/os/messages.h"
#include "platform/os/window_styles.h"

namespace directui::input_testing {

namespace os = platform::os;

inline constexpr int kWidth = 383;
inline constexpr int kHeight = 343;
inline constexpr os::Point kOrigin{50, 50};

struct Received {
  std::uint32_t message = 0;
  WPARAM wparam = 0;
  LPARAM lparam = 0;
};

inline LPARAM Arg(const Ex_Element* element) {
  return reinterpret_cast<LPARAM>(element);
}

// An element that notes what its class handler gets and answers the two queries the host
// asks: whether a press captures it, and whether it took a key.
class Probe : public Ex_Element {
 public:
  Ex_Element* Create(ElementParent parent, RectF rect, int kind_code = 0,
                     std::optional<int> can_focus = 1) {
    return InitElement(
        {.parent = parent, .bounds = rect, .kind = kind_code, .focusable = can_focus});
  }

  LRESULT HandleMessage(Ex_Element*, std::uint32_t message, WPARAM wparam, LPARAM lparam) override {
    received.push_back({message, wparam, lparam});
    if (message == EXM_QUERYCAPTURE) return capture_answer;
    if (message == os::WM_KEYDOWN) return key_answer;
    return -1;
  }

  int Count(std::uint32_t message) const {
    int n = 0;
    for (const Received& r : received) n += r.message == message ? 1 : 0;
    return n;
  }
  std::optional<Received> Last(std::uint32_t message) const {
    for (auto r = received.rbegin(); r != received.rend(); ++r) {
      if (r->message == message) return *r;
    }
    return std::nullopt;
  }

  LRESULT capture_answer = -1;
  LRESULT key_answer = -1;
  std::vector<Received> received;
};

// One call of a host notification routine.
struct Notified {
  std::string routine;
  RoutineArg window = 0;
  RoutineArg element = 0;
  RoutineArg wparam = 0;
  RoutineArg lparam = 0;
  RoutineArg kind = 0;
  friend bool operator==(const Notified&, const Notified&) = default;
};

inline void PrintTo(const Notified& n, std::ostream* os) {
  *os << n.routine << "(" << n.window << ", " << n.element << ", " << n.wparam << ", " << n.lparam
      << ", " << n.kind << ")";
}

// A virtual screen on a manual clock, a window whose own procedure notes what the host passes
// on, and a host bound to it with every notification routine logged.
class InputTest : public ::testing::Test {
 protected:
  static constexpr const char* kClass = "InputTestWindow";

  InputTest() {
    desktop.register_class(
        {.name = kClass,
         .style = os::CS_DBLCLKS,
         .procedure = [this](os::Window w, std::uint32_t m, WPARAM wp, LPARAM lp) {
           reached.push_back({m, wp, lp});
           return desktop.def_window_proc(w, m, wp, lp);
         }});
  }

  ~InputTest() override {
    if (window) desktop.destroy_window(window);
  }

  // Attaches the host to a fresh visible window at kOrigin.
  void Attach(HostOptions options = {.caption_flags = 0}) {
    window = desktop.create_window({.class_name = kClass,
                                    .title = u"input",
                                    .style = os::WS_VISIBLE,
                                    .position = kOrigin,
                                    .size = os::Size{kWidth, kHeight}});
    ASSERT_EQ(host.Attach(desktop, window, options), 1);
    LogRoutines();
    reached.clear();
  }

  LRESULT Send(std::uint32_t message, int x, int y, WPARAM wparam = 0) {
    return desktop.send_message(window, message, wparam, os::make_lparam(x, y));
  }
  void Press(int x, int y) { Send(os::WM_LBUTTONDOWN, x, y, os::MK_LBUTTON); }
  void Release(int x, int y) { Send(os::WM_LBUTTONUP, x, y); }
  void Move(int x, int y) { Send(os::WM_MOUSEMOVE, x, y); }
  void DoubleClick(int x, int y) { Send(os::WM_LBUTTONDBLCLK, x, y, os::MK_LBUTTON); }
  LRESULT Key(std::uint32_t message, WPARAM key, LPARAM lparam = 1) {
    return desktop.send_message(window, message, key, lparam);
  }

  // The pointer as the display reports it, in window coordinates.
  void PointerTo(int x, int y) {
    display.move_pointer({kOrigin.x + x, kOrigin.y + y});
    Pump();
  }

  void Pump() {
    os::Message message;
    while (desktop.peek_message(message, {}, 0, 0, os::PM_REMOVE)) {
      desktop.translate_message(message);
      desktop.dispatch_message(message);
    }
  }
  void Advance(int ms) {
    Pump();
    clock.advance(std::chrono::milliseconds(ms));
    Pump();
  }

  int ReachedCount(std::uint32_t message, std::optional<WPARAM> wparam = std::nullopt) const {
    int n = 0;
    for (const Received& r : reached) {
      n += r.message == message && (!wparam || r.wparam == *wparam) ? 1 : 0;
    }
    return n;
  }

  std::vector<Notified> Calls(const std::string& routine) const {
    std::vector<Notified> out;
    for (const Notified& n : notified) {
      if (n.routine == routine) out.push_back(n);
    }
    return out;
  }
  Notified Expected(const std::string& routine, const Ex_Element* element, RoutineArg wparam,
                    RoutineArg lparam) const {
    return {routine,
            os::window_to_param(window),
            reinterpret_cast<RoutineArg>(element),
            wparam,
            lparam,
            element != nullptr ? element->kind : 0};
  }

  os::headless::HeadlessDisplay display;
  os::ManualClock clock;
  os::Desktop desktop{display, clock};
  Ex_Host host;
  os::Window window{};
  std::vector<Received> reached;   // what the window's own procedure got
  std::vector<Notified> notified;  // the host's notification routines, in order

 private:
  Routine Logger(std::string name) {
    return [this, name](RoutineArg w, RoutineArg element, RoutineArg wparam, RoutineArg lparam,
                        RoutineArg kind) {
      notified.push_back({name, w, element, wparam, lparam, kind});
    };
  }
  void LogRoutines() {
    host.SetMouseDownHandler(Logger("down"));
    host.SetMouseUpHandler(Logger("up"));
    host.SetClickHandler(Logger("click"));
    host.SetDoubleClickHandler(Logger("double"));
    host.SetRightDownHandler(Logger("right down"));
    host.SetRightUpHandler(Logger("right up"));
    host.SetMouseEnterHandler(Logger("enter"));
    host.SetMouseLeaveHandler(Logger("leave"));
    host.SetFocusHandler(Logger("focus"));
    host.SetBlurHandler(Logger("blur"));
  }
};

// Makes the host's title label a probe for the test's lifetime.
class TitleProbeClass {
 public:
  TitleProbeClass() : saved_(CaptionElementRegistry()) {
    CaptionElementRegistry() = {};
    CaptionElementRegistry().title = [](const HostWindow& w, const RectF& r, const std::string&) {
      auto title = std::make_unique<Probe>();
      // A label takes no press.
      title->Create(w, r, 3, 0);
      return std::unique_ptr<Ex_Element>(std::move(title));
    };
  }
  ~TitleProbeClass() { CaptionElementRegistry() = saved_; }
  TitleProbeClass(const TitleProbeClass&) = delete;
  TitleProbeClass& operator=(const TitleProbeClass&) = delete;

 private:
  CaptionElementClasses saved_;
};

}  // namespace directui::input_testing
