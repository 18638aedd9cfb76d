#include <array>
#include <memory>

#include "directui/core/ansi_text.h"
#include "directui/core/caption_elements.h"
#include "directui/core/compose.h"
#include "directui/core/element_delivery.h"
#include "directui/core/element_messages.h"
#include "directui/core/framework_globals.h"
#include "directui/core/host.h"
#include "directui/core/host_surfaces.h"
#include "directui/core/redraw_queue.h"
#include "directui/core/scratch_surface.h"
#include "directui/core/tooltip_window.h"
#include "directui/core/window_host_lookup.h"
#include "directui/core/window_icons.h"

namespace directui {

namespace os = platform::os;

namespace {

// Caption buttons from the right edge leftwards.
constexpr std::array<std::uint32_t, 7> kCaptionButtonOrder{
    CF_CLOSE, CF_MAXIMIZE, CF_MINIMIZE, CF_DROPDOWN, CF_SKIN, CF_MESSAGE, CF_SETTINGS};
constexpr std::size_t kMaxTitleLength = 512;

std::uint32_t CaptionFlagsFor(std::optional<std::uint32_t> given, std::uint32_t style) {
  std::uint32_t flags = given.value_or(0);
  if (!given || (flags & CF_AUTO) != 0) {
    flags |= CF_ICON | CF_TITLE | CF_CLOSE;
    if ((style & os::WS_MAXIMIZEBOX) != 0) flags |= CF_MAXIMIZE;
    if ((style & os::WS_MINIMIZEBOX) != 0) flags |= CF_MINIMIZE;
  }
  return flags | CF_SHADOW;
}

}  // namespace

Ex_Host::~Ex_Host() {
  // The window must not call into a host that is gone.
  if (subclassed_ && desktop().is_window(handle())) Detach();
}

int Ex_Host::Attach(os::Desktop& on, os::Window target, const HostOptions& options) {
  if (!target || !on.is_window(target) || subclassed_) return 0;
  // A second host on the same window would chain two takeovers and orphan the first.
  if (GetWindowHost(on, target) != 0) return 0;
  window = {&on, target};
  StoreOptions(options);
  StripFrame(options);
  const os::Rect bounds = on.window_rect(target);
  size = {bounds.right - bounds.left, bounds.bottom - bounds.top};
  CreateSurfaces();
  EnsureScratchSurface(size.width, size.height);
  if (layered()) on.set_ex_style(target, on.ex_style(target) | os::WS_EX_LAYERED);
  Ex_RedrawQueue(redraw_queue).Init(window, self_handle, offscreen_graphics.get());
  previous_window_proc = on.set_window_proc(
      target, [this](os::Window, std::uint32_t message, WPARAM wparam, LPARAM lparam) {
        return WindowProc(message, wparam, lparam);
      });
  subclassed_ = true;
  busy = 1;
  if (caption_flags != 0) CreateCaptionElements();
  busy = 0;
  if (options.background_image) {
    SetBackground(std::span<const std::uint8_t>(*options.background_image),
                  options.background_colour, kBackgroundQuiet);
  } else {
    SetBackground(std::nullopt, options.background_colour, kBackgroundQuiet);
  }
  if (layered()) PresentArea(this, MakeRectF(0, 0, size.width, size.height));
  CreateToolTipWindow();
  if (sizable != 0) on.set_style(target, on.style(target) | os::WS_THICKFRAME);
  return 1;
}

void Ex_Host::StoreOptions(const HostOptions& options) {
  window_alpha = options.window_alpha.value_or(-1);
  image_mode = options.image_mode.value_or(0);
  edge_blend = options.edge_blend.value_or(1);
  frame_style = options.frame_style.value_or(7);
  sizable = options.sizable.value_or((desktop().style(handle()) & os::WS_THICKFRAME) != 0 ? 1 : 0);
  drag_move = options.drag_move.value_or(1);
  blur_behind = window_alpha == -1 ? 0 : options.blur_behind.value_or(0);
  if (OsMajorVersion == 6 && !options.blur_behind) blur_behind = 1;
  if (options.skin_source_window) skin_source_window = *options.skin_source_window;
  nine_grid_centre = options.nine_grid_centre.value_or(os::Rect{});
}

void Ex_Host::StripFrame(const HostOptions& options) {
  std::uint32_t style = desktop().style(handle());
  if (options.caption_flags != std::optional<std::uint32_t>(0)) style |= os::WS_SYSMENU;
  caption_flags = CaptionFlagsFor(options.caption_flags, style);
  style |= os::WS_POPUP;
  self_handle = reinterpret_cast<std::intptr_t>(static_cast<HostRecord*>(this));
  desktop().set_prop(handle(), kWindowHostProperty, self_handle);
  default_cursor = DefaultCursor;
  style &= ~(os::WS_THICKFRAME | os::WS_DLGFRAME | os::WS_BORDER);
  if ((caption_flags & CF_MINIMIZE) == 0) style &= ~os::WS_MINIMIZEBOX;
  if ((caption_flags & CF_MAXIMIZE) == 0) style &= ~os::WS_MAXIMIZEBOX;
  desktop().set_style(handle(), style);
  DragMove(drag_move);
}

void Ex_Host::CreateSurfaces() {
  CreateSurface(offscreen, &offscreen_graphics, size.width, size.height);
  CreateSurface(background, nullptr, size.width, size.height);
  Ex_RedrawQueue(redraw_queue).Init(window, self_handle, offscreen_graphics.get());
}

void Ex_Host::CreateCaptionElements() {
  const CaptionElementClasses& classes = CaptionElementRegistry();
  if ((caption_flags & CF_ICON) != 0 && classes.icon) {
    icon_picture =
        classes.icon(window, MakeRectF(11, 11, 16, 16), GetWindowIcon(desktop(), handle(), false));
    if (icon_picture) icon_picture->SetFocusable(0);
  }
  if ((caption_flags & CF_TITLE) != 0 && classes.title) {
    std::u16string text = desktop().window_text(handle());
    if (text.size() > kMaxTitleLength) text.resize(kMaxTitleLength);
    title_label = classes.title(window, MakeRectF(0, 9, 0, 18), WideToAnsi(text));
  }
  caption_buttons.clear();
  if (!classes.button) return;
  int x = size.width - 12;
  for (const std::uint32_t code : kCaptionButtonOrder) {
    if ((caption_flags & code) == 0) continue;
    const int button_width = code == CF_CLOSE ? 39 : 28;
    x -= button_width;
    std::unique_ptr<Ex_Element> button =
        classes.button(window, MakeRectF(x, 7, button_width, 19), code);
    if (button) caption_buttons.push_back(std::move(button));
  }
}

void Ex_Host::CreateToolTipWindow() {
  tooltip_window = CreateToolTip(desktop());
  tooltip = {.window = handle(), .rect = {}, .text = {}};
  desktop().send_message(tooltip_window, TTM_SETMAXTIPWIDTH, 0, 1024);
}

void Ex_Host::Detach() {
  if (!subclassed_) return;
  busy = 1;
  desktop().set_window_proc(handle(), previous_window_proc);
  Ex_RedrawQueue(redraw_queue).Clear();
  for (Ex_Element* element = first_root; element != nullptr;) {
    Ex_Element* next = element->next_sibling;
    element->Destroy();
    element = next;
  }
  // Destroyed elements post their last areas with copies the host would free; nothing will
  // compose them now, so they are taken off the queue here.
  os::Message pending;
  while (desktop().peek_message(pending, handle(), EXM_INVALIDATE, EXM_INVALIDATE, os::PM_REMOVE)) {
    TakeInvalidatedArea(pending.wparam, pending.lparam);
  }
  clip_region.reset();
  background_image.reset();
  lent_image_ = nullptr;
  desktop().destroy_window(tooltip_window);
  tooltip_window = {};
  if (pressed_state != 0 || mouse_tracking != 0) {
    pressed_state = 0;
    mouse_tracking = 0;
    desktop().release_capture();
  }
  pressed_element = focused_element = hovered_element = keyboard_focus_element = nullptr;
  first_root = last_root = nullptr;
  caption_flags = 0;
  offscreen_graphics.reset();
  offscreen = {};
  background = {};
  fade = {};
  desktop().kill_timer(handle(), static_cast<std::uintptr_t>(self_handle));
  hotkeys.clear();
  caption_buttons.clear();
  icon_picture.reset();
  title_label.reset();
  desktop().remove_prop(handle(), kWindowHostProperty);
  subclassed_ = false;
  busy = 0;
}

void Ex_Host::LayoutCaption() {
  if (caption_flags == 0) return;
  // During a render the host is busy and would refuse the recomposition a move asks for,
  // so the element would wait for it for ever; the render composes everything afterwards.
  const bool redraw = busy == 0;
  int x = size.width - 5;
  if ((caption_flags & CF_CLOSE) != 0) x -= 12;
  for (const std::unique_ptr<Ex_Element>& button : caption_buttons) {
    x -= 28;
    button->Move({.x = static_cast<float>(x), .y = 7.0f, .redraw = redraw});
  }
  if ((caption_flags & CF_TITLE) != 0 && title_label) {
    const int left = (caption_flags & CF_ICON) != 0 ? 28 : 11;
    title_label->Move({.x = static_cast<float>(left),
                       .y = 10.0f,
                       .width = static_cast<float>(x - left),
                       .height = 20.0f,
                       .redraw = redraw});
  }
}

int Ex_Host::DragMove(std::optional<int> value) {
  if (value) drag_move = *value;
  return drag_move;
}

int Ex_Host::FrameStyle(std::optional<int> value) {
  if (value) frame_style = *value;
  return frame_style;
}

void Ex_Host::SetShadowColour(std::int64_t colour) {
  shadow_colour = colour;
}

void Ex_Host::SetCloseEffect(int effect) {
  close_effect = effect;
}

void Ex_Host::SetDefaultCursor(os::CursorShape cursor) {
  default_cursor = cursor;
}

void Ex_Host::Present(std::optional<RectF> area) {
  PresentArea(this, area.value_or(MakeRectF(0, 0, size.width, size.height)));
}

void Ex_Host::QueueRedraw(const RectF& area, int mode) {
  Ex_RedrawQueue(redraw_queue).Add(area, mode);
}

namespace {

Routine Exchange(Routine& slot, Routine routine) {
  slot = std::move(routine);
  return slot;
}

}  // namespace

Routine Ex_Host::SetPaintHandler(Routine r) {
  return Exchange(paint_routine, std::move(r));
}
Routine Ex_Host::SetMessageFilter(Routine r) {
  return Exchange(message_filter, std::move(r));
}
Routine Ex_Host::SetSizeHandler(Routine r) {
  return Exchange(size_routine, std::move(r));
}
Routine Ex_Host::SetMouseDownHandler(Routine r) {
  return Exchange(mouse_down_routine, std::move(r));
}
Routine Ex_Host::SetMouseUpHandler(Routine r) {
  return Exchange(mouse_up_routine, std::move(r));
}
Routine Ex_Host::SetClickHandler(Routine r) {
  return Exchange(click_routine, std::move(r));
}
Routine Ex_Host::SetDoubleClickHandler(Routine r) {
  return Exchange(double_click_routine, std::move(r));
}
Routine Ex_Host::SetRightDownHandler(Routine r) {
  return Exchange(right_down_routine, std::move(r));
}
Routine Ex_Host::SetRightUpHandler(Routine r) {
  return Exchange(right_up_routine, std::move(r));
}
Routine Ex_Host::SetMouseLeaveHandler(Routine r) {
  return Exchange(mouse_leave_routine, std::move(r));
}
Routine Ex_Host::SetMouseEnterHandler(Routine r) {
  return Exchange(mouse_enter_routine, std::move(r));
}
Routine Ex_Host::SetFocusHandler(Routine r) {
  return Exchange(focus_routine, std::move(r));
}
Routine Ex_Host::SetBlurHandler(Routine r) {
  return Exchange(blur_routine, std::move(r));
}

Ex_Host* GetHost(const HostWindow& window) {
  return dynamic_cast<Ex_Host*>(GetHostRecord(window));
}

}  // namespace directui
