#pragma once

#include <string>

#include "directui/core/framework_globals.h"
#include "platform/gfx/font_config.h"
#include "platform/os/clock.h"
#include "platform/os/desktop.h"
#include "platform/os/headless/headless_display.h"

namespace directui::testing {

// A desktop on a virtual screen, with the display's settings as a test gives them.
struct HeadlessDesktop {
  explicit HeadlessDesktop(platform::os::headless::HeadlessOptions options = {})
      : display(options), desktop(display, clock) {}

  platform::os::headless::HeadlessDisplay display;
  platform::os::ManualClock clock;
  platform::os::Desktop desktop;
};

inline platform::os::headless::HeadlessOptions WithFonts(std::string menu, std::string caption,
                                                         std::string message) {
  platform::os::headless::HeadlessOptions options;
  options.metrics.menu_font = std::move(menu);
  options.metrics.caption_font = std::move(caption);
  options.metrics.message_font = std::move(message);
  return options;
}

// The program's font map, or its variant where 宋体 is missing.
inline bool LoadFontMap(bool with_song_ti) {
  return platform::gfx::LoadFontConfigFile(
      std::string(SHOULU_FONTS_DIR) +
      (with_song_ti ? "/fonts.conf" : "/fonts-without-simsun.conf"));
}

// Puts the framework's globals back as a fresh process has them.
inline void ResetFrameworkGlobals() {
  OsMajorVersion = 0;
  DefaultFont.reset();
  DefaultCursor = platform::os::CursorShape::none;
  ClassIcon.reset();
  SpriteImage.reset();
}

}  // namespace directui::testing
