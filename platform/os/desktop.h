#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <vector>

#include "platform/os/clock.h"
#include "platform/os/display_backend.h"
#include "platform/os/icon.h"
#include "platform/os/message.h"
#include "platform/os/wait.h"
#include "platform/os/window_class.h"
#include "platform/os/window_placement.h"
#include "platform/os/window_styles.h"

namespace platform::os {

struct ThreadQueue;
struct WindowRecord;
struct QueuedMessage;

enum class UiFont { menu = 1, caption = 2, message = 3 };

// The window system of one display: window classes and windows, their stacking, activation,
// keyboard focus, mouse capture and tracking, per-thread message queues, timers and waits, all
// on one clock. Independent desktops can live side by side (tests make many); the program
// makes one and hands it to everything above.
//
// Windows belong to the thread that created them; their procedures run on that thread only.
// Messages sent from another thread wait until that thread handles them. Every call is safe
// from any thread and validates its window: a handle of a destroyed window does nothing.
class Desktop {
 public:
  // Neither the backend nor the clock is owned; both must outlive the desktop.
  Desktop(DisplayBackend& backend, const Clock& clock);
  ~Desktop();
  Desktop(const Desktop&) = delete;
  Desktop& operator=(const Desktop&) = delete;

  const Clock& clock() const { return clock_; }
  // Clock milliseconds, wrapping at 2^32 like every message time.
  std::uint32_t tick_count() const { return tick_ms(clock_.now()); }

  // --- classes ------------------------------------------------------------------------------
  // False when the name is empty or taken.
  bool register_class(WindowClass window_class);
  bool unregister_class(std::string_view name);
  // The class icon of the window's class (big or small); null when it has none.
  std::shared_ptr<const Icon> class_icon(Window window, bool big) const;
  std::uint32_t class_style(Window window) const;

  // --- windows ------------------------------------------------------------------------------
  // Creates a window of a registered class on the calling thread and sends it WM_CREATE
  // (lparam: CreateStruct*); an answer of -1 destroys it again and gives no window. With
  // WS_VISIBLE the window is shown (and activated) at once.
  Window create_window(const CreateWindowParams& params);
  // Destroys the window: first the windows it owns, then itself. It is hidden and loses
  // activation, focus and capture, gets WM_DESTROY, its timers and queued messages go, and its
  // handle is dead from then on. Only the window's own thread may destroy it.
  bool destroy_window(Window window);
  bool is_window(Window window) const;
  Window owner(Window window) const;
  // Whether the calling thread is the one that owns the window.
  bool is_own_window(Window window) const;

  // Window and extended styles. The state bits WS_VISIBLE, WS_MINIMIZE and WS_MAXIMIZE follow
  // the window's state and cannot be set here. A change sends WM_STYLECHANGED; turning
  // WS_EX_LAYERED or WS_EX_TOPMOST on or off takes effect at once. Both return the old value.
  std::uint32_t style(Window window) const;
  std::uint32_t ex_style(Window window) const;
  std::uint32_t set_style(Window window, std::uint32_t style);
  std::uint32_t set_ex_style(Window window, std::uint32_t ex_style);

  // Replaces the window procedure and returns the one before, which a subclass keeps and
  // calls through call_window_proc.
  WindowProc window_proc(Window window) const;
  WindowProc set_window_proc(Window window, WindowProc procedure);
  // Calls `procedure`, or the default handling when it is empty.
  LRESULT call_window_proc(const WindowProc& procedure, Window window, std::uint32_t message,
                           WPARAM wparam, LPARAM lparam);
  // The default handling every procedure ends in.
  LRESULT def_window_proc(Window window, std::uint32_t message, WPARAM wparam, LPARAM lparam);

  // Sends WM_SETTEXT with the text (lparam: zero-terminated char16_t*).
  bool set_window_text(Window window, std::u16string_view text);
  std::u16string window_text(Window window) const;

