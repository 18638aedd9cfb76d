#pragma once

// The narrow interface between the window system (platform::os::Desktop) and a display.
//
// The desktop keeps every piece of window-manager logic itself: the window table, z-order,
// activation, focus, capture, mouse tracking, double clicks, timers and queues. A backend only
// mirrors windows onto its display and reports what the display says, as raw facts, through
// the DisplayEventSink. It never synthesises messages, never decides which window gets input
// and never calls back into window procedures.
//
// Threading: the desktop calls a backend from one thread at a time (it serialises the calls),
// usually the user-interface thread, and never while holding its own locks. A backend reports
// events only from inside drain(), or, for a test backend, from inside its own injection calls;
// the sink may be called on whatever thread runs those, and may call the operations below from
// inside a report (it restacks a window it activates, sets the geometry a resize must keep), so
// a backend holds no lock of its own while it reports. Something that happens inside one of
// the operations below (a move that ends at once) is queued and reported by the next drain().
//
// Coordinates: screen pixels, origin at the top-left of the screen, unless a call says
// "window coordinates" (origin at the window's top-left corner). Windows are frameless: the
// geometry the desktop gives is the whole native window.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/os/cursor_shape.h"
#include "platform/os/geometry.h"
#include "platform/os/pixel_view.h"
#include "platform/os/system_metrics.h"
#include "platform/os/window_handle.h"

namespace platform::os {

enum class MouseButton { left, right, middle };

// Modifier keys held when an event happened, as the display reports them.
struct Modifiers {
  bool shift = false;
  bool control = false;
  bool alt = false;
  friend bool operator==(const Modifiers&, const Modifiers&) = default;
};

struct KeyEvent {
  // Virtual-key code (VK_* of platform/os/virtual_keys.h); the backend maps its native key
  // symbols to these. Letters are 'A'..'Z', digits '0'..'9'.
  unsigned virtual_key = 0;
  bool pressed = true;
  // Held down and repeated by the display's auto-repeat.
  bool repeat = false;
  // UTF-8 text the key produces with the current layout and modifiers, empty for keys that
  // produce none (arrows, function keys, modifiers). Control characters count: Return gives
  // "\r", Tab "\t", Backspace "\b", Escape "\x1b".
  std::string text{};
  Modifiers modifiers{};
};

enum class MoveSizeEdge {
  move,  // the whole window follows the pointer
  left,
  right,
  top,
  bottom,
  top_left,
  top_right,
  bottom_left,
  bottom_right,
};

enum class NativeShowState { normal, minimized, maximized };

// What a native window needs to know when it is created.
struct NativeWindowDescription {
  Rect bounds{};             // screen coordinates of the whole window
  std::string title{};       // UTF-8
  Window owner{};            // kept above its owner, grouped with it; none for unowned windows
  bool popup = true;         // no native decoration (all our windows draw their own frame)
  bool tool_window = false;  // no task-bar entry
  bool topmost = false;      // above every window that is not topmost
  bool layered = false;      // per-pixel alpha: content arrives through update_layered()
  bool menu = false;         // a transient menu or tooltip: the window manager leaves it alone
};

// Where a backend sends what its display reports. Implemented by the desktop.
class DisplayEventSink {
 public:
  // The pointer is at `screen`. `over` is our window the pointer lies in as the display sees
  // it (the topmost of ours containing the point, honouring shapes), or none when the pointer
  // is over no window of ours. Reported for every motion the display delivers, including
  // moves while a button is held or a grab is active.
  virtual void pointer_moved(Window over, Point screen) = 0;
  // A button went down or up at `screen`; `over` as for pointer_moved.
  virtual void button(Window over, Point screen, MouseButton button, bool pressed,
                      Modifiers modifiers) = 0;
  // The wheel turned by `notches` (positive away from the user) at `screen`.
  virtual void wheel(Window over, Point screen, int notches, Modifiers modifiers) = 0;
  // A key went down or up while `window` had the display's keyboard focus.
  virtual void key(Window window, const KeyEvent& event) = 0;
  // `window` got or lost the display's keyboard focus (the user clicked another application,
  // the window manager activated it, ...).
  virtual void focus_changed(Window window, bool has_focus) = 0;
  // The window manager moved or resized `window` (a system move or resize, a maximise it did
  // itself). `bounds` in screen coordinates. Not reported for geometry the desktop set itself.
  virtual void geometry_changed(Window window, Rect bounds) = 0;
  // The window manager minimised or restored `window`.
  virtual void show_state_changed(Window window, NativeShowState state) = 0;
  // Part of `window` (window coordinates) must be drawn again.
  virtual void exposed(Window window, Rect area) = 0;
  // The user asked the window manager to close `window`.
  virtual void close_requested(Window window) = 0;
  // A system move or resize begun with begin_move_size() has ended (the button was released
  // or the window manager gave up). The button release that ended it is not reported.
  virtual void move_size_ended(Window window) = 0;

