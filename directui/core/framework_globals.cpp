#include "directui/core/framework_globals.h"

namespace directui {

int OsMajorVersion = 0;
std::optional<platform::gfx::Font> DefaultFont;
platform::os::CursorShape DefaultCursor = platform::os::CursorShape::none;
std::shared_ptr<const platform::os::Icon> ClassIcon;
ImagePtr SpriteImage;

}  // namespace directui
