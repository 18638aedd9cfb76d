#pragma once

#include <cstdint>

namespace directui {

// The messages between host, elements and the application's handlers. "Host window" messages
// go to the window the host is bound to; the others are dispatched to an element.
inline constexpr std::uint32_t EXM_SETFOCUS = 10240;    // lparam: element that had the focus
inline constexpr std::uint32_t EXM_KILLFOCUS = 10241;   // lparam: element that gets it
inline constexpr std::uint32_t EXM_MOUSEENTER = 10242;  // lparam: element hovered before
inline constexpr std::uint32_t EXM_MOUSELEAVE = 10243;
inline constexpr std::uint32_t EXM_CLICK = 10244;
inline constexpr std::uint32_t EXM_SIZE = 10245;  // the canvas was re-made: wparam w, lparam h
inline constexpr std::uint32_t EXM_HIDE = 10246;
inline constexpr std::uint32_t EXM_SHOW = 10247;
// lparam: the TransitionFrameBlock; an answer below 1 asks for the default frame.
inline constexpr std::uint32_t EXM_DRAWTRANSITION = 10248;
// An answer other than -1 lets a non-focusable element capture the mouse on a left press.
inline constexpr std::uint32_t EXM_QUERYCAPTURE = 10250;
// Host window: register a mnemonic; wparam element, lparam character code; 1 = accepted.
inline constexpr std::uint32_t EXM_SETHOTKEY = 10251;
// Host window: push the off-screen surface to the layered window.
inline constexpr std::uint32_t EXM_UPDATELAYERED = 10253;
// An answer of -1 composes a disabled element at half its alpha.
inline constexpr std::uint32_t EXM_QUERYDISABLEDALPHA = 10254;
// Host window: recompose an area. wparam is the redraw mode, lparam the area: with mode 1 (sent
// by Invalidate, posted) an owned copy the host takes with TakeInvalidatedArea, with mode 0
// (sent by EndElementPaint, synchronous) the element's live bounds.
inline constexpr std::uint32_t EXM_INVALIDATE = 10256;
// Host window, then element: wparam element, lparam 1 when the old and new areas must be
// recomposed; the host answers 1 when done and 0 while it is busy.
inline constexpr std::uint32_t EXM_BOUNDSCHANGED = 10257;
// Host window: wparam element, lparam DeliveryBlock; answers the element's result.
inline constexpr std::uint32_t EXM_DELIVER = 10258;
// -1: ask the host; 1: focused; anything else: not focused.
inline constexpr std::uint32_t EXM_QUERYFOCUS = 10260;
inline constexpr std::uint32_t EXM_ALPHACHANGED = 10261;  // lparam: new alpha
inline constexpr std::uint32_t EXM_PRERENDER = 10262;
inline constexpr std::uint32_t EXM_TRANSITIONSTART = 10263;
inline constexpr std::uint32_t EXM_TRANSITIONEND = 10264;

// WM_LBUTTONDOWN with this wparam is the host's form of a double click.
inline constexpr std::uintptr_t DOUBLECLICK_MARK = 10086;

}  // namespace directui
