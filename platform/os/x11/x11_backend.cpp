#include "platform/os/x11/x11_backend.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>

#include "platform/os/x11/error_trap.h"
#include "platform/os/x11/window_manager.h"
#include "platform/os/x11/window_properties.h"
#include "platform/os/x11/window_shape.h"
#include "platform/os/x11/x11_backend_record.h"

namespace platform::os::x11 {

namespace {

// Premultiplied pixels scaled by a constant alpha, as a layered window blends them.
std::uint32_t ScalePixel(std::uint32_t pixel, unsigned alpha) {
  auto scale = [&](int shift) {
    const std::uint32_t value = (pixel >> shift) & 0xFF;
    return ((value * alpha + 127) / 255) << shift;
  };
  return scale(24) | scale(16) | scale(8) | scale(0);
}

}  // namespace

// --- wake source ----------------------------------------------------------------------------

X11Backend::WakeSource::WakeSource(int x_fd)
    : epoll_fd_(epoll_create1(EPOLL_CLOEXEC)), event_fd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
  for (int fd : {x_fd, event_fd_}) {
    epoll_event interest{};
    interest.events = EPOLLIN;
    interest.data.fd = fd;
    epoll_ctl(epoll_fd_, EPOLL_CTL_ADD, fd, &interest);
  }
}

X11Backend::WakeSource::~WakeSource() {
  if (event_fd_ >= 0) close(event_fd_);
  if (epoll_fd_ >= 0) close(epoll_fd_);
}

void X11Backend::WakeSource::Signal() {
  const std::uint64_t one = 1;
  [[maybe_unused]] const ssize_t written = write(event_fd_, &one, sizeof one);
}

void X11Backend::WakeSource::Clear() {
  std::uint64_t count = 0;
  [[maybe_unused]] const ssize_t read_bytes = read(event_fd_, &count, sizeof count);
}

// --- set-up ---------------------------------------------------------------------------------

X11Backend::X11Backend(std::unique_ptr<Connection> connection)
    : connection_(std::move(connection)),
      visuals_(*connection_),
      cursors_(connection_->display()),
      wake_(connection_->fd()) {
  // Property changes of the root tell us about work-area changes; nothing else is needed there.
  XSelectInput(connection_->display(), connection_->root(), PropertyChangeMask);
}

X11Backend::~X11Backend() {
  EndDrag(false);
  records_.clear();
  handles_.clear();
  XFlush(connection_->display());
}

X11BackendOpenResult OpenX11Backend(std::optional<std::string> display_name) {
  DisplayOpenResult opened = OpenDisplay(std::move(display_name));
  if (!opened.connection) return {nullptr, opened.error};
  return {std::make_unique<X11Backend>(std::move(opened.connection)), {}};
}

X11Backend::Record* X11Backend::Find(Window window) {
  const auto found = records_.find(window);
  return found == records_.end() ? nullptr : found->second.get();
}

const X11Backend::Record* X11Backend::Find(Window window) const {
  const auto found = records_.find(window);
  return found == records_.end() ? nullptr : found->second.get();
}

X11Backend::Record* X11Backend::FindNative(XWindow id) {
  return Find(HandleOf(id));
}

Window X11Backend::HandleOf(XWindow id) const {
  const auto found = handles_.find(id);
  return found == handles_.end() ? kNoWindow : found->second;
}

XWindow X11Backend::native_id(Window window) const {
  const Record* record = Find(window);
  return record == nullptr ? None : record->native->id();
}

bool X11Backend::presents_through_shared_memory(Window window) const {
  const Record* record = Find(window);
  return record != nullptr && record->presenter->shared();
}

bool X11Backend::WindowManaged() const {
  return WindowManagerRunning(*connection_);
}

// --- display-wide facts ---------------------------------------------------------------------

Size X11Backend::screen_size() {
  Display* display = connection_->display();
  return {DisplayWidth(display, connection_->screen()),
          DisplayHeight(display, connection_->screen())};
}

Rect X11Backend::work_area() {
  return WorkArea(*connection_);
}

