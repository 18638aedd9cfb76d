#include "platform/os/headless/headless_display.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>

#include "platform/os/virtual_keys.h"

namespace platform::os::headless {
namespace {

Rect moved_or_sized(const Rect& r, MoveSizeEdge edge, int dx, int dy) {
  Rect out = r;
  auto left = [&] { out.left = std::min(r.left + dx, r.right - 1); };
  auto right = [&] { out.right = std::max(r.right + dx, r.left + 1); };
  auto top = [&] { out.top = std::min(r.top + dy, r.bottom - 1); };
  auto bottom = [&] { out.bottom = std::max(r.bottom + dy, r.top + 1); };
  switch (edge) {
    case MoveSizeEdge::move:
      return r.offset(dx, dy);
    case MoveSizeEdge::left:
      left();
      break;
    case MoveSizeEdge::right:
      right();
      break;
    case MoveSizeEdge::top:
      top();
      break;
    case MoveSizeEdge::bottom:
      bottom();
      break;
    case MoveSizeEdge::top_left:
      top();
      left();
      break;
    case MoveSizeEdge::top_right:
      top();
      right();
      break;
    case MoveSizeEdge::bottom_left:
      bottom();
      left();
      break;
    case MoveSizeEdge::bottom_right:
      bottom();
      right();
      break;
  }
  return out;
}

bool in_shape(const HeadlessWindow& w, Point local) {
  if (!w.shape) return true;
  return std::any_of(w.shape->begin(), w.shape->end(),
                     [&](const Rect& r) { return r.contains(local); });
}

bool on_screen(const HeadlessWindow& w) {
  return w.visible && w.show_state != NativeShowState::minimized;
}

}  // namespace

HeadlessDisplay::HeadlessDisplay(HeadlessOptions options)
    : options_(std::move(options)), pending_fd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
  pointer_ = {options_.screen.width / 2, options_.screen.height / 2};
}

HeadlessWindow* HeadlessDisplay::find(Window window) {
  auto it = windows_.find(window);
  return it == windows_.end() ? nullptr : &it->second;
}

const HeadlessWindow* HeadlessDisplay::find(Window window) const {
  auto it = windows_.find(window);
  return it == windows_.end() ? nullptr : &it->second;
}

Window HeadlessDisplay::window_at_locked(Point screen) const {
  for (Window w : order_) {
    const HeadlessWindow* hw = find(w);
    if (!hw || !on_screen(*hw) || !hw->bounds.contains(screen)) continue;
    if (in_shape(*hw, {screen.x - hw->bounds.left, screen.y - hw->bounds.top})) return w;
  }
  return {};
}

Window HeadlessDisplay::window_at(Point screen) const {
  Lock lock(mu_);
  return window_at_locked(screen);
}

Modifiers HeadlessDisplay::modifiers_locked() const {
  auto any = [&](std::initializer_list<unsigned> vks) {
    return std::any_of(vks.begin(), vks.end(), [&](unsigned vk) { return keys_.count(vk) > 0; });
  };
  return Modifiers{
      .shift = any({VK_SHIFT, VK_LSHIFT, VK_RSHIFT}),
      .control = any({VK_CONTROL, VK_LCONTROL, VK_RCONTROL}),
      .alt = any({VK_MENU, VK_LMENU, VK_RMENU}),
  };
}

// --- injection --------------------------------------------------------------------------------

void HeadlessDisplay::move_pointer(Point screen) {
  DisplayEventSink* sink;
  Window over, sized;
  Rect bounds;
  {
    Lock lock(mu_);
    pointer_ = screen;
    sink = sink_;
    if (move_size_) {
      // The window manager has the pointer: the window follows, nothing else is reported.
      HeadlessWindow* hw = find(move_size_->window);
      if (!hw) {
        move_size_.reset();
        return;
      }
      hw->bounds = moved_or_sized(move_size_->start_bounds, move_size_->edge,
                                  screen.x - move_size_->start.x, screen.y - move_size_->start.y);
      hw->content = hw->content.resized(hw->bounds.size(), 0xFF000000);
      sized = move_size_->window;
      bounds = hw->bounds;
    } else {
      over = window_at_locked(screen);
    }
  }
  if (!sink) return;
  if (sized) {
    sink->geometry_changed(sized, bounds);
  } else {
    sink->pointer_moved(over, screen);
  }
}

