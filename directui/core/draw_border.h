#pragma once

#include <cstdint>
#include <optional>

#include "directui/core/colour.h"
#include "directui/core/rect_f.h"
#include "platform/gfx/graphics.h"

namespace directui {

// Border styles. Any value above 4 is itself the ARGB colour of a solid rectangle.
inline constexpr std::uint32_t kBorderNone = 0;
inline constexpr std::uint32_t kBorderSunken = 1;  // dark top and left, light bottom and right
inline constexpr std::uint32_t kBorderRaised = 2;  // light top and left, dark bottom and right
inline constexpr std::uint32_t kBorderSolid = 3;   // default colour grey 0x646464
inline constexpr std::uint32_t kBorderDashed = 4;  // the focus rectangle; default black at 120

// The colour is used by the solid and dashed styles only; the width by every style (the light
// edges of sunken and raised take half of it).
void DrawBorder(platform::gfx::Graphics& graphics, const RectF& rect, std::uint32_t style,
                std::optional<Argb> colour = std::nullopt, float width = 1.0f);

}  // namespace directui
