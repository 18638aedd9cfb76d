#pragma once

#include "platform/os/x11/xlib.h"

namespace platform::os::x11 {

// The atoms the backend speaks with; interned once per connection in one round trip.
struct Atoms {
  Atom wm_protocols = None;
  Atom wm_delete_window = None;
  Atom wm_state = None;
  Atom motif_wm_hints = None;
  Atom net_wm_name = None;
  Atom net_wm_icon_name = None;
  Atom utf8_string = None;
  Atom net_wm_icon = None;
  Atom net_wm_state = None;
  Atom net_wm_state_above = None;
  Atom net_wm_state_skip_taskbar = None;
  Atom net_wm_moveresize = None;
  Atom net_supported = None;
  Atom net_supporting_wm_check = None;
  Atom net_active_window = None;
  Atom net_workarea = None;
  Atom net_wm_window_type = None;
  Atom net_wm_window_type_normal = None;
  Atom net_wm_window_type_popup_menu = None;
  Atom net_wm_pid = None;
  Atom net_wm_cm = None;  // _NET_WM_CM_S<screen>: owned by a running compositing manager
};

Atoms InternAtoms(Display* display, int screen);

}  // namespace platform::os::x11