  // The icon set with WM_SETICON (ICON_BIG or ICON_SMALL); null when none was set. Icons set
  // that way are the caller's and must outlive their use by the window.
  const Icon* window_icon(Window window, bool big) const;

  // Screen rectangle of the whole window; empty for a dead handle. Windows have no frame, so
  // the client area is the whole window.
  Rect window_rect(Window window) const;
  Rect client_rect(Window window) const;
  bool set_window_pos(Window window, InsertAfter insert_after, Rect bounds, std::uint32_t flags);
  bool move_window(Window window, Rect bounds);
  // SW_* commands; returns whether the window was visible before.
  bool show_window(Window window, int command);
  bool is_visible(Window window) const;
  bool is_zoomed(Window window) const;
  bool is_iconic(Window window) const;
  // Our windows from top to bottom, hidden ones included.
  std::vector<Window> stacking() const;
  // The topmost visible window whose shape contains the screen point.
  Window window_from_point(Point screen) const;

  // Named pointer-sized values attached to a window.
  bool set_prop(Window window, std::string_view name, std::intptr_t value);
  std::intptr_t get_prop(Window window, std::string_view name) const;
  std::intptr_t remove_prop(Window window, std::string_view name);

  // Limits the window's visible and hit-tested part to the union of `rects` (window
  // coordinates); nullopt removes the limit.
  bool set_window_region(Window window, std::optional<std::vector<Rect>> rects);
  std::optional<std::vector<Rect>> window_region(Window window) const;

  // Content. An opaque window shows what present() copies to it; a WS_EX_LAYERED window what
  // update_layered_window() gives it, moved to `position` (kept when not given) and sized to
  // the pixels, blended by per-pixel alpha times `alpha` / 255.
  bool present(Window window, PixelView pixels, std::optional<Rect> dirty = std::nullopt);
  bool update_layered_window(Window window, PixelView pixels, std::optional<Point> position,
                             std::uint8_t alpha);

  // Painting: invalid areas gather per window; WM_PAINT comes when the thread's queue holds
  // nothing else, until begin_paint (or the default handling) validates.
  bool invalidate_rect(Window window, std::optional<Rect> area = std::nullopt);
  bool validate_rect(Window window, std::optional<Rect> area = std::nullopt);
  Rect update_rect(Window window) const;
  // Returns the area to paint and validates it.
  Rect begin_paint(Window window);
  void end_paint(Window) {}
  // Sends WM_PAINT at once when something is invalid.
  bool update_window(Window window);

  // --- input state --------------------------------------------------------------------------
  Window active_window() const;
  Window foreground_window() const { return active_window(); }
  // Activates and raises the window and asks the display to focus it.
  bool set_foreground_window(Window window);
  Window set_active_window(Window window);
  Window focus() const;
  // Gives the window the keyboard focus (activating it first when needed); none removes the
  // focus. Returns the previous focus.
  Window set_focus(Window window);
  Window capture() const;
  // Every mouse message goes to the capturing window until release.
  Window set_capture(Window window);
  bool release_capture();
  // WM_MOUSELEAVE is posted once when the pointer leaves the window (while the window holds
  // the capture, only once the capture ends with the pointer outside).
  bool track_mouse_leave(Window window);
  bool cancel_mouse_leave(Window window);
  // Negative when the key is down; the low bit is the key's toggle state.
  std::int16_t key_state(unsigned virtual_key) const;
  // Sets the pointer shape over the window under the pointer (or the capturing one); returns
  // the previous shape.
  CursorShape set_cursor(CursorShape shape);
  Point cursor_pos() const;

  // --- desktop facts ------------------------------------------------------------------------
  Size screen_size();
  Rect work_area();
  SystemMetrics metrics();
  std::string system_ui_font(UiFont which);

