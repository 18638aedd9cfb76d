// The default handling every window procedure ends in.

#include <algorithm>
#include <cstring>

#include "platform/os/desktop.h"
#include "platform/os/utf.h"
#include "platform/os/virtual_keys.h"
#include "platform/os/window_record.h"

namespace platform::os {
namespace {

// SC_SIZE's low four bits name the edge.
MoveSizeEdge edge_of_size_command(WPARAM command) {
  switch (command & 0xF) {
    case WMSZ_LEFT:
      return MoveSizeEdge::left;
    case WMSZ_RIGHT:
      return MoveSizeEdge::right;
    case WMSZ_TOP:
      return MoveSizeEdge::top;
    case WMSZ_TOPLEFT:
      return MoveSizeEdge::top_left;
    case WMSZ_TOPRIGHT:
      return MoveSizeEdge::top_right;
    case WMSZ_BOTTOM:
      return MoveSizeEdge::bottom;
    case WMSZ_BOTTOMLEFT:
      return MoveSizeEdge::bottom_left;
    case WMSZ_BOTTOMRIGHT:
    default:
      return MoveSizeEdge::bottom_right;
  }
}

bool is_sizing_hit(LRESULT hit) {
  return hit >= HTLEFT && hit <= HTBOTTOMRIGHT;
}

}  // namespace

LRESULT Desktop::def_window_proc(Window window, std::uint32_t message, WPARAM wparam,
                                 LPARAM lparam) {
  if (!is_window(window)) return 0;
  switch (message) {
    case WM_CLOSE:
      destroy_window(window);
      return 0;
    case WM_SYSCOMMAND:
      return default_system_command(window, wparam);
    case WM_NCLBUTTONDOWN: {
      auto hit = static_cast<LRESULT>(wparam);
      if (hit == HTCAPTION) {
        send_message(window, WM_SYSCOMMAND, SC_MOVE | static_cast<WPARAM>(HTCAPTION), lparam);
      } else if (is_sizing_hit(hit)) {
        // HTLEFT .. HTBOTTOMRIGHT line up with WMSZ_LEFT .. WMSZ_BOTTOMRIGHT.
        send_message(window, WM_SYSCOMMAND, SC_SIZE | static_cast<WPARAM>(hit - HTLEFT + 1),
                     lparam);
      }
      return 0;
    }
    case WM_NCCALCSIZE:
      return 0;  // no frame: the client area is the whole window
    case WM_NCHITTEST:
      return HTCLIENT;
    case WM_NCACTIVATE:
      return 1;
    case WM_ACTIVATE:
      if (low_word(wparam) != WA_INACTIVE && !is_iconic(window)) set_focus(window);
      return 0;
    case WM_SETTEXT:
      return default_set_text(window, lparam);
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(window_text(window).size());
    case WM_GETTEXT: {
      auto* buffer = reinterpret_cast<char16_t*>(lparam);
      if (!buffer || wparam == 0) return 0;
      std::u16string text = window_text(window);
      std::size_t n = std::min<std::size_t>(text.size(), wparam - 1);
      std::copy_n(text.data(), n, buffer);
      buffer[n] = 0;
      return static_cast<LRESULT>(n);
    }
    case WM_SETICON:
      return default_set_icon(window, wparam, lparam);
    case WM_GETICON: {
      const Icon* icon = window_icon(window, wparam == ICON_BIG);
      return reinterpret_cast<LRESULT>(icon);
    }
    case WM_SETCURSOR:
      return default_set_cursor(window, lparam);
    case WM_PAINT:
      validate_rect(window);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SYSKEYDOWN:
      if (wparam == VK_F1 + 3 && (lparam & (1 << 29))) {  // Alt+F4
        post_message(window, WM_SYSCOMMAND, SC_CLOSE, 0);
      }
      return 0;
    default:
      return 0;
  }
}

LRESULT Desktop::default_system_command(Window window, WPARAM command) {
  switch (command & 0xFFF0) {
    case SC_CLOSE:
      send_message(window, WM_CLOSE, 0, 0);
      return 0;
    case SC_MOVE:
      begin_move_size(window, MoveSizeEdge::move);
      return 0;
    case SC_SIZE:
      begin_move_size(window, edge_of_size_command(command));
      return 0;
    case SC_MAXIMIZE:
      show_window(window, SW_MAXIMIZE);
      return 0;
    case SC_MINIMIZE:
      show_window(window, SW_MINIMIZE);
      return 0;
    case SC_RESTORE:
      show_window(window, SW_RESTORE);
      return 0;
    default:
      return 0;
  }
}

LRESULT Desktop::default_set_text(Window window, LPARAM text) {
  const auto* chars = reinterpret_cast<const char16_t*>(text);
  std::u16string value = chars ? std::u16string(chars) : std::u16string();
  {
    Lock lock(mu_);
    WindowRecord* rec = find(window);
    if (!rec) return 0;
    rec->text = value;
  }
  std::string utf8 = utf16_to_utf8(value);
  display([&](DisplayBackend& b) { b.set_title(window, utf8); });
  return 1;
}

LRESULT Desktop::default_set_icon(Window window, WPARAM which, LPARAM icon) {
  const Icon* previous;
  const Icon* big;
  const Icon* small;
  {
    Lock lock(mu_);
    WindowRecord* rec = find(window);
    if (!rec) return 0;
    const Icon*& slot = which == ICON_BIG ? rec->big_icon : rec->small_icon;
    previous = slot;
    slot = reinterpret_cast<const Icon*>(icon);
    big = rec->big_icon;
    small = rec->small_icon;
  }
  display([&](DisplayBackend& b) {
    b.set_icons(window, big ? big->view() : PixelView{}, small ? small->view() : PixelView{});
  });
  return reinterpret_cast<LRESULT>(previous);
}

LRESULT Desktop::default_set_cursor(Window window, LPARAM hit_and_message) {
  if (low_word(static_cast<std::uintptr_t>(hit_and_message)) != HTCLIENT) return 0;
  CursorShape shape;
  {
    Lock lock(mu_);
    WindowRecord* rec = find(window);
    if (!rec) return 0;
    shape = rec->window_class->cursor;
  }
  if (shape == CursorShape::none) return 0;
  set_cursor(shape);
  return 1;
}

}  // namespace platform::os
