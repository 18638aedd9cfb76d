#pragma once

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/os/display_backend.h"
#include "platform/os/x11/connection.h"
#include "platform/os/x11/cursors.h"
#include "platform/os/x11/pointer_drag.h"
#include "platform/os/x11/visual.h"
#include "platform/os/x11/xlib.h"

namespace platform::os::x11 {

class NativeWindow;
class Presenter;

// The desktop's windows on an X server. Xlib is called from the thread that drives the
// desktop only; other threads reach windows through the desktop's messages.
class X11Backend final : public DisplayBackend {
 public:
  explicit X11Backend(std::unique_ptr<Connection> connection);
  ~X11Backend() override;
  X11Backend(const X11Backend&) = delete;
  X11Backend& operator=(const X11Backend&) = delete;

  void set_sink(DisplayEventSink* sink) override { sink_ = sink; }

  Size screen_size() override;
  Rect work_area() override;
  SystemMetrics metrics() override { return {}; }
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
  void flush() override;

  // The X window that shows `window`; None when there is none. For tests and diagnostics.
  XWindow native_id(Window window) const;
  bool presents_through_shared_memory(Window window) const;
  Connection& connection() { return *connection_; }

 private:
  struct Record;
  struct Drag {
    Window window;
    bool by_window_manager = false;
    std::optional<PointerDrag> follow;  // set when the layer moves the window itself
  };

  // One descriptor for the desktop's poll: readable when the X socket is, and also when Xlib
  // has already read events into its own queue, which leave the socket quiet.
  class WakeSource {
   public:
    explicit WakeSource(int x_fd);
    ~WakeSource();
    WakeSource(const WakeSource&) = delete;
    WakeSource& operator=(const WakeSource&) = delete;
    int poll_fd() const { return epoll_fd_; }
    void Signal();
    void Clear();

   private:
    int epoll_fd_ = -1;
    int event_fd_ = -1;
  };

  Record* Find(Window window);
  const Record* Find(Window window) const;
  Record* FindNative(XWindow id);
  Window HandleOf(XWindow id) const;
  bool WindowManaged() const;

  // Geometry and stacking
  void MoveResize(Record& record, const Rect& bounds);
  void EnforceBands();
  void WriteState(Record& record, Atom state, bool on);
  // Shapes and layered content
  void ApplyShape(Record& record);
  void ShowLayeredFrame(Record& record, const Rect& area);
  // Focus
  void FocusNow(Record& record);

  // Events (x11_backend_events.cpp)
  void Dispatch(XEvent& event);
  void OnButton(const XButtonEvent& event);
  void OnMotion(const XMotionEvent& event);
  void OnCrossing(const XCrossingEvent& event);
  void OnKey(XKeyEvent& event);
  void OnFocus(const XFocusChangeEvent& event);
  void OnConfigure(const XConfigureEvent& event);
  void OnExpose(const XExposeEvent& event);
  void OnMap(XWindow id, bool mapped);
  void OnProperty(const XPropertyEvent& event);
  void OnClientMessage(const XClientMessageEvent& event);
  void OnReparent(const XReparentEvent& event);
  Window PointerOver(XWindow event_window, unsigned state);
  // Move and size (x11_backend_drag.cc)
  bool FollowDrag(Point pointer);
  void EndDrag(bool report);

  std::unique_ptr<Connection> connection_;
  VisualCatalog visuals_;
  CursorSet cursors_;
  WakeSource wake_;
  DisplayEventSink* sink_ = nullptr;
  std::unordered_map<Window, std::unique_ptr<Record>> records_;
  std::unordered_map<XWindow, Window> handles_;
  std::vector<Window> topmost_order_;  // our topmost windows, lowest first
  std::set<unsigned> keys_down_;       // keycodes held, to tell auto-repeat
  Window grab_;
  std::optional<Drag> drag_;
  Time last_time_ = CurrentTime;
  std::uint64_t next_order_ = 0;
};

struct X11BackendOpenResult {
  std::unique_ptr<X11Backend> backend;  // null on failure
  std::string error;                    // one line saying why, when there is no backend
};

// The backend on the named display, or on the one DISPLAY names when no name is given.
X11BackendOpenResult OpenX11Backend(std::optional<std::string> display_name = std::nullopt);

}  // namespace platform::os::x11