  // --- messages -----------------------------------------------------------------------------
  // Queues a message for the window's thread (no window: for the calling thread). False for a
  // dead window or a thread that has ended.
  bool post_message(Window window, std::uint32_t message, WPARAM wparam, LPARAM lparam);
  // Calls the window's procedure on its thread and returns its answer: directly on the same
  // thread, otherwise blocking until the owner has handled it (handling messages sent to the
  // caller meanwhile). 0 at once for a dead window or an ended thread.
  LRESULT send_message(Window window, std::uint32_t message, WPARAM wparam, LPARAM lparam);
  // WM_QUIT comes after the messages posted before it. Once it has been handed out, every
  // get_message of the thread answers false (nested loops and the loops around them all end),
  // while peek_message does not hand it out again, so a peek loop cannot spin on it.
  void post_quit_message(int exit_code);
  // Waits for a message (sent messages are handled meanwhile) and takes it; false for WM_QUIT.
  // A filter window or message range limits what is taken (WM_QUIT always passes).
  bool get_message(Message& out, Window filter = {}, std::uint32_t first = 0,
                   std::uint32_t last = 0);
  bool peek_message(Message& out, Window filter = {}, std::uint32_t first = 0,
                    std::uint32_t last = 0, std::uint32_t remove = PM_REMOVE);
  // Turns a key-down message into WM_CHAR (WM_SYSCHAR with Alt) for each UTF-16 unit the key
  // typed. True when it posted any.
  bool translate_message(const Message& message);
  LRESULT dispatch_message(const Message& message);
  // Blocks until the calling thread has a message.
  void wait_message();
  // QS_* bits of what is waiting in the calling thread's queue.
  std::uint32_t queue_status();

  // Waits for one of the handles, for queued input matching `wake_mask` (result: the handle
  // count), or the time-out (WAIT_TIMEOUT). Sent messages are handled while waiting unless the
  // mask has QS_SENDMESSAGE, which ends the wait instead.
  std::uint32_t msg_wait_for_multiple_objects(std::span<const Waitable* const> handles,
                                              std::uint32_t timeout_ms, std::uint32_t wake_mask);
  std::uint32_t wait_for_objects(std::span<const Waitable* const> handles,
                                 std::uint32_t timeout_ms);
  void sleep(std::uint32_t ms);

  // --- timers -------------------------------------------------------------------------------
  // WM_TIMER every `ms` for (window, id); setting an existing pair restarts it. At most one
  // WM_TIMER of a timer is ever waiting. With a routine, dispatching the message calls it
  // instead of the window procedure. Without a window the timer belongs to the calling thread
  // and gets a fresh identifier unless `id` names one of its timers. Returns the identifier,
  // 0 on failure.
  std::uintptr_t set_timer(Window window, std::uintptr_t id, std::uint32_t ms,
                           TimerProc routine = {});
  bool kill_timer(Window window, std::uintptr_t id);

 private:
  class Sink;
  friend class Sink;

  using Lock = std::unique_lock<std::mutex>;

  // Runs `f` on the backend, one caller at a time. Never called with mu_ held.
  template <class F>
  decltype(auto) display(F&& f) {
    std::lock_guard lock(backend_mu_);
    return f(backend_);
  }

  // tables
  WindowRecord* find(Window window) const;  // mu_ held; null for dead windows
  std::shared_ptr<ThreadQueue> current_queue();
  std::shared_ptr<ThreadQueue> queue_of(Window window) const;
  void reap_dead_threads_windows();

