#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "directui/core/call_routine.h"
#include "directui/core/event_table.h"
#include "directui/core/host_record.h"
#include "directui/core/host_window.h"
#include "directui/core/rect_f.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/graphics.h"
#include "platform/os/cursor_shape.h"
#include "platform/os/messages.h"

namespace directui {

using platform::os::LPARAM;
using platform::os::LRESULT;
using platform::os::WPARAM;

class Ex_Element;
struct ElementPaintContext;

// Where InitElement puts an element: a window a host is bound to (a root element) or a
// created element (a child).
class ElementParent {
 public:
  ElementParent(HostWindow window) : window_(window) {}
  ElementParent(Ex_Element* element) : element_(element) {}

  const HostWindow& window() const { return window_; }
  Ex_Element* element() const { return element_; }

 private:
  HostWindow window_{};
  Ex_Element* element_ = nullptr;
};

// What InitElement is given.
struct ElementInit {
  ElementParent parent;
  RectF bounds{};
  int kind = 0;
  int visible = 1;
  std::optional<int> focusable{};  // 1 when not given
  std::optional<platform::os::CursorShape> cursor{};
  int transition_interval = 0;  // ms per step; 0 = no transitions
  int transition_steps = 0;     // 0 = no transitions
  int transition_kind = 0;      // 0 cross-fade, 1..4 slides
};

// Move's arguments: a coordinate not given keeps the current one (truncated to whole pixels).
struct MoveArgs {
  std::optional<float> x{};
  std::optional<float> y{};
  std::optional<float> width{};
  std::optional<float> height{};
  bool redraw = true;
};

// The base of every windowless control. An element lives in the host bound to a top-level
// window, keeps its bounds in window coordinates, paints into its own canvas and lets the host
// compose that canvas onto the window. Its handle is its address; messages and host lists
// carry it. Every message reaches the element through DispatchElementMessage: the class's
// HandleMessage first, then the user handler bound to the code.
//
// All element state belongs to the thread that owns the host window; other threads reach it
// through SendEvent and PostEvent, which run the class handler on that thread.
//
// Classes derive from it, keep the operations below in their order and add HandleMessage as
// their first operation; it answers -1 for what it does not handle.
class Ex_Element {
 public:
  Ex_Element();
  // A created element that is released without Destroy leaves its lists and its host's
  // references, so nothing keeps pointing at it; its children become unlinked.
  virtual ~Ex_Element();
  Ex_Element(const Ex_Element&) = delete;
  Ex_Element& operator=(const Ex_Element&) = delete;

