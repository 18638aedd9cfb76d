#pragma once

#include <string_view>

#include "directui/core/rect_f.h"
#include "platform/gfx/font.h"
#include "platform/gfx/graphics.h"
#include "platform/gfx/string_format.h"

namespace directui {

// Measures the whole text laid out in the rectangle: 1 with the box it takes in `bounds`,
// 0 (and `bounds` untouched) without a font, a drawable graphics or a place for the result.
int MeasureTextOk(const platform::gfx::Graphics& graphics, std::u16string_view text,
                  const platform::gfx::Font* font, const platform::gfx::StringFormat& format,
                  const RectF& layout, RectF* bounds);

}  // namespace directui
