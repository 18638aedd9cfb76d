#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "directui/core/element.h"
#include "directui/core/host_options.h"
#include "directui/core/host_record.h"
#include "directui/core/rect_f.h"
#include "platform/os/cursor_shape.h"
#include "platform/os/desktop.h"

namespace directui {

// What SetBackground is given besides the optional picture and colour.
inline constexpr int kBackgroundPresent = 0;  // present the whole window afterwards
inline constexpr int kBackgroundFadeIn = 1;   // blend the new picture in over 5 × 50 ms
inline constexpr int kBackgroundQuiet = -1;   // neither

inline constexpr std::uint32_t kFadeInterval = 50;  // ms per fade-in step
inline constexpr int kFadeStep = 51;                // alpha added per step

// Turns an ordinary top-level window into the surface of the windowless framework: takes over
// its window procedure, draws the whole frameless window off-screen (background, frame lines,
// shape or drop shadow, then the elements) and copies it to the window, keeps the element
// tree's interaction state and calls the application's notification routines.
//
// One host serves one window at a time, on the thread that owns it. The desktop must outlive
// the host: a host still bound when it goes gives the window its own procedure back.
class Ex_Host : public HostRecord {
 public:
  Ex_Host() = default;
  ~Ex_Host() override;

  // --- message routing ----------------------------------------------------------------------
  LRESULT WindowProc(std::uint32_t message, WPARAM wparam, LPARAM lparam);
  void QueueRedraw(const RectF& area, int mode);
  void SetElementToolTip(Ex_Element* element, const std::string* text) override;
  void FadeInTimerProc();
  LRESULT HandleMnemonic(std::uint32_t message, WPARAM character, LPARAM lparam);
  void HandleKeyDown(std::uint32_t message, WPARAM key, LPARAM lparam);
  void Detach();
  void HandleSize(WPARAM size_type, LPARAM lparam);
  int SetHotkey(Ex_Element* element, std::uint32_t character);
  void HandleMouse(std::uint32_t message, WPARAM wparam, LPARAM lparam);
  int HandleSizingBorder(std::uint32_t message, LPARAM lparam);

  // Binds the host to the window: 1 on success; 0, changing nothing, for a missing or dead
  // window or while the host is bound to a window already.
  int Attach(platform::os::Desktop& desktop, platform::os::Window window,
             const HostOptions& options = {});
  int DragMove(std::optional<int> value = std::nullopt);
  // Takes effect at the next background render.
  int FrameStyle(std::optional<int> value = std::nullopt);
  // Renders the background and composes every element; see kBackgroundPresent and the others
  // for `mode`. A picture that does not decode leaves the host without one.
  int SetBackground(std::optional<std::span<const std::uint8_t>> image_bytes = std::nullopt,
                    std::optional<std::int64_t> colour = std::nullopt,
                    int mode = kBackgroundPresent, bool prerender_off = false);
  void LayoutCaption();
  void SetShadowColour(std::int64_t colour);
  void SetFocusElement(Ex_Element* element, bool keyboard = false);
  // The whole window when no area is given.
  void Present(std::optional<RectF> area = std::nullopt);
  LRESULT Show(std::optional<int> effect = std::nullopt,
               std::optional<int> duration_ms = std::nullopt);
  void SetCloseEffect(int effect);
  void SetDefaultCursor(platform::os::CursorShape cursor);

  Routine SetPaintHandler(Routine routine);
  Routine SetMessageFilter(Routine routine);
  Routine SetSizeHandler(Routine routine);
  Routine SetMouseDownHandler(Routine routine);
  Routine SetMouseUpHandler(Routine routine);
  Routine SetClickHandler(Routine routine);
  Routine SetDoubleClickHandler(Routine routine);
  Routine SetRightDownHandler(Routine routine);
  Routine SetRightUpHandler(Routine routine);
  Routine SetMouseLeaveHandler(Routine routine);
  Routine SetMouseEnterHandler(Routine routine);
  Routine SetFocusHandler(Routine routine);
  Routine SetBlurHandler(Routine routine);

  // Whether the host has taken over a window procedure (Attach until Detach).
  bool attached() const { return subclassed_; }

 private:
  platform::os::Desktop& desktop() const { return *window.desktop; }
  platform::os::Window handle() const { return window.window; }
  // Hands the message to the window procedure the host took over.
  LRESULT PassOn(std::uint32_t message, WPARAM wparam, LPARAM lparam);

  // Attach's steps.
  void StoreOptions(const HostOptions& options);
  void StripFrame(const HostOptions& options);
  void CreateSurfaces();
  void CreateCaptionElements();
  void CreateToolTipWindow();

  // Background render steps.
  void TakeBackgroundPicture(std::optional<std::span<const std::uint8_t>> image_bytes,
                             std::optional<std::int64_t> colour);
  void DrawSkin();
  void DrawFramedBackground(int width, int height);
  void DrawFrameLines(int width, int height);
  void ShapeWindow(int width, int height);
  void StartFadeIn();
  const platform::gfx::Image* BackgroundPicture() const;

  // Message table rows that take more than a line.
  LRESULT OnActivate(WPARAM wparam, LPARAM lparam);
  LRESULT OnSetText(WPARAM wparam, LPARAM lparam);
  LRESULT OnSetCursor(WPARAM wparam, LPARAM lparam);
  LRESULT OnGetMinMaxInfo(LPARAM lparam);
  LRESULT OnMouseLeave(WPARAM wparam, LPARAM lparam);
  LRESULT OnTimer(WPARAM wparam, LPARAM lparam);
  LRESULT OnBoundsChanged(WPARAM wparam, LPARAM lparam);
  LRESULT OnInvalidate(WPARAM wparam, LPARAM lparam);
  LRESULT OnUpdateLayered(WPARAM wparam, LPARAM lparam);
  void PaintFromSurface();
  void PlayCloseEffect();
  // Whether the element is one of this host's, so a stray timer identifier reaches no one.
  Ex_Element* FindElement(WPARAM handle) const;

  // Mouse and keyboard input.
  // The topmost visible, enabled element under the point (window coordinates), the deepest
  // child first; null over bare background.
  Ex_Element* HitTest(int x, int y) const;
  void EnterElement(Ex_Element* element, Ex_Element* previous, WPARAM wparam, LPARAM lparam);
  void ToggleMaximise();
  // HandleMouse without the tooltip relay.
  void RouteMouse(std::uint32_t message, WPARAM wparam, LPARAM lparam);
  void HandleCapturedMouse(std::uint32_t message, WPARAM wparam, LPARAM lparam);
  void HandleLeftPress(Ex_Element* element, WPARAM wparam, LPARAM lparam);
  void PressElement(Ex_Element* element, WPARAM wparam, LPARAM lparam);
  void RelayToToolTip(std::uint32_t message, WPARAM wparam, LPARAM lparam);
  // Whether the edges size the window now: sizable, nothing pressed, not maximised.
  bool EdgesSize() const;
  // The sizing cursor when the pointer rests in an edge zone of the window.
  std::optional<platform::os::CursorShape> SizingCursorUnderPointer() const;
  void MoveFocusWithTab();
  void ClickFocusedElement();

  bool subclassed_ = false;
  // The lending host's picture when a skin source window provides one.
  const platform::gfx::Image* lent_image_ = nullptr;
};

// The host bound to the window, when it is an Ex_Host.
Ex_Host* GetHost(const HostWindow& window);

}  // namespace directui
