#include "directui/core/wipe_frames.h"

#include <algorithm>

#include "directui/core/host_record.h"
#include "directui/core/host_surfaces.h"
#include "directui/core/window_shape.h"
#include "platform/gfx/surface_ops.h"

namespace directui {

namespace gfx = platform::gfx;

namespace {

// Lines fading out beside the solid part of a wipe.
constexpr int kSoftEdge = 100;

bool ByColumns(int effect) {
  return effect == kEffectWipeLeft || effect == kEffectWipeRight;
}

// The column or row `distance` lines in from the edge the wipe starts at.
int LineFromStartEdge(int effect, int distance, int w, int h) {
  switch (effect) {
    case kEffectWipeLeft:
    case kEffectWipeTop:
      return distance;
    case kEffectWipeRight:
      return w - 1 - distance;
    default:
      return h - 1 - distance;
  }
}

// trunc (a / 100 × n), exact: a floating quotient such as 2.38 would lose a step now and then.
int SoftAlpha(int alpha, int n) {
  return alpha * n / 100;
}

void BlendArea(const gfx::Bitmap& source, gfx::Bitmap& target, const gfx::Rect& area, int alpha) {
  if (area.empty()) return;
  gfx::AlphaBlendArea(target, area.left, area.top, source, area,
                      static_cast<std::uint8_t>(std::clamp(alpha, 0, 255)),
                      gfx::SourceAlpha::per_pixel);
}

// One column (wipes across) or row of the w × h picture; none outside it.
void BlendLine(const gfx::Bitmap& source, gfx::Bitmap& target, int effect, int line, int w, int h,
               int alpha) {
  if (line < 0 || line >= WipeLength(effect, w, h)) return;
  BlendArea(source, target,
            ByColumns(effect) ? gfx::Rect{line, 0, line + 1, h} : gfx::Rect{0, line, w, line + 1},
            alpha);
}

// The revealed lines 0 .. d − 1 counted from the start edge.
gfx::Rect RevealedPart(int effect, int d, int w, int h) {
  switch (effect) {
    case kEffectWipeLeft:
      return {0, 0, d, h};
    case kEffectWipeRight:
      return {w - d, 0, w, h};
    case kEffectWipeTop:
      return {0, 0, w, d};
    default:
      return {0, h - d, w, h};
  }
}

// The line k (1 .. remaining) of a closing wipe: counted from the edge opposite the one that
// vanishes first, as the picture is drawn.
int RemainingLine(int effect, int k, int w, int h) {
  switch (effect) {
    case kEffectWipeLeft:
      return w - k;
    case kEffectWipeRight:
      return k;
    case kEffectWipeTop:
      return h - k;
    default:
      return k;
  }
}

// Keeps the blur behind on the part of the window a closing wipe leaves.
void MoveBlurToRemainingPart(const HostWindow& window, int effect, int d, int w, int h,
                             int frame_style) {
  const HostRecord* host = GetHostRecord(window);
  const int window_alpha = host != nullptr ? host->window_alpha : -1;
  constexpr int kCorner = 6;
  switch (effect) {
    case kEffectWipeLeft:
      SetBlurBehind(window, std::min(w - 5, d + kSoftEdge), 6, w - 5, h - 5, kCorner, frame_style,
                    window_alpha);
      break;
    case kEffectWipeRight:
      SetBlurBehind(window, 6, 6, std::max(w - d - kSoftEdge, 6), h - 5, kCorner, frame_style,
                    window_alpha);
      break;
    case kEffectWipeTop:
      SetBlurBehind(window, 6, d + kSoftEdge, w - 5, h - 5, kCorner, frame_style, window_alpha);
      break;
    default:
      SetBlurBehind(window, 6, 6, w - 5, std::max(h - d - kSoftEdge, 6), kCorner, frame_style,
                    window_alpha);
      break;
  }
}

}  // namespace

int WipeLength(int effect, int width, int height) {
  return ByColumns(effect) ? width : height;
}

void WipeInFrame(const gfx::Bitmap& source, gfx::Bitmap& target, int w, int h, int alpha,
                 int offset, int effect) {
  if (w <= 0 || h <= 0) return;
  alpha = std::clamp(alpha, 0, 255);
  const int d = std::clamp(offset, 0, WipeLength(effect, w, h));
  BlendArea(source, target, RevealedPart(effect, d, w, h), alpha);
  for (int k = 1; k <= kSoftEdge; ++k) {
    BlendLine(source, target, effect, LineFromStartEdge(effect, d + k - 1, w, h), w, h,
              SoftAlpha(alpha, 101 - k));
  }
}

void WipeOutFrame(const HostWindow& window, const gfx::Bitmap& source, gfx::Bitmap& target, int w,
                  int h, int alpha, int offset, int effect, int blur, int frame_style) {
  if (w <= 0 || h <= 0) return;
  const int length = WipeLength(effect, w, h);
  const int d = std::clamp(offset, 0, length);
  alpha = std::clamp(alpha, 0, 255);
  if (blur != 0 && window) MoveBlurToRemainingPart(window, effect, d, w, h, frame_style);
  const int remaining = length - d;
  for (int k = 1; k <= remaining; ++k) {
    const int line_alpha = k < remaining - kSoftEdge ? alpha : SoftAlpha(alpha, remaining - k);
    BlendLine(source, target, effect, RemainingLine(effect, k, w, h), w, h, line_alpha);
  }
  if (window) {
    window.desktop->update_layered_window(window.window, SurfaceView(target), std::nullopt, 255);
  }
}

}  // namespace directui