void HeadlessDisplay::press(MouseButton button) {
  DisplayEventSink* sink;
  Window over;
  Point at;
  Modifiers mods;
  {
    Lock lock(mu_);
    held_.insert(button);
    sink = sink_;
    at = pointer_;
    over = window_at_locked(at);
    mods = modifiers_locked();
  }
  if (sink) sink->button(over, at, button, true, mods);
}

void HeadlessDisplay::release(MouseButton button) {
  DisplayEventSink* sink;
  Window over, ended;
  Point at;
  Modifiers mods;
  {
    Lock lock(mu_);
    held_.erase(button);
    sink = sink_;
    at = pointer_;
    over = window_at_locked(at);
    mods = modifiers_locked();
    if (move_size_ && button == MouseButton::left) {
      ended = move_size_->window;
      if (HeadlessWindow* hw = find(ended)) hw->move_size.reset();
      move_size_.reset();
    }
  }
  if (!sink) return;
  if (ended) {
    sink->move_size_ended(ended);
  } else {
    sink->button(over, at, button, false, mods);
  }
}

void HeadlessDisplay::click(Point screen, MouseButton button) {
  move_pointer(screen);
  press(button);
  release(button);
}

void HeadlessDisplay::turn_wheel(int notches) {
  DisplayEventSink* sink;
  Window over;
  Point at;
  Modifiers mods;
  {
    Lock lock(mu_);
    sink = sink_;
    at = pointer_;
    over = window_at_locked(at);
    mods = modifiers_locked();
  }
  if (sink) sink->wheel(over, at, notches, mods);
}

void HeadlessDisplay::press_key(unsigned virtual_key, std::string text) {
  DisplayEventSink* sink;
  KeyEvent event;
  Window target;
  {
    Lock lock(mu_);
    sink = sink_;
    event.virtual_key = virtual_key;
    event.pressed = true;
    event.repeat = keys_.count(virtual_key) > 0;
    event.text = std::move(text);
    event.modifiers = modifiers_locked();
    keys_.insert(virtual_key);
    target = focus_;
  }
  if (sink) sink->key(target, event);
}

void HeadlessDisplay::release_key(unsigned virtual_key) {
  DisplayEventSink* sink;
  KeyEvent event;
  Window target;
  {
    Lock lock(mu_);
    sink = sink_;
    event.virtual_key = virtual_key;
    event.pressed = false;
    event.modifiers = modifiers_locked();
    keys_.erase(virtual_key);
    target = focus_;
  }
  if (sink) sink->key(target, event);
}

void HeadlessDisplay::type_key(unsigned virtual_key, std::string text) {
  press_key(virtual_key, std::move(text));
  release_key(virtual_key);
}

void HeadlessDisplay::set_focus_locked(Window window) {
  for (auto& [w, hw] : windows_) hw.focused = w == window;
  focus_ = window;
}

void HeadlessDisplay::focus_elsewhere() {
  DisplayEventSink* sink;
  Window lost;
  {
    Lock lock(mu_);
    sink = sink_;
    lost = focus_;
    set_focus_locked({});
    // The other application's window manager takes any grab and held keys with it.
    grab_ = {};
    keys_.clear();
  }
  if (sink && lost) sink->focus_changed(lost, false);
}

void HeadlessDisplay::give_focus(Window window) {
  DisplayEventSink* sink;
  Window lost;
  {
    Lock lock(mu_);
    if (!find(window)) return;
    sink = sink_;
    lost = focus_;
    set_focus_locked(window);
    place_on_top(window);
  }
  if (!sink) return;
  if (lost && lost != window) sink->focus_changed(lost, false);
  sink->focus_changed(window, true);
}

