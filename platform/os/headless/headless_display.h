#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/os/clock.h"
#include "platform/os/display_backend.h"
#include "platform/os/headless/image.h"
#include "platform/os/unique_fd.h"

namespace platform::os::headless {

struct HeadlessOptions {
  Size screen{1920, 1080};
  Rect work_area{0, 0, 1920, 1040};
  SystemMetrics metrics;
  // What the screen shows where no window is.
  std::uint32_t background = 0xFF000000;
  // Keep a copy of every layered update (effects push many).
  bool record_layered_frames = true;
  // Stamps each recorded layered frame with its time, so tests can see an effect's pace.
  const Clock* clock = nullptr;
};

// One update_layered() call as the display received it.
struct LayeredFrame {
  Image pixels;
  Point position;
  unsigned char alpha = 255;
  Clock::TimePoint time{};  // when HeadlessOptions::clock is given
};

// What the display knows of one window.
struct HeadlessWindow {
  Rect bounds;
  std::string title;
  Window owner;
  bool visible = false;
  bool topmost = false;
  bool layered = false;
  bool tool_window = false;
  bool menu = false;
  bool focused = false;
  NativeShowState show_state = NativeShowState::normal;
  std::optional<std::vector<Rect>> shape;
  CursorShape cursor = CursorShape::none;
  std::optional<MoveSizeEdge> move_size;  // a system move or resize in progress
  Image content;                          // what was presented (opaque) or the last layered update
  unsigned char alpha = 255;
  Image big_icon;
  Image small_icon;
  int presents = 0;
};

// A virtual screen for tests. Windows are mirrored as the desktop asks; tests inject raw input
// (which the display reports like a real one would) and read back pixels, the composed screen,
// layered frames and each window's flags. System moves and resizes are carried out: while one
// runs, pointer motion moves or sizes the window and the button release ends it.
class HeadlessDisplay final : public DisplayBackend {
 public:
  explicit HeadlessDisplay(HeadlessOptions options = {});

  // --- injection (reported through the sink at once, on the calling thread) -------------------
  void move_pointer(Point screen);
  void press(MouseButton button = MouseButton::left);
  void release(MouseButton button = MouseButton::left);
  // Moves there, presses and releases.
  void click(Point screen, MouseButton button = MouseButton::left);
  void turn_wheel(int notches);
  // Keys go to the window with the display's focus. `text` is what the key types (UTF-8).
  void press_key(unsigned virtual_key, std::string text = {});
  void release_key(unsigned virtual_key);
  void type_key(unsigned virtual_key, std::string text = {});
  // Another application takes the keyboard focus.
  void focus_elsewhere();
  // The window manager focuses one of our windows (the user picked it in a task bar).
  void give_focus(Window window);
  void request_close(Window window);
  void expose(Window window, Rect area);
  // The window manager moves, sizes, minimises or restores a window by itself.
  void wm_set_geometry(Window window, Rect bounds);
  void wm_set_show_state(Window window, NativeShowState state);

  // --- read-back ----------------------------------------------------------------------------
  std::optional<HeadlessWindow> window(Window window) const;
  // Our windows top first.
  std::vector<Window> stacking() const;
  Image window_pixels(Window window) const;
  // The whole screen: windows bottom to top, hidden and minimised ones left out, shapes
  // applied, opaque windows as they are, layered ones blended with their per-pixel and
  // constant alpha.
  Image screen() const;
  std::vector<LayeredFrame> layered_frames(Window window) const;
  void clear_layered_frames(Window window);
  Window grab() const;
  Window focused() const;
  Point pointer() const;
  bool held(MouseButton button) const;
  // Which window the display would report the pointer over at a point.
  Window window_at(Point screen) const;

  // --- DisplayBackend -----------------------------------------------------------------------
  void set_sink(DisplayEventSink* sink) override;
  Size screen_size() override;
  Rect work_area() override;
  SystemMetrics metrics() override;
  void set_metrics(SystemMetrics metrics);
  std::optional<Point> pointer_position() override;
  bool create_window(Window window, const NativeWindowDescription& description) override;
  void destroy_window(Window window) override;
  void set_geometry(Window window, Rect bounds) override;
  void set_visible(Window window, bool visible, bool activate) override;
  void set_show_state(Window window, NativeShowState state) override;
  void restack(Window window, Window above) override;
  void set_topmost(Window window, bool topmost) override;
  void activate(Window window) override;
  void set_title(Window window, std::string_view utf8) override;
  void set_icons(Window window, PixelView big, PixelView small) override;
  void set_shape(Window window, std::optional<std::span<const Rect>> rects) override;
  void set_layered(Window window, bool layered) override;
  void present(Window window, PixelView pixels, Rect dirty) override;
  void update_layered(Window window, PixelView pixels, Point position,
                      unsigned char alpha) override;
  void set_cursor(Window window, CursorShape shape) override;
  void grab_pointer(Window window) override;
  void release_grab() override;
  void begin_move_size(Window window, MoveSizeEdge edge, Point screen) override;
  int event_fd() override;
  void drain() override;
  void flush() override {}

 private:
  using Lock = std::unique_lock<std::mutex>;
  struct MoveSize {
    Window window;
    MoveSizeEdge edge = MoveSizeEdge::move;
    Point start;
    Rect start_bounds;
  };

  HeadlessWindow* find(Window window);  // mu_ held
  const HeadlessWindow* find(Window window) const;
  Window window_at_locked(Point screen) const;
  Modifiers modifiers_locked() const;
  void place_on_top(Window window);  // mu_ held
  void set_focus_locked(Window window);
  void queue_move_size_end(Window window);  // mu_ held

  mutable std::mutex mu_;
  HeadlessOptions options_;
  DisplayEventSink* sink_ = nullptr;
  std::map<Window, HeadlessWindow> windows_;
  std::map<Window, std::vector<LayeredFrame>> frames_;
  std::vector<Window> order_;  // top first
  Point pointer_;
  std::set<MouseButton> held_;
  std::set<unsigned> keys_;
  Window grab_;
  Window focus_;
  std::optional<MoveSize> move_size_;
  std::vector<Window> pending_move_size_ends_;
  UniqueFd pending_fd_;
};

}  // namespace platform::os::headless
