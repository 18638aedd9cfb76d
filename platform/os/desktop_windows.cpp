// Window creation, destruction, styles, geometry, stacking, properties and content.

#include <algorithm>

#include "platform/os/desktop.h"
#include "platform/os/thread_queue.h"
#include "platform/os/utf.h"
#include "platform/os/window_record.h"

namespace platform::os {
namespace {

constexpr std::uint32_t kStateBits = WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE;

WPARAM size_type(const WindowRecord& rec) {
  if (rec.minimized()) return SIZE_MINIMIZED;
  return rec.maximized() ? SIZE_MAXIMIZED : SIZE_RESTORED;
}

}  // namespace

Window Desktop::create_window(const CreateWindowParams& params) {
  reap_dead_threads_windows();
  auto queue = current_queue();
  Window w;
  NativeWindowDescription description;
  {
    Lock lock(mu_);
    auto cls = classes_.find(params.class_name);
    if (cls == classes_.end()) return {};
    if (params.owner && !find(params.owner)) return {};
    auto rec = std::make_unique<WindowRecord>();
    w = Window{next_window_id_++};
    rec->handle = w;
    rec->window_class = cls->second;
    rec->queue = queue;
    rec->owner = params.owner;
    rec->style = params.style & ~kStateBits;
    rec->ex_style = params.ex_style;
    rec->text = params.title;
    rec->bounds =
        Rect::from_origin_size(params.position.value_or(Point{}), params.size.value_or(Size{}));
    rec->restore_bounds = rec->bounds;
    if (cls->second->procedure) {
      rec->procedure = std::make_shared<const WindowProc>(cls->second->procedure);
    }
    description = NativeWindowDescription{
        .bounds = rec->bounds,
        .title = utf16_to_utf8(rec->text),
        .owner = rec->owner,
        .popup = true,
        .tool_window = (rec->ex_style & WS_EX_TOOLWINDOW) != 0,
        .topmost = rec->topmost(),
        .layered = rec->layered(),
        .menu = (rec->ex_style & WS_EX_TOOLWINDOW) && rec->topmost(),
    };
    windows_.emplace(w.id, std::move(rec));
    raise_in_stack(w);
    std::lock_guard qlock(queue->mu);
    ++queue->window_count;
  }
  if (!display([&](DisplayBackend& b) { return b.create_window(w, description); })) {
    Lock lock(mu_);
    windows_.erase(w.id);
    std::erase(z_order_, w);
    std::lock_guard qlock(queue->mu);
    --queue->window_count;
    return {};
  }
  restack_native();

  CreateStruct create{params.create_param, &params};
  if (call_procedure(w, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
    destroy_window(w);
    return {};
  }
  if (params.style & WS_VISIBLE) show_window(w, SW_SHOW);
  return w;
}

bool Desktop::destroy_window(Window window) {
  std::vector<Window> owned;
  {
    Lock lock(mu_);
    WindowRecord* rec = find(window);
    if (!rec || rec->queue->thread != std::this_thread::get_id()) return false;
    if (rec->destroying) return true;
    rec->destroying = true;
    for (auto& [id, other] : windows_) {
      if (other->owner == window && !other->destroying) owned.push_back(other->handle);
    }
  }
  std::sort(owned.begin(), owned.end());
  for (Window o : owned) destroy_window(o);
  destroy_one(window);
  return true;
}

void Desktop::destroy_one(Window window) {
  bool was_visible = false;
  bool was_active = false;
  Window next;
  {
    Lock lock(mu_);
    WindowRecord* rec = find(window);
    if (!rec) return;
    was_visible = rec->visible();
    rec->set_flag(WS_VISIBLE, false);
    was_active = active_ == window;
    if (was_active) next = next_to_activate(window);
  }
  if (was_visible) display([&](DisplayBackend& b) { b.set_visible(window, false, false); });
  if (was_active) pass_activation(next);
  if (capture() == window) release_capture();
  {
    Lock lock(mu_);
    for (Window* slot : {&focus_, &tracking_, &hover_, &move_size_}) {
      if (*slot == window) *slot = Window{};
    }
    if (last_click_ && last_click_->window == window) last_click_.reset();
  }
  call_procedure(window, WM_DESTROY, 0, 0);
  call_procedure(window, WM_NCDESTROY, 0, 0);

  std::unique_ptr<WindowRecord> gone;
  {
    Lock lock(mu_);
    auto it = windows_.find(window.id);
    if (it == windows_.end()) return;
    gone = std::move(it->second);
    windows_.erase(it);
    std::erase(z_order_, window);
    ThreadQueue& q = *gone->queue;
    std::lock_guard qlock(q.mu);
    --q.window_count;
    std::erase_if(q.timers, [&](const MessageTimer& t) { return t.window == window; });
    auto for_window = [&](const QueuedMessage& m) { return m.msg.window == window; };
    std::erase_if(q.posted, for_window);
    std::erase_if(q.input, for_window);
  }
  display([&](DisplayBackend& b) { b.destroy_window(window); });
}

bool Desktop::is_window(Window window) const {
  Lock lock(mu_);
  return find(window) != nullptr;
}

Window Desktop::owner(Window window) const {
  Lock lock(mu_);
  WindowRecord* rec = find(window);
  return rec ? rec->owner : Window{};
}

bool Desktop::is_own_window(Window window) const {
  Lock lock(mu_);
  WindowRecord* rec = find(window);
  return rec && rec->queue->thread == std::this_thread::get_id();
}

std::uint32_t Desktop::style(Window window) const {
  Lock lock(mu_);
  WindowRecord* rec = find(window);
  return rec ? rec->style : 0;
}

std::uint32_t Desktop::ex_style(Window window) const {
  Lock lock(mu_);
  WindowRecord* rec = find(window);
  return rec ? rec->ex_style : 0;
}

std::uint32_t Desktop::set_style(Window window, std::uint32_t style) {
  StyleChange change;
  {
    Lock lock(mu_);
    WindowRecord* rec = find(window);
    if (!rec) return 0;
    change.old_style = rec->style;
    change.new_style = (style & ~kStateBits) | (rec->style & kStateBits);
    rec->style = change.new_style;
  }
  if (change.old_style != change.new_style) {
    send_message(window, WM_STYLECHANGED, static_cast<WPARAM>(GWL_STYLE),
                 reinterpret_cast<LPARAM>(&change));
  }
  return change.old_style;
}

std::uint32_t Desktop::set_ex_style(Window window, std::uint32_t ex_style) {
  StyleChange change;
  {
    Lock lock(mu_);
    WindowRecord* rec = find(window);
    if (!rec) return 0;
    change.old_style = rec->ex_style;
    change.new_style = ex_style;
    rec->ex_style = ex_style;
    if ((change.old_style ^ ex_style) & WS_EX_TOPMOST) raise_in_stack(window);
  }
  std::uint32_t flipped = change.old_style ^ change.new_style;
  if (flipped & WS_EX_LAYERED) {
    display([&](DisplayBackend& b) { b.set_layered(window, (ex_style & WS_EX_LAYERED) != 0); });
  }
  if (flipped & WS_EX_TOPMOST) {
    display([&](DisplayBackend& b) { b.set_topmost(window, (ex_style & WS_EX_TOPMOST) != 0); });
    restack_native();
  }
  if (flipped) {
    send_message(window, WM_STYLECHANGED, static_cast<WPARAM>(GWL_EXSTYLE),
                 reinterpret_cast<LPARAM>(&change));
  }
  return change.old_style;
}

WindowProc Desktop::window_proc(Window window) const {
  Lock lock(mu_);
  WindowRecord* rec = find(window);
  return rec && rec->procedure ? *rec->procedure : WindowProc{};
}

WindowProc Desktop::set_window_proc(Window window, WindowProc procedure) {
  Lock lock(mu_);
  WindowRecord* rec = find(window);
  if (!rec) return {};
  WindowProc old = rec->procedure ? *rec->procedure : WindowProc{};
  rec->procedure = procedure ? std::make_shared<const WindowProc>(std::move(procedure)) : nullptr;
  return old;
}

LRESULT Desktop::call_window_proc(const WindowProc& procedure, Window window, std::uint32_t message,
                                  WPARAM wparam, LPARAM lparam) {
  if (!is_window(window)) return 0;
  if (procedure) return procedure(window, message, wparam, lparam);
  return def_window_proc(window, message, wparam, lparam);
}

LRESULT Desktop::call_procedure(Window window, std::uint32_t message, WPARAM wparam,
                                LPARAM lparam) {
  std::shared_ptr<const WindowProc> procedure;
  {
    Lock lock(mu_);
    WindowRecord* rec = find(window);
    if (!rec) return 0;
    procedure = rec->procedure;
  }
  if (procedure) return (*procedure)(window, message, wparam, lparam);
  return def_window_proc(window, message, wparam, lparam);
}

bool Desktop::set_window_text(Window window, std::u16string_view text) {
  std::u16string terminated(text);
  return send_message(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(terminated.c_str())) != 0;
}

std::u16string Desktop::window_text(Window window) const {
  Lock lock(mu_);
  WindowRecord* rec = find(window);
  return rec ? rec->text : std::u16string{};
}

const Icon* Desktop::window_icon(Window window, bool big) const {
  Lock lock(mu_);
  WindowRecord* rec = find(window);
  if (!rec) return nullptr;
  return big ? rec->big_icon : rec->small_icon;
}

Rect Desktop::window_rect(Window window) const {
  Lock lock(mu_);
  WindowRecord* rec = find(window);
  return rec ? rec->bounds : Rect{};
}

Rect Desktop::client_rect(Window window) const {
  Lock lock(mu_);
  WindowRecord* rec = find(window);
  return rec ? Rect{0, 0, rec->bounds.width(), rec->bounds.height()} : Rect{};
}

void Desktop::raise_in_stack(Window window) {
  WindowRecord* rec = find(window);
  if (!rec) return;
  std::erase(z_order_, window);
  auto band_top = rec->topmost() ? z_order_.begin()
                                 : std::find_if(z_order_.begin(), z_order_.end(), [&](Window w) {
                                     WindowRecord* r = find(w);
                                     return !r || !r->topmost();
                                   });
  z_order_.insert(band_top, window);
  // Owned windows stay above their owner.
  std::vector<Window> owned;
  for (auto it = std::find(z_order_.begin(), z_order_.end(), window); it != z_order_.end(); ++it) {
    WindowRecord* r = find(*it);
    if (r && r->owner == window && (r->topmost() || !rec->topmost())) owned.push_back(*it);
  }
  for (Window o : owned) {
    std::erase(z_order_, o);
    z_order_.insert(std::find(z_order_.begin(), z_order_.end(), window), o);
  }
  for (Window o : owned) {
    // Their own owned windows follow them.
    bool has_owned = std::any_of(windows_.begin(), windows_.end(),
                                 [&](const auto& kv) { return kv.second->owner == o; });
    if (has_owned) raise_in_stack(o);
  }
}

void Desktop::restack_native() {
  std::vector<Window> order;
  {
    Lock lock(mu_);
    order = z_order_;
  }
  display([&](DisplayBackend& b) {
    for (std::size_t i = 0; i < order.size(); ++i) b.restack(order[i], i ? order[i - 1] : Window{});
  });
}

std::vector<Window> Desktop::stacking() const {
  Lock lock(mu_);
  std::vector<Window> out;
  for (Window w : z_order_) {
    if (find(w)) out.push_back(w);
  }
  return out;
}

Window Desktop::window_from_point(Point screen) const {
  Lock lock(mu_);
  for (Window w : z_order_) {
    WindowRecord* rec = find(w);
    if (rec && rec->hit(screen)) return w;
  }
  return {};
}

void Desktop::apply_bounds(Window window, Rect bounds, bool tell_backend) {
  bool moved, sized;
  WPARAM type;
  {
    Lock lock(mu_);
    WindowRecord* rec = find(window);
    if (!rec) return;
    moved = rec->bounds.origin() != bounds.origin();
    sized = rec->bounds.size() != bounds.size();
    rec->bounds = bounds;
    if (sized) rec->dirty = Rect{0, 0, bounds.width(), bounds.height()};
    type = size_type(*rec);
  }
  if (tell_backend && (moved || sized)) {
    display([&](DisplayBackend& b) { b.set_geometry(window, bounds); });
  }
  if (moved) send_message(window, WM_MOVE, 0, make_lparam(bounds.left, bounds.top));
  if (sized) send_message(window, WM_SIZE, type, make_lparam(bounds.width(), bounds.height()));
}

bool Desktop::set_window_pos(Window window, InsertAfter insert_after, Rect bounds,
                             std::uint32_t flags) {
  Rect target;
  bool restacked = false;
  std::optional<bool> topmost_now;
  {
    Lock lock(mu_);
    WindowRecord* rec = find(window);
    if (!rec) return false;
    Point origin = flags & SWP_NOMOVE ? rec->bounds.origin() : bounds.origin();
    Size size = flags & SWP_NOSIZE ? rec->bounds.size() : bounds.size();
    target =
        Rect::from_origin_size(origin, Size{std::max(0, size.width), std::max(0, size.height)});
    if (!(flags & SWP_NOZORDER)) {
      using Kind = InsertAfter::Kind;
      restacked = true;
      switch (insert_after.kind) {
        case Kind::topmost:
        case Kind::notopmost: {
          bool on = insert_after.kind == Kind::topmost;
          if (rec->topmost() != on) topmost_now = on;
          rec->ex_style = on ? rec->ex_style | WS_EX_TOPMOST : rec->ex_style & ~WS_EX_TOPMOST;
          raise_in_stack(window);
          break;
        }
        case Kind::top:
          raise_in_stack(window);
          break;
        case Kind::bottom: {
          std::erase(z_order_, window);
          auto end = rec->topmost() ? std::find_if(z_order_.begin(), z_order_.end(),
                                                   [&](Window w) {
                                                     WindowRecord* r = find(w);
                                                     return !r || !r->topmost();
                                                   })
                                    : z_order_.end();
          z_order_.insert(end, window);
          break;
        }
        case Kind::after: {
          WindowRecord* above = find(insert_after.window);
          if (!above || above == rec || above->topmost() != rec->topmost()) {
            restacked = false;
            break;
          }
          std::erase(z_order_, window);
          auto it = std::find(z_order_.begin(), z_order_.end(), insert_after.window);
          z_order_.insert(it + 1, window);
          break;
        }
      }
    }
  }
  if (topmost_now) display([&](DisplayBackend& b) { b.set_topmost(window, *topmost_now); });
  if (restacked) restack_native();
  apply_bounds(window, target, true);
  if (flags & SWP_HIDEWINDOW) {
    show_window(window, SW_HIDE);
  } else if (flags & SWP_SHOWWINDOW) {
    show_window(window, flags & SWP_NOACTIVATE ? SW_SHOWNA : SW_SHOW);
  } else if (!(flags & (SWP_NOACTIVATE | SWP_NOZORDER)) && is_visible(window)) {
    activate(window, WA_ACTIVE, true);
  }
  return true;
}

bool Desktop::move_window(Window window, Rect bounds) {
  return set_window_pos(window, InsertAfter::top(), bounds, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool Desktop::is_visible(Window window) const {
  Lock lock(mu_);
  WindowRecord* rec = find(window);
  return rec && rec->visible();
}

bool Desktop::is_zoomed(Window window) const {
  Lock lock(mu_);
  WindowRecord* rec = find(window);
  return rec && rec->maximized();
}

bool Desktop::is_iconic(Window window) const {
  Lock lock(mu_);
  WindowRecord* rec = find(window);
  return rec && rec->minimized();
}

bool Desktop::show_window(Window window, int command) {
  bool was_visible;
  bool can_activate;
  {
    Lock lock(mu_);
    WindowRecord* rec = find(window);
    if (!rec) return false;
    was_visible = rec->visible();
    can_activate = !(rec->ex_style & WS_EX_NOACTIVATE);
  }
  if (command == SW_HIDE) {
    if (!was_visible) return false;
    Window next;
    bool was_active;
    {
      Lock lock(mu_);
      WindowRecord* rec = find(window);
      if (!rec) return false;
      rec->set_flag(WS_VISIBLE, false);
      was_active = active_ == window;
      if (was_active) next = next_to_activate(window);
    }
    display([&](DisplayBackend& b) { b.set_visible(window, false, false); });
    if (capture() == window) release_capture();
    if (was_active) pass_activation(next);
    return true;
  }

  bool activate_it = can_activate && command != SW_SHOWNA && command != SW_SHOWNOACTIVATE &&
                     command != SW_SHOWMINNOACTIVE && command != SW_MINIMIZE &&
                     command != SW_SHOWMINIMIZED;
  if (!was_visible) {
    {
      Lock lock(mu_);
      WindowRecord* rec = find(window);
      if (!rec) return false;
      rec->set_flag(WS_VISIBLE, true);
      rec->dirty = Rect{0, 0, rec->bounds.width(), rec->bounds.height()};
      rec->queue->waker->wake();
    }
    display([&](DisplayBackend& b) { b.set_visible(window, true, activate_it); });
  }
  switch (command) {
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
      minimize(window);
      return was_visible;
    case SW_MAXIMIZE:
      maximize(window);
      break;
    case SW_RESTORE:
    case SW_SHOWNORMAL:
    case SW_SHOWNOACTIVATE:
      restore(window);
      break;
    default:
      break;
  }
  if (activate_it) activate(window, WA_ACTIVE, was_visible);
  return was_visible;
}

MinMaxInfo Desktop::query_min_max(Window window) {
  Rect work = work_area();
  Size screen = screen_size();
  MinMaxInfo info{
      .reserved = {},
      .max_size = {work.width(), work.height()},
      .max_position = {work.left, work.top},
      .min_track_size = {1, 1},
      .max_track_size = {screen.width, screen.height},
  };
  send_message(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  return info;
}

void Desktop::maximize(Window window) {
  MinMaxInfo info = query_min_max(window);
  {
    Lock lock(mu_);
    WindowRecord* rec = find(window);
    if (!rec) return;
    if (!rec->maximized() && !rec->minimized()) rec->restore_bounds = rec->bounds;
    rec->set_flag(WS_MINIMIZE, false);
    rec->set_flag(WS_MAXIMIZE, true);
    rec->bounds = Rect{};  // so the size message always comes
  }
  display([&](DisplayBackend& b) { b.set_show_state(window, NativeShowState::maximized); });
  apply_bounds(window,
               Rect::from_origin_size(info.max_position, {info.max_size.x, info.max_size.y}), true);
}

void Desktop::minimize(Window window) {
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
  display([&](DisplayBackend& b) { b.set_show_state(window, NativeShowState::minimized); });
  if (was_active) pass_activation(next);
  send_message(window, WM_SIZE, SIZE_MINIMIZED, 0);
}

void Desktop::restore(Window window) {
  bool was_minimized, was_maximized;
  Rect back;
  {
    Lock lock(mu_);
    WindowRecord* rec = find(window);
    if (!rec) return;
    was_minimized = rec->minimized();
    was_maximized = rec->maximized();
    rec->set_flag(WS_MINIMIZE, false);
    if (!was_minimized) rec->set_flag(WS_MAXIMIZE, false);
    back = rec->restore_bounds;
  }
  if (was_minimized) {
    display([&](DisplayBackend& b) {
      b.set_show_state(window,
                       was_maximized ? NativeShowState::maximized : NativeShowState::normal);
    });
    Rect now = window_rect(window);
    send_message(window, WM_SIZE, was_maximized ? SIZE_MAXIMIZED : SIZE_RESTORED,
                 make_lparam(now.width(), now.height()));
  } else if (was_maximized) {
    display([&](DisplayBackend& b) { b.set_show_state(window, NativeShowState::normal); });
    apply_bounds(window, back, true);
  }
}

bool Desktop::set_prop(Window window, std::string_view name, std::intptr_t value) {
  Lock lock(mu_);
  WindowRecord* rec = find(window);
  if (!rec || name.empty()) return false;
  rec->props.insert_or_assign(std::string(name), value);
  return true;
}

std::intptr_t Desktop::get_prop(Window window, std::string_view name) const {
  Lock lock(mu_);
  WindowRecord* rec = find(window);
  if (!rec) return 0;
  auto it = rec->props.find(name);
  return it == rec->props.end() ? 0 : it->second;
}

std::intptr_t Desktop::remove_prop(Window window, std::string_view name) {
  Lock lock(mu_);
  WindowRecord* rec = find(window);
  if (!rec) return 0;
  auto it = rec->props.find(name);
  if (it == rec->props.end()) return 0;
  std::intptr_t value = it->second;
  rec->props.erase(it);
  return value;
}

bool Desktop::set_window_region(Window window, std::optional<std::vector<Rect>> rects) {
  {
    Lock lock(mu_);
    WindowRecord* rec = find(window);
    if (!rec) return false;
    if (rects) std::erase_if(*rects, [](const Rect& r) { return r.empty(); });
    rec->region = rects;
  }
  display([&](DisplayBackend& b) {
    if (rects) {
      b.set_shape(window, std::span<const Rect>(*rects));
    } else {
      b.set_shape(window, std::nullopt);
    }
  });
  return true;
}

std::optional<std::vector<Rect>> Desktop::window_region(Window window) const {
  Lock lock(mu_);
  WindowRecord* rec = find(window);
  return rec ? rec->region : std::nullopt;
}

bool Desktop::present(Window window, PixelView pixels, std::optional<Rect> dirty) {
  Rect area;
  {
    Lock lock(mu_);
    WindowRecord* rec = find(window);
    if (!rec || rec->layered() || pixels.empty()) return false;
    Rect whole{0, 0, pixels.width, pixels.height};
    area = dirty ? dirty->intersect(whole) : whole;
  }
  if (area.empty()) return true;
  display([&](DisplayBackend& b) { b.present(window, pixels, area); });
  return true;
}

bool Desktop::update_layered_window(Window window, PixelView pixels, std::optional<Point> position,
                                    std::uint8_t alpha) {
  Rect bounds;
  {
    Lock lock(mu_);
    WindowRecord* rec = find(window);
    if (!rec || !rec->layered()) return false;
    Point origin = position.value_or(rec->bounds.origin());
    Size size = pixels.empty() ? rec->bounds.size() : Size{pixels.width, pixels.height};
    bounds = Rect::from_origin_size(origin, size);
  }
  display([&](DisplayBackend& b) { b.update_layered(window, pixels, bounds.origin(), alpha); });
  apply_bounds(window, bounds, false);
  return true;
}

bool Desktop::invalidate_rect(Window window, std::optional<Rect> area) {
  std::shared_ptr<ThreadQueue> queue;
  {
    Lock lock(mu_);
    WindowRecord* rec = find(window);
    if (!rec) return false;
    Rect client{0, 0, rec->bounds.width(), rec->bounds.height()};
    Rect r = area ? area->intersect(client) : client;
    if (r.empty()) return true;
    rec->dirty = rec->dirty.unite(r);
    queue = rec->queue;
  }
  queue->waker->wake();
  return true;
}

bool Desktop::validate_rect(Window window, std::optional<Rect> area) {
  Lock lock(mu_);
  WindowRecord* rec = find(window);
  if (!rec) return false;
  Rect& d = rec->dirty;
  if (!area || area->intersect(d) == d) {
    d = {};
    return true;
  }
  const Rect& a = *area;
  // Keeps the bounding box of what stays invalid where a side is cut off whole.
  if (a.left <= d.left && a.right >= d.right) {
    if (a.top <= d.top && a.bottom > d.top) d.top = a.bottom;
    if (a.bottom >= d.bottom && a.top < d.bottom) d.bottom = a.top;
  } else if (a.top <= d.top && a.bottom >= d.bottom) {
    if (a.left <= d.left && a.right > d.left) d.left = a.right;
    if (a.right >= d.right && a.left < d.right) d.right = a.left;
  }
  if (d.empty()) d = {};
  return true;
}

Rect Desktop::update_rect(Window window) const {
  Lock lock(mu_);
  WindowRecord* rec = find(window);
  return rec ? rec->dirty : Rect{};
}

Rect Desktop::begin_paint(Window window) {
  Lock lock(mu_);
  WindowRecord* rec = find(window);
  if (!rec) return {};
  return std::exchange(rec->dirty, Rect{});
}

bool Desktop::update_window(Window window) {
  if (update_rect(window).empty()) return is_window(window);
  send_message(window, WM_PAINT, 0, 0);
  return true;
}

}  // namespace platform::os
