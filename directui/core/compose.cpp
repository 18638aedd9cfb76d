#include "directui/core/compose.h"

#include <optional>

#include "directui/core/element_delivery.h"
#include "directui/core/element_messages.h"
#include "directui/core/image_alpha.h"
#include "directui/core/scratch_surface.h"
#include "directui/core/transition_frames.h"
#include "platform/gfx/surface_ops.h"
#include "platform/os/pixel_view.h"

namespace directui {

namespace gfx = platform::gfx;
namespace os = platform::os;

namespace {

constexpr float kOverlapMargin = 1e-7f;

gfx::Rect WholePixels(const RectF& r) {
  const int left = static_cast<int>(r.x);
  const int top = static_cast<int>(r.y);
  return {left, top, left + static_cast<int>(r.width), top + static_cast<int>(r.height)};
}

os::PixelView ViewOf(const gfx::Bitmap& bitmap) {
  if (bitmap.empty()) return {};
  return {bitmap.pixels(), bitmap.width(), bitmap.height(), bitmap.stride()};
}

TransitionFrame FrameFor(HostRecord* host, const Ex_Element& element, gfx::Graphics& graphics) {
  ScratchSurface& scratch = SharedScratchSurface();
  TransitionFrame frame;
  frame.clip_bounds = graphics.visible_clip_bounds();
  frame.block = {.offscreen = host != nullptr ? &host->offscreen : nullptr,
                 .offscreen_graphics = &graphics,
                 .scratch = scratch.bitmap.empty() ? nullptr : &scratch.bitmap,
                 .scratch_graphics = scratch.graphics.get(),
                 .canvas = &element.canvas,
                 .snapshot = element.snapshot ? &*element.snapshot : nullptr,
                 .bounds = element.bounds,
                 .clip_x = frame.clip_bounds.x,
                 .clip_y = frame.clip_bounds.y};
  frame.step = element.transition_step;
  frame.steps = element.transition_steps;
  return frame;
}

void DrawDisabled(Ex_Element* element, gfx::Graphics& graphics) {
  int alpha = element->alpha;
  if (DispatchElementMessage(element, EXM_QUERYDISABLEDALPHA, 0, 1) == -1) {
    alpha = static_cast<int>(alpha * 0.5);
  }
  DrawImageAlpha(graphics, &element->canvas, element->bounds, alpha);
}

void DrawInTransition(HostRecord* host, Ex_Element* element, gfx::Graphics& graphics) {
  TransitionFrame frame = FrameFor(host, *element, graphics);
  const LRESULT drawn = DispatchElementMessage(element, EXM_DRAWTRANSITION, 0,
                                               reinterpret_cast<LPARAM>(&frame.block));
  if (drawn < 1) DrawDefaultTransitionFrame(frame, element->transition_kind, element->alpha);
}

void ComposeChildren(HostRecord* host, Ex_Element* element, const RectF& area,
                     gfx::Graphics& graphics) {
  // The clip is put back exactly as it was, so a shaped window stays shaped for the siblings
  // composed after this element.
  const std::optional<gfx::Region> saved = graphics.clip();
  graphics.set_clip(element->bounds, gfx::CombineMode::intersect);
  ComposeElements(host, element->first_child, area, graphics);
  if (saved) {
    graphics.set_clip(*saved, gfx::CombineMode::replace);
  } else {
    graphics.reset_clip();
  }
}

}  // namespace

bool RectsOverlap(const RectF& area, const RectF& bounds) {
  return bounds.x + bounds.width - area.x > kOverlapMargin &&
         area.x + area.width - bounds.x > kOverlapMargin &&
         area.y + area.height - bounds.y > kOverlapMargin &&
         bounds.y + bounds.height - area.y > kOverlapMargin;
}

bool InTransition(const Ex_Element& element) {
  // Without a snapshot there is no old picture to move away from: the canvas is shown.
  return element.transition_interval != 0 && element.transition_steps != 0 &&
         element.transition_step != element.transition_steps && element.snapshot.has_value();
}

void ComposeElements(HostRecord* host, Ex_Element* first, const RectF& area,
                     gfx::Graphics& graphics) {
  for (Ex_Element* element = first; element != nullptr; element = element->next_sibling) {
    if (element->visible == 0 || !RectsOverlap(area, element->bounds)) continue;
    if (element->disabled != 0) {
      DrawDisabled(element, graphics);
    } else if (!InTransition(*element)) {
      DrawImageAlpha(graphics, &element->canvas, element->bounds, element->alpha);
    } else {
      DrawInTransition(host, element, graphics);
    }
    if (element->first_child != nullptr) ComposeChildren(host, element, area, graphics);
  }
}

void ComposeArea(HostRecord* host, const RectF& area, gfx::Graphics* graphics, bool present) {
  if (host == nullptr || host->busy != 0) return;
  if (graphics == nullptr) graphics = host->offscreen_graphics.get();
  if (graphics == nullptr || host->offscreen.empty()) return;
  if (host->clip_region) graphics->set_clip(*host->clip_region, gfx::CombineMode::replace);
  graphics->set_clip(area, gfx::CombineMode::intersect);
  const gfx::Rect pixels = WholePixels(area);
  gfx::CopyArea(host->offscreen, pixels.left, pixels.top, host->background, pixels);
  ComposeElements(host, host->first_root, area, *graphics);
  graphics->reset_clip();
  if (present) PresentArea(host, area);
}

void PresentArea(HostRecord* host, const RectF& area) {
  if (host == nullptr || host->busy != 0 || !host->window) return;
  os::Desktop& desktop = *host->window.desktop;
  const os::PixelView pixels = ViewOf(host->offscreen);
  if (pixels.empty()) return;
  if (!host->layered()) {
    const gfx::Rect r = WholePixels(area);
    desktop.present(host->window.window, pixels, os::Rect{r.left, r.top, r.right, r.bottom});
    return;
  }
  desktop.update_layered_window(host->window.window, pixels, std::nullopt, 255);
}

}  // namespace directui