 protected:
  ~DisplayEventSink() = default;
};

class DisplayBackend {
 public:
  virtual ~DisplayBackend() = default;

  // Called first; events go to `sink` from then on. nullptr (when the desktop goes) stops
  // every report.
  virtual void set_sink(DisplayEventSink* sink) = 0;

  // --- display-wide facts -------------------------------------------------------------------
  virtual Size screen_size() = 0;
  // The part of the screen not covered by panels and docks.
  virtual Rect work_area() = 0;
  virtual SystemMetrics metrics() = 0;
  // Where the pointer is now, asked of the display; nullopt when the display cannot say.
  virtual std::optional<Point> pointer_position() = 0;

  // --- native windows -----------------------------------------------------------------------
  // Creates the native window for `window`, unmapped. Returns false when the display refuses;
  // the desktop then fails the creation.
  virtual bool create_window(Window window, const NativeWindowDescription& description) = 0;
  // Destroys the native window; releases a grab it holds. Calls naming it afterwards are
  // ignored.
  virtual void destroy_window(Window window) = 0;
  // Moves and sizes the whole window (screen coordinates).
  virtual void set_geometry(Window window, Rect bounds) = 0;
  // Maps (shows) or unmaps (hides) the window. With `activate`, the display's input focus goes
  // to it once mapped.
  virtual void set_visible(Window window, bool visible, bool activate) = 0;
  // Minimises (iconifies) or restores the window. Maximised geometry is set by the desktop
  // through set_geometry; `maximized` only tells the window manager the state.
  virtual void set_show_state(Window window, NativeShowState state) = 0;
  // Restacks `window` directly below `above`; with `above` none, puts it on top of our
  // windows of the same band (topmost windows form a band above the others).
  virtual void restack(Window window, Window above) = 0;
  // Keeps the window above every non-topmost window (or stops doing so).
  virtual void set_topmost(Window window, bool topmost) = 0;
  // Gives the display's input focus to the window and raises it (a foreground request).
  virtual void activate(Window window) = 0;
  virtual void set_title(Window window, std::string_view utf8) = 0;
  // Icons for task bars and switchers; an empty view removes that icon.
  virtual void set_icons(Window window, PixelView big, PixelView small) = 0;
  // Limits the visible (and clickable) part of the window to the union of `rects` (window
  // coordinates). nullopt removes the shape; an empty span hides every pixel.
  virtual void set_shape(Window window, std::optional<std::span<const Rect>> rects) = 0;
  // Switches per-pixel alpha on or off. A layered window shows what update_layered() last
  // gave it; present() on it is ignored.
  virtual void set_layered(Window window, bool layered) = 0;

  // --- content ------------------------------------------------------------------------------
  // Copies `dirty` (window coordinates) of `pixels` to the window; `pixels` covers the whole
  // window from its top-left corner. Alpha is ignored: an opaque window shows colour only.
  virtual void present(Window window, PixelView pixels, Rect dirty) = 0;
  // Shows `pixels` as the whole content of a layered window, blended with what lies beneath by
  // each pixel's alpha times `alpha` / 255, and moves the window to `position` (screen) with
  // the size of `pixels` in the same step.
  virtual void update_layered(Window window, PixelView pixels, Point position,
                              unsigned char alpha) = 0;

  // --- pointer ------------------------------------------------------------------------------
  // The shape shown while the pointer is over the window.
  virtual void set_cursor(Window window, CursorShape shape) = 0;
  // Takes the pointer: motion and buttons are reported even outside the window, until
  // release_grab() or the window's destruction.
  virtual void grab_pointer(Window window) = 0;
  virtual void release_grab() = 0;
  // Hands a drag to the window manager: from the pointer at `screen` (a button held), the
  // window moves with the pointer or the given edge follows it. The display reports the new
  // geometry through geometry_changed() and the end through move_size_ended().
  virtual void begin_move_size(Window window, MoveSizeEdge edge, Point screen) = 0;

  // --- event source -------------------------------------------------------------------------
  // A descriptor that becomes readable when native events are waiting; -1 when the backend
  // has none (then drain() is only called when the thread wakes for other reasons). A lost
  // connection must not leave it readable for ever: answer -1 from then on.
  virtual int event_fd() = 0;
  // Reads every native event that has arrived and reports it through the sink. Never blocks.
  virtual void drain() = 0;
  // Pushes buffered requests to the display; called before the thread goes to sleep.
  virtual void flush() = 0;
};

}  // namespace platform::os