void HeadlessDisplay::request_close(Window window) {
  DisplayEventSink* sink;
  {
    Lock lock(mu_);
    if (!find(window)) return;
    sink = sink_;
  }
  if (sink) sink->close_requested(window);
}

void HeadlessDisplay::expose(Window window, Rect area) {
  DisplayEventSink* sink;
  {
    Lock lock(mu_);
    if (!find(window)) return;
    sink = sink_;
  }
  if (sink) sink->exposed(window, area);
}

void HeadlessDisplay::wm_set_geometry(Window window, Rect bounds) {
  DisplayEventSink* sink;
  {
    Lock lock(mu_);
    HeadlessWindow* hw = find(window);
    if (!hw) return;
    hw->bounds = bounds;
    hw->content = hw->content.resized(bounds.size(), 0xFF000000);
    sink = sink_;
  }
  if (sink) sink->geometry_changed(window, bounds);
}

void HeadlessDisplay::wm_set_show_state(Window window, NativeShowState state) {
  DisplayEventSink* sink;
  {
    Lock lock(mu_);
    HeadlessWindow* hw = find(window);
    if (!hw) return;
    hw->show_state = state;
    sink = sink_;
  }
  if (sink) sink->show_state_changed(window, state);
}

// --- read-back --------------------------------------------------------------------------------

std::optional<HeadlessWindow> HeadlessDisplay::window(Window window) const {
  Lock lock(mu_);
  const HeadlessWindow* hw = find(window);
  if (!hw) return std::nullopt;
  return *hw;
}

std::vector<Window> HeadlessDisplay::stacking() const {
  Lock lock(mu_);
  return order_;
}

Image HeadlessDisplay::window_pixels(Window window) const {
  Lock lock(mu_);
  const HeadlessWindow* hw = find(window);
  return hw ? hw->content : Image{};
}

Image HeadlessDisplay::screen() const {
  Lock lock(mu_);
  Image out(options_.screen.width, options_.screen.height, options_.background);
  for (auto it = order_.rbegin(); it != order_.rend(); ++it) {
    const HeadlessWindow* hw = find(*it);
    if (!hw || !on_screen(*hw)) continue;
    Rect visible = hw->bounds.intersect({0, 0, out.width, out.height});
    for (int y = visible.top; y < visible.bottom; ++y) {
      for (int x = visible.left; x < visible.right; ++x) {
        Point local{x - hw->bounds.left, y - hw->bounds.top};
        if (!in_shape(*hw, local)) continue;
        if (local.x >= hw->content.width || local.y >= hw->content.height) continue;
        std::uint32_t src = hw->content.at(local.x, local.y);
        if (hw->layered) {
          out.at(x, y) = blend_over(out.at(x, y), src, hw->alpha);
        } else {
          out.at(x, y) = src | 0xFF000000;  // an opaque window shows colour only
        }
      }
    }
  }
  return out;
}

std::vector<LayeredFrame> HeadlessDisplay::layered_frames(Window window) const {
  Lock lock(mu_);
  auto it = frames_.find(window);
  return it == frames_.end() ? std::vector<LayeredFrame>{} : it->second;
}

void HeadlessDisplay::clear_layered_frames(Window window) {
  Lock lock(mu_);
  frames_.erase(window);
}

Window HeadlessDisplay::grab() const {
  Lock lock(mu_);
  return grab_;
}

Window HeadlessDisplay::focused() const {
  Lock lock(mu_);
  return focus_;
}

Point HeadlessDisplay::pointer() const {
  Lock lock(mu_);
  return pointer_;
}

bool HeadlessDisplay::held(MouseButton button) const {
  Lock lock(mu_);
  return held_.count(button) > 0;
}

// --- DisplayBackend ---------------------------------------------------------------------------

