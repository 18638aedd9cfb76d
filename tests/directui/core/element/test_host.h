#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "directui/core/compose.h"
#include "directui/core/element.h"
#include "directui/core/element_delivery.h"
#include "directui/core/element_messages.h"
#include "directui/core/element_paint.h"
#include "directui/core/host_record.h"
#include "directui/core/scratch_surface.h"
#include "directui/core/window_host_lookup.h"
#include "platform/gfx/brush.h"
#include "platform/os/clock.h"
#include "platform/os/desktop.h"
#include "platform/os/headless/headless_display.h"
#include "platform/os/window_styles.h"

namespace directui::element_testing {

namespace os = platform::os;
namespace gfx = platform::gfx;

inline constexpr gfx::Argb kBackground = 0xFF000000;

// A virtual screen with a clock that moves only when the test says so.
struct Screen {
  os::headless::HeadlessDisplay display;
  os::ManualClock clock;
  os::Desktop desktop{display, clock};
};

// The least of a host the elements need: a window whose property names this record, an
// off-screen surface and a black background of the window's size, and a window procedure that
// answers the element messages by composing and presenting at once. It stands in until the
// real host exists.
class TestHost : public HostRecord {
 public:
  TestHost(Screen& screen, int width, int height, bool layered = false)
      : display(&screen.display), clock(&screen.clock) {
    os::Desktop& desktop = screen.desktop;
    static constexpr const char* kClass = "ElementTestHost";
    desktop.register_class({.name = kClass});
    const os::Window created = desktop.create_window({.class_name = kClass,
                                                      .style = os::WS_POPUP | os::WS_VISIBLE,
                                                      .ex_style = layered ? os::WS_EX_LAYERED : 0u,
                                                      .position = os::Point{0, 0},
                                                      .size = os::Size{width, height}});
    window = {&desktop, created};
    self_handle = reinterpret_cast<std::intptr_t>(static_cast<HostRecord*>(this));
    size = {width, height};
    window_alpha = layered ? 255 : -1;
    offscreen = gfx::Bitmap::create(width, height);
    offscreen_graphics = std::make_unique<gfx::Graphics>(offscreen);
    background = gfx::Bitmap::create(width, height);
    gfx::Graphics(background).clear(kBackground);
    EnsureScratchSurface(width, height);
    desktop.set_prop(created, kWindowHostProperty, self_handle);
    previous_window_proc = desktop.set_window_proc(
        created,
        [this](os::Window w, std::uint32_t m, WPARAM wp, LPARAM lp) { return Proc(w, m, wp, lp); });
  }

  ~TestHost() override {
    // Elements go before their host, as a detaching host destroys them.
    for (Ex_Element* e = first_root; e != nullptr;) {
      Ex_Element* next = e->next_sibling;
      e->Destroy();
      e = next;
    }
    Pump();
    window.desktop->remove_prop(window.window, kWindowHostProperty);
    window.desktop->destroy_window(window.window);
  }

  os::Desktop& desktop() { return *window.desktop; }

  // Handles every queued message (and due timer) of the calling thread.
  void Pump() {
    os::Message message;
    while (desktop().peek_message(message, {}, 0, 0, os::PM_REMOVE)) {
      desktop().dispatch_message(message);
    }
  }

  // Moves the clock on and handles what became due.
  void Advance(int ms) {
    Pump();
    clock->advance(std::chrono::milliseconds(ms));
    Pump();
  }

  // Straight ARGB of what the window shows at a point.
  gfx::Argb Shown(int x, int y) const { return gfx::Unpremultiply(display_image().at(x, y)); }

  // Straight ARGB of the composed surface.
  gfx::Argb Composed(int x, int y) const { return offscreen.get_pixel(x, y); }

  os::headless::HeadlessDisplay* display;
  os::ManualClock* clock;

  std::vector<RectF> invalidated;              // every EXM_INVALIDATE area handled
  int bounds_requests = 0;                     // EXM_BOUNDSCHANGED requests answered
  std::optional<std::uint32_t> clear_busy_on;  // a message that ends the busy state

 private:
  os::headless::Image display_image() const { return display->window_pixels(window.window); }

  LRESULT Proc(os::Window w, std::uint32_t message, WPARAM wparam, LPARAM lparam) {
    if (clear_busy_on && message == *clear_busy_on) {
      busy = 0;
      return 0;
    }
    switch (message) {
      case EXM_INVALIDATE: {
        const RectF area = TakeInvalidatedArea(wparam, lparam);
        invalidated.push_back(area);
        ComposeArea(this, area, nullptr, true);
        return 0;
      }
      case EXM_DELIVER:
        return DeliverElementMessage(wparam, lparam);
      case EXM_BOUNDSCHANGED: {
        ++bounds_requests;
        auto* element = reinterpret_cast<Ex_Element*>(wparam);
        DispatchElementMessage(element, EXM_BOUNDSCHANGED, 0, 0);
        if (lparam != 1) return 1;
        if (busy != 0) return 0;
        ComposeArea(this, element->previous_bounds, nullptr, true);
        ComposeArea(this, element->bounds, nullptr, true);
        return 1;
      }
      case os::WM_TIMER:
        DispatchElementMessage(reinterpret_cast<Ex_Element*>(wparam), os::WM_TIMER, wparam, lparam);
        return 0;
      default:
        return desktop().call_window_proc(previous_window_proc, w, message, wparam, lparam);
    }
  }
};

struct Received {
  std::uint32_t message = 0;
  WPARAM wparam = 0;
  LPARAM lparam = 0;
};

// An element that paints itself in one colour and notes every message its class handler gets.
class ProbeElement : public Ex_Element {
 public:
  explicit ProbeElement(gfx::Argb colour = 0xFFFF0000) : colour(colour) {}

  Ex_Element* Create(ElementParent where, RectF rect, ElementInit more = {.parent = HostWindow{}}) {
    more.parent = where;
    more.bounds = rect;
    return InitElement(more);
  }

  LRESULT HandleMessage(Ex_Element*, std::uint32_t message, WPARAM wparam, LPARAM lparam) override {
    received.push_back({message, wparam, lparam});
    switch (message) {
      case os::WM_PAINT:
        Paint(true);
        return 0;
      case EXM_QUERYDISABLEDALPHA:
        return disabled_alpha_answer;
      case EXM_QUERYFOCUS:
        return focus_answer;
      case EXM_DRAWTRANSITION:
        steps_drawn.push_back(transition_step);
        return draw_transition_answer;
      case EXM_TRANSITIONEND:
        if (reset_steps_on_end) SetAnimation(0);
        return 0;
      default:
        return -1;
    }
  }

  void Paint(bool update) {
    ElementPaintContext context;
    if (!BeginElementPaint(this, context, std::nullopt, update)) return;
    context.graphics->clear(colour);
    EndElementPaint(this, context);
  }

  int Count(std::uint32_t message) const {
    int n = 0;
    for (const Received& r : received) n += r.message == message ? 1 : 0;
    return n;
  }

  // The codes received, leaving out the questions composition asks.
  std::vector<std::uint32_t> Codes() const {
    std::vector<std::uint32_t> codes;
    for (const Received& r : received) {
      if (r.message != EXM_QUERYDISABLEDALPHA) codes.push_back(r.message);
    }
    return codes;
  }

  gfx::Argb colour;
  std::vector<Received> received;
  LRESULT disabled_alpha_answer = -1;
  LRESULT focus_answer = -1;
  LRESULT draw_transition_answer = -1;
  bool reset_steps_on_end = true;
  std::vector<int> steps_drawn;
};

}  // namespace directui::element_testing
