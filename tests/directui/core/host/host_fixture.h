#pragma once

#include <cairo.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "directui/core/caption_elements.h"
#include "directui/core/element.h"
#include "directui/core/element_delivery.h"
#include "directui/core/element_messages.h"
#include "directui/core/element_paint.h"
#include "directui/core/host.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/graphics.h"
#include "platform/os/clock.h"
#include "platform/os/desktop.h"
#include "platform/os/headless/headless_display.h"
#include "platform/os/messages.h"
#include "platform/os/window_styles.h"

namespace directui::host_testing {

namespace os = platform::os;
namespace gfx = platform::gfx;

inline constexpr int kWidth = 383;
inline constexpr int kHeight = 343;

struct Received {
  std::uint32_t message = 0;
  WPARAM wparam = 0;
  LPARAM lparam = 0;
};

// An element in one colour that notes the messages its class handler gets.
class Probe : public Ex_Element {
 public:
  explicit Probe(gfx::Argb colour = 0xFFFF0000) : colour(colour) {}

  Ex_Element* Create(const HostWindow& window, RectF rect, int kind_code = 0) {
    return InitElement({.parent = window, .bounds = rect, .kind = kind_code});
  }

  LRESULT HandleMessage(Ex_Element*, std::uint32_t message, WPARAM wparam, LPARAM lparam) override {
    received.push_back({message, wparam, lparam});
    if (message == os::WM_PAINT) {
      ElementPaintContext context;
      if (BeginElementPaint(this, context, std::nullopt, true)) {
        context.graphics->clear(colour);
        EndElementPaint(this, context);
      }
      return 0;
    }
    if (message == EXM_QUERYDISABLEDALPHA && on_disabled_query) on_disabled_query();
    return -1;
  }

  int Count(std::uint32_t message) const {
    int n = 0;
    for (const Received& r : received) n += r.message == message ? 1 : 0;
    return n;
  }

  gfx::Argb colour;
  std::vector<Received> received;
  std::function<void()> on_disabled_query;
};

// A stand-in for the caption element classes: probes that remember what they were made as.
class CaptionProbe : public Probe {
 public:
  std::uint32_t code = 0;
  std::string text;
  std::u16string new_text;
};

// Registers stand-in caption classes for the test's lifetime.
class CaptionStandIns {
 public:
  explicit CaptionStandIns(bool with_buttons = true, bool with_title = true,
                           bool with_icon = true) {
    CaptionElementClasses& classes = CaptionElementRegistry();
    saved_ = classes;
    classes = {};
    if (with_icon) {
      classes.icon = [](const HostWindow& w, const RectF& r, const os::Icon*) {
        auto e = std::make_unique<CaptionProbe>();
        e->InitElement({.parent = w, .bounds = r});
        return std::unique_ptr<Ex_Element>(std::move(e));
      };
    }
    if (with_title) {
      classes.title = [](const HostWindow& w, const RectF& r, const std::string& text) {
        auto e = std::make_unique<CaptionProbe>();
        e->text = text;
        e->InitElement({.parent = w, .bounds = r});
        return std::unique_ptr<Ex_Element>(std::move(e));
      };
      classes.set_title_text = [](Ex_Element& title, const std::u16string& text) {
        static_cast<CaptionProbe&>(title).new_text = text;
      };
    }
    if (with_buttons) {
      classes.button = [](const HostWindow& w, const RectF& r, std::uint32_t code) {
        auto e = std::make_unique<CaptionProbe>();
        e->code = code;
        e->InitElement({.parent = w, .bounds = r, .kind = 1});
        return std::unique_ptr<Ex_Element>(std::move(e));
      };
    }
  }
  ~CaptionStandIns() { CaptionElementRegistry() = saved_; }
  CaptionStandIns(const CaptionStandIns&) = delete;
  CaptionStandIns& operator=(const CaptionStandIns&) = delete;

 private:
  CaptionElementClasses saved_;
};

// A virtual screen, a manual clock and a window of a class that notes what reaches it.
class HostTest : public ::testing::Test {
 protected:
  static constexpr const char* kClass = "HostTestWindow";

  HostTest() {
    desktop.register_class(
        {.name = kClass, .procedure = [this](os::Window w, std::uint32_t m, WPARAM wp, LPARAM lp) {
           reached.push_back({m, wp, lp});
           return desktop.def_window_proc(w, m, wp, lp);
         }});
  }

  ~HostTest() override {
    for (os::Window w : windows) desktop.destroy_window(w);
  }

  os::Window MakeWindow(std::uint32_t style = os::WS_VISIBLE, int width = kWidth,
                        int height = kHeight, std::u16string title = u"收录") {
    const os::Window w = desktop.create_window({.class_name = kClass,
                                                .title = std::move(title),
                                                .style = style,
                                                .position = os::Point{50, 50},
                                                .size = os::Size{width, height}});
    windows.push_back(w);
    return w;
  }

  int ReachedCount(std::uint32_t message) const {
    int n = 0;
    for (const Received& r : reached) n += r.message == message ? 1 : 0;
    return n;
  }

  void Pump() {
    os::Message message;
    while (desktop.peek_message(message, {}, 0, 0, os::PM_REMOVE))
      desktop.dispatch_message(message);
  }

  void Advance(int ms) {
    Pump();
    clock.advance(std::chrono::milliseconds(ms));
    Pump();
  }

  // Straight ARGB of what the window shows.
  gfx::Argb Shown(os::Window w, int x, int y) const {
    return gfx::Unpremultiply(display.window_pixels(w).at(x, y));
  }

  os::headless::HeadlessDisplay display;
  os::ManualClock clock;
  os::Desktop desktop{display, clock};
  std::vector<Received> reached;  // messages the window's own procedure got
  std::vector<os::Window> windows;
};

// PNG bytes of a bitmap.
inline std::vector<std::uint8_t> PngOf(const gfx::Bitmap& bitmap) {
  std::vector<std::uint8_t> bytes;
  cairo_surface_write_to_png_stream(
      bitmap.surface(),
      [](void* closure, const unsigned char* data, unsigned int length) {
        auto* out = static_cast<std::vector<std::uint8_t>*>(closure);
        out->insert(out->end(), data, data + length);
        return CAIRO_STATUS_SUCCESS;
      },
      &bytes);
  return bytes;
}

// A picture in two colours: the left half and the right half.
inline std::vector<std::uint8_t> TwoColourPng(int width, int height, gfx::Argb left,
                                              gfx::Argb right) {
  gfx::Bitmap bitmap = gfx::Bitmap::create(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) bitmap.set_pixel(x, y, x < width / 2 ? left : right);
  }
  return PngOf(bitmap);
}

inline int AlphaOf(gfx::Argb c) {
  return static_cast<int>(c >> 24);
}
inline int RedOf(gfx::Argb c) {
  return static_cast<int>((c >> 16) & 0xFF);
}
inline int GreenOf(gfx::Argb c) {
  return static_cast<int>((c >> 8) & 0xFF);
}
inline int BlueOf(gfx::Argb c) {
  return static_cast<int>(c & 0xFF);
}

}  // namespace directui::host_testing
