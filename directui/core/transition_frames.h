#pragma once

#include "directui/core/rect_f.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/graphics.h"

namespace directui {

// What an element's own transition drawing gets with EXM_DRAWTRANSITION (lparam points to it).
struct TransitionFrameBlock {
  platform::gfx::Bitmap* offscreen = nullptr;
  platform::gfx::Graphics* offscreen_graphics = nullptr;
  platform::gfx::Bitmap* scratch = nullptr;
  platform::gfx::Graphics* scratch_graphics = nullptr;
  const platform::gfx::Bitmap* canvas = nullptr;
  const platform::gfx::Bitmap* snapshot = nullptr;
  RectF bounds{};
  float clip_x = 0;
  float clip_y = 0;
};

// One element drawn in transition: the block, the whole clip bounds of the target graphics at
// that moment, and how far the transition has come.
struct TransitionFrame {
  TransitionFrameBlock block{};
  RectF clip_bounds{};
  int step = 0;
  int steps = 0;
};

// Transition kinds.
inline constexpr int kTransitionCrossFade = 0;
inline constexpr int kTransitionSlideDown = 1;  // the old picture slides down, the new follows
inline constexpr int kTransitionSlideUp = 2;
inline constexpr int kTransitionSlideRight = 3;
inline constexpr int kTransitionSlideLeft = 4;

// The frame the element gets when it draws none itself. Cross-fade: the snapshot on the
// target and the canvas on the scratch surface, both at `alpha`, then the clip bounds of the
// scratch blended over the target at alpha × step / steps. Slides: both pictures at full
// opacity, moved by step × (size / steps) whole pixels. An unknown kind shows the canvas.
void DrawDefaultTransitionFrame(const TransitionFrame& frame, int kind, int alpha);

}  // namespace directui
