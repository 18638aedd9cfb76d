#include "directui/core/window_icons.h"

#include <algorithm>

#include "platform/gfx/image.h"
#include "resources/pictures.h"

namespace directui {

using platform::os::Icon;

const Icon* GetWindowIcon(platform::os::Desktop& desktop, platform::os::Window window, bool big) {
  const auto which = big ? platform::os::ICON_BIG : platform::os::ICON_SMALL;
  const auto shown = desktop.send_message(window, platform::os::WM_GETICON, which, 0);
  if (shown != 0) return reinterpret_cast<const Icon*>(shown);
  if (auto icon = desktop.class_icon(window, big)) return icon.get();
  if (!big) return desktop.class_icon(window, true).get();
  return nullptr;
}

std::shared_ptr<const Icon> IconFromPng(std::span<const std::uint8_t> png) {
  auto image = platform::gfx::Image::decode(png);
  if (!image) return nullptr;
  const platform::gfx::Bitmap& bitmap = image->bitmap();
  auto icon = std::make_shared<Icon>();
  icon->width = bitmap.width();
  icon->height = bitmap.height();
  icon->pixels.resize(static_cast<std::size_t>(icon->width) * icon->height);
  const auto* row = reinterpret_cast<const std::uint8_t*>(bitmap.pixels());
  for (int y = 0; y < icon->height; ++y, row += bitmap.stride()) {
    const auto* from = reinterpret_cast<const std::uint32_t*>(row);
    std::copy(from, from + icon->width, icon->pixels.begin() + std::size_t(y) * icon->width);
  }
  return icon;
}

std::shared_ptr<const Icon> ProgramIcon(bool big) {
  return IconFromPng(big ? resources::ProgramIcon48() : resources::ProgramIcon20());
}

}  // namespace directui
