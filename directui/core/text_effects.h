#pragma once

#include <optional>
#include <string_view>

#include "directui/core/colour.h"
#include "directui/core/rect_f.h"
#include "platform/gfx/font.h"
#include "platform/gfx/graphics.h"
#include "platform/gfx/string_format.h"

namespace directui {

// Text effects of a caption.
inline constexpr int kTextEffectNone = 0;
inline constexpr int kTextEffectGlow = 3;       // soft glow, drawn at a third of the size
inline constexpr int kTextEffectTightGlow = 4;  // glow drawn at full size: a close halo

// Draws the text once in its colour in the rectangle (truncated to whole pixels), over a glow
// for the glow effects. No glow colour, or 0, means white at 85 behind dark text and black at
// 75 behind light text. Without a font nothing is drawn.
void DrawTextEffect(platform::gfx::Graphics& graphics, const RectF& rect, std::u16string_view text,
                    const platform::gfx::Font* font, Argb colour,
                    const platform::gfx::StringFormat& format, int effect,
                    std::optional<Argb> glow = std::nullopt);

// A halo round where the text would be drawn in the rectangle: five copies of the text a pixel
// apart in the glow colour, shrunk by the reduction and stretched back, so that the copies blur
// into each other. It reaches 4 pixels left and above and 3 right and below the rectangle.
void DrawGlowText(platform::gfx::Graphics& graphics, const RectF& rect, std::u16string_view text,
                  const platform::gfx::Font* font, const platform::gfx::StringFormat& format,
                  Argb glow, float reduction = 3.0f);

}  // namespace directui
