#include "directui/core/text_measure.h"

#include "directui/core/ansi_text.h"

namespace directui {

namespace gfx = platform::gfx;

int WideLength(std::string_view ansi_text) {
  return static_cast<int>(AnsiToWide(ansi_text).size());
}

std::optional<MeasuredRange> MeasureTextRange(const gfx::Graphics& graphics,
                                              std::u16string_view text, const gfx::Font* font,
                                              const gfx::StringFormat& format, int first,
                                              int length, const RectF& layout, bool keep_region) {
  if (!graphics.valid() || font == nullptr) return std::nullopt;
  const auto size = static_cast<long long>(text.size());
  if (first < 0 || length < 0 || first + static_cast<long long>(length) > size) {
    return std::nullopt;
  }
  gfx::StringFormat measuring = format;
  measuring.measurable_ranges = {gfx::CharacterRange{first, length}};
  std::vector<gfx::TextRegion> regions =
      graphics.measure_character_ranges(text, *font, layout, measuring);
  if (regions.size() != 1) return std::nullopt;
  MeasuredRange result{regions.front().bounds(), std::nullopt};
  if (keep_region) result.region = std::move(regions.front());
  return result;
}

}  // namespace directui
