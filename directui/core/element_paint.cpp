#include "directui/core/element_paint.h"

#include "directui/core/compose.h"
#include "directui/core/element_delivery.h"
#include "directui/core/element_messages.h"

namespace directui {

namespace gfx = platform::gfx;

namespace {

gfx::Rect WholePixels(const RectF& r) {
  const int left = static_cast<int>(r.x);
  const int top = static_cast<int>(r.y);
  return {left, top, left + static_cast<int>(r.width), top + static_cast<int>(r.height)};
}

bool HasTransitions(const Ex_Element& element) {
  return element.transition_steps != 0 && element.transition_interval != 0;
}

// The old picture a transition moves away from. A transition still running is finished
// first, so the snapshot is what the window shows at its end.
void TakeSnapshot(Ex_Element& element, const RectF& rect) {
  HostRecord& host = *element.host;
  element.host_window.desktop->kill_timer(element.host_window.window, element.HandleParam() + 1);
  element.transition_step = element.transition_steps;
  ComposeArea(&host, element.bounds, host.offscreen_graphics.get(), true);
  gfx::Bitmap copy = element.canvas.clone_area(WholePixels(rect));
  if (!copy.empty()) element.snapshot = std::move(copy);
}

}  // namespace

bool BeginElementPaint(Ex_Element* element, ElementPaintContext& context, std::optional<RectF> rect,
                       bool update) {
  if (element == nullptr || !element->host_window || element->host == nullptr) return false;
  const RectF area = rect.value_or(RectF{0, 0, element->bounds.width, element->bounds.height});
  HostRecord* host = element->host;
  context = {.window = element->host_window,
             .graphics = element->canvas_graphics.get(),
             .rect = area,
             .update = update,
             .host = host,
             .offscreen = &host->offscreen,
             .offscreen_graphics = host->offscreen_graphics.get(),
             .canvas = &element->canvas};
  if (update) {
    element->snapshot.reset();
    if (host->busy == 0 && HasTransitions(*element)) TakeSnapshot(*element, area);
  }
  // A paint that is not pushed still starts from a clear rectangle.
  if (gfx::Graphics* graphics = element->canvas_graphics.get()) {
    graphics->set_clip(area, gfx::CombineMode::replace);
    graphics->clear(0);
    graphics->reset_clip();
  }
  element->OnPaintBegin(context);
  return true;
}

void EndElementPaint(Ex_Element* element, ElementPaintContext& context) {
  if (element == nullptr) return;
  element->OnPaintEnd(context);
  if (!context.update || element->update_flag == 0 || element->visible == 0) return;
  if (!element->host_window) return;
  platform::os::Desktop& desktop = *element->host_window.desktop;
  if (!HasTransitions(*element)) {
    desktop.send_message(element->host_window.window, EXM_INVALIDATE, 0,
                         reinterpret_cast<LPARAM>(&element->bounds));
    return;
  }
  element->transition_step = 0;
  DispatchElementMessage(element, EXM_TRANSITIONSTART, 0, 0);
  desktop.set_timer(
      element->host_window.window, element->HandleParam() + 1,
      static_cast<std::uint32_t>(element->transition_interval),
      [element](platform::os::Window window, std::uint32_t message, std::uintptr_t id,
                std::uint32_t time) { element->AnimationTimerProc(window, message, id, time); });
}

}  // namespace directui
