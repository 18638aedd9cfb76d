#pragma once

// Internal to platform/gfx: a string laid out in a rectangle by the rules of a StringFormat.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gfx/font.h"
#include "platform/gfx/geometry.h"
#include "platform/gfx/quality_modes.h"
#include "platform/gfx/string_format.h"
#include "platform/gfx/text_region.h"

using cairo_t = struct _cairo;
using PangoLayout = struct _PangoLayout;
using PangoLayoutLine = struct _PangoLayoutLine;

namespace platform::gfx {

class TextLayout {
 public:
  TextLayout(std::u16string_view text, const Font& font, const RectF& layout,
             const StringFormat& format, TextRenderingHint hint);
  ~TextLayout();
  TextLayout(const TextLayout&) = delete;
  TextLayout& operator=(const TextLayout&) = delete;

  // The box the shown lines take, padding included.
  RectF bounds() const;
  TextRegion range_region(CharacterRange range) const;
  // Draws with the context's current source; clips to the layout rectangle unless told not to.
  void draw(cairo_t* cr) const;

 private:
  struct Line {
    PangoLayoutLine* line;
    double x;  // left of the ink start, after alignment
    double top;
    double height;
    double baseline;
    double width;  // logical width measured for alignment and bounds
  };
  void build(const Font& font);
  void place_lines();
  double measured_width(PangoLayoutLine* line) const;

  std::u16string source_;
  RectF rect_;
  StringFormat format_;
  TextRenderingHint hint_;
  double padding_ = 0;
  std::string text_;               // what is shown, prefix characters removed
  std::vector<int> byte_offsets_;  // source index to byte offset in text_
  PangoLayout* layout_ = nullptr;
  std::vector<Line> lines_;
};

}  // namespace platform::gfx
