#include "directui/core/window_class_registration.h"

#include "directui/core/ansi_text.h"
#include "directui/core/framework_globals.h"
#include "directui/core/window_icons.h"

namespace directui {

bool RegisterWindowClass(platform::os::Desktop& desktop, const WindowClassOptions& options) {
  platform::os::WindowClass window_class;
  window_class.name = options.class_name
                          ? platform::text::FromUtf16(AnsiToWide(*options.class_name),
                                                      platform::text::kCodePageUtf8)
                          : std::string(kFrameworkWindowClass);
  window_class.style = options.style.value_or(platform::os::CS_DBLCLKS);
  window_class.procedure = options.procedure;
  window_class.icon = options.icon ? options.icon : ProgramIcon(true);
  window_class.cursor = options.cursor.value_or(DefaultCursor);
  ClassIcon = window_class.icon;
  return desktop.register_class(std::move(window_class));
}

}  // namespace directui