std::optional<Point> X11Backend::pointer_position() {
  XWindow root = None;
  XWindow child = None;
  int root_x = 0;
  int root_y = 0;
  int x = 0;
  int y = 0;
  unsigned mask = 0;
  if (!XQueryPointer(connection_->display(), connection_->root(), &root, &child, &root_x, &root_y,
                     &x, &y, &mask)) {
    return std::nullopt;
  }
  return Point{root_x, root_y};
}

// --- windows --------------------------------------------------------------------------------

bool X11Backend::create_window(Window window, const NativeWindowDescription& description) {
  if (!window || Find(window) != nullptr) return false;
  Display* display = connection_->display();
  const Record* owner = Find(description.owner);
  NativeWindowOptions options{
      .kind = description.menu ? NativeWindowKind::kPopup : NativeWindowKind::kTopLevel,
      .bounds = description.bounds,
      .owner = owner != nullptr ? std::optional<XWindow>(owner->native->id()) : std::nullopt,
  };
  // Under a compositor every window takes the ARGB visual: a window may become layered for an
  // opening effect and opaque again afterwards, and the visual cannot change.
  const VisualChoice visual = visuals_.ForNewWindow();
  ErrorTrap trap(display);
  auto native = std::make_unique<NativeWindow>(*connection_, options, visual);
  if (trap.Check() != 0) return false;

  auto record = std::make_unique<Record>();
  record->handle = window;
  record->bounds = description.bounds;
  record->parent = connection_->root();
  record->owner = description.owner;
  record->topmost = description.topmost;
  record->layered = description.layered;
  record->tool_window = description.tool_window;
  record->presenter = std::make_unique<Presenter>(*connection_, native->id(), visual);
  record->native = std::move(native);
  SetUtf8Title(*connection_, record->native->id(), description.title);
  std::vector<Atom> state;
  if (description.topmost) state.push_back(connection_->atoms().net_wm_state_above);
  if (description.tool_window) state.push_back(connection_->atoms().net_wm_state_skip_taskbar);
  if (!state.empty()) WriteNetWmState(*connection_, record->native->id(), state);

  handles_[record->native->id()] = window;
  Record& added = *record;
  records_[window] = std::move(record);
  if (description.topmost) topmost_order_.push_back(window);
  if (added.layered) ApplyShape(added);
  XFlush(display);
  return true;
}

void X11Backend::destroy_window(Window window) {
  Record* record = Find(window);
  if (record == nullptr) return;
  if (drag_ && drag_->window == window) EndDrag(false);
  if (grab_ == window) release_grab();
  std::erase(topmost_order_, window);
  handles_.erase(record->native->id());
  records_.erase(window);
}

void X11Backend::MoveResize(Record& record, const Rect& bounds) {
  if (bounds.empty()) return;
  record.configure_serial = NextRequest(connection_->display());
  record.native->SetBounds(bounds);
  record.bounds = bounds;
}

void X11Backend::set_geometry(Window window, Rect bounds) {
  if (Record* record = Find(window)) MoveResize(*record, bounds);
}

void X11Backend::set_visible(Window window, bool visible, bool activate_it) {
  Record* record = Find(window);
  if (record == nullptr) return;
  record->visible = visible;
  if (!visible) {
    record->activate_on_map = false;
    record->native->Hide();
    record->iconic = false;
    return;
  }
  if (record->state == NativeShowState::minimized && !WindowManaged()) return;  // stays hidden
  record->native->Show();
  EnforceBands();
  if (activate_it) {
    // Focus needs a viewable window: at once without a window manager, on MapNotify with one.
    if (record->native->popup() || !WindowManaged()) {
      FocusNow(*record);
    } else {
      record->activate_on_map = true;
    }
  }
}

void X11Backend::set_show_state(Window window, NativeShowState state) {
  Record* record = Find(window);
  if (record == nullptr) return;
  const NativeShowState previous = record->state;
  record->state = state;
  Display* display = connection_->display();
  if (state == NativeShowState::minimized) {
    if (!record->visible || previous == NativeShowState::minimized) return;
    if (WindowManaged()) {
      XIconifyWindow(display, record->native->id(), connection_->screen());
    } else {
      XUnmapWindow(display, record->native->id());  // nobody keeps an icon: the window goes away
    }
    record->iconic = true;
  } else if (record->iconic && record->visible) {
    // Maximised geometry comes from the desktop through set_geometry; telling a window manager
    // "maximised" would make it size the window to its own idea of the work area.
    record->native->Show();
    record->iconic = false;
    EnforceBands();
  }
  XFlush(display);
}