void HeadlessDisplay::set_sink(DisplayEventSink* sink) {
  Lock lock(mu_);
  sink_ = sink;
}

Size HeadlessDisplay::screen_size() {
  Lock lock(mu_);
  return options_.screen;
}

Rect HeadlessDisplay::work_area() {
  Lock lock(mu_);
  return options_.work_area;
}

SystemMetrics HeadlessDisplay::metrics() {
  Lock lock(mu_);
  return options_.metrics;
}

void HeadlessDisplay::set_metrics(SystemMetrics metrics) {
  Lock lock(mu_);
  options_.metrics = std::move(metrics);
}

std::optional<Point> HeadlessDisplay::pointer_position() {
  Lock lock(mu_);
  return pointer_;
}

bool HeadlessDisplay::create_window(Window window, const NativeWindowDescription& description) {
  Lock lock(mu_);
  if (!window || find(window)) return false;
  HeadlessWindow hw;
  hw.bounds = description.bounds;
  hw.title = description.title;
  hw.owner = description.owner;
  hw.topmost = description.topmost;
  hw.layered = description.layered;
  hw.tool_window = description.tool_window;
  hw.menu = description.menu;
  hw.content = Image(description.bounds.width(), description.bounds.height(), 0xFF000000);
  windows_.emplace(window, std::move(hw));
  place_on_top(window);
  return true;
}

void HeadlessDisplay::destroy_window(Window window) {
  Lock lock(mu_);
  windows_.erase(window);
  frames_.erase(window);
  std::erase(order_, window);
  if (grab_ == window) grab_ = {};
  if (focus_ == window) focus_ = {};
  if (move_size_ && move_size_->window == window) move_size_.reset();
}

void HeadlessDisplay::set_geometry(Window window, Rect bounds) {
  Lock lock(mu_);
  HeadlessWindow* hw = find(window);
  if (!hw) return;
  hw->bounds = bounds;
  hw->content = hw->content.resized(bounds.size(), 0xFF000000);
}

void HeadlessDisplay::set_visible(Window window, bool visible, bool activate) {
  Lock lock(mu_);
  HeadlessWindow* hw = find(window);
  if (!hw) return;
  hw->visible = visible;
  if (visible && activate) {
    set_focus_locked(window);
    place_on_top(window);
  }
  if (!visible && focus_ == window) set_focus_locked({});
}

void HeadlessDisplay::set_show_state(Window window, NativeShowState state) {
  Lock lock(mu_);
  HeadlessWindow* hw = find(window);
  if (!hw) return;
  hw->show_state = state;
  if (state == NativeShowState::minimized && focus_ == window) set_focus_locked({});
}

void HeadlessDisplay::place_on_top(Window window) {
  HeadlessWindow* hw = find(window);
  if (!hw) return;
  std::erase(order_, window);
  auto at =
      hw->topmost ? order_.begin() : std::find_if(order_.begin(), order_.end(), [&](Window w) {
        const HeadlessWindow* o = find(w);
        return !o || !o->topmost;
      });
  order_.insert(at, window);
}

void HeadlessDisplay::restack(Window window, Window above) {
  Lock lock(mu_);
  HeadlessWindow* hw = find(window);
  if (!hw) return;
  if (!find(above)) {
    place_on_top(window);
    return;
  }
  std::erase(order_, window);
  auto it = std::find(order_.begin(), order_.end(), above);
  order_.insert(it == order_.end() ? order_.end() : it + 1, window);
}

void HeadlessDisplay::set_topmost(Window window, bool topmost) {
  Lock lock(mu_);
  HeadlessWindow* hw = find(window);
  if (!hw) return;
  hw->topmost = topmost;
  place_on_top(window);
}

void HeadlessDisplay::activate(Window window) {
  Lock lock(mu_);
  HeadlessWindow* hw = find(window);
  if (!hw || !hw->visible) return;
  set_focus_locked(window);
  place_on_top(window);
}

