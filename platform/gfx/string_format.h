#pragma once

#include <vector>

namespace platform::gfx {

// Layout flags, combined as a bit set with the values callers pass.
enum StringFormatFlag : int {
  kStringFormatNoFontFallback = 0x400,
  kStringFormatMeasureTrailingSpaces = 0x800,
  kStringFormatNoWrap = 0x1000,
  kStringFormatLineLimit = 0x2000,  // only whole lines are shown
  kStringFormatNoClip = 0x4000,
};

enum class StringAlignment { near = 0, center = 1, far = 2 };

enum class StringTrimming {
  none = 0,
  character = 1,
  word = 2,
  ellipsis_character = 3,
  ellipsis_word = 4,
  ellipsis_path = 5,  // the ellipsis goes in the middle
};

// "&x": none shows the "&"; show drops it and underlines x; hide drops it. "&&" is one "&".
enum class HotkeyPrefix { none = 0, show = 1, hide = 2 };

// Code-unit positions in the UTF-16 text as given, prefix characters included.
struct CharacterRange {
  int first = 0;
  int length = 0;
};

struct StringFormat {
  int flags = 0;
  StringAlignment alignment = StringAlignment::near;
  StringAlignment line_alignment = StringAlignment::near;
  StringTrimming trimming = StringTrimming::character;
  HotkeyPrefix hotkey_prefix = HotkeyPrefix::none;
  std::vector<CharacterRange> measurable_ranges;
};

}  // namespace platform::gfx
