#include "platform/gfx/text_layout.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>

#include "platform/gfx/font_map.h"
#include "platform/gfx/utf16.h"

namespace platform::gfx {

namespace {

struct PreparedText {
  std::string text;
  std::vector<int> byte_offsets;
  std::vector<std::pair<int, int>> underlines;  // byte ranges of mnemonic characters
};

bool IsSurrogatePair(std::u16string_view s, std::size_t i) {
  return i + 1 < s.size() && s[i] >= 0xD800 && s[i] <= 0xDBFF && s[i + 1] >= 0xDC00 &&
         s[i + 1] <= 0xDFFF;
}

// Removes the "&" prefix characters, remembering where every source index lands.
PreparedText ApplyHotkeyPrefix(std::u16string_view source, HotkeyPrefix mode) {
  PreparedText out;
  if (mode == HotkeyPrefix::none) {
    out.text = Utf16ToUtf8(source, out.byte_offsets);
    return out;
  }
  std::u16string shown;
  std::vector<std::size_t> position(source.size() + 1);
  std::vector<std::pair<std::size_t, std::size_t>> marked;  // ranges in `shown`
  for (std::size_t i = 0; i < source.size();) {
    position[i] = shown.size();
    if (source[i] != u'&') {
      shown += source[i++];
      continue;
    }
    if (i + 1 < source.size() && source[i + 1] == u'&') {
      position[i + 1] = shown.size();
      shown += u'&';
      i += 2;
      continue;
    }
    ++i;  // the prefix itself vanishes
    if (i < source.size()) {
      const std::size_t length = IsSurrogatePair(source, i) ? 2 : 1;
      marked.emplace_back(shown.size(), shown.size() + length);
    }
  }
  position[source.size()] = shown.size();
  std::vector<int> shown_offsets;
  out.text = Utf16ToUtf8(shown, shown_offsets);
  out.byte_offsets.resize(position.size());
  for (std::size_t i = 0; i < position.size(); ++i) {
    out.byte_offsets[i] = shown_offsets[position[i]];
  }
  if (mode == HotkeyPrefix::show) {
    for (auto [a, b] : marked) out.underlines.emplace_back(shown_offsets[a], shown_offsets[b]);
  }
  return out;
}

bool GridFitted(TextRenderingHint hint) {
  return hint == TextRenderingHint::system_default ||
         hint == TextRenderingHint::single_bit_per_pixel_grid_fit ||
         hint == TextRenderingHint::anti_alias_grid_fit ||
         hint == TextRenderingHint::clear_type_grid_fit;
}

void SetFontOptions(PangoContext* context, TextRenderingHint hint) {
  cairo_font_options_t* o = cairo_font_options_create();
  const bool single_bit = hint == TextRenderingHint::single_bit_per_pixel ||
                          hint == TextRenderingHint::single_bit_per_pixel_grid_fit;
  cairo_font_options_set_antialias(o, single_bit ? CAIRO_ANTIALIAS_NONE : CAIRO_ANTIALIAS_GRAY);
  const bool fitted = GridFitted(hint);
  cairo_font_options_set_hint_style(o, fitted ? CAIRO_HINT_STYLE_SLIGHT : CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(o, fitted ? CAIRO_HINT_METRICS_ON : CAIRO_HINT_METRICS_OFF);
  pango_cairo_context_set_font_options(context, o);
  cairo_font_options_destroy(o);
}

void AddAttribute(PangoAttrList* list, PangoAttribute* a, int start, int end) {
  a->start_index = static_cast<guint>(start);
  a->end_index = static_cast<guint>(end);
  pango_attr_list_insert(list, a);
}

bool IsEllipsis(StringTrimming t) {
  return t == StringTrimming::ellipsis_character || t == StringTrimming::ellipsis_word ||
         t == StringTrimming::ellipsis_path;
}

}  // namespace

namespace {

// Layout limits beyond a million pixels mean "unlimited" and stay within Pango's units.
RectF Bounded(RectF r) {
  constexpr float kLimit = 1 << 20;
  r.width = std::min(r.width, kLimit);
  r.height = std::min(r.height, kLimit);
  return r;
}

}  // namespace

TextLayout::TextLayout(std::u16string_view text, const Font& font, const RectF& layout,
                       const StringFormat& format, TextRenderingHint hint)
    : source_(text), rect_(Bounded(layout)), format_(format), hint_(hint) {
  build(font);
  place_lines();
}

TextLayout::~TextLayout() {
  if (layout_ != nullptr) g_object_unref(layout_);
}

void TextLayout::build(const Font& font) {
  PreparedText prepared = ApplyHotkeyPrefix(source_, format_.hotkey_prefix);
  text_ = std::move(prepared.text);
  byte_offsets_ = std::move(prepared.byte_offsets);
  // Lines keep a sixth of the font size free on either side, as callers' layouts expect.
  padding_ = font.size() / 6.0;

  PangoContext* context = NewTextContext();
  SetFontOptions(context, hint_);
  layout_ = pango_layout_new(context);
  g_object_unref(context);
  pango_layout_set_font_description(layout_, font.description());
  pango_layout_set_text(layout_, text_.c_str(), static_cast<int>(text_.size()));

  PangoAttrList* attrs = pango_attr_list_new();
  const int end = static_cast<int>(text_.size());
  if (font.style() & kFontUnderline) {
    AddAttribute(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE), 0, end);
  }
  if (font.style() & kFontStrikeout) {
    AddAttribute(attrs, pango_attr_strikethrough_new(TRUE), 0, end);
  }
  for (auto [a, b] : prepared.underlines) {
    AddAttribute(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE), a, b);
  }
  // Lines broken inside a word end without a hyphen.
  AddAttribute(attrs, pango_attr_insert_hyphens_new(FALSE), 0, end);
  if (format_.flags & kStringFormatNoFontFallback) {
    AddAttribute(attrs, pango_attr_fallback_new(FALSE), 0, end);
  }
  pango_layout_set_attributes(layout_, attrs);
  pango_attr_list_unref(attrs);

