#include "app/main_window.h"

#include <unistd.h>

#include <memory>

#include "app/globals.h"
#include "directui/core/window_class_registration.h"
#include "directui/core/window_icons.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/graphics.h"

namespace app {
namespace {

namespace os = platform::os;
namespace gfx = platform::gfx;

// The button-face grey the window class paints its background with, framed by a darker line so
// the window reads as a window before the host draws over it.
constexpr gfx::Argb kBackground = 0xFFF0F0F0;
constexpr gfx::Argb kFrame = 0xFF7A7A7A;

// The program's icons; the window shows them for as long as it lives, which is the process.
struct ProgramIcons {
  std::shared_ptr<const os::Icon> big = directui::ProgramIcon(true);
  std::shared_ptr<const os::Icon> small = directui::ProgramIcon(false);
};
const ProgramIcons& Icons() {
  static const ProgramIcons icons;
  return icons;
}

void PaintPlainFrame(os::Desktop& desktop, os::Window window) {
  desktop.begin_paint(window);
  const os::Rect client = desktop.client_rect(window);
  gfx::Bitmap canvas = gfx::Bitmap::create(client.width(), client.height());
  if (canvas.empty()) return;
  {
    gfx::Graphics g(canvas);
    g.clear(kBackground);
    const float w = static_cast<float>(client.width());
    const float h = static_cast<float>(client.height());
    g.fill_rectangle(gfx::SolidBrush{kFrame}, {0, 0, w, 1});
    g.fill_rectangle(gfx::SolidBrush{kFrame}, {0, h - 1, w, 1});
    g.fill_rectangle(gfx::SolidBrush{kFrame}, {0, 0, 1, h});
    g.fill_rectangle(gfx::SolidBrush{kFrame}, {w - 1, 0, 1, h});
  }
  desktop.present(window,
                  os::PixelView{canvas.pixels(), canvas.width(), canvas.height(), canvas.stride()});
}

os::LRESULT MainWindowProc(os::Desktop& desktop, os::Window window, std::uint32_t message,
                           os::WPARAM wparam, os::LPARAM lparam) {
  switch (message) {
    case os::WM_CLOSE:
      OnCloseRequest();
    case os::WM_PAINT:
      PaintPlainFrame(desktop, window);
      return 0;
    default:
      return desktop.def_window_proc(window, message, wparam, lparam);
  }
}

void SetIcons(os::Desktop& desktop, os::Window window) {
  desktop.send_message(window, os::WM_SETICON, os::ICON_BIG,
                       reinterpret_cast<os::LPARAM>(Icons().big.get()));
  desktop.send_message(window, os::WM_SETICON, os::ICON_SMALL,
                       reinterpret_cast<os::LPARAM>(Icons().small.get()));
}

}  // namespace

os::Window CreateMainWindow(os::Desktop& desktop) {
  directui::RegisterWindowClass(desktop, {.class_name = kMainWindowClass,
                                          .icon = Icons().big,
                                          .procedure = [&desktop](os::Window w, std::uint32_t m,
                                                                  os::WPARAM wp, os::LPARAM lp) {
                                            return MainWindowProc(desktop, w, m, wp, lp);
                                          }});
  os::CreateWindowParams params;
  params.class_name = kMainWindowClass;
  params.title = kMainWindowCaption;
  params.style = os::WS_OVERLAPPEDWINDOW;
  params.position = kMainWindowPosition;
  params.size = kMainWindowSize;
  const os::Window window = desktop.create_window(params);
  if (!window) return window;
  MainWindow = window;
  SetIcons(desktop, window);
  OnMainWindowCreated();
  desktop.show_window(window, os::SW_SHOWNORMAL);
  desktop.update_window(window);
  return window;
}

void OnMainWindowCreated() {}

void OnCloseRequest() {
  _exit(0);
}

}  // namespace app
