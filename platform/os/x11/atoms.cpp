#include "platform/os/x11/atoms.h"

#include <array>
#include <string>

namespace platform::os::x11 {

Atoms InternAtoms(Display* display, int screen) {
  Atoms atoms;
  const std::string compositor = "_NET_WM_CM_S" + std::to_string(screen);
  struct Entry {
    const char* name;
    Atom* target;
  };
  const std::array entries{
      Entry{"WM_PROTOCOLS", &atoms.wm_protocols},
      Entry{"WM_DELETE_WINDOW", &atoms.wm_delete_window},
      Entry{"WM_STATE", &atoms.wm_state},
      Entry{"_MOTIF_WM_HINTS", &atoms.motif_wm_hints},
      Entry{"_NET_WM_NAME", &atoms.net_wm_name},
      Entry{"_NET_WM_ICON_NAME", &atoms.net_wm_icon_name},
      Entry{"UTF8_STRING", &atoms.utf8_string},
      Entry{"_NET_WM_ICON", &atoms.net_wm_icon},
      Entry{"_NET_WM_STATE", &atoms.net_wm_state},
      Entry{"_NET_WM_STATE_ABOVE", &atoms.net_wm_state_above},
      Entry{"_NET_WM_STATE_SKIP_TASKBAR", &atoms.net_wm_state_skip_taskbar},
      Entry{"_NET_WM_MOVERESIZE", &atoms.net_wm_moveresize},
      Entry{"_NET_SUPPORTED", &atoms.net_supported},
      Entry{"_NET_SUPPORTING_WM_CHECK", &atoms.net_supporting_wm_check},
      Entry{"_NET_ACTIVE_WINDOW", &atoms.net_active_window},
      Entry{"_NET_WORKAREA", &atoms.net_workarea},
      Entry{"_NET_WM_WINDOW_TYPE", &atoms.net_wm_window_type},
      Entry{"_NET_WM_WINDOW_TYPE_NORMAL", &atoms.net_wm_window_type_normal},
      Entry{"_NET_WM_WINDOW_TYPE_POPUP_MENU", &atoms.net_wm_window_type_popup_menu},
      Entry{"_NET_WM_PID", &atoms.net_wm_pid},
      Entry{compositor.c_str(), &atoms.net_wm_cm},
  };
  std::array<char*, entries.size()> names{};
  std::array<Atom, entries.size()> values{};
  for (std::size_t i = 0; i < entries.size(); ++i) names[i] = const_cast<char*>(entries[i].name);
  XInternAtoms(display, names.data(), static_cast<int>(names.size()), False, values.data());
  for (std::size_t i = 0; i < entries.size(); ++i) *entries[i].target = values[i];
  return atoms;
}

}  // namespace platform::os::x11
