#include <algorithm>

#include "directui/core/average_colour.h"
#include "directui/core/colour.h"
#include "directui/core/compose.h"
#include "directui/core/compose_all.h"
#include "directui/core/draw_border.h"
#include "directui/core/drop_shadow.h"
#include "directui/core/host.h"
#include "directui/core/host_surfaces.h"
#include "directui/core/image_alpha.h"
#include "directui/core/image_bytes.h"
#include "directui/core/inflate_rect_f.h"
#include "directui/core/nine_grid.h"
#include "directui/core/redraw_queue.h"
#include "directui/core/round_rect.h"
#include "directui/core/scratch_surface.h"
#include "directui/core/window_host_lookup.h"
#include "directui/core/window_shape.h"
#include "platform/gfx/surface_ops.h"

namespace directui {

namespace gfx = platform::gfx;
namespace os = platform::os;

namespace {

gfx::Rect Whole(const gfx::Bitmap& bitmap) {
  return {0, 0, bitmap.width(), bitmap.height()};
}

bool IsRectEmpty(const os::Rect& r) {
  return r.right <= r.left || r.bottom <= r.top;
}

}  // namespace

const gfx::Image* Ex_Host::BackgroundPicture() const {
  return lent_image_ != nullptr ? lent_image_ : background_image.get();
}

int Ex_Host::SetBackground(std::optional<std::span<const std::uint8_t>> image_bytes,
                           std::optional<std::int64_t> colour, int mode, bool prerender_off) {
  if (!offscreen_graphics || offscreen.empty()) return 0;
  const int w = size.width;
  const int h = size.height;
  gfx::Graphics& graphics = *offscreen_graphics;
  busy = 1;
  TakeBackgroundPicture(image_bytes, colour);
  if (mode == kBackgroundFadeIn) {
    // What the window shows now: the fade blends the new picture over it.
    fade = offscreen.clone();
  }
  graphics.clear(0);
  if (frame_style == 1) {
    DrawSkin();
  } else {
    DrawFramedBackground(w, h);
  }
  CallRoutine(paint_routine, os::window_to_param(handle()), reinterpret_cast<RoutineArg>(&graphics),
              w, h);
  if (frame_style != 1) {
    DrawFrameLines(w, h);
    graphics.reset_clip();
    ShapeWindow(w, h);
  }
  gfx::CopyArea(background, 0, 0, offscreen, Whole(offscreen));
  if (frame_style != 1) {
    const int corner = frame_style == 0 ? 0 : 3;
    clip_region = gfx::Region::round_rect(7, 7, w - 6, h - 6, corner, corner);
    graphics.set_clip(*clip_region, gfx::CombineMode::replace);
  }
  Ex_RedrawQueue(redraw_queue).Init(window, self_handle, &graphics);
  LayoutCaption();
  ComposeAllElements(first_root, graphics, !prerender_off);
  if (frame_style != 1) graphics.reset_clip();
  busy = 0;
  if (blur_behind != 0 && layered()) {
    SetBlurBehind(window, 6, 6, w - 5, h - 5, 6, frame_style, window_alpha);
  }
  if (mode == kBackgroundPresent) {
    PresentArea(this, MakeRectF(0, 0, w, h));
  } else if (mode == kBackgroundFadeIn) {
    StartFadeIn();
  }
  return 1;
}

void Ex_Host::TakeBackgroundPicture(std::optional<std::span<const std::uint8_t>> image_bytes,
                                    std::optional<std::int64_t> colour) {
  if (skin_source_window && desktop().is_window(skin_source_window)) {
    if (Ex_Host* lender = GetHost({window.desktop, skin_source_window});
        lender != nullptr && lender != this) {
      // The picture stays the lender's.
      lent_image_ = lender->BackgroundPicture();
      background_colour = lender->background_colour;
      return;
    }
  }
  lent_image_ = nullptr;
  if (image_bytes) {
    background_image = LoadImageFromBytes(*image_bytes);
    background_colour = AverageImageColour(background_image.get());
  }
  if (colour && *colour != -1) background_colour = static_cast<std::uint32_t>(*colour);
}

void Ex_Host::DrawSkin() {
  const gfx::Image* image = BackgroundPicture();
  if (image == nullptr) return;
  gfx::Graphics& graphics = *offscreen_graphics;
  const os::Rect& c = nine_grid_centre;
  if (IsRectEmpty(c)) {
    DrawImageAt(graphics, image, RectF{0, 0, 0, 0}, false);
    return;
  }
  DrawNineGrid(graphics, image, MakeRectF(0, 0, size.width, size.height),
               MakeRectF(c.left, c.top, c.right - c.left, c.bottom - c.top), 255);
}

void Ex_Host::DrawFramedBackground(int w, int h) {
  gfx::Graphics& graphics = *offscreen_graphics;
  const int corner = frame_style == 0 ? 0 : 4;
  graphics.set_clip(gfx::Region::round_rect(6, 6, w - 5, h - 5, corner, corner),
                    gfx::CombineMode::replace);
  const gfx::Image* image = BackgroundPicture();
  if (image == nullptr) {
    graphics.clear(MakeArgb(background_colour, layered() ? window_alpha : 255));
    return;
  }
  graphics.clear(MakeArgb(background_colour, 255));
  const int iw = GetImageWidth(image);
  const int ih = GetImageHeight(image);
  if (image_mode == 1) {
    DrawImageRect(graphics, image, MakeRectF(5, 5, w - 10, h - 10));
  } else if (image_mode == 2) {
    RectF r = MakeRectF((w - iw) / 2, (h - ih) / 2, iw, ih);
    DrawImageAt(graphics, image, r, true);
    if (edge_blend != 0) {
      InflateRectF(-1, -1, 1, 1, r);
      EdgeFade(graphics, r, background_colour,
               {.top = true, .left = true, .bottom = true, .right = true});
    }
  } else if (image_mode == 0) {
    DrawImageRect(graphics, image, MakeRectF(5, 5, iw, ih));
    if (edge_blend != 0) {
      EdgeFade(graphics, MakeRectF(0, 0, iw, ih), background_colour,
               {.bottom = true, .right = true});
    }
  }
  if (layered()) {
    // The picture and colour take the window's alpha as a whole.
    const gfx::Bitmap opaque = offscreen.clone();
    graphics.clear(0);
    DrawImageAlpha(graphics, &opaque, MakeRectF(0, 0, w, h), window_alpha);
  }
}

void Ex_Host::DrawFrameLines(int w, int h) {
  gfx::Graphics& graphics = *offscreen_graphics;
  const Argb outer = MakeArgb(0x606060, 204);
  const Argb inner = MakeArgb(0xFFFFFF, 102);
  const RectF outer_rect = MakeRectF(6, 6, w - 12, h - 12);
  const RectF inner_rect = MakeRectF(7, 7, w - 14, h - 14);
  if (frame_style == 0) {
    DrawBorder(graphics, outer_rect, outer);
    DrawBorder(graphics, inner_rect, inner);
    return;
  }
  DrawRoundRect(graphics, outer_rect, 7, outer, gfx::DashStyle::solid, 1);
  DrawRoundRect(graphics, inner_rect, 6, inner, gfx::DashStyle::solid, 1);
}

void Ex_Host::ShapeWindow(int w, int h) {
  if (!layered()) {
    SetWindowShape(window, w, h, 6, 5, frame_style);
  } else if ((caption_flags & CF_SHADOW) != 0) {
    const auto colour = static_cast<std::uint32_t>(shadow_colour == -1 ? 0 : shadow_colour);
    DrawDropShadow(*offscreen_graphics, MakeRectF(5, 5, w - 10, h - 10), frame_style, colour);
  }
}

void Ex_Host::StartFadeIn() {
  busy = 1;
  fade_alpha = 0;
  // The same identifier restarts a running fade rather than adding a second timer.
  desktop().set_timer(
      handle(), static_cast<std::uintptr_t>(self_handle), kFadeInterval,
      [this](os::Window, std::uint32_t, std::uintptr_t, std::uint32_t) { FadeInTimerProc(); });
}

void Ex_Host::FadeInTimerProc() {
  if (offscreen.empty()) return;
  if (fade.empty()) fade = offscreen.clone();
  // A layered window shows the previous step while this one is blended.
  if (layered()) desktop().update_layered_window(handle(), SurfaceView(fade), std::nullopt, 255);
  fade_alpha = std::min(255, fade_alpha + kFadeStep);
  gfx::AlphaBlendArea(fade, 0, 0, offscreen, Whole(offscreen),
                      static_cast<std::uint8_t>(fade_alpha), gfx::SourceAlpha::ignored);
  if (!layered()) desktop().present(handle(), SurfaceView(fade));
  if (fade_alpha < 255) return;
  desktop().kill_timer(handle(), static_cast<std::uintptr_t>(self_handle));
  fade = {};
  if (layered())
    desktop().update_layered_window(handle(), SurfaceView(offscreen), std::nullopt, 255);
  busy = 0;
}

void Ex_Host::HandleSize(WPARAM size_type, LPARAM) {
  if (size_type == os::SIZE_MINIMIZED) return;
  const os::Rect bounds = desktop().window_rect(handle());
  const int w = bounds.right - bounds.left;
  const int h = bounds.bottom - bounds.top;
  if (w == size.width && h == size.height) return;
  size = {w, h};
  CallRoutine(size_routine, os::window_to_param(handle()), w, h);
  CreateSurfaces();
  EnsureScratchSurface(w, h);
  SetBackground(std::nullopt, background_colour, kBackgroundPresent, true);
}

void Ex_Host::PaintFromSurface() {
  const os::Rect area = desktop().begin_paint(handle());
  if (!offscreen.empty() && area.right > area.left && area.bottom > area.top) {
    desktop().present(handle(), SurfaceView(offscreen), area);
  }
  desktop().end_paint(handle());
}

}  // namespace directui
