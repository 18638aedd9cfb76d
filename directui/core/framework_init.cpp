#include "directui/core/framework_init.h"

#include "directui/core/fonts.h"
#include "directui/core/framework_globals.h"
#include "directui/core/image_bytes.h"
#include "directui/core/window_class_registration.h"
#include "resources/pictures.h"

namespace directui {

void InitFramework(platform::os::Desktop& desktop) {
  // The drawing library needs no start-up of its own.
  OsMajorVersion = 0;
  DefaultFont = PickDefaultFont(desktop);
  DefaultCursor = platform::os::CursorShape::arrow;
  SpriteImage = LoadImageFromBytes(resources::CaptionButtons(), {.add_signature = true});
  RegisterWindowClass(desktop);
}

}  // namespace directui