  if (!(rect_.width > 0)) return;  // no width limit: nothing wraps or trims
  const bool no_wrap = format_.flags & kStringFormatNoWrap;
  const double available = std::max(1.0, rect_.width - 2 * padding_);
  const StringTrimming trimming = format_.trimming;
  if (IsEllipsis(trimming) && (no_wrap || rect_.height > 0)) {
    pango_layout_set_width(layout_, static_cast<int>(available * PANGO_SCALE));
    pango_layout_set_ellipsize(layout_, trimming == StringTrimming::ellipsis_path
                                            ? PANGO_ELLIPSIZE_MIDDLE
                                            : PANGO_ELLIPSIZE_END);
    if (!no_wrap) {
      pango_layout_set_wrap(layout_, PANGO_WRAP_WORD_CHAR);
      pango_layout_set_height(layout_, static_cast<int>(rect_.height * PANGO_SCALE));
    }
  } else if (!no_wrap) {
    pango_layout_set_width(layout_, static_cast<int>(available * PANGO_SCALE));
    pango_layout_set_wrap(layout_, PANGO_WRAP_WORD_CHAR);
  } else if (trimming == StringTrimming::character || trimming == StringTrimming::word) {
    // An unwrapped line cut after the last character (or word) that fits: wrap, then show
    // only the first line of each paragraph.
    pango_layout_set_width(layout_, static_cast<int>(available * PANGO_SCALE));
    pango_layout_set_wrap(
        layout_, trimming == StringTrimming::character ? PANGO_WRAP_CHAR : PANGO_WRAP_WORD_CHAR);
  }
}

double TextLayout::measured_width(PangoLayoutLine* line) const {
  int start = line->start_index;
  int end = line->start_index + line->length;
  if (!(format_.flags & kStringFormatMeasureTrailingSpaces)) {
    while (end > start && (text_[static_cast<std::size_t>(end - 1)] == ' ' ||
                           text_[static_cast<std::size_t>(end - 1)] == '\t')) {
      --end;
    }
  }
  if (end <= start) return 0;
  int* ranges = nullptr;
  int count = 0;
  pango_layout_line_get_x_ranges(line, start, end, &ranges, &count);
  int right = 0;  // lines run left to right from their origin
  for (int i = 0; i < count; ++i) right = std::max(right, ranges[2 * i + 1]);
  g_free(ranges);
  return static_cast<double>(right) / PANGO_SCALE;
}