  // messages
  LRESULT call_procedure(Window window, std::uint32_t message, WPARAM wparam, LPARAM lparam);
  void handle_sent_messages(ThreadQueue& queue);
  bool take_message(ThreadQueue& queue, Message& out, Window filter, std::uint32_t first,
                    std::uint32_t last, bool remove);
  bool take_from(std::deque<QueuedMessage>& from, ThreadQueue& queue, Message& out, Window filter,
                 std::uint32_t first, std::uint32_t last, bool remove);
  bool take_paint(ThreadQueue& queue, Message& out, Window filter, std::uint32_t first,
                  std::uint32_t last);
  bool take_timer(ThreadQueue& queue, Message& out, Window filter, std::uint32_t first,
                  std::uint32_t last, bool remove);
  std::uint32_t status_of(ThreadQueue& queue);
  std::optional<Clock::TimePoint> next_timer_due(ThreadQueue& queue);
  WaitHooks queue_wait_hooks(ThreadQueue& queue, std::function<bool()> ready);
  void pump_display(ThreadQueue& queue);
  void queue_input(Window window, std::uint32_t message, WPARAM wparam, LPARAM lparam,
                   std::u16string text = {});
  Message stamp(Window window, std::uint32_t message, WPARAM wparam, LPARAM lparam) const;
  void after_mouse_message_taken(const Message& m);

  // windows
  void destroy_one(Window window);
  void restack_native();               // pushes the stacking order to the backend
  void raise_in_stack(Window window);  // mu_ held
  void show_state(Window window, int command);
  void maximize(Window window);
  void minimize(Window window);
  void restore(Window window);
  MinMaxInfo query_min_max(Window window);
  void apply_bounds(Window window, Rect bounds, bool tell_backend);
  void begin_move_size(Window window, MoveSizeEdge edge);
  LRESULT default_system_command(Window window, WPARAM command);
  LRESULT default_set_text(Window window, LPARAM text);
  LRESULT default_set_icon(Window window, WPARAM which, LPARAM icon);
  LRESULT default_set_cursor(Window window, LPARAM hit_and_message);

  // input
  void activate(Window window, WPARAM how, bool tell_backend);
  void deactivate_all();
  // Hands activation on from a window going away (hidden, minimised, destroyed).
  void pass_activation(Window next);
  Window next_to_activate(Window leaving) const;  // mu_ held
  void pointer_moved(Window over, Point screen);
  void button(Window over, Point screen, MouseButton button, bool pressed, Modifiers mods);
  void wheel(Window over, Point screen, int notches, Modifiers mods);
  void key(Window window, const KeyEvent& event);
  void focus_changed(Window window, bool has_focus);
  void geometry_changed(Window window, Rect bounds);
  void show_state_changed(Window window, NativeShowState state);
  void move_size_ended(Window window);
  void sync_modifiers(Modifiers mods);  // mu_ held
  WPARAM mouse_key_flags() const;       // mu_ held
  void release_buttons();               // mu_ held

  DisplayBackend& backend_;
  const Clock& clock_;
  std::unique_ptr<Sink> sink_;
  const std::uint64_t serial_;

  mutable std::mutex mu_;
  std::unordered_map<std::string, std::shared_ptr<const WindowClass>> classes_;
  std::unordered_map<std::uint64_t, std::unique_ptr<WindowRecord>> windows_;
  std::vector<Window> z_order_;  // top first; topmost windows lead
  std::uint64_t next_window_id_ = 1;
  std::uint64_t next_timer_serial_ = 1;
  std::uintptr_t next_thread_timer_id_ = 1;
  std::unordered_map<std::thread::id, std::shared_ptr<ThreadQueue>> queues_;

  struct LastClick {
    Window window;
    MouseButton button = MouseButton::left;
    Clock::TimePoint time{};
    Point point;
  };
  Window active_;
  Window focus_;
  Window capture_;
  Window tracking_;  // mouse-leave tracking
  Window hover_;     // our window under the pointer
  Window move_size_;
  Point cursor_;
  CursorShape cursor_shape_ = CursorShape::arrow;
  Window cursor_window_;                  // where the backend shows cursor_shape_
  std::array<std::uint8_t, 256> keys_{};  // 0x80 down, 0x01 toggled
  std::optional<LastClick> last_click_;

  // Calls into the backend, one at a time; it may call back (drain reports events).
  std::recursive_mutex backend_mu_;
};

}  // namespace platform::os
