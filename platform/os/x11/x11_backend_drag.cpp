// The system move and edge sizing: handed to the window manager where one supports it, done by
// the layer itself otherwise.
#include "platform/os/x11/error_trap.h"
#include "platform/os/x11/window_manager.h"
#include "platform/os/x11/x11_backend.h"
#include "platform/os/x11/x11_backend_record.h"

namespace platform::os::x11 {

namespace {

constexpr unsigned kButtonsHeld =
    Button1Mask | Button2Mask | Button3Mask | Button4Mask | Button5Mask;

MoveResizeDirection DirectionOf(MoveSizeEdge edge) {
  switch (edge) {
    case MoveSizeEdge::move:
      return MoveResizeDirection::kMove;
    case MoveSizeEdge::left:
      return MoveResizeDirection::kSizeLeft;
    case MoveSizeEdge::right:
      return MoveResizeDirection::kSizeRight;
    case MoveSizeEdge::top:
      return MoveResizeDirection::kSizeTop;
    case MoveSizeEdge::bottom:
      return MoveResizeDirection::kSizeBottom;
    case MoveSizeEdge::top_left:
      return MoveResizeDirection::kSizeTopLeft;
    case MoveSizeEdge::top_right:
      return MoveResizeDirection::kSizeTopRight;
    case MoveSizeEdge::bottom_left:
      return MoveResizeDirection::kSizeBottomLeft;
    case MoveSizeEdge::bottom_right:
      return MoveResizeDirection::kSizeBottomRight;
  }
  return MoveResizeDirection::kMove;
}

CursorShape CursorOf(MoveSizeEdge edge) {
  switch (edge) {
    case MoveSizeEdge::move:
      return CursorShape::size_all;
    case MoveSizeEdge::left:
    case MoveSizeEdge::right:
      return CursorShape::size_we;
    case MoveSizeEdge::top:
    case MoveSizeEdge::bottom:
      return CursorShape::size_ns;
    case MoveSizeEdge::top_left:
    case MoveSizeEdge::bottom_right:
      return CursorShape::size_nwse;
    case MoveSizeEdge::top_right:
    case MoveSizeEdge::bottom_left:
      return CursorShape::size_nesw;
  }
  return CursorShape::arrow;
}

int FirstHeldButton(unsigned mask) {
  for (int button = 1; button <= 5; ++button) {
    if ((mask & (Button1Mask << (button - 1))) != 0) return button;
  }
  return 0;
}

}  // namespace

void X11Backend::begin_move_size(Window window, MoveSizeEdge edge, Point screen) {
  Record* record = Find(window);
  if (record == nullptr) return;
  EndDrag(true);
  Display* display = connection_->display();
  XWindow root = None;
  XWindow child = None;
  int root_x = 0;
  int root_y = 0;
  int x = 0;
  int y = 0;
  unsigned mask = 0;
  XQueryPointer(display, connection_->root(), &root, &child, &root_x, &root_y, &x, &y, &mask);
  const int button = FirstHeldButton(mask & kButtonsHeld);
  if (button == 0) {
    sink_->move_size_ended(window);  // released before the drag could begin
    return;
  }
  if (!record->native->popup() &&
      WindowManagerSupports(*connection_, connection_->atoms().net_wm_moveresize)) {
    drag_ = Drag{.window = window, .by_window_manager = true, .follow = std::nullopt};
    grab_ = kNoWindow;  // SendMoveResize gives our grab up for the window manager's
    SendMoveResize(*connection_, record->native->id(), screen.x, screen.y, DirectionOf(edge),
                   button);
    return;
  }
  drag_ = Drag{.window = window,
               .by_window_manager = false,
               .follow = PointerDrag(edge, record->bounds, screen, {1, 1})};
  XGrabPointer(display, record->native->id(), False, ButtonReleaseMask | PointerMotionMask,
               GrabModeAsync, GrabModeAsync, None, cursors_.Get(CursorOf(edge)), CurrentTime);
  XFlush(display);
}

bool X11Backend::FollowDrag(Point pointer) {
  if (!drag_ || !drag_->follow) return false;
  Record* record = Find(drag_->window);
  if (record == nullptr) return false;
  const Rect bounds = drag_->follow->Follow(pointer);
  if (bounds == record->bounds) return true;
  MoveResize(*record, bounds);
  sink_->geometry_changed(record->handle, bounds);
  return true;
}

void X11Backend::EndDrag(bool report) {
  if (!drag_) return;
  const Window window = drag_->window;
  const bool by_window_manager = drag_->by_window_manager;
  drag_.reset();
  if (!by_window_manager) {
    // The drag took the pointer; a capture the desktop held ends with it, as a system move does.
    XUngrabPointer(connection_->display(), CurrentTime);
    XFlush(connection_->display());
    grab_ = kNoWindow;
  }
  if (report && sink_ != nullptr) sink_->move_size_ended(window);
}

}  // namespace platform::os::x11
