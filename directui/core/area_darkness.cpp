#include "directui/core/area_darkness.h"

#include "directui/core/colour.h"

namespace directui {

namespace {

int Truncated(double v) {
  return static_cast<int>(v);
}

bool Inside(const platform::gfx::Bitmap& b, int x, int y) {
  return x >= 0 && y >= 0 && x < b.width() && y < b.height();
}

}  // namespace

bool IsAreaDark(const std::optional<HostBackground>& host, const RectF& area) {
  if (!host) return false;
  const platform::gfx::Bitmap* bitmap = host->bitmap;
  if (bitmap == nullptr || bitmap->empty()) return IsDarkColor(MakeArgb(host->colour));
  static constexpr double kFractions[] = {0.2, 0.5, 0.8};
  int dark = 0;
  for (double fy : kFractions) {
    for (double fx : kFractions) {
      const int x = Truncated(area.x + fx * area.width);
      const int y = Truncated(area.y + fy * area.height);
      // A point off the background is no evidence either way: it counts as light, where an
      // unread pixel would otherwise read as transparent black.
      if (Inside(*bitmap, x, y) && IsDarkColor(bitmap->get_pixel(x, y))) ++dark;
    }
  }
  return dark > 4;
}

}  // namespace directui
