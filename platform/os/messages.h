#pragma once

#include <cstdint>

namespace platform::os {

// Message parameters and results are pointer-sized.
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

inline constexpr std::uint32_t WM_NULL = 0x0000;
inline constexpr std::uint32_t WM_CREATE = 0x0001;
inline constexpr std::uint32_t WM_DESTROY = 0x0002;
inline constexpr std::uint32_t WM_MOVE = 0x0003;
inline constexpr std::uint32_t WM_SIZE = 0x0005;
inline constexpr std::uint32_t WM_ACTIVATE = 0x0006;
inline constexpr std::uint32_t WM_SETFOCUS = 0x0007;
inline constexpr std::uint32_t WM_KILLFOCUS = 0x0008;
inline constexpr std::uint32_t WM_ENABLE = 0x000A;
inline constexpr std::uint32_t WM_SETTEXT = 0x000C;
inline constexpr std::uint32_t WM_GETTEXT = 0x000D;
inline constexpr std::uint32_t WM_GETTEXTLENGTH = 0x000E;
inline constexpr std::uint32_t WM_PAINT = 0x000F;
inline constexpr std::uint32_t WM_CLOSE = 0x0010;
inline constexpr std::uint32_t WM_QUIT = 0x0012;
inline constexpr std::uint32_t WM_ERASEBKGND = 0x0014;
inline constexpr std::uint32_t WM_SHOWWINDOW = 0x0018;
inline constexpr std::uint32_t WM_ACTIVATEAPP = 0x001C;
inline constexpr std::uint32_t WM_SETCURSOR = 0x0020;
inline constexpr std::uint32_t WM_MOUSEACTIVATE = 0x0021;
inline constexpr std::uint32_t WM_GETMINMAXINFO = 0x0024;
inline constexpr std::uint32_t WM_WINDOWPOSCHANGED = 0x0047;
inline constexpr std::uint32_t WM_STYLECHANGING = 0x007C;
inline constexpr std::uint32_t WM_STYLECHANGED = 0x007D;
inline constexpr std::uint32_t WM_GETICON = 0x007F;
inline constexpr std::uint32_t WM_SETICON = 0x0080;
inline constexpr std::uint32_t WM_NCCREATE = 0x0081;
inline constexpr std::uint32_t WM_NCDESTROY = 0x0082;
inline constexpr std::uint32_t WM_NCCALCSIZE = 0x0083;
inline constexpr std::uint32_t WM_NCHITTEST = 0x0084;
inline constexpr std::uint32_t WM_NCACTIVATE = 0x0086;
inline constexpr std::uint32_t WM_NCMOUSEMOVE = 0x00A0;
inline constexpr std::uint32_t WM_NCLBUTTONDOWN = 0x00A1;
inline constexpr std::uint32_t WM_NCLBUTTONUP = 0x00A2;
inline constexpr std::uint32_t WM_NCLBUTTONDBLCLK = 0x00A3;
inline constexpr std::uint32_t WM_KEYDOWN = 0x0100;
inline constexpr std::uint32_t WM_KEYUP = 0x0101;
inline constexpr std::uint32_t WM_CHAR = 0x0102;
inline constexpr std::uint32_t WM_SYSKEYDOWN = 0x0104;
inline constexpr std::uint32_t WM_SYSKEYUP = 0x0105;
inline constexpr std::uint32_t WM_SYSCHAR = 0x0106;
inline constexpr std::uint32_t WM_IME_COMPOSITION = 0x010F;
inline constexpr std::uint32_t WM_COMMAND = 0x0111;
inline constexpr std::uint32_t WM_SYSCOMMAND = 0x0112;
inline constexpr std::uint32_t WM_TIMER = 0x0113;
inline constexpr std::uint32_t WM_MOUSEMOVE = 0x0200;
inline constexpr std::uint32_t WM_LBUTTONDOWN = 0x0201;
inline constexpr std::uint32_t WM_LBUTTONUP = 0x0202;
inline constexpr std::uint32_t WM_LBUTTONDBLCLK = 0x0203;
inline constexpr std::uint32_t WM_RBUTTONDOWN = 0x0204;
inline constexpr std::uint32_t WM_RBUTTONUP = 0x0205;
inline constexpr std::uint32_t WM_RBUTTONDBLCLK = 0x0206;
inline constexpr std::uint32_t WM_MBUTTONDOWN = 0x0207;
inline constexpr std::uint32_t WM_MBUTTONUP = 0x0208;
inline constexpr std::uint32_t WM_MBUTTONDBLCLK = 0x0209;
inline constexpr std::uint32_t WM_MOUSEWHEEL = 0x020A;
inline constexpr std::uint32_t WM_CAPTURECHANGED = 0x0215;
inline constexpr std::uint32_t WM_ENTERSIZEMOVE = 0x0231;
inline constexpr std::uint32_t WM_EXITSIZEMOVE = 0x0232;
inline constexpr std::uint32_t WM_MOUSELEAVE = 0x02A3;
inline constexpr std::uint32_t WM_USER = 0x0400;

// WM_SIZE wparam
inline constexpr WPARAM SIZE_RESTORED = 0;
inline constexpr WPARAM SIZE_MINIMIZED = 1;
inline constexpr WPARAM SIZE_MAXIMIZED = 2;

// WM_ACTIVATE wparam (low word)
inline constexpr WPARAM WA_INACTIVE = 0;
inline constexpr WPARAM WA_ACTIVE = 1;
inline constexpr WPARAM WA_CLICKACTIVE = 2;

// WM_SETICON / WM_GETICON wparam
inline constexpr WPARAM ICON_SMALL = 0;
inline constexpr WPARAM ICON_BIG = 1;

// WM_SYSCOMMAND wparam (the low four bits are free for the caller and ignored)
inline constexpr WPARAM SC_SIZE = 0xF000;
inline constexpr WPARAM SC_MOVE = 0xF010;
inline constexpr WPARAM SC_MINIMIZE = 0xF020;
inline constexpr WPARAM SC_MAXIMIZE = 0xF030;
inline constexpr WPARAM SC_CLOSE = 0xF060;
inline constexpr WPARAM SC_RESTORE = 0xF120;

// WM_SYSCOMMAND SC_SIZE: the edge in the low four bits
inline constexpr WPARAM WMSZ_LEFT = 1;
inline constexpr WPARAM WMSZ_RIGHT = 2;
inline constexpr WPARAM WMSZ_TOP = 3;
inline constexpr WPARAM WMSZ_TOPLEFT = 4;
inline constexpr WPARAM WMSZ_TOPRIGHT = 5;
inline constexpr WPARAM WMSZ_BOTTOM = 6;
inline constexpr WPARAM WMSZ_BOTTOMLEFT = 7;
inline constexpr WPARAM WMSZ_BOTTOMRIGHT = 8;

// Hit-test codes (WM_NCHITTEST results, WM_NCLBUTTONDOWN wparam, WM_SETCURSOR low word)
inline constexpr LRESULT HTERROR = -2;
inline constexpr LRESULT HTTRANSPARENT = -1;
inline constexpr LRESULT HTNOWHERE = 0;
inline constexpr LRESULT HTCLIENT = 1;
inline constexpr LRESULT HTCAPTION = 2;
inline constexpr LRESULT HTSYSMENU = 3;
inline constexpr LRESULT HTMINBUTTON = 8;
inline constexpr LRESULT HTMAXBUTTON = 9;
inline constexpr LRESULT HTLEFT = 10;
inline constexpr LRESULT HTRIGHT = 11;
inline constexpr LRESULT HTTOP = 12;
inline constexpr LRESULT HTTOPLEFT = 13;
inline constexpr LRESULT HTTOPRIGHT = 14;
inline constexpr LRESULT HTBOTTOM = 15;
inline constexpr LRESULT HTBOTTOMLEFT = 16;
inline constexpr LRESULT HTBOTTOMRIGHT = 17;
inline constexpr LRESULT HTCLOSE = 20;

// Mouse-message wparam: buttons and keys held
inline constexpr WPARAM MK_LBUTTON = 0x0001;
inline constexpr WPARAM MK_RBUTTON = 0x0002;
inline constexpr WPARAM MK_SHIFT = 0x0004;
inline constexpr WPARAM MK_CONTROL = 0x0008;
inline constexpr WPARAM MK_MBUTTON = 0x0010;

// One wheel notch
inline constexpr int WHEEL_DELTA = 120;

// Packing of two 16-bit values into a parameter; coordinates are signed.
inline constexpr LPARAM make_lparam(int low, int high) {
  return static_cast<LPARAM>(static_cast<std::uint32_t>((static_cast<std::uint32_t>(low) & 0xFFFF) |
                                                        (static_cast<std::uint32_t>(high) << 16)));
}
inline constexpr WPARAM make_wparam(int low, int high) {
  return static_cast<WPARAM>(make_lparam(low, high));
}
inline constexpr int low_word(std::uintptr_t v) {
  return static_cast<int>(v & 0xFFFF);
}
inline constexpr int high_word(std::uintptr_t v) {
  return static_cast<int>((v >> 16) & 0xFFFF);
}
// Signed coordinates out of a mouse message's lparam.
inline constexpr int x_of_lparam(LPARAM v) {
  return static_cast<std::int16_t>(v & 0xFFFF);
}
inline constexpr int y_of_lparam(LPARAM v) {
  return static_cast<std::int16_t>((v >> 16) & 0xFFFF);
}

}  // namespace platform::os
