#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "directui/core/call_routine.h"
#include "directui/core/caption_flags.h"
#include "directui/core/host_window.h"
#include "directui/core/image_bytes.h"
#include "directui/core/rect_f.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/graphics.h"
#include "platform/gfx/region.h"
#include "platform/os/cursor_shape.h"
#include "platform/os/geometry.h"
#include "platform/os/window_class.h"

namespace directui {

class Ex_Element;

// The redraw queue's data: invalidated areas waiting to be composed one by one.
struct RedrawQueueRecord {
  HostWindow window{};
  std::intptr_t host = 0;
  platform::gfx::Graphics* graphics = nullptr;
  std::vector<RectF> pending{};
  int busy = 0;  // 1 while the queue is being flushed
};

// What the host keeps between tooltip messages; one tool serves the whole window.
struct ToolTipRecord {
  platform::os::Window window{};
  platform::os::Rect rect{};  // the hovered element's bounds in whole pixels
  std::string text{};         // code page 936
};

// A mnemonic: the element it clicks and its character code.
struct HotkeyEntry {
  Ex_Element* element = nullptr;
  std::uint32_t character = 0;
};

// The data of one host: the window it is bound to, its surfaces, element lists, interaction
// state, options and notification routines. Elements and composition read and write these
// fields directly, so their meaning is the contract between host and elements. The host class
// derives from this record; its self handle (and the value of the window property
// "Ex_Wnd_Control") is the record's address.
//
// Everything here belongs to the thread that owns the window; nothing is locked.
struct HostRecord {
  HostRecord();
  HostRecord(const HostRecord&) = delete;
  HostRecord& operator=(const HostRecord&) = delete;
  virtual ~HostRecord();

  // Points the window's single tooltip at the element; a null text means the element's own
  // tooltip text. The host class supplies it; a bare record has no tooltip window.
  virtual void SetElementToolTip(Ex_Element* element, const std::string* text);

  HostWindow window{};
  std::intptr_t self_handle = 0;
  platform::os::WindowProc previous_window_proc{};
  Ex_Element* focused_element = nullptr;
  Ex_Element* hovered_element = nullptr;
  Ex_Element* pressed_element = nullptr;  // took the last left press and holds the capture
  int pressed_state = 0;
  // Set while the host attaches, detaches, renders its background, plays an effect or fades
  // in: composition and presentation do nothing then.
  int busy = 0;

  // The off-screen surface: composition target, presented to the window.
  platform::gfx::Bitmap offscreen{};
  std::unique_ptr<platform::gfx::Graphics> offscreen_graphics{};
  // The rendered background every area recomposition starts from; the off-screen size.
  platform::gfx::Bitmap background{};
  platform::os::Window skin_source_window{};  // lends its host's background image and colour
  ImagePtr background_image{};
  std::uint32_t background_colour = 0;  // red in the lowest byte

  Ex_Element* first_root = nullptr;
  Ex_Element* last_root = nullptr;
  std::uint32_t caption_flags = 0;
  platform::os::Window tooltip_window{};
  int frame_style = 7;    // 0 square corners, 1 skin image only, others rounded
  int window_alpha = -1;  // -1 not layered; 0..255 layered, background drawn at this alpha
  int image_mode = 0;     // 0 natural size, 1 stretched, 2 centred
  std::int64_t shadow_colour = -1;  // -1 black
  int sizable = 0;
  int drag_move = 1;
  int edge_blend = 1;
  int close_effect = 0;
  platform::os::Size size{};
  std::optional<platform::gfx::Region> clip_region{};  // the window's visible shape
  Ex_Element* keyboard_focus_element = nullptr;        // focus that came from Tab
  int blur_behind = 0;
  platform::os::CursorShape default_cursor = platform::os::CursorShape::none;
  platform::os::Rect nine_grid_centre{};

  platform::gfx::Bitmap fade{};  // the previous picture during a fade-in
  int fade_alpha = 0;
  int mouse_tracking = 0;
  std::vector<HotkeyEntry> hotkeys{};
  std::vector<std::unique_ptr<Ex_Element>> caption_buttons{};
  std::unique_ptr<Ex_Element> icon_picture{};
  std::unique_ptr<Ex_Element> title_label{};
  RedrawQueueRecord redraw_queue{};
  ToolTipRecord tooltip{};

  Routine paint_routine{};
  Routine message_filter{};
  Routine mouse_down_routine{};
  Routine mouse_up_routine{};
  Routine click_routine{};
  Routine double_click_routine{};
  Routine right_down_routine{};
  Routine right_up_routine{};
  Routine mouse_enter_routine{};
  Routine mouse_leave_routine{};
  Routine focus_routine{};
  Routine blur_routine{};
  Routine size_routine{};

  bool layered() const { return window_alpha != -1; }
};

// The host bound to the window; null when none is (or the window is gone).
HostRecord* GetHostRecord(const HostWindow& window);

}  // namespace directui