void HeadlessDisplay::set_title(Window window, std::string_view utf8) {
  Lock lock(mu_);
  if (HeadlessWindow* hw = find(window)) hw->title = std::string(utf8);
}

void HeadlessDisplay::set_icons(Window window, PixelView big, PixelView small) {
  Lock lock(mu_);
  HeadlessWindow* hw = find(window);
  if (!hw) return;
  hw->big_icon = Image::copy_of(big);
  hw->small_icon = Image::copy_of(small);
}

void HeadlessDisplay::set_shape(Window window, std::optional<std::span<const Rect>> rects) {
  Lock lock(mu_);
  HeadlessWindow* hw = find(window);
  if (!hw) return;
  if (rects) {
    hw->shape = std::vector<Rect>(rects->begin(), rects->end());
  } else {
    hw->shape.reset();
  }
}

void HeadlessDisplay::set_layered(Window window, bool layered) {
  Lock lock(mu_);
  if (HeadlessWindow* hw = find(window)) hw->layered = layered;
}

void HeadlessDisplay::present(Window window, PixelView pixels, Rect dirty) {
  Lock lock(mu_);
  HeadlessWindow* hw = find(window);
  if (!hw || hw->layered || pixels.empty()) return;
  Rect area = dirty.intersect({0, 0, pixels.width, pixels.height})
                  .intersect({0, 0, hw->content.width, hw->content.height});
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) hw->content.at(x, y) = pixels.at(x, y);
  }
  ++hw->presents;
}

void HeadlessDisplay::update_layered(Window window, PixelView pixels, Point position,
                                     unsigned char alpha) {
  Lock lock(mu_);
  HeadlessWindow* hw = find(window);
  if (!hw || !hw->layered) return;
  if (!pixels.empty()) hw->content = Image::copy_of(pixels);
  hw->bounds = Rect::from_origin_size(position, {hw->content.width, hw->content.height});
  hw->alpha = alpha;
  ++hw->presents;
  if (options_.record_layered_frames) {
    const Clock::TimePoint time = options_.clock ? options_.clock->now() : Clock::TimePoint{};
    frames_[window].push_back(LayeredFrame{hw->content, position, alpha, time});
  }
}

void HeadlessDisplay::set_cursor(Window window, CursorShape shape) {
  Lock lock(mu_);
  if (HeadlessWindow* hw = find(window)) hw->cursor = shape;
}

void HeadlessDisplay::grab_pointer(Window window) {
  Lock lock(mu_);
  if (find(window)) grab_ = window;
}

void HeadlessDisplay::release_grab() {
  Lock lock(mu_);
  grab_ = {};
}

void HeadlessDisplay::queue_move_size_end(Window window) {
  pending_move_size_ends_.push_back(window);
  std::uint64_t one = 1;
  [[maybe_unused]] ssize_t n = ::write(pending_fd_.get(), &one, sizeof one);
}

void HeadlessDisplay::begin_move_size(Window window, MoveSizeEdge edge, Point screen) {
  Lock lock(mu_);
  HeadlessWindow* hw = find(window);
  if (!hw) return;
  if (!held_.count(MouseButton::left)) {
    // Nothing to drag with: the window manager gives up at once.
    queue_move_size_end(window);
    return;
  }
  grab_ = {};
  move_size_ = MoveSize{window, edge, screen, hw->bounds};
  hw->move_size = edge;
}

int HeadlessDisplay::event_fd() {
  return pending_fd_.get();
}

void HeadlessDisplay::drain() {
  std::vector<Window> ended;
  DisplayEventSink* sink;
  {
    Lock lock(mu_);
    std::uint64_t value;
    [[maybe_unused]] ssize_t n = ::read(pending_fd_.get(), &value, sizeof value);
    ended.swap(pending_move_size_ends_);
    sink = sink_;
  }
  if (!sink) return;
  for (Window w : ended) sink->move_size_ended(w);
}

}  // namespace platform::os::headless
