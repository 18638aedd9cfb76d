#include "directui/core/fonts.h"

#include <cstdio>
#include <cstdlib>

#include "directui/core/ansi_text.h"
#include "directui/core/framework_globals.h"
#include "platform/os/desktop.h"

namespace directui {
namespace {

using platform::gfx::Font;
using platform::gfx::FontFamily;

// A face-name field holds 32 UTF-16 units with the terminating zero.
constexpr std::size_t kFaceNameUnits = 31;

const std::string& SongTi() {
  static const std::string name = WideToAnsi(u"宋体");
  return name;
}

std::optional<FontFamily> FindFamily(std::string_view face) {
  const std::u16string wide = AnsiToWide(face);
  if (wide.empty()) return std::nullopt;
  return FontFamily::find(wide);
}

[[noreturn]] void FontSelectorError(int which) {
  std::fprintf(stderr,
               "GetSystemUiFontName: font selector %d is none of 1 (menu), 2 (caption) and 3 "
               "(message)\n",
               which);
  std::abort();
}

platform::os::UiFont UiFontOf(int which) {
  switch (which) {
    case kMenuFont:
      return platform::os::UiFont::menu;
    case kCaptionFont:
      return platform::os::UiFont::caption;
    case kMessageFont:
      return platform::os::UiFont::message;
    default:
      FontSelectorError(which);
  }
}

}  // namespace

std::optional<Font> PickDefaultFont(platform::os::Desktop& desktop) {
  for (const std::string& face : {SongTi(), GetSystemUiFontName(desktop, kCaptionFont)}) {
    if (auto family = FindFamily(face)) return Font::create(*family, 12.0f, 0);
  }
  return std::nullopt;
}

std::string GetSystemUiFontName(platform::os::Desktop& desktop, std::optional<int> which) {
  const platform::os::UiFont font = UiFontOf(which.value_or(kCaptionFont));
  std::u16string face =
      platform::text::ToUtf16(desktop.system_ui_font(font), platform::text::kCodePageUtf8);
  if (face.size() > kFaceNameUnits) face.resize(kFaceNameUnits);
  std::string name = WideToAnsi(face);
  if (name.empty() || name == "Tahoma") name = SongTi();
  if (!CreateFontByName(name, 12.0f, 0)) return SongTi();
  return name;
}

std::optional<Font> CreateFontByName(std::string_view face, float size_px, int style) {
  std::optional<FontFamily> family = FindFamily(face);
  if (!family && DefaultFont) family = FontFamily::find(DefaultFont->family_name());
  if (!family) return std::nullopt;
  return Font::create(*family, size_px, style);
}

std::string GetFontFamilyName(const Font* font) {
  if (font == nullptr) return {};
  std::u16string_view name = font->family_name();
  return WideToAnsi(name.substr(0, std::min(name.size(), kFaceNameUnits)));
}

}  // namespace directui