void X11Backend::restack(Window window, Window above) {
  Record* record = Find(window);
  if (record == nullptr) return;
  Display* display = connection_->display();
  const Record* sibling = Find(above);
  if (sibling != nullptr && record->parent == connection_->root() &&
      sibling->parent == connection_->root()) {
    XWindowChanges changes{};
    changes.sibling = sibling->native->id();
    changes.stack_mode = Below;
    XConfigureWindow(display, record->native->id(), CWSibling | CWStackMode, &changes);
  } else {
    record->native->Raise();
  }
  if (record->topmost) {
    std::erase(topmost_order_, window);
    topmost_order_.push_back(window);
  }
  EnforceBands();
}

// Without a window manager nobody keeps topmost windows above the others, nor popups above
// their owners: after every raise the bands are raised again, lowest first.
void X11Backend::EnforceBands() {
  if (WindowManaged()) return;
  Display* display = connection_->display();
  for (Window window : topmost_order_) {
    const Record* record = Find(window);
    if (record != nullptr && record->native->mapped()) XRaiseWindow(display, record->native->id());
  }
  for (const auto& [handle, record] : records_) {
    if (record->native->popup() && record->native->mapped() && !record->topmost) {
      XRaiseWindow(display, record->native->id());
    }
  }
  XFlush(display);
}

void X11Backend::WriteState(Record& record, Atom state, bool on) {
  if (record.native->mapped() &&
      WindowManagerSupports(*connection_, connection_->atoms().net_wm_state)) {
    SendNetWmState(*connection_, record.native->id(), on, state);
    return;
  }
  // Unmapped, or nobody to ask: the property is ours to write.
  std::vector<Atom> atoms = ReadNetWmState(*connection_, record.native->id());
  std::erase(atoms, state);
  if (on) atoms.push_back(state);
  WriteNetWmState(*connection_, record.native->id(), atoms);
  XFlush(connection_->display());
}

void X11Backend::set_topmost(Window window, bool topmost) {
  Record* record = Find(window);
  if (record == nullptr) return;
  record->topmost = topmost;
  std::erase(topmost_order_, window);
  if (topmost) topmost_order_.push_back(window);
  WriteState(*record, connection_->atoms().net_wm_state_above, topmost);
  EnforceBands();
}

void X11Backend::FocusNow(Record& record) {
  Display* display = connection_->display();
  record.native->Raise();
  EnforceBands();
  XSetInputFocus(display, record.native->id(), RevertToParent, CurrentTime);
  XFlush(display);
}

void X11Backend::activate(Window window) {
  Record* record = Find(window);
  if (record == nullptr || !record->native->mapped()) return;
  if (record->native->popup() || !WindowManaged()) {
    FocusNow(*record);
  } else {
    SendActivate(*connection_, record->native->id(), last_time_);
  }
}

void X11Backend::set_title(Window window, std::string_view utf8) {
  if (Record* record = Find(window)) {
    SetUtf8Title(*connection_, record->native->id(), utf8);
    XFlush(connection_->display());
  }
}

void X11Backend::set_icons(Window window, PixelView big, PixelView small) {
  if (Record* record = Find(window)) {
    SetIcons(*connection_, record->native->id(), std::array{big, small});
    XFlush(connection_->display());
  }
}

// --- shape and layered content --------------------------------------------------------------

void X11Backend::ApplyShape(Record& record) {
  Display* display = connection_->display();
  const XWindow id = record.native->id();
  const bool alpha_shape = record.layered && !record.native->visual().argb;
  if (record.shape) {
    SetWindowShape(display, id, *record.shape);
  } else if (!alpha_shape) {
    ClearWindowShape(display, id);
  }
  if (alpha_shape) {
    // Without a compositor, the pixels nobody would see are cut away instead of shown black.
    std::vector<Rect> visible;
    if (record.frame_alpha != 0) visible = RectsFromAlpha(record.frame_view());
    SetWindowShape(display, id, visible,
                   record.shape ? ShapeCombine::intersect : ShapeCombine::replace);
  }
  XFlush(display);
}

