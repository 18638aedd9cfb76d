#include "directui/core/open_close_effects.h"

#include <algorithm>
#include <cstdint>
#include <memory>

#include "directui/core/colour.h"
#include "directui/core/effect_pause.h"
#include "directui/core/host_record.h"
#include "directui/core/host_surfaces.h"
#include "directui/core/pending_messages.h"
#include "directui/core/window_shape.h"
#include "directui/core/wipe_frames.h"
#include "platform/gfx/graphics.h"
#include "platform/gfx/surface_ops.h"
#include "platform/os/window_styles.h"

namespace directui {

namespace gfx = platform::gfx;
namespace os = platform::os;

namespace {

constexpr int kOpenSteps = 10;
constexpr int kOpenAlphaStep = 255 / kOpenSteps;
constexpr int kCloseSteps = 15;
constexpr int kCloseAlphaStep = 255 / kCloseSteps;
constexpr int kCloseZoomSteps = 20;
constexpr int kCloseZoomAlphaStep = 12;
constexpr std::uint32_t kCloseFadePause = 10;
constexpr std::uint32_t kCloseWipePause = 8;

// The temporary surface one effect draws its frames on, and the window and host it plays for.
// A message handled between frames may destroy the window or unbind its host; the effect then
// stops at once and touches neither again.
class EffectSurface {
 public:
  EffectSurface(const HostWindow& window, int width, int height)
      : window_(window), host_(GetHostRecord(window)) {
    CreateSurface(bitmap_, &graphics_, width, height);
  }

  gfx::Bitmap& bitmap() { return bitmap_; }
  void Clear(gfx::Argb colour) { graphics_->clear(colour); }
  void ShowFrame() {
    window_.desktop->update_layered_window(window_.window, SurfaceView(bitmap_), std::nullopt, 255);
  }
  void SetBusy(int busy) {
    if (host_ != nullptr) host_->busy = busy;
  }
  // Handles the thread's messages and pauses; false when the window or its host went meanwhile.
  bool Pause(std::uint32_t ms) {
    ProcessPendingMessages(*window_.desktop);
    if (!Intact()) return false;
    PauseHandlingMessages(*window_.desktop, ms);
    return Intact();
  }
  bool ShowFrameAndPause(std::uint32_t ms) {
    ShowFrame();
    return Pause(ms);
  }

 private:
  bool Intact() const {
    return window_.desktop->is_window(window_.window) && GetHostRecord(window_) == host_;
  }

