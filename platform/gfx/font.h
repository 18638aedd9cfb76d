#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

using PangoFontDescription = struct _PangoFontDescription;

namespace platform::gfx {

// Style bits as callers pass them; 0 is regular.
enum FontStyleBit : int {
  kFontBold = 1,
  kFontItalic = 2,
  kFontUnderline = 4,
  kFontStrikeout = 8,
};

// A font family that the font configuration has: a name that is not installed (and not mapped
// to an installed font by the configuration) is reported missing instead of standing in for
// some other family.
class FontFamily {
 public:
  static std::optional<FontFamily> find(std::u16string_view name);

  const std::u16string& name() const { return name_; }
  const std::string& utf8_name() const { return utf8_name_; }

 private:
  FontFamily(std::u16string name, std::string utf8) : name_(std::move(name)), utf8_name_(utf8) {}
  std::u16string name_;
  std::string utf8_name_;
};

class Font {
 public:
  // A font of the family at size_px pixels; none for a size that is not positive.
  static std::optional<Font> create(const FontFamily& family, float size_px, int style = 0);

  Font(const Font& other);
  Font& operator=(const Font& other);
  Font(Font&&) noexcept = default;
  Font& operator=(Font&&) noexcept = default;
  ~Font();

  const FontFamily& family() const { return family_; }
  const std::u16string& family_name() const { return family_.name(); }
  float size() const { return size_; }
  int style() const { return style_; }
  // The distance from one line to the next, in pixels.
  float line_height() const { return line_height_; }

  const PangoFontDescription* description() const { return description_.get(); }

 private:
  struct DescriptionRelease {
    void operator()(PangoFontDescription* d) const;
  };
  Font(FontFamily family, float size, int style);
  FontFamily family_;
  float size_;
  int style_;
  float line_height_ = 0;
  std::unique_ptr<PangoFontDescription, DescriptionRelease> description_;
};

}  // namespace platform::gfx
