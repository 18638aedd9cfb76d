#include "directui/core/popup_window.h"

#include "directui/core/ansi_text.h"
#include "directui/core/window_class_registration.h"
#include "directui/core/window_icons.h"
#include "directui/core/work_area.h"

namespace directui {
namespace {

using platform::os::Window;

// The offset that centres `size` in the span [start, start + extent), truncated toward zero.
int Centred(int start, int extent, int size) {
  return start + (extent - size) / 2;
}

void GiveExplicitIcons(platform::os::Desktop& desktop, Window window) {
  const platform::os::Icon* small_icon = GetWindowIcon(desktop, window, false);
  desktop.send_message(window, platform::os::WM_SETICON, platform::os::ICON_SMALL,
                       reinterpret_cast<platform::os::LPARAM>(small_icon));
  const platform::os::Icon* big_icon = GetWindowIcon(desktop, window, true);
  desktop.send_message(window, platform::os::WM_SETICON, platform::os::ICON_BIG,
                       reinterpret_cast<platform::os::LPARAM>(big_icon));
}

}  // namespace

Window CreatePopupWindow(platform::os::Desktop& desktop, const PopupWindowParams& params) {
  const int width = params.width.value_or(kPopupDefaultWidth);
  const int height = params.height.value_or(kPopupDefaultHeight);
  WorkArea area;
  if (!params.x || !params.y) area = GetWorkArea(desktop);
  const int x = params.x.value_or(Centred(area.left, area.width, width));
  const int y = params.y.value_or(Centred(area.top, area.height, height));

  platform::os::CreateWindowParams create;
  create.class_name = params.class_name ? platform::text::FromUtf16(AnsiToWide(*params.class_name),
                                                                    platform::text::kCodePageUtf8)
                                        : std::string(kFrameworkWindowClass);
  create.title = AnsiToWide(params.title);
  create.style = params.style.value_or(kPopupDefaultStyle);
  create.ex_style = params.ex_style;
  create.position = platform::os::Point{x, y};
  create.size = platform::os::Size{width, height};
  create.owner = params.parent;
  const Window window = desktop.create_window(create);
  if (!window) return window;

  GiveExplicitIcons(desktop, window);
  if (params.show) {
    desktop.show_window(window, platform::os::SW_SHOWNORMAL);
    desktop.update_window(window);
  }
  return window;
}

}  // namespace directui
