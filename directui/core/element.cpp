#include "directui/core/element.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>

#include "directui/core/element_delivery.h"
#include "directui/core/element_messages.h"
#include "directui/core/element_wait.h"
#include "directui/core/host_record.h"
#include "platform/gfx/quality_modes.h"

namespace directui {

namespace os = platform::os;
namespace gfx = platform::gfx;

namespace {

// Bounds closer than this are the same.
constexpr float kSameCoordinate = 1e-7f;

bool Same(float a, float b) {
  return std::fabs(a - b) <= kSameCoordinate;
}

}  // namespace

Ex_Element::Ex_Element() = default;

Ex_Element::~Ex_Element() {
  if (handle != nullptr) LeaveQuietly();
}

void Ex_Element::LeaveQuietly() {
  // Only while the window still names this host is the host record alive to be cleaned.
  if (host == nullptr || GetHostRecord(host_window) != host) return;
  host_window.desktop->kill_timer(host_window.window, HandleParam());
  host_window.desktop->kill_timer(host_window.window, HandleParam() + 1);
  for (Ex_Element* child = first_child; child != nullptr;) {
    Ex_Element* next = child->next_sibling;
    child->previous_sibling = child->next_sibling = nullptr;
    child->parent = nullptr;
    child = next;
  }
  first_child = last_child = nullptr;
  if (host->pressed_element == this) {
    host->pressed_element = nullptr;
    host->pressed_state = 0;
  }
  if (host->focused_element == this) host->focused_element = nullptr;
  if (host->hovered_element == this) host->hovered_element = nullptr;
  if (host->keyboard_focus_element == this) host->keyboard_focus_element = nullptr;
  Unlink();
}

Ex_Element* Ex_Element::InitElement(const ElementInit& init) {
  if (handle == this) return handle;
  // The parent is checked before anything is stored, so a refused creation leaves the
  // element as it was and a later one can still succeed.
  Ex_Element* parent_element = init.parent.element();
  HostWindow window = init.parent.window();
  if (parent_element != nullptr) {
    if (parent_element == this || parent_element->handle == nullptr) return nullptr;
    window = parent_element->host_window;
  }
  HostRecord* found = GetHostRecord(window);
  if (found == nullptr) return nullptr;
  if (parent_element != nullptr && parent_element->host != found) return nullptr;

  handle = this;
  host_window = window;
  bounds = init.bounds;
  focusable = init.focusable.value_or(1);
  cursor = init.cursor.value_or(os::CursorShape::none);
  tooltip_text.clear();
  parent = nullptr;
  alpha = 255;
  kind = init.kind;
  visible = init.visible;
  update_flag = 1;
  transition_step = 0;
  host = found;
  if (parent_element == nullptr) {
    AppendToList();
  } else {
    SetParent(parent_element);
  }
  MakeCanvas();
  transition_interval = init.transition_interval;
  transition_steps = init.transition_steps;
  transition_kind = init.transition_kind;
  const auto canvas_param = reinterpret_cast<WPARAM>(&canvas);
  const auto graphics_param = reinterpret_cast<LPARAM>(canvas_graphics.get());
  SendEvent(os::WM_CREATE, canvas_param, graphics_param);
  SendEvent(os::WM_PAINT, canvas_param, graphics_param);
  return handle;
}

void Ex_Element::MakeCanvas() {
  canvas_graphics.reset();
  canvas = gfx::Bitmap::create(static_cast<int>(bounds.width), static_cast<int>(bounds.height));
  canvas_graphics = std::make_unique<gfx::Graphics>(canvas);
  canvas_graphics->set_smoothing_mode(gfx::SmoothingMode::anti_alias);
  canvas_graphics->set_text_rendering_hint(gfx::TextRenderingHint::anti_alias_grid_fit);
}

Ex_Element* Ex_Element::GetHandle() const {
  return handle;
}
HostWindow Ex_Element::GetWindow() const {
  return host_window;
}
Ex_Element* Ex_Element::GetParent() const {
  return parent;
}

void Ex_Element::Destroy() {
  if (handle == nullptr || host == nullptr) return;
  visible = 0;
  Invalidate();
  for (Ex_Element* child = first_child; child != nullptr;) {
    Ex_Element* next = child->next_sibling;
    child->Destroy();
    child = next;
  }
  HandleMessage(this, os::WM_DESTROY, 0, 0);
  host_window.desktop->kill_timer(host_window.window, HandleParam() + 1);
  if (host->pressed_element == this) {
    host->pressed_element = nullptr;
    host->pressed_state = 0;
  }
  if (host->focused_element == this) host->focused_element = nullptr;
  if (host->hovered_element == this) host->hovered_element = nullptr;
  if (host->keyboard_focus_element == this) host->keyboard_focus_element = nullptr;
  Unlink();
  ClearFields();
}

void Ex_Element::ClearFields() {
  tooltip_text.clear();
  tag_text.clear();
  canvas_graphics.reset();
  canvas = {};
  snapshot.reset();
  event_table.Clear();
  host_window = {};
  handle = nullptr;
  parent = nullptr;
  visible = disabled = focusable = update_flag = 0;
  cursor = os::CursorShape::none;
  bounds = {};
  kind = 0;
  first_child = last_child = previous_sibling = next_sibling = nullptr;
  transition_step = 0;
  host = nullptr;
  alpha = 0;
  transition_interval = reserved = transition_steps = transition_kind = 0;
  previous_bounds = {};
}

RectF Ex_Element::SetRect(std::optional<RectF> new_bounds) {
  if (new_bounds) {
    Move({.x = new_bounds->x,
          .y = new_bounds->y,
          .width = new_bounds->width,
          .height = new_bounds->height});
  }
  return bounds;
}

int Ex_Element::SetVisible(std::optional<int> value) {
  if (value && *value != visible) {
    visible = *value;
    SendEvent(visible != 0 ? EXM_SHOW : EXM_HIDE, 0, 0);
    Invalidate();
  }
  return visible;
}

int Ex_Element::SetDisabled(std::optional<int> value) {
  if (value && *value != disabled) {
    disabled = *value;
    if (HasFocus() != 0) {
      if (host != nullptr) host->focused_element = nullptr;
      PostEvent(EXM_KILLFOCUS, 0, 0);
    }
    PostEvent(EXM_MOUSELEAVE, 0, 0);
    Invalidate();
  }
  return disabled;
}

int Ex_Element::SetFocusable(std::optional<int> value) {
  if (value) focusable = *value;
  return focusable;
}

int Ex_Element::HasFocus() {
  const LRESULT answer = SendEvent(EXM_QUERYFOCUS, 0, 0);
  if (answer != -1) return answer == 1 ? 1 : 0;
  return host != nullptr && handle != nullptr && host->focused_element == handle ? 1 : 0;
}

LRESULT Ex_Element::Repaint() {
  return SendEvent(os::WM_PAINT, 0, 0);
}

void Ex_Element::Invalidate() {
  if (!host_window) return;
  // The host reads the area when it gets to the message, maybe after a Move or Destroy has
  // changed the bounds; the message therefore carries its own copy, which the host frees.
  auto area = std::make_unique<RectF>(bounds);
  if (host_window.desktop->post_message(host_window.window, EXM_INVALIDATE, 1,
                                        reinterpret_cast<LPARAM>(area.get()))) {
    area.release();
  }
}

void Ex_Element::Move(const MoveArgs& args) {
  const float x = args.x.value_or(std::trunc(bounds.x));
  const float y = args.y.value_or(std::trunc(bounds.y));
  const float width = args.width.value_or(std::trunc(bounds.width));
  const float height = args.height.value_or(std::trunc(bounds.height));
  if (Same(x, bounds.x) && Same(y, bounds.y) && Same(width, bounds.width) &&
      Same(height, bounds.height)) {
    return;
  }
  previous_bounds = bounds;
  const bool resized = !Same(width, bounds.width) || !Same(height, bounds.height);
  const float dx = x - bounds.x;
  const float dy = y - bounds.y;
  bounds = {x, y, width, height};
  ShiftDescendants(dx, dy);
  if (resized) {
    MakeCanvas();
    SendEvent(EXM_SIZE, static_cast<WPARAM>(static_cast<int>(width)),
              static_cast<LPARAM>(static_cast<int>(height)));
    SendEvent(os::WM_PAINT, static_cast<WPARAM>(static_cast<int>(width)),
              static_cast<LPARAM>(static_cast<int>(height)));
  }
  NotifyBoundsChanged(args.redraw && visible != 0);
}

void Ex_Element::ShiftDescendants(float dx, float dy) {
  for (Ex_Element* child = first_child; child != nullptr; child = child->next_sibling) {
    child->bounds.x += dx;
    child->bounds.y += dy;
    child->ShiftDescendants(dx, dy);
  }
}

void Ex_Element::NotifyBoundsChanged(bool recompose) {
  if (!host_window) return;
  for (;;) {
    // A window that has gone, or lost this host, will never answer 1.
    if (GetHostRecord(host_window) != host) return;
    if (host_window.desktop->send_message(host_window.window, EXM_BOUNDSCHANGED, HandleParam(),
                                          recompose ? 1 : 0) == 1) {
      return;
    }
    if (!WaitWhileHostBusy(host_window)) return;
  }
}

std::string Ex_Element::SetToolTip(std::optional<std::string> text, bool apply) {
  if (text) {
    tooltip_text = std::move(*text);
    if (apply) ApplyToolTip(tooltip_text);
  }
  return tooltip_text;
}

void Ex_Element::ApplyToolTip(const std::string& text) {
  if (host != nullptr) host->SetElementToolTip(this, &text);
}

void Ex_Element::BindEvent(std::uint32_t code, Routine handler) {
  event_table.Bind(code, std::move(handler));
}

Ex_Element* Ex_Element::GetSelf() {
  return this;
}

int Ex_Element::SetAlpha(std::optional<int> value, bool redraw) {
  if (value) {
    alpha = std::clamp(*value, 0, 255);
    SendEvent(EXM_ALPHACHANGED, 0, alpha);
    if (redraw) Invalidate();
  }
  return alpha;
}

int Ex_Element::SetAnimation(std::optional<int> steps, std::optional<int> interval) {
  if (steps) transition_steps = *steps;
  if (interval) transition_interval = *interval;
  return transition_steps;
}

int Ex_Element::SetAnimationInterval(std::optional<int> interval) {
  if (interval) transition_interval = *interval;
  return transition_interval;
}

int Ex_Element::GetAnimationStep() const {
  return transition_step;
}

int Ex_Element::SetTransition(std::optional<int> value) {
  if (value) transition_kind = *value;
  return transition_kind;
}

os::CursorShape Ex_Element::SetCursor(std::optional<os::CursorShape> value) {
  if (value) cursor = *value;
  return cursor;
}

std::string Ex_Element::SetTag(std::optional<std::string> text) {
  if (text) tag_text = std::move(*text);
  return tag_text;
}

float Ex_Element::SetLeft(std::optional<float> x) {
  if (x && !Same(*x, bounds.x)) Move({.x = *x});
  return bounds.x;
}

float Ex_Element::SetTop(std::optional<float> y) {
  if (y && !Same(*y, bounds.y)) Move({.y = *y});
  return bounds.y;
}

float Ex_Element::SetWidth(std::optional<float> width) {
  if (width && !Same(*width, bounds.width)) Move({.width = *width});
  return bounds.width;
}

float Ex_Element::SetHeight(std::optional<float> height) {
  if (height && !Same(*height, bounds.height)) Move({.height = *height});
  return bounds.height;
}

void Ex_Element::SuspendUpdates() {
  update_flag = 0;
}
void Ex_Element::ResumeUpdates() {
  update_flag = 1;
}

void Ex_Element::OnPaintBegin(ElementPaintContext&) {}
void Ex_Element::OnPaintEnd(ElementPaintContext&) {}

}  // namespace directui
