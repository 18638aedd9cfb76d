#pragma once

#include <vector>

#include "platform/os/display_backend.h"

namespace x11_testing {

using platform::os::KeyEvent;
using platform::os::Modifiers;
using platform::os::MouseButton;
using platform::os::NativeShowState;
using platform::os::Point;
using platform::os::Rect;
using platform::os::Window;

enum class FactKind {
  moved,
  button,
  wheel,
  key,
  focus,
  geometry,
  show_state,
  exposed,
  close,
  move_size_ended,
};

// One report of the backend, with the fields its kind uses.
struct Fact {
  FactKind kind;
  Window window{};  // `over` for pointer facts
  Point screen{};
  MouseButton button = MouseButton::left;
  bool on = false;  // pressed, or has focus
  int notches = 0;
  Modifiers modifiers{};
  KeyEvent key{};
  Rect area{};
  NativeShowState state = NativeShowState::normal;
};

class RecordingSink final : public platform::os::DisplayEventSink {
 public:
  void pointer_moved(Window over, Point screen) override {
    facts.push_back({.kind = FactKind::moved, .window = over, .screen = screen});
  }
  void button(Window over, Point screen, MouseButton button, bool pressed,
              Modifiers modifiers) override {
    facts.push_back({.kind = FactKind::button,
                     .window = over,
                     .screen = screen,
                     .button = button,
                     .on = pressed,
                     .modifiers = modifiers});
  }
  void wheel(Window over, Point screen, int notches, Modifiers modifiers) override {
    facts.push_back({.kind = FactKind::wheel,
                     .window = over,
                     .screen = screen,
                     .notches = notches,
                     .modifiers = modifiers});
  }
  void key(Window window, const KeyEvent& event) override {
    facts.push_back({.kind = FactKind::key, .window = window, .key = event});
  }
  void focus_changed(Window window, bool has_focus) override {
    facts.push_back({.kind = FactKind::focus, .window = window, .on = has_focus});
  }
  void geometry_changed(Window window, Rect bounds) override {
    facts.push_back({.kind = FactKind::geometry, .window = window, .area = bounds});
  }
  void show_state_changed(Window window, NativeShowState state) override {
    facts.push_back({.kind = FactKind::show_state, .window = window, .state = state});
  }
  void exposed(Window window, Rect area) override {
    facts.push_back({.kind = FactKind::exposed, .window = window, .area = area});
  }
  void close_requested(Window window) override {
    facts.push_back({.kind = FactKind::close, .window = window});
  }
  void move_size_ended(Window window) override {
    facts.push_back({.kind = FactKind::move_size_ended, .window = window});
  }

  std::vector<Fact> Of(FactKind kind) const {
    std::vector<Fact> found;
    for (const Fact& fact : facts) {
      if (fact.kind == kind) found.push_back(fact);
    }
    return found;
  }
  // Everything but exposures, which the server sends whenever it likes.
  std::vector<Fact> Input() const {
    std::vector<Fact> found;
    for (const Fact& fact : facts) {
      if (fact.kind != FactKind::exposed) found.push_back(fact);
    }
    return found;
  }

  std::vector<Fact> facts;
};

}  // namespace x11_testing
