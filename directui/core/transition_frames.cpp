#include "directui/core/transition_frames.h"

#include <cmath>
#include <cstdint>

#include "directui/core/image_alpha.h"
#include "platform/gfx/surface_ops.h"

namespace directui {

namespace gfx = platform::gfx;

namespace {

gfx::Rect WholePixels(const RectF& r) {
  const int left = static_cast<int>(r.x);
  const int top = static_cast<int>(r.y);
  return {left, top, left + static_cast<int>(r.width), top + static_cast<int>(r.height)};
}

void CrossFade(const TransitionFrame& frame, int alpha) {
  const TransitionFrameBlock& b = frame.block;
  if (b.offscreen == nullptr || b.offscreen_graphics == nullptr || b.scratch == nullptr ||
      b.scratch_graphics == nullptr) {
    return;
  }
  const gfx::Rect clip = WholePixels(frame.clip_bounds);
  gfx::CopyArea(*b.scratch, clip.left, clip.top, *b.offscreen, clip);
  DrawImageAlpha(*b.offscreen_graphics, b.snapshot, b.bounds, alpha);
  DrawImageAlpha(*b.scratch_graphics, b.canvas, b.bounds, alpha);
  const auto constant = static_cast<std::uint8_t>(alpha * frame.step / frame.steps);
  gfx::AlphaBlendArea(*b.offscreen, clip.left, clip.top, *b.scratch, clip, constant,
                      gfx::SourceAlpha::ignored);
}

// A slide along (sx, sy), each -1, 0 or 1: the snapshot moved on by `offset`, the canvas one
// picture behind it, so it takes the snapshot's place at the end.
void Slide(const TransitionFrame& frame, int sx, int sy, float offset) {
  const TransitionFrameBlock& b = frame.block;
  if (b.offscreen_graphics == nullptr) return;
  const RectF& r = b.bounds;
  const RectF old_place{r.x + sx * offset, r.y + sy * offset, r.width, r.height};
  const RectF new_place{old_place.x - sx * r.width, old_place.y - sy * r.height, r.width, r.height};
  DrawImageAt(*b.offscreen_graphics, b.snapshot, old_place, true);
  DrawImageAt(*b.offscreen_graphics, b.canvas, new_place, true);
}

}  // namespace

void DrawDefaultTransitionFrame(const TransitionFrame& frame, int kind, int alpha) {
  if (frame.steps <= 0) return;
  const RectF& r = frame.block.bounds;
  const auto vertical = static_cast<float>(frame.step * static_cast<int>(r.height / frame.steps));
  const auto horizontal = static_cast<float>(frame.step * static_cast<int>(r.width / frame.steps));
  switch (kind) {
    case kTransitionCrossFade:
      CrossFade(frame, alpha);
      return;
    case kTransitionSlideDown:
      Slide(frame, 0, 1, vertical);
      return;
    case kTransitionSlideUp:
      Slide(frame, 0, -1, vertical);
      return;
    case kTransitionSlideRight:
      Slide(frame, 1, 0, horizontal);
      return;
    case kTransitionSlideLeft:
      Slide(frame, -1, 0, horizontal);
      return;
    default:
      if (frame.block.offscreen_graphics != nullptr) {
        DrawImageAlpha(*frame.block.offscreen_graphics, frame.block.canvas, r, alpha);
      }
      return;
  }
}

}  // namespace directui