void X11Backend::set_shape(Window window, std::optional<std::span<const Rect>> rects) {
  Record* record = Find(window);
  if (record == nullptr) return;
  if (rects) {
    record->shape.emplace(rects->begin(), rects->end());
  } else {
    record->shape.reset();
  }
  ApplyShape(*record);
}

void X11Backend::set_layered(Window window, bool layered) {
  Record* record = Find(window);
  if (record == nullptr || record->layered == layered) return;
  record->layered = layered;
  if (!layered) {
    record->frame.clear();
    record->frame_width = record->frame_height = 0;
  }
  ApplyShape(*record);
}

void X11Backend::present(Window window, PixelView pixels, Rect dirty) {
  Record* record = Find(window);
  if (record == nullptr || record->layered) return;
  record->presenter->Present(pixels, dirty, true);
}

void X11Backend::ShowLayeredFrame(Record& record, const Rect& area) {
  record.presenter->Present(record.frame_view(), area, false);
}

void X11Backend::update_layered(Window window, PixelView pixels, Point position,
                                unsigned char alpha) {
  Record* record = Find(window);
  if (record == nullptr || !record->layered || pixels.empty()) return;
  const bool blended = record->native->visual().argb;
  record->frame_width = pixels.width;
  record->frame_height = pixels.height;
  record->frame_alpha = alpha;
  record->frame.resize(static_cast<std::size_t>(pixels.width) * pixels.height);
  for (int y = 0; y < pixels.height; ++y) {
    std::uint32_t* row = record->frame.data() + static_cast<std::size_t>(y) * pixels.width;
    for (int x = 0; x < pixels.width; ++x) {
      const std::uint32_t pixel = pixels.at(x, y);
      // Without a compositor the constant alpha cannot blend; it only hides at 0 (ApplyShape).
      row[x] = blended && alpha != 255 ? ScalePixel(pixel, alpha) : pixel;
    }
  }
  const Rect bounds = Rect::from_origin_size(position, {pixels.width, pixels.height});
  if (bounds != record->bounds) MoveResize(*record, bounds);
  if (!blended) ApplyShape(*record);
  ShowLayeredFrame(*record, {0, 0, pixels.width, pixels.height});
}

// --- pointer --------------------------------------------------------------------------------

void X11Backend::set_cursor(Window window, CursorShape shape) {
  Record* record = Find(window);
  if (record == nullptr || shape == CursorShape::none || record->cursor == shape) return;
  record->cursor = shape;
  XDefineCursor(connection_->display(), record->native->id(), cursors_.Get(shape));
  XFlush(connection_->display());
}

void X11Backend::grab_pointer(Window window) {
  Record* record = Find(window);
  if (record == nullptr) return;
  constexpr unsigned kMask =
      ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask | LeaveWindowMask;
  const int result = XGrabPointer(connection_->display(), record->native->id(), False, kMask,
                                  GrabModeAsync, GrabModeAsync, None, None, CurrentTime);
  grab_ = result == GrabSuccess ? window : kNoWindow;
}

void X11Backend::release_grab() {
  if (!grab_) return;
  grab_ = kNoWindow;
  if (!drag_ || drag_->by_window_manager) XUngrabPointer(connection_->display(), CurrentTime);
  XFlush(connection_->display());
}

// --- event source ---------------------------------------------------------------------------

void X11Backend::drain() {
  wake_.Clear();
  Display* display = connection_->display();
  while (XPending(display) > 0) {
    XEvent event;
    XNextEvent(display, &event);
    Dispatch(event);
  }
}

int X11Backend::event_fd() {
  // The desktop polls this before it drains: events Xlib already holds must count.
  if (XQLength(connection_->display()) > 0) wake_.Signal();
  return wake_.poll_fd();
}

void X11Backend::flush() {
  Display* display = connection_->display();
  XFlush(display);
  // Events a round trip pulled into Xlib's queue would not wake a poll on the socket.
  if (XQLength(display) > 0) wake_.Signal();
}

}  // namespace platform::os::x11
