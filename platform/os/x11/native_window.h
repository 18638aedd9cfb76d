#pragma once

#include "platform/os/x11/xlib.h"

#include <optional>

#include "platform/os/geometry.h"
#include "platform/os/x11/connection.h"
#include "platform/os/x11/visual.h"

namespace platform::os::x11 {

enum class NativeWindowKind {
  kTopLevel,  // frameless, managed by the window manager when one runs
  kPopup,     // menus and tooltips: override-redirect, never managed, kept above the owner
};

struct NativeWindowOptions {
  NativeWindowKind kind = NativeWindowKind::kTopLevel;
  Rect bounds;  // outer position and size on the screen
  std::optional<XWindow> owner;
};

// The events every window of ours listens to.
inline constexpr long kWindowEventMask = ExposureMask | StructureNotifyMask | ButtonPressMask |
                                         ButtonReleaseMask | PointerMotionMask | EnterWindowMask |
                                         LeaveWindowMask | KeyPressMask | KeyReleaseMask |
                                         FocusChangeMask | PropertyChangeMask;

// An X window owned for its lifetime; created unmapped.
class NativeWindow {
 public:
  NativeWindow(const Connection& connection, const NativeWindowOptions& options,
               const VisualChoice& visual);
  ~NativeWindow();
  NativeWindow(const NativeWindow&) = delete;
  NativeWindow& operator=(const NativeWindow&) = delete;

  XWindow id() const { return window_; }
  const VisualChoice& visual() const { return visual_; }
  bool popup() const { return kind_ == NativeWindowKind::kPopup; }
  bool mapped() const { return mapped_; }

  void Show();
  void Hide();
  void SetBounds(const Rect& bounds);
  void Raise();

 private:
  const Connection& connection_;
  NativeWindowKind kind_;
  VisualChoice visual_;
  XWindow window_ = None;
  bool mapped_ = false;
};

}  // namespace platform::os::x11
