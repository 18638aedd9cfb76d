// Activation, focus, capture, mouse tracking and the one input path every backend feeds.

#include <algorithm>
#include <cstdlib>

#include "platform/os/desktop.h"
#include "platform/os/thread_queue.h"
#include "platform/os/utf.h"
#include "platform/os/virtual_keys.h"
#include "platform/os/window_record.h"

namespace platform::os {
namespace {

constexpr std::uint8_t kDown = 0x80;
constexpr std::uint8_t kToggled = 0x01;

unsigned button_key(MouseButton b) {
  switch (b) {
    case MouseButton::right:
      return VK_RBUTTON;
    case MouseButton::middle:
      return VK_MBUTTON;
    case MouseButton::left:
    default:
      return VK_LBUTTON;
  }
}

std::uint32_t button_message(MouseButton b, bool pressed, bool double_click) {
  std::uint32_t base = b == MouseButton::left    ? WM_LBUTTONDOWN
                       : b == MouseButton::right ? WM_RBUTTONDOWN
                                                 : WM_MBUTTONDOWN;
  if (!pressed) return base + 1;
  return double_click ? base + 2 : base;
}

// Key messages name the generic modifier, not its side.
unsigned generic_key(unsigned vk) {
  switch (vk) {
    case VK_LSHIFT:
    case VK_RSHIFT:
      return VK_SHIFT;
    case VK_LCONTROL:
    case VK_RCONTROL:
      return VK_CONTROL;
    case VK_LMENU:
    case VK_RMENU:
      return VK_MENU;
    default:
      return vk;
  }
}

bool is_modifier(unsigned generic) {
  return generic == VK_SHIFT || generic == VK_CONTROL || generic == VK_MENU;
}

}  // namespace

// --- activation and focus -------------------------------------------------------------------

Window Desktop::next_to_activate(Window leaving) const {
  WindowRecord* rec = find(leaving);
  if (!rec) return {};
  auto usable = [&](WindowRecord* r) {
    return r && r->handle != leaving && r->visible() && !r->minimized() && !r->destroying &&
           !(r->ex_style & (WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW)) && r->queue == rec->queue;
  };
  WindowRecord* owner = find(rec->owner);
  if (owner && owner->visible() && !owner->minimized() && !owner->destroying) return owner->handle;
  for (Window w : z_order_) {
    if (usable(find(w))) return w;
  }
  return {};
}

void Desktop::activate(Window window, WPARAM how, bool tell_backend) {
  Window old;
  bool minimized;
  {
    Lock lock(mu_);
    WindowRecord* rec = find(window);
    if (!rec) return;
    old = active_;
    active_ = window;
    minimized = rec->minimized();
    raise_in_stack(window);
  }
  // The display may raise what it activates; the restack after it puts owned windows back.
  if (tell_backend) display([&](DisplayBackend& b) { b.activate(window); });
  restack_native();
  if (old == window) return;
  if (is_window(old)) {
    send_message(old, WM_NCACTIVATE, 0, 0);
    send_message(old, WM_ACTIVATE, WA_INACTIVE, window_to_param(window));
  }
  send_message(window, WM_NCACTIVATE, 1, 0);
  send_message(window, WM_ACTIVATE, make_wparam(static_cast<int>(how), minimized ? 1 : 0),
               window_to_param(old));
  // A window that did not take the focus on activation leaves nobody with it.
  Window f = focus();
  if (f && f != window && active_window() == window) set_focus({});
}

void Desktop::deactivate_all() {
  Window old;
  {
    Lock lock(mu_);
    old = std::exchange(active_, Window{});
  }
  if (is_window(old)) {
    send_message(old, WM_NCACTIVATE, 0, 0);
    send_message(old, WM_ACTIVATE, WA_INACTIVE, 0);
  }
  if (focus()) set_focus({});
}

void Desktop::pass_activation(Window next) {
  if (next) {
    activate(next, WA_ACTIVE, true);
  } else {
    deactivate_all();
  }
}

Window Desktop::active_window() const {
  Lock lock(mu_);
  return find(active_) ? active_ : Window{};
}

bool Desktop::set_foreground_window(Window window) {
  if (!is_window(window)) return false;
  activate(window, WA_ACTIVE, true);
  return true;
}

Window Desktop::set_active_window(Window window) {
  Window old = active_window();
  if (!is_window(window)) return {};
  activate(window, WA_ACTIVE, true);
  return old;
}

Window Desktop::focus() const {
  Lock lock(mu_);
  return find(focus_) ? focus_ : Window{};
}

Window Desktop::set_focus(Window window) {
  Window before = focus();
  if (window) {
    if (!is_window(window)) return {};
    if (active_window() != window) activate(window, WA_ACTIVE, true);
  }
  Window old;
  {
    Lock lock(mu_);
    if (window && !find(window)) return before;
    old = find(focus_) ? focus_ : Window{};
    if (old == window) return before;
    focus_ = window;
  }
  if (old) send_message(old, WM_KILLFOCUS, static_cast<WPARAM>(window_to_param(window)), 0);
  if (window) send_message(window, WM_SETFOCUS, static_cast<WPARAM>(window_to_param(old)), 0);
  return before;
}

// --- capture and tracking -------------------------------------------------------------------

Window Desktop::capture() const {
  Lock lock(mu_);
  return find(capture_) ? capture_ : Window{};
}

Window Desktop::set_capture(Window window) {
  Window prev;
  {
    Lock lock(mu_);
    if (!find(window)) return {};
    prev = find(capture_) ? capture_ : Window{};
    capture_ = window;
  }
  display([&](DisplayBackend& b) { b.grab_pointer(window); });
  if (prev && prev != window) send_message(prev, WM_CAPTURECHANGED, 0, window_to_param(window));
  return prev;
}

bool Desktop::release_capture() {
  Window old, leave;
  {
    Lock lock(mu_);
    old = std::exchange(capture_, Window{});
    if (!find(old)) return true;
    // The leave held back while the window had the pointer comes now.
    if (tracking_ == old && hover_ != old) leave = std::exchange(tracking_, Window{});
  }
  display([](DisplayBackend& b) { b.release_grab(); });
  send_message(old, WM_CAPTURECHANGED, 0, 0);
  if (leave) post_message(leave, WM_MOUSELEAVE, 0, 0);
  return true;
}

bool Desktop::track_mouse_leave(Window window) {
  bool outside;
  {
    Lock lock(mu_);
    if (!find(window)) return false;
    outside = hover_ != window && capture_ != window;
    tracking_ = outside ? Window{} : window;
  }
  // Asked for a window the pointer is not over: the leave is due at once.
  if (outside) post_message(window, WM_MOUSELEAVE, 0, 0);
  return true;
}

bool Desktop::cancel_mouse_leave(Window window) {
  Lock lock(mu_);
  if (tracking_ != window) return false;
  tracking_ = {};
  return true;
}

std::int16_t Desktop::key_state(unsigned virtual_key) const {
  Lock lock(mu_);
  std::uint8_t k = keys_[virtual_key & 0xFF];
  return static_cast<std::int16_t>((k & kDown ? -128 : 0) | (k & kToggled));
}

CursorShape Desktop::set_cursor(CursorShape shape) {
  CursorShape prev;
  Window target;
  {
    Lock lock(mu_);
    prev = cursor_shape_;
    target = find(capture_) ? capture_ : hover_;
    if (!find(target)) target = {};
    bool same = shape == cursor_shape_ && target == cursor_window_;
    cursor_shape_ = shape;
    cursor_window_ = target;
    if (same || !target || shape == CursorShape::none) return prev;
  }
  display([&](DisplayBackend& b) { b.set_cursor(target, shape); });
  return prev;
}

Point Desktop::cursor_pos() const {
  Lock lock(mu_);
  return cursor_;
}

// --- the input path -------------------------------------------------------------------------

void Desktop::sync_modifiers(Modifiers mods) {
  auto set = [&](unsigned vk, bool down) {
    keys_[vk] = down ? keys_[vk] | kDown : keys_[vk] & ~kDown;
  };
  set(VK_SHIFT, mods.shift);
  set(VK_CONTROL, mods.control);
  set(VK_MENU, mods.alt);
  if (!mods.shift) set(VK_LSHIFT, false), set(VK_RSHIFT, false);
  if (!mods.control) set(VK_LCONTROL, false), set(VK_RCONTROL, false);
  if (!mods.alt) set(VK_LMENU, false), set(VK_RMENU, false);
}

WPARAM Desktop::mouse_key_flags() const {
  WPARAM mk = 0;
  if (keys_[VK_LBUTTON] & kDown) mk |= MK_LBUTTON;
  if (keys_[VK_RBUTTON] & kDown) mk |= MK_RBUTTON;
  if (keys_[VK_MBUTTON] & kDown) mk |= MK_MBUTTON;
  if (keys_[VK_SHIFT] & kDown) mk |= MK_SHIFT;
  if (keys_[VK_CONTROL] & kDown) mk |= MK_CONTROL;
  return mk;
}

void Desktop::release_buttons() {
  for (unsigned vk : {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON, VK_SHIFT, VK_CONTROL, VK_MENU, VK_LSHIFT,
                      VK_RSHIFT, VK_LCONTROL, VK_RCONTROL, VK_LMENU, VK_RMENU}) {
    keys_[vk] &= ~kDown;
  }
  last_click_.reset();
}

void Desktop::pointer_moved(Window over, Point screen) {
  Window target, leave;
  WPARAM mk;
  Point origin;
  {
    Lock lock(mu_);
    cursor_ = screen;
    if (!find(over)) over = {};
    hover_ = over;
    target = find(capture_) ? capture_ : over;
    if (tracking_ && tracking_ != over && capture_ != tracking_) {
      leave = std::exchange(tracking_, Window{});
    }
    mk = mouse_key_flags();
    if (WindowRecord* rec = find(target)) origin = rec->bounds.origin();
  }
  if (leave) post_message(leave, WM_MOUSELEAVE, 0, 0);
  if (target) {
    queue_input(target, WM_MOUSEMOVE, mk, make_lparam(screen.x - origin.x, screen.y - origin.y));
  }
}

void Desktop::button(Window over, Point screen, MouseButton b, bool pressed, Modifiers mods) {
  SystemMetrics m = metrics();
  Window target;
  bool click_activates = false;
  {
    Lock lock(mu_);
    sync_modifiers(mods);
    cursor_ = screen;
    if (!find(over)) over = {};
    hover_ = over;
    unsigned vk = button_key(b);
    keys_[vk] = pressed ? keys_[vk] | kDown : keys_[vk] & ~kDown;
    bool captured = find(capture_) != nullptr;
    target = captured ? capture_ : over;
    WindowRecord* rec = find(target);
    if (!rec) return;
    click_activates =
        pressed && !captured && target != active_ && !(rec->ex_style & WS_EX_NOACTIVATE);
  }
  if (click_activates) activate(target, WA_CLICKACTIVE, true);

  std::uint32_t message;
  WPARAM mk;
  Point origin;
  {
    Lock lock(mu_);
    WindowRecord* rec = find(target);
    if (!rec) return;
    origin = rec->bounds.origin();
    bool double_click = false;
    if (pressed) {
      Clock::TimePoint now = clock_.now();
      const LastClick* last = last_click_ ? &*last_click_ : nullptr;
      double_click = (rec->window_class->style & CS_DBLCLKS) && last && last->window == target &&
                     last->button == b &&
                     now - last->time <= std::chrono::milliseconds(m.double_click_ms) &&
                     std::abs(screen.x - last->point.x) <= m.double_click_width / 2 &&
                     std::abs(screen.y - last->point.y) <= m.double_click_height / 2;
      // The click after a double click starts a new pair.
      if (double_click) {
        last_click_.reset();
      } else {
        last_click_ = LastClick{target, b, now, screen};
      }
    }
    message = button_message(b, pressed, double_click);
    mk = mouse_key_flags();
  }
  queue_input(target, message, mk, make_lparam(screen.x - origin.x, screen.y - origin.y));
}

void Desktop::wheel(Window over, Point screen, int notches, Modifiers mods) {
  Window target;
  WPARAM mk;
  {
    Lock lock(mu_);
    sync_modifiers(mods);
    cursor_ = screen;
    if (!find(over)) over = {};
    target = find(focus_) ? focus_ : find(capture_) ? capture_ : over;
    mk = mouse_key_flags();
  }
  if (!target) return;
  queue_input(target, WM_MOUSEWHEEL, make_wparam(static_cast<int>(mk), notches * WHEEL_DELTA),
              make_lparam(screen.x, screen.y));
}

void Desktop::key(Window window, const KeyEvent& event) {
  unsigned vk = event.virtual_key & 0xFF;
  unsigned generic = generic_key(vk);
  Window target;
  std::uint32_t message;
  LPARAM lparam;
  {
    Lock lock(mu_);
    // A modifier event carries the state from before it; other keys tell the current one.
    if (!is_modifier(generic)) sync_modifiers(event.modifiers);
    bool was_down = (keys_[generic] & kDown) != 0 || event.repeat;
    for (unsigned k : {vk, generic}) {
      if (event.pressed) {
        if (!(keys_[k] & kDown)) keys_[k] ^= kToggled;
        keys_[k] |= kDown;
      } else {
        keys_[k] &= ~kDown;
      }
    }
    bool alt = (keys_[VK_MENU] & kDown) != 0;
    bool control = (keys_[VK_CONTROL] & kDown) != 0;
    bool system = (alt && !control) || generic == VK_MENU || vk == VK_F1 + 9;  // F10
    if (event.pressed) {
      message = system ? WM_SYSKEYDOWN : WM_KEYDOWN;
    } else {
      message = system ? WM_SYSKEYUP : WM_KEYUP;
    }
    std::uint32_t bits = 1;  // repeat count
    if (alt) bits |= 1u << 29;
    if (was_down) bits |= 1u << 30;
    if (!event.pressed) bits |= 1u << 31;
    lparam = static_cast<LPARAM>(bits);
    target = find(focus_) ? focus_ : find(active_) ? active_ : find(window) ? window : Window{};
  }
  if (!target) return;
  queue_input(target, message, generic, lparam,
              event.pressed ? utf8_to_utf16(event.text) : std::u16string{});
}

void Desktop::focus_changed(Window window, bool has_focus) {
  if (has_focus) {
    if (is_window(window) && active_window() != window) activate(window, WA_ACTIVE, false);
    return;
  }
  if (active_window() != window || !window) return;
  // Another application has the keyboard now: nothing here is held or captured any more.
  release_capture();
  {
    Lock lock(mu_);
    release_buttons();
  }
  deactivate_all();
}

void Desktop::geometry_changed(Window window, Rect bounds) {
  Rect old = window_rect(window);
  if (!is_window(window)) return;
  Rect fitted = bounds;
  if (bounds.size() != old.size()) {
    MinMaxInfo info = query_min_max(window);
    int w = std::clamp(bounds.width(), info.min_track_size.x,
                       std::max(info.min_track_size.x, info.max_track_size.x));
    int h = std::clamp(bounds.height(), info.min_track_size.y,
                       std::max(info.min_track_size.y, info.max_track_size.y));
    // The edge that moved gives way; the opposite one stays.
    bool left_moved = bounds.left != old.left && bounds.right == old.right;
    bool top_moved = bounds.top != old.top && bounds.bottom == old.bottom;
    fitted.left = left_moved ? bounds.right - w : bounds.left;
    fitted.right = fitted.left + w;
    fitted.top = top_moved ? bounds.bottom - h : bounds.top;
    fitted.bottom = fitted.top + h;
  }
  apply_bounds(window, fitted, fitted != bounds);
}

void Desktop::show_state_changed(Window window, NativeShowState state) {
  switch (state) {
    case NativeShowState::minimized: {
      Window next;
      bool was_active;
      {
        Lock lock(mu_);
        WindowRecord* rec = find(window);
        if (!rec || rec->minimized()) return;
        rec->set_flag(WS_MINIMIZE, true);
        was_active = active_ == window;
        if (was_active) next = next_to_activate(window);
      }
      if (was_active) pass_activation(next);
      send_message(window, WM_SIZE, SIZE_MINIMIZED, 0);
      return;
    }
    case NativeShowState::maximized:
      if (!is_zoomed(window)) maximize(window);
      return;
    case NativeShowState::normal: {
      bool maximized;
      Rect now;
      {
        Lock lock(mu_);
        WindowRecord* rec = find(window);
        if (!rec || !rec->minimized()) return;
        rec->set_flag(WS_MINIMIZE, false);
        maximized = rec->maximized();
        now = rec->bounds;
      }
      send_message(window, WM_SIZE, maximized ? SIZE_MAXIMIZED : SIZE_RESTORED,
                   make_lparam(now.width(), now.height()));
      return;
    }
  }
}

void Desktop::begin_move_size(Window window, MoveSizeEdge edge) {
  Point at;
  {
    Lock lock(mu_);
    WindowRecord* rec = find(window);
    // A maximised window stays where it is.
    if (!rec || rec->maximized()) return;
    move_size_ = window;
    // The window manager holds the button from here; its release is not reported.
    keys_[VK_LBUTTON] &= ~kDown;
    // The click that started the loop still counts: a second press soon after at the same
    // spot is a double click (a caption maximised by double click starts a move first).
    at = cursor_;
  }
  if (capture()) release_capture();
  send_message(window, WM_ENTERSIZEMOVE, 0, 0);
  display([&](DisplayBackend& b) { b.begin_move_size(window, edge, at); });
}

void Desktop::move_size_ended(Window window) {
  {
    Lock lock(mu_);
    if (move_size_ != window) return;
    move_size_ = {};
  }
  send_message(window, WM_EXITSIZEMOVE, 0, 0);
}

}  // namespace platform::os
