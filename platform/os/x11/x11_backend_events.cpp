// Native events become the raw facts of the desktop's sink; nothing here decides what the
// desktop makes of them.
#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include "platform/os/x11/key_translation.h"
#include "platform/os/x11/x11_backend.h"
#include "platform/os/x11/x11_backend_record.h"

namespace platform::os::x11 {

namespace {

constexpr unsigned kButtonsHeld =
    Button1Mask | Button2Mask | Button3Mask | Button4Mask | Button5Mask;
constexpr int kWheelAway = 4;
constexpr int kWheelToward = 5;

Modifiers ModifiersOf(unsigned state) {
  return {.shift = (state & ShiftMask) != 0,
          .control = (state & ControlMask) != 0,
          .alt = (state & Mod1Mask) != 0};
}

std::optional<MouseButton> ButtonOf(unsigned button) {
  switch (button) {
    case Button1:
      return MouseButton::left;
    case Button2:
      return MouseButton::middle;
    case Button3:
      return MouseButton::right;
    default:
      return std::nullopt;
  }
}

// Motion that a later motion of the same window already supersedes.
bool SupersededMotion(Display* display, const XMotionEvent& motion) {
  if (XEventsQueued(display, QueuedAlready) == 0) return false;
  XEvent next;
  XPeekEvent(display, &next);
  return next.type == MotionNotify && next.xmotion.window == motion.window &&
         next.xmotion.state == motion.state;
}

}  // namespace

void X11Backend::Dispatch(XEvent& event) {
  if (sink_ == nullptr) return;
  switch (event.type) {
    case ButtonPress:
    case ButtonRelease:
      OnButton(event.xbutton);
      break;
    case MotionNotify:
      if (!SupersededMotion(connection_->display(), event.xmotion)) OnMotion(event.xmotion);
      break;
    case EnterNotify:
    case LeaveNotify:
      OnCrossing(event.xcrossing);
      break;
    case KeyPress:
    case KeyRelease:
      OnKey(event.xkey);
      break;
    case FocusIn:
    case FocusOut:
      OnFocus(event.xfocus);
      break;
    case ConfigureNotify:
      OnConfigure(event.xconfigure);
      break;
    case Expose:
      OnExpose(event.xexpose);
      break;
    case MapNotify:
      OnMap(event.xmap.window, true);
      break;
    case UnmapNotify:
      OnMap(event.xunmap.window, false);
      break;
    case PropertyNotify:
      OnProperty(event.xproperty);
      break;
    case ClientMessage:
      OnClientMessage(event.xclient);
      break;
    case ReparentNotify:
      OnReparent(event.xreparent);
      break;
    default:
      break;
  }
}

// The window of ours under the pointer. Without a grab or a held button the display delivers
// pointer events to that very window; otherwise they go to the grabbing one, and the server is
// asked what lies under the pointer (through a window manager's frames, honouring shapes).
Window X11Backend::PointerOver(XWindow event_window, unsigned state) {
  if ((state & kButtonsHeld) == 0 && !grab_) return HandleOf(event_window);
  Display* display = connection_->display();
  XWindow parent = connection_->root();
  for (int depth = 0; depth < 4; ++depth) {
    XWindow root = None;
    XWindow child = None;
    int root_x = 0;
    int root_y = 0;
    int x = 0;
    int y = 0;
    unsigned mask = 0;
    if (!XQueryPointer(display, parent, &root, &child, &root_x, &root_y, &x, &y, &mask) ||
        child == None) {
      return kNoWindow;
    }
    if (const Window handle = HandleOf(child)) return handle;
    parent = child;
  }
  return kNoWindow;
}

void X11Backend::OnButton(const XButtonEvent& event) {
  last_time_ = event.time;
  if (drag_) {
    // The release that ends a drag belongs to the drag, not to the desktop.
    if (event.type == ButtonRelease || drag_->by_window_manager) EndDrag(true);
    return;
  }
  const Window over = PointerOver(event.window, event.state);
  if (!HandleOf(event.window)) return;
  const Point screen{event.x_root, event.y_root};
  const Modifiers modifiers = ModifiersOf(event.state);
  if (event.button == kWheelAway || event.button == kWheelToward) {
    if (event.type == ButtonPress) {
      sink_->wheel(over, screen, event.button == kWheelAway ? 1 : -1, modifiers);
    }
    return;
  }
  if (const std::optional<MouseButton> button = ButtonOf(event.button)) {
    sink_->button(over, screen, *button, event.type == ButtonPress, modifiers);
  }
}

void X11Backend::OnMotion(const XMotionEvent& event) {
  last_time_ = event.time;
  const Point screen{event.x_root, event.y_root};
  if (drag_) {
    if (!drag_->by_window_manager) {
      FollowDrag(screen);
      return;
    }
    if ((event.state & kButtonsHeld) != 0) return;
    EndDrag(true);  // the window manager's drag is over: the button is up again
  }
  if (!HandleOf(event.window)) return;
  sink_->pointer_moved(PointerOver(event.window, event.state), screen);
}

void X11Backend::OnCrossing(const XCrossingEvent& event) {
  last_time_ = event.time;
  if (drag_) {
    // A window manager's grab ending shows as a crossing of mode NotifyUngrab.
    if (drag_->by_window_manager && event.mode == NotifyUngrab) EndDrag(true);
    return;
  }
  if (event.mode != NotifyNormal || !HandleOf(event.window)) return;
  const Point screen{event.x_root, event.y_root};
  Window over = kNoWindow;
  if (event.type == EnterNotify || (event.state & kButtonsHeld) != 0 || grab_) {
    over = PointerOver(event.window, event.state);
  }
  sink_->pointer_moved(over, screen);
}

void X11Backend::OnKey(XKeyEvent& event) {
  last_time_ = event.time;
  const Window window = HandleOf(event.window);
  if (!window) return;
  KeySym applied = NoSymbol;
  char latin[8];
  XLookupString(&event, latin, sizeof latin, &applied, nullptr);
  const KeySym unshifted = XLookupKeysym(&event, 0);
  KeyEvent key;
  // Keypad keys follow Num Lock (7 or Home), every other key its unshifted symbol.
  key.virtual_key = VirtualKeyFromKeysym(IsKeypadKey(applied) ? applied : unshifted);
  key.pressed = event.type == KeyPress;
  key.modifiers = ModifiersOf(event.state);
  if (key.pressed) {
    key.repeat = !keys_down_.insert(event.keycode).second;
    key.text = TextOfCharacter(CharacterFromKeysym(applied, key.modifiers.control));
  } else {
    keys_down_.erase(event.keycode);
  }
  if (key.virtual_key == 0 && key.text.empty()) return;
  sink_->key(window, key);
}

void X11Backend::OnFocus(const XFocusChangeEvent& event) {
  // Keyboard grabs and focus that merely follows the pointer are no activation.
  if (event.mode == NotifyGrab || event.mode == NotifyUngrab) return;
  if (event.detail == NotifyInferior || event.detail == NotifyPointer ||
      event.detail == NotifyPointerRoot || event.detail == NotifyDetailNone) {
    return;
  }
  const Window window = HandleOf(event.window);
  if (!window) return;
  if (event.type == FocusOut) keys_down_.clear();  // their releases go elsewhere
  sink_->focus_changed(window, event.type == FocusIn);
}

void X11Backend::OnConfigure(const XConfigureEvent& event) {
  Record* record = FindNative(event.window);
  if (record == nullptr) return;
  // Older than our last request: that request's own notification follows.
  if (event.serial < record->configure_serial) return;
  int x = event.x;
  int y = event.y;
  if (!event.send_event && record->parent != connection_->root()) {
    XWindow child = None;
    XTranslateCoordinates(connection_->display(), event.window, connection_->root(), 0, 0, &x, &y,
                          &child);
  }
  const Rect bounds{x, y, x + event.width, y + event.height};
  if (bounds == record->bounds) return;
  if (drag_ && drag_->window == record->handle && !drag_->by_window_manager) return;
  record->bounds = bounds;
  sink_->geometry_changed(record->handle, bounds);
}

void X11Backend::OnExpose(const XExposeEvent& event) {
  Record* record = FindNative(event.window);
  if (record == nullptr) return;
  const Rect area{event.x, event.y, event.x + event.width, event.y + event.height};
  // A layered window keeps its own content: the desktop gives it frames, not repaints.
  if (record->layered) {
    ShowLayeredFrame(*record, area);
    return;
  }
  sink_->exposed(record->handle, area);
}

void X11Backend::OnMap(XWindow id, bool mapped) {
  Record* record = FindNative(id);
  if (record == nullptr || !mapped || !record->activate_on_map) return;
  record->activate_on_map = false;
  XSetInputFocus(connection_->display(), id, RevertToParent, CurrentTime);
  XFlush(connection_->display());
}

void X11Backend::OnProperty(const XPropertyEvent& event) {
  last_time_ = event.time;
  if (event.atom != connection_->atoms().wm_state) return;
  Record* record = FindNative(event.window);
  if (record == nullptr) return;
  Atom type = None;
  int format = 0;
  unsigned long count = 0;
  unsigned long remaining = 0;
  unsigned char* data = nullptr;
  long state = WithdrawnState;
  if (XGetWindowProperty(connection_->display(), event.window, connection_->atoms().wm_state, 0, 2,
                         False, connection_->atoms().wm_state, &type, &format, &count, &remaining,
                         &data) == Success &&
      data != nullptr) {
    if (format == 32 && count >= 1) state = reinterpret_cast<const long*>(data)[0];
    XFree(data);
  }
  const bool iconic = state == IconicState;
  if (state == WithdrawnState || iconic == record->iconic) return;
  record->iconic = iconic;
  const bool desktop_minimized = record->state == NativeShowState::minimized;
  if (iconic == desktop_minimized) return;  // the desktop asked for this itself
  record->state = iconic ? NativeShowState::minimized : NativeShowState::normal;
  sink_->show_state_changed(record->handle, record->state);
}

void X11Backend::OnClientMessage(const XClientMessageEvent& event) {
  const Atoms& atoms = connection_->atoms();
  if (event.message_type != atoms.wm_protocols || event.format != 32) return;
  if (static_cast<Atom>(event.data.l[0]) != atoms.wm_delete_window) return;
  if (const Window window = HandleOf(event.window)) sink_->close_requested(window);
}

void X11Backend::OnReparent(const XReparentEvent& event) {
  Record* record = FindNative(event.window);
  if (record == nullptr) return;
  record->parent = event.parent;
  // Put into a frame (or taken out of one), the window moved on the screen.
  int x = 0;
  int y = 0;
  XWindow child = None;
  if (!XTranslateCoordinates(connection_->display(), event.window, connection_->root(), 0, 0, &x,
                             &y, &child)) {
    return;
  }
  const Rect bounds = record->bounds.offset(x - record->bounds.left, y - record->bounds.top);
  if (bounds == record->bounds) return;
  record->bounds = bounds;
  sink_->geometry_changed(record->handle, bounds);
}

}  // namespace platform::os::x11
