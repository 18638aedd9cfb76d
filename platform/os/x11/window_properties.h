#pragma once

#include "platform/os/x11/xlib.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "platform/os/geometry.h"
#include "platform/os/pixel_view.h"
#include "platform/os/x11/connection.h"

namespace platform::os::x11 {

// Asks the window manager for no frame and no title bar: the program draws its own.
void SetNoDecorations(const Connection& connection, XWindow window);

// The title in UTF-8 for _NET_WM_NAME, and the same bytes for the older WM_NAME.
void SetUtf8Title(const Connection& connection, XWindow window, std::string_view utf8);

// _NET_WM_ICON from premultiplied ARGB32 icons, one entry per icon that is not empty; none at
// all removes the property.
void SetIcons(const Connection& connection, XWindow window, std::span<const PixelView> icons);

// The _NET_WM_STATE atoms as the window carries them, and writing them while it is unmapped
// (or no window manager keeps them).
std::vector<Atom> ReadNetWmState(const Connection& connection, XWindow window);
void WriteNetWmState(const Connection& connection, XWindow window, std::span<const Atom> state);

void SetWindowType(const Connection& connection, XWindow window, Atom type);
void SetProtocols(const Connection& connection, XWindow window);
void SetPid(const Connection& connection, XWindow window);

// The position and size are the program's own: no window manager should place the window.
void SetExactPlacement(Display* display, XWindow window, const Rect& bounds);

}  // namespace platform::os::x11
