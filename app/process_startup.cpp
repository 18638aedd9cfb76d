#include "app/process_startup.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/cpu_features.h"
#include "app/globals.h"
#include "app/main_window.h"
#include "directui/core/framework_init.h"
#include "platform/gfx/font_config.h"
#include "platform/os/clock.h"
#include "platform/os/x11/x11_backend.h"
#include "resources/pictures.h"

namespace app {

platform::os::Window StartProgram(platform::os::Desktop& desktop) {
  ProgramDesktop = &desktop;
  CreateGlobals();
  std::atexit(ReleaseGlobals);
  directui::InitFramework(desktop);
  DetectCpuFeatures();
  return CreateMainWindow(desktop);
}

int RunMessageLoop(platform::os::Desktop& desktop) {
  platform::os::Message message;
  while (desktop.get_message(message)) {
    desktop.translate_message(message);
    desktop.dispatch_message(message);
  }
  return static_cast<int>(message.wparam);
}

int RunProgram() {
  platform::os::x11::X11BackendOpenResult opened = platform::os::x11::OpenX11Backend();
  if (!opened.backend) {
    std::fprintf(stderr, "shoulu: %s\n", opened.error.c_str());
    return 1;
  }
  // The window system outlives main's return: the exit routine still finds it there.
  static const std::unique_ptr<platform::os::x11::X11Backend> backend = std::move(opened.backend);
  static platform::os::SteadyClock clock;
  static platform::os::Desktop desktop(*backend, clock);
  // The program asks for "宋体", "微软雅黑" and "Tahoma"; its own map gives them Debian's faces.
  const std::span<const std::uint8_t> font_map = resources::FontMap();
  platform::gfx::LoadFontConfigText(
      {reinterpret_cast<const char*>(font_map.data()), font_map.size()});
  if (!StartProgram(desktop)) {
    std::fprintf(stderr, "shoulu: the main window could not be created\n");
    return 1;
  }
  return RunMessageLoop(desktop);
}

}  // namespace app
