#pragma once

#include <optional>
#include <string_view>

#include "directui/core/rect_f.h"
#include "platform/gfx/font.h"
#include "platform/gfx/graphics.h"
#include "platform/gfx/string_format.h"
#include "platform/gfx/text_region.h"

namespace directui {

// UTF-16 code units of a program (code page 936) text up to its first zero byte.
int WideLength(std::string_view ansi_text);

struct MeasuredRange {
  RectF bounds;
  std::optional<platform::gfx::TextRegion> region;  // only when asked to keep it
};

// The box that characters first .. first + length - 1 of the text take when the whole text is
// laid out in the rectangle with the font and format. None without a font, or for a range that
// does not lie inside the text.
std::optional<MeasuredRange> MeasureTextRange(const platform::gfx::Graphics& graphics,
                                              std::u16string_view text,
                                              const platform::gfx::Font* font,
                                              const platform::gfx::StringFormat& format, int first,
                                              int length, const RectF& layout,
                                              bool keep_region = false);

}  // namespace directui