  HostWindow window_;
  HostRecord* host_;
  gfx::Bitmap bitmap_;
  std::unique_ptr<gfx::Graphics> graphics_;
};

gfx::Argb TransparentWhite() {
  return MakeArgb(0xFFFFFF, 0);
}

gfx::Argb TransparentBlack() {
  return MakeArgb(0, 0);
}

std::uint8_t Alpha(int alpha) {
  return static_cast<std::uint8_t>(std::clamp(alpha, 0, 255));
}

void BlendWhole(gfx::Bitmap& target, const gfx::Bitmap& source, int w, int h, int alpha) {
  gfx::AlphaBlendArea(target, 0, 0, source, {0, 0, w, h}, Alpha(alpha),
                      gfx::SourceAlpha::per_pixel);
}

// The whole picture scaled to the rectangle; a source smaller than the window gives what it has.
void BlendScaled(gfx::Bitmap& target, const gfx::RectF& rect, const gfx::Bitmap& source, int w,
                 int h, int alpha) {
  const gfx::Rect area = gfx::Rect{0, 0, w, h}.intersect({0, 0, source.width(), source.height()});
  gfx::StretchBlendArea(target, rect, source, area, Alpha(alpha));
}

gfx::RectF Inset(int x, int y, int w, int h) {
  return {static_cast<float>(x), static_cast<float>(y), static_cast<float>(w - 2 * x),
          static_cast<float>(h - 2 * y)};
}

std::uint32_t PauseOf(int ms) {
  return static_cast<std::uint32_t>(std::max(ms, 0));
}

os::Size WindowSize(const HostWindow& window) {
  return window.desktop->window_rect(window.window).size();
}

bool IsLayered(const HostWindow& window) {
  return (window.desktop->ex_style(window.window) & os::WS_EX_LAYERED) != 0;
}

void MakeLayered(const HostWindow& window, bool layered) {
  const std::uint32_t ex_style = window.desktop->ex_style(window.window);
  window.desktop->set_ex_style(
      window.window, layered ? ex_style | os::WS_EX_LAYERED : ex_style & ~os::WS_EX_LAYERED);
}

// Step i (1 .. 10) of an opening effect, drawn on a fresh surface; answers the pause after it.
std::uint32_t DrawOpenStep(EffectSurface& surface, const gfx::Bitmap& source, int effect, int i,
                           int w, int h, int duration_ms) {
  const int alpha = kOpenAlphaStep * (i - 1);
  const std::uint32_t step_pause = PauseOf(duration_ms / kOpenSteps);
  switch (effect) {
    case kEffectFade:
      surface.Clear(TransparentWhite());
      BlendWhole(surface.bitmap(), source, w, h, alpha);
      return step_pause;
    case kEffectZoomCentre: {
      // A tenth of the size shrinks away in ten steps: trunc (w × 0.1 / 10), exactly.
      const int dx = w / 100;
      const int dy = h / 100;
      surface.Clear(TransparentWhite());
      BlendScaled(surface.bitmap(), Inset(dx * (kOpenSteps - i), dy * (kOpenSteps - i), w, h),
                  source, w, h, alpha);
      return PauseOf(11 - i);
    }
    default: {
      const int step = WipeLength(effect, w, h) / kOpenSteps;
      surface.Clear(TransparentBlack());
      WipeInFrame(source, surface.bitmap(), w, h, alpha, step * (i - 1), effect);
      return step_pause;
    }
  }
}

bool CloseFade(EffectSurface& surface, const gfx::Bitmap& source, int w, int h) {
  for (int i = 1; i <= kCloseSteps; ++i) {
    surface.Clear(TransparentWhite());
    BlendWhole(surface.bitmap(), source, w, h, 255 - kCloseAlphaStep * i);
    if (!surface.ShowFrameAndPause(kCloseFadePause)) return false;
  }
  return true;
}

// Swells by 1.5 pixels a frame while that stays within 5, then shrinks by 2 a frame towards
// the centre.
bool CloseZoom(EffectSurface& surface, const gfx::Bitmap& source, int w, int h) {
  int k = 0;
  for (int i = 1; i <= kCloseZoomSteps; ++i) {
    gfx::RectF rect;
    if (3 * i <= 10) {
      const float s = 1.5f * static_cast<float>(i);
      rect = {-s / 2, -s / 2, static_cast<float>(w) + s, static_cast<float>(h) + s};
    } else {
      k += 2;
      rect = Inset(k / 2 - 5, k / 2 - 5, w, h);
    }
    surface.Clear(TransparentWhite());
    BlendScaled(surface.bitmap(), rect, source, w, h, 255 - kCloseZoomAlphaStep * i);
    if (!surface.ShowFrameAndPause(PauseOf(std::max(16 - i, 10)))) return false;
  }
  return true;
}

bool CloseZoomCentre(EffectSurface& surface, const gfx::Bitmap& source, int w, int h) {
  // trunc (w × 0.1 / 15), exactly.
  const int dx = w / 150;
  const int dy = h / 150;
  for (int i = 1; i <= kCloseSteps; ++i) {
    surface.Clear(TransparentWhite());
    BlendScaled(surface.bitmap(), Inset(dx * (i - 1), dy * (i - 1), w, h), source, w, h,
                255 - kCloseAlphaStep * i);
    if (!surface.ShowFrameAndPause(PauseOf(13 - i > 0 ? 13 - i : 1))) return false;
  }
  return true;
}

bool CloseWipe(EffectSurface& surface, const HostWindow& window, const gfx::Bitmap& source,
               int effect, int blur, int frame_style, int w, int h) {
  const int step = WipeLength(effect, w, h) / kCloseSteps;
  for (int i = 1; i <= kCloseSteps; ++i) {
    surface.Clear(TransparentWhite());
    WipeOutFrame(window, source, surface.bitmap(), w, h, 255 - kCloseAlphaStep * i, step * i,
                 effect, blur, frame_style);
    if (!surface.Pause(kCloseWipePause)) return false;
  }
  return true;
}

bool PlayCloseFrames(EffectSurface& surface, const HostWindow& window, const gfx::Bitmap& source,
                     int effect, int blur, int frame_style, int w, int h) {
  switch (effect) {
    case kEffectFade:
      return CloseFade(surface, source, w, h);
    case kEffectZoom:
      return CloseZoom(surface, source, w, h);
    case kEffectZoomCentre:
      return CloseZoomCentre(surface, source, w, h);
    default:
      return CloseWipe(surface, window, source, effect, blur, frame_style, w, h);
  }
}

}  // namespace

void PlayOpenEffect(const HostWindow& window, const gfx::Bitmap& source, int window_alpha,
                    int effect, int blur, int frame_style, int duration_ms) {
  if (!window || !window.desktop->is_window(window.window)) return;
  const os::Size size = WindowSize(window);
  const int w = size.width;
  const int h = size.height;
  const bool was_layered = IsLayered(window);
  if (!was_layered) {
    MakeLayered(window, true);
    SetWindowShape(window, w, h, 6, 5, frame_style);
  }
  EffectSurface surface(window, w, h);
  surface.SetBusy(1);
  surface.Clear(TransparentWhite());
  surface.ShowFrame();
  window.desktop->show_window(window.window, os::SW_SHOWNORMAL);
  if (blur != 0) SetBlurBehind(window, 0, 0, 0, 0, 0, 0, window_alpha);
  for (int i = 1; i <= kOpenSteps; ++i) {
    const std::uint32_t pause = DrawOpenStep(surface, source, effect, i, w, h, duration_ms);
    if (!surface.ShowFrameAndPause(pause)) return;
  }
  surface.Clear(TransparentWhite());
  BlendWhole(surface.bitmap(), source, w, h, 255);
  surface.ShowFrame();
  if (blur != 0) SetBlurBehind(window, 6, 6, w - 5, h - 5, 6, frame_style, window_alpha);
  if (!was_layered) MakeLayered(window, false);
  surface.SetBusy(0);
}

void PlayCloseEffect(const HostWindow& window, const gfx::Bitmap& source, int window_alpha,
                     int effect, int blur, int frame_style) {
  if (effect == kEffectNone || !window || !window.desktop->is_window(window.window)) return;
  const os::Size size = WindowSize(window);
  const int w = size.width;
  const int h = size.height;
  EffectSurface surface(window, w, h);
  surface.Clear(TransparentWhite());
  BlendWhole(surface.bitmap(), source, w, h, 255);
  // The window stays layered: it ends fully transparent until it is hidden.
  if (!IsLayered(window)) MakeLayered(window, true);
  surface.ShowFrame();
  surface.SetBusy(1);
  // The wipes move the blur along with the picture; the others drop it for the effect.
  const bool wipe = effect != kEffectFade && effect != kEffectZoom && effect != kEffectZoomCentre;
  if (blur != 0 && !wipe) SetBlurBehind(window, 0, 0, 0, 0, 0, 0, window_alpha);
  if (!PlayCloseFrames(surface, window, source, effect, blur, frame_style, w, h)) return;
  surface.Clear(TransparentWhite());
  surface.ShowFrame();
  surface.SetBusy(0);
}

}  // namespace directui
