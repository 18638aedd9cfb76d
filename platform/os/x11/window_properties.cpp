#include "platform/os/x11/window_properties.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <algorithm>

namespace platform::os::x11 {

namespace {

// Straight (not premultiplied) ARGB, as the icon property carries it.
unsigned long Unpremultiply(std::uint32_t pixel) {
  const std::uint32_t alpha = pixel >> 24;
  if (alpha == 0) return 0;
  if (alpha == 255) return pixel;
  auto channel = [&](int shift) {
    const std::uint32_t value = (pixel >> shift) & 0xFF;
    return std::min<std::uint32_t>(255, (value * 255 + alpha / 2) / alpha) << shift;
  };
  return (alpha << 24) | channel(16) | channel(8) | channel(0);
}

}  // namespace

void SetNoDecorations(const Connection& connection, XWindow window) {
  // flags, functions, decorations, input mode, status; flag 2 = the decorations field is valid
  constexpr long kDecorationsValid = 2;
  const long hints[5] = {kDecorationsValid, 0, 0, 0, 0};
  const Atom atom = connection.atoms().motif_wm_hints;
  XChangeProperty(connection.display(), window, atom, atom, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(hints), 5);
}

void SetUtf8Title(const Connection& connection, XWindow window, std::string_view utf8) {
  const Atoms& atoms = connection.atoms();
  const auto* bytes = reinterpret_cast<const unsigned char*>(utf8.data());
  const int length = static_cast<int>(utf8.size());
  for (Atom property : {atoms.net_wm_name, atoms.net_wm_icon_name, Atom{XA_WM_NAME}}) {
    XChangeProperty(connection.display(), window, property, atoms.utf8_string, 8, PropModeReplace,
                    bytes, length);
  }
}

void SetIcons(const Connection& connection, XWindow window, std::span<const PixelView> icons) {
  const Atom atom = connection.atoms().net_wm_icon;
  // width, height, then the pixels row by row: one entry per size
  std::vector<long> data;
  for (const PixelView& icon : icons) {
    if (icon.empty()) continue;
    data.push_back(icon.width);
    data.push_back(icon.height);
    for (int y = 0; y < icon.height; ++y) {
      for (int x = 0; x < icon.width; ++x)
        data.push_back(static_cast<long>(Unpremultiply(icon.at(x, y))));
    }
  }
  if (data.empty()) {
    XDeleteProperty(connection.display(), window, atom);
    return;
  }
  XChangeProperty(connection.display(), window, atom, XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(data.data()),
                  static_cast<int>(data.size()));
}

std::vector<Atom> ReadNetWmState(const Connection& connection, XWindow window) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0;
  unsigned long remaining = 0;
  unsigned char* data = nullptr;
  std::vector<Atom> state;
  if (XGetWindowProperty(connection.display(), window, connection.atoms().net_wm_state, 0, 1024,
                         False, XA_ATOM, &type, &format, &count, &remaining, &data) == Success &&
      data != nullptr) {
    if (type == XA_ATOM && format == 32) {
      const long* atoms = reinterpret_cast<const long*>(data);
      for (unsigned long i = 0; i < count; ++i) state.push_back(static_cast<Atom>(atoms[i]));
    }
    XFree(data);
  }
  return state;
}

void WriteNetWmState(const Connection& connection, XWindow window, std::span<const Atom> state) {
  std::vector<long> values(state.begin(), state.end());
  XChangeProperty(connection.display(), window, connection.atoms().net_wm_state, XA_ATOM, 32,
                  PropModeReplace, reinterpret_cast<const unsigned char*>(values.data()),
                  static_cast<int>(values.size()));
}

void SetWindowType(const Connection& connection, XWindow window, Atom type) {
  const long value = static_cast<long>(type);
  XChangeProperty(connection.display(), window, connection.atoms().net_wm_window_type, XA_ATOM, 32,
                  PropModeReplace, reinterpret_cast<const unsigned char*>(&value), 1);
}

void SetProtocols(const Connection& connection, XWindow window) {
  Atom protocols[] = {connection.atoms().wm_delete_window};
  XSetWMProtocols(connection.display(), window, protocols, 1);
}

void SetPid(const Connection& connection, XWindow window) {
  const long pid = static_cast<long>(getpid());
  XChangeProperty(connection.display(), window, connection.atoms().net_wm_pid, XA_CARDINAL, 32,
                  PropModeReplace, reinterpret_cast<const unsigned char*>(&pid), 1);
}

void SetExactPlacement(Display* display, XWindow window, const Rect& bounds) {
  XSizeHints hints{};
  hints.flags = USPosition | USSize | PWinGravity;
  hints.x = bounds.left;
  hints.y = bounds.top;
  hints.width = bounds.width();
  hints.height = bounds.height();
  hints.win_gravity = StaticGravity;  // the position is the window's own corner, not a frame's
  XSetWMNormalHints(display, window, &hints);
}

}  // namespace platform::os::x11