  // Base creation, called by every class's Create. Returns the handle, or null when the
  // parent is neither a window with a host nor a created element of the host bound to its
  // window (nothing is then linked or made). A second creation changes nothing.
  virtual Ex_Element* InitElement(const ElementInit& init);
  virtual Ex_Element* GetHandle() const;
  virtual HostWindow GetWindow() const;
  // The parent element; null for a root element.
  virtual Ex_Element* GetParent() const;
  // Re-links the element at the end of the new parent's children (null: the host's roots).
  virtual void SetParent(Ex_Element* parent);
  // Hides, destroys the children, sends the class WM_DESTROY, unlinks and releases everything:
  // the element is back to not created and may be created again.
  virtual void Destroy();
  // Moves to all four values when given; answers a copy of the bounds.
  virtual RectF SetRect(std::optional<RectF> bounds = std::nullopt);
  virtual int SetVisible(std::optional<int> visible = std::nullopt);
  virtual int SetDisabled(std::optional<int> disabled = std::nullopt);
  virtual int SetFocusable(std::optional<int> focusable = std::nullopt);
  virtual int HasFocus();
  // Sends WM_PAINT (0, 0) to itself.
  virtual LRESULT Repaint();
  // Asks the host to recompose the element's area (posted).
  virtual void Invalidate();
  virtual void Move(const MoveArgs& args);
  // Stores the text when given, and applies it to the tooltip when `apply` is set.
  virtual std::string SetToolTip(std::optional<std::string> text = std::nullopt,
                                 bool apply = false);
  virtual void ApplyToolTip(const std::string& text);
  virtual void BindEvent(std::uint32_t code, Routine handler);
  virtual Ex_Element* GetSelf();
  virtual int SetAlpha(std::optional<int> alpha = std::nullopt, bool redraw = true);
  // Stores the step count and, when given, the interval; answers the step count.
  virtual int SetAnimation(std::optional<int> steps = std::nullopt,
                           std::optional<int> interval = std::nullopt);
  virtual int SetAnimationInterval(std::optional<int> interval = std::nullopt);
  virtual int GetAnimationStep() const;
  virtual int SetTransition(std::optional<int> kind = std::nullopt);
  // Delivers the message through the host window: the class handler runs on the window's
  // thread, the caller waiting for its answer.
  virtual LRESULT SendEvent(std::uint32_t message, WPARAM wparam, LPARAM lparam);
  // The same, queued; whether the post succeeded.
  virtual bool PostEvent(std::uint32_t message, WPARAM wparam, LPARAM lparam);
  virtual platform::os::CursorShape SetCursor(
      std::optional<platform::os::CursorShape> cursor = std::nullopt);
  virtual std::string SetTag(std::optional<std::string> text = std::nullopt);
  // Each moves along one coordinate when given and different by more than 1e-7.
  virtual float SetLeft(std::optional<float> x = std::nullopt);
  virtual float SetTop(std::optional<float> y = std::nullopt);
  virtual float SetWidth(std::optional<float> width = std::nullopt);
  virtual float SetHeight(std::optional<float> height = std::nullopt);
  // Position 2 puts the element at the bottom of its list (painted first), any other value on
  // top (painted last).
  virtual void SetZOrder(int position = 1, bool redraw = true);
  // Takes the element out of the list it is in.
  virtual void Unlink();
  virtual void SuspendUpdates();
  virtual void ResumeUpdates();
  // The transition timer routine (timer id: handle + 1).
  virtual void AnimationTimerProc(platform::os::Window window, std::uint32_t message,
                                  std::uintptr_t timer_id, std::uint32_t time);
  // Hooks at the end of BeginElementPaint and the start of EndElementPaint.
  virtual void OnPaintBegin(ElementPaintContext& context);
  virtual void OnPaintEnd(ElementPaintContext& context);

  // The class's message handler; `element` is the element concerned (this one).
  virtual LRESULT HandleMessage(Ex_Element* element, std::uint32_t message, WPARAM wparam,
                                LPARAM lparam) = 0;

  // The handle as message parameters carry it.
  WPARAM HandleParam() const { return reinterpret_cast<WPARAM>(handle); }
  bool IsRoot() const { return parent == nullptr; }

  // --- fields -------------------------------------------------------------------------------
  HostWindow host_window{};
  Ex_Element* handle = nullptr;  // null until InitElement has run
  Ex_Element* parent = nullptr;  // null for a root element
  int visible = 0;
  int disabled = 0;
  int focusable = 0;
  int update_flag = 0;  // 1: a finished paint is pushed to the host; 0: it stays in the canvas
  platform::os::CursorShape cursor = platform::os::CursorShape::none;  // none: the host's
  EventTable event_table{};
  RectF bounds{};  // window coordinates; updated in place, so its address stays valid
  std::string tooltip_text{};
  std::string tag_text{};
  int kind = 0;
  Ex_Element* first_child = nullptr;
  Ex_Element* last_child = nullptr;
  Ex_Element* previous_sibling = nullptr;
  Ex_Element* next_sibling = nullptr;
  int transition_step = 0;
  platform::gfx::Bitmap canvas{};
  std::unique_ptr<platform::gfx::Graphics> canvas_graphics{};
  HostRecord* host = nullptr;
  int alpha = 0;
  // The canvas as it was before the paint that started a transition.
  std::optional<platform::gfx::Bitmap> snapshot{};
  int transition_interval = 0;
  int reserved = 0;
  RectF previous_bounds{};
  int transition_steps = 0;
  int transition_kind = 0;

 private:
  void MakeCanvas();
  void ClearFields();
  void ShiftDescendants(float dx, float dy);
  void NotifyBoundsChanged(bool recompose);
  void LeaveQuietly();
  // The ends of the list the element belongs to; null when there is none (no host).
  Ex_Element** ListHead();
  Ex_Element** ListTail();
  void AppendToList();
  void PrependToList();
};

// The element's timer: WM_TIMER messages with the element's handle as identifier, which the
// host routes to the element. KillTimer with the same handle stops it.
void SetElementTimer(const HostWindow& window, Ex_Element* element, std::uint32_t interval_ms);

}  // namespace directui
