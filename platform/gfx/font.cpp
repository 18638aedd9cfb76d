#include "platform/gfx/font.h"

#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>

#include <string_view>
#include <vector>

#include "platform/gfx/font_map.h"
#include "platform/gfx/utf16.h"

namespace platform::gfx {

namespace {

struct PatternRelease {
  void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternRelease>;

// Family names compare as fontconfig compares them: ASCII case and blanks do not count.
bool SameFamily(const FcChar8* a, const std::string& b) {
  auto squeeze = [](std::string_view s) {
    std::string out;
    for (char c : s) {
      if (c == ' ') continue;
      out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return out;
  };
  return squeeze(reinterpret_cast<const char*>(a)) == squeeze(b);
}

// After substitution the family list holds the configuration's preferred replacements first,
// then the name itself, then the general fallbacks. The name is installed when the best match
// is one of the families up to and including the name; a match among the fallbacks only means
// fontconfig found something else.
bool FamilyInstalled(const std::string& name) {
  FcConfig* config = CurrentFontConfig();
  if (config == nullptr || name.empty()) return false;
  PatternPtr pattern(FcPatternCreate());
  FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
  FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());

  std::vector<std::string> accepted;
  FcChar8* family = nullptr;
  for (int i = 0; FcPatternGetString(pattern.get(), FC_FAMILY, i, &family) == FcResultMatch; ++i) {
    accepted.emplace_back(reinterpret_cast<const char*>(family));
    if (SameFamily(family, name)) break;
  }
  FcResult result = FcResultNoMatch;
  PatternPtr match(FcFontMatch(config, pattern.get(), &result));
  if (!match) return false;
  for (int i = 0; FcPatternGetString(match.get(), FC_FAMILY, i, &family) == FcResultMatch; ++i) {
    for (const std::string& a : accepted) {
      if (SameFamily(family, a)) return true;
    }
  }
  return false;
}

float MeasureLineHeight(const PangoFontDescription* description) {
  PangoContext* context = NewTextContext();
  PangoFontMetrics* metrics = pango_context_get_metrics(context, description, nullptr);
  int height = pango_font_metrics_get_height(metrics);
  if (height <= 0) {
    height = pango_font_metrics_get_ascent(metrics) + pango_font_metrics_get_descent(metrics);
  }
  pango_font_metrics_unref(metrics);
  g_object_unref(context);
  return static_cast<float>(height) / PANGO_SCALE;
}

}  // namespace

std::optional<FontFamily> FontFamily::find(std::u16string_view name) {
  std::string utf8 = Utf16ToUtf8(name);
  if (!FamilyInstalled(utf8)) return std::nullopt;
  return FontFamily(std::u16string(name), std::move(utf8));
}

void Font::DescriptionRelease::operator()(PangoFontDescription* d) const {
  pango_font_description_free(d);
}

Font::Font(FontFamily family, float size, int style)
    : family_(std::move(family)), size_(size), style_(style) {
  PangoFontDescription* d = pango_font_description_new();
  pango_font_description_set_family(d, family_.utf8_name().c_str());
  pango_font_description_set_absolute_size(d, static_cast<double>(size) * PANGO_SCALE);
  pango_font_description_set_weight(d,
                                    (style & kFontBold) ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_style(d,
                                   (style & kFontItalic) ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  description_.reset(d);
  line_height_ = MeasureLineHeight(d);
}

std::optional<Font> Font::create(const FontFamily& family, float size_px, int style) {
  if (!(size_px > 0) || size_px > 4096) return std::nullopt;
  return Font(family, size_px, style);
}

Font::Font(const Font& other)
    : family_(other.family_),
      size_(other.size_),
      style_(other.style_),
      line_height_(other.line_height_),
      description_(pango_font_description_copy(other.description())) {}

Font& Font::operator=(const Font& other) {
  if (this != &other) *this = Font(other);
  return *this;
}

Font::~Font() = default;

}  // namespace platform::gfx
