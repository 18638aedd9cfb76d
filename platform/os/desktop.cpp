#include "platform/os/desktop.h"

#include <atomic>

#include "platform/os/thread_queue.h"
#include "platform/os/window_record.h"

namespace platform::os {
namespace {

std::atomic<std::uint64_t> next_desktop_serial{1};

}  // namespace

// Turns what the display reports into the desktop's input handling.
class Desktop::Sink final : public DisplayEventSink {
 public:
  explicit Sink(Desktop& d) : d_(d) {}
  void pointer_moved(Window over, Point screen) override { d_.pointer_moved(over, screen); }
  void button(Window over, Point screen, MouseButton b, bool pressed, Modifiers m) override {
    d_.button(over, screen, b, pressed, m);
  }
  void wheel(Window over, Point screen, int notches, Modifiers m) override {
    d_.wheel(over, screen, notches, m);
  }
  void key(Window window, const KeyEvent& event) override { d_.key(window, event); }
  void focus_changed(Window window, bool has_focus) override {
    d_.focus_changed(window, has_focus);
  }
  void geometry_changed(Window window, Rect bounds) override {
    d_.geometry_changed(window, bounds);
  }
  void show_state_changed(Window window, NativeShowState state) override {
    d_.show_state_changed(window, state);
  }
  void exposed(Window window, Rect area) override { d_.invalidate_rect(window, area); }
  void close_requested(Window window) override {
    d_.post_message(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  }
  void move_size_ended(Window window) override { d_.move_size_ended(window); }

 private:
  Desktop& d_;
};

Desktop::Desktop(DisplayBackend& backend, const Clock& clock)
    : backend_(backend),
      clock_(clock),
      sink_(std::make_unique<Sink>(*this)),
      serial_(next_desktop_serial.fetch_add(1)) {
  display([&](DisplayBackend& b) { b.set_sink(sink_.get()); });
  if (auto p = display([](DisplayBackend& b) { return b.pointer_position(); })) cursor_ = *p;
}

Desktop::~Desktop() {
  std::vector<Window> all;
  {
    Lock lock(mu_);
    for (auto& [id, rec] : windows_) all.push_back(rec->handle);
    windows_.clear();
    z_order_.clear();
  }
  display([&](DisplayBackend& b) {
    b.release_grab();
    for (Window w : all) b.destroy_window(w);
    b.set_sink(nullptr);
  });
}

bool Desktop::register_class(WindowClass window_class) {
  if (window_class.name.empty()) return false;
  Lock lock(mu_);
  auto name = window_class.name;
  return classes_.emplace(name, std::make_shared<const WindowClass>(std::move(window_class)))
      .second;
}

bool Desktop::unregister_class(std::string_view name) {
  Lock lock(mu_);
  auto it = classes_.find(std::string(name));
  if (it == classes_.end()) return false;
  for (auto& [id, rec] : windows_) {
    if (rec->window_class == it->second) return false;  // still in use
  }
  classes_.erase(it);
  return true;
}

std::shared_ptr<const Icon> Desktop::class_icon(Window window, bool big) const {
  Lock lock(mu_);
  WindowRecord* rec = find(window);
  if (!rec) return nullptr;
  return big ? rec->window_class->icon : rec->window_class->small_icon;
}

std::uint32_t Desktop::class_style(Window window) const {
  Lock lock(mu_);
  WindowRecord* rec = find(window);
  return rec ? rec->window_class->style : 0;
}

WindowRecord* Desktop::find(Window window) const {
  if (!window) return nullptr;
  auto it = windows_.find(window.id);
  if (it == windows_.end()) return nullptr;
  WindowRecord* rec = it->second.get();
  // A window whose thread has ended is as good as gone; reap_dead_threads_windows clears it.
  return rec->queue->ended ? nullptr : rec;
}

std::shared_ptr<ThreadQueue> Desktop::current_queue() {
  // The last queue this thread used, when it belongs to this desktop.
  struct Cache {
    std::uint64_t desktop = 0;
    std::weak_ptr<ThreadQueue> queue;
  };
  thread_local Cache cache;
  if (cache.desktop == serial_) {
    if (auto q = cache.queue.lock()) return q;
  }
  std::shared_ptr<ThreadQueue> q;
  {
    Lock lock(mu_);
    auto& slot = queues_[std::this_thread::get_id()];
    // An ended queue under this id was an earlier thread's.
    if (!slot || slot->ended) {
      slot = std::make_shared<ThreadQueue>(std::this_thread::get_id());
      register_thread_queue(slot);
    }
    q = slot;
  }
  cache = {serial_, q};
  return q;
}

std::shared_ptr<ThreadQueue> Desktop::queue_of(Window window) const {
  Lock lock(mu_);
  WindowRecord* rec = find(window);
  return rec ? rec->queue : nullptr;
}

void Desktop::reap_dead_threads_windows() {
  std::vector<Window> dead;
  {
    Lock lock(mu_);
    for (auto it = windows_.begin(); it != windows_.end();) {
      if (it->second->queue->ended) {
        Window w = it->second->handle;
        dead.push_back(w);
        std::erase(z_order_, w);
        for (Window* slot : {&active_, &focus_, &capture_, &tracking_, &hover_, &move_size_}) {
          if (*slot == w) *slot = Window{};
        }
        it = windows_.erase(it);
      } else {
        ++it;
      }
    }
  }
  if (dead.empty()) return;
  display([&](DisplayBackend& b) {
    for (Window w : dead) b.destroy_window(w);
  });
}

Size Desktop::screen_size() {
  return display([](DisplayBackend& b) { return b.screen_size(); });
}

Rect Desktop::work_area() {
  return display([](DisplayBackend& b) { return b.work_area(); });
}

SystemMetrics Desktop::metrics() {
  return display([](DisplayBackend& b) { return b.metrics(); });
}

std::string Desktop::system_ui_font(UiFont which) {
  SystemMetrics m = metrics();
  switch (which) {
    case UiFont::menu:
      return m.menu_font;
    case UiFont::message:
      return m.message_font;
    case UiFont::caption:
    default:
      return m.caption_font;
  }
}

}  // namespace platform::os
