#include <cairo.h>

#include "platform/gfx/graphics.h"
#include "platform/gfx/text_layout.h"

namespace platform::gfx {

void Graphics::draw_string(std::u16string_view text, const Font& font, const RectF& layout,
                           const StringFormat& format, const Brush& brush) {
  if (text.empty() || font.description() == nullptr || !IsSane(layout) || !ready()) return;
  TextLayout laid(text, font, layout, format, text_hint_);
  cairo_t* cr = context_.get();
  cairo_identity_matrix(cr);
  cairo_set_operator(cr, compositing_mode_ == CompositingMode::source_copy ? CAIRO_OPERATOR_SOURCE
                                                                           : CAIRO_OPERATOR_OVER);
  set_source(brush);
  laid.draw(cr);
}

RectF Graphics::measure_string(std::u16string_view text, const Font& font, const RectF& layout,
                               const StringFormat& format) const {
  if (!IsSane(layout)) return {};
  if (font.description() == nullptr) return {layout.x, layout.y, 0, 0};
  return TextLayout(text, font, layout, format, text_hint_).bounds();
}

std::vector<TextRegion> Graphics::measure_character_ranges(std::u16string_view text,
                                                           const Font& font, const RectF& layout,
                                                           const StringFormat& format) const {
  std::vector<TextRegion> out(format.measurable_ranges.size());
  if (font.description() == nullptr || !IsSane(layout)) return out;
  TextLayout laid(text, font, layout, format, text_hint_);
  for (std::size_t i = 0; i < out.size(); ++i) {
    out[i] = laid.range_region(format.measurable_ranges[i]);
  }
  return out;
}

}  // namespace platform::gfx
