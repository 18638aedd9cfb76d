#include "directui/core/measure_text_ok.h"

namespace directui {

int MeasureTextOk(const platform::gfx::Graphics& graphics, std::u16string_view text,
                  const platform::gfx::Font* font, const platform::gfx::StringFormat& format,
                  const RectF& layout, RectF* bounds) {
  if (font == nullptr || bounds == nullptr || !graphics.valid()) return 0;
  *bounds = graphics.measure_string(text, *font, layout, format);
  return 1;
}

}  // namespace directui