void TextLayout::place_lines() {
  if (text_.empty()) return;
  const bool no_wrap = format_.flags & kStringFormatNoWrap;
  const bool first_lines_only = no_wrap && pango_layout_get_width(layout_) > 0 &&
                                pango_layout_get_ellipsize(layout_) == PANGO_ELLIPSIZE_NONE;
  const bool whole_lines = (format_.flags & kStringFormatLineLimit) && rect_.height > 0;
  PangoLayoutIter* iter = pango_layout_get_iter(layout_);
  double y = 0;
  do {
    PangoLayoutLine* line = pango_layout_iter_get_line_readonly(iter);
    if (first_lines_only && !line->is_paragraph_start) continue;
    PangoRectangle logical;
    pango_layout_iter_get_line_extents(iter, nullptr, &logical);
    const double height = static_cast<double>(logical.height) / PANGO_SCALE;
    const double baseline =
        static_cast<double>(pango_layout_iter_get_baseline(iter) - logical.y) / PANGO_SCALE;
    if (whole_lines && y + height > rect_.height + 0.01) break;
    lines_.push_back({line, 0, y, height, baseline, measured_width(line)});
    y += height;
  } while (pango_layout_iter_next_line(iter));
  pango_layout_iter_free(iter);

  const double available = rect_.width > 0 ? rect_.width - 2 * padding_ : 0;
  double shift_y = 0;
  if (rect_.height > 0) {
    if (format_.line_alignment == StringAlignment::center) shift_y = (rect_.height - y) / 2;
    if (format_.line_alignment == StringAlignment::far) shift_y = rect_.height - y;
  }
  for (Line& l : lines_) {
    double offset = 0;
    if (format_.alignment == StringAlignment::center) offset = (available - l.width) / 2;
    if (format_.alignment == StringAlignment::far) offset = available - l.width;
    l.x = rect_.x + padding_ + offset;
    l.top += rect_.y + shift_y;
  }
}

RectF TextLayout::bounds() const {
  if (lines_.empty()) return {rect_.x, rect_.y, 0, 0};
  double left = lines_[0].x;
  double right = lines_[0].x + lines_[0].width;
  for (const Line& l : lines_) {
    left = std::min(left, l.x);
    right = std::max(right, l.x + l.width);
  }
  const double top = lines_.front().top;
  const double bottom = lines_.back().top + lines_.back().height;
  return {static_cast<float>(left - padding_), static_cast<float>(top),
          static_cast<float>(right - left + 2 * padding_), static_cast<float>(bottom - top)};
}

TextRegion TextLayout::range_region(CharacterRange range) const {
  TextRegion region;
  const int size = static_cast<int>(source_.size());
  const int first = std::clamp(range.first, 0, size);
  const int last = std::clamp(range.first + std::max(range.length, 0), first, size);
  const int from = byte_offsets_[static_cast<std::size_t>(first)];
  const int to = byte_offsets_[static_cast<std::size_t>(last)];
  if (from >= to) return region;
  for (const Line& l : lines_) {
    const int a = std::max(from, l.line->start_index);
    const int b = std::min(to, l.line->start_index + l.line->length);
    if (a >= b) continue;
    int* ranges = nullptr;
    int count = 0;
    pango_layout_line_get_x_ranges(l.line, a, b, &ranges, &count);
    for (int i = 0; i < count; ++i) {
      const double x0 = static_cast<double>(ranges[2 * i]) / PANGO_SCALE;
      const double x1 = static_cast<double>(ranges[2 * i + 1]) / PANGO_SCALE;
      region.rects.push_back({static_cast<float>(l.x + x0), static_cast<float>(l.top),
                              static_cast<float>(x1 - x0), static_cast<float>(l.height)});
    }
    g_free(ranges);
  }
  return region;
}

void TextLayout::draw(cairo_t* cr) const {
  if (lines_.empty()) return;
  cairo_save(cr);
  cairo_identity_matrix(cr);
  if (!(format_.flags & kStringFormatNoClip) && (rect_.width > 0 || rect_.height > 0)) {
    constexpr double kUnlimited = 1 << 21;
    cairo_new_path(cr);
    cairo_rectangle(cr, rect_.width > 0 ? rect_.x : -kUnlimited,
                    rect_.height > 0 ? rect_.y : -kUnlimited,
                    rect_.width > 0 ? rect_.width : 2 * kUnlimited,
                    rect_.height > 0 ? rect_.height : 2 * kUnlimited);
    cairo_clip(cr);
  }
  const bool fitted = GridFitted(hint_);
  for (const Line& l : lines_) {
    double x = l.x;
    double y = l.top + l.baseline;
    if (fitted) {
      x = std::round(x);
      y = std::round(y);
    }
    cairo_move_to(cr, x, y);
    pango_cairo_show_layout_line(cr, l.line);
  }
  cairo_restore(cr);
}

}  // namespace platform::gfx
