#include "directui/core/area_darkness.h"

#include "directui/core/colour.h"
#include "directui/core/pixel_truncation.h"

namespace directui {

namespace {

// The straight colour of the sample, none off the bitmap.
std::optional<platform::gfx::Argb> Sample(const platform::gfx::Bitmap& b, double x, double y) {
  const std::optional<int> px = TruncatedPixel(x);
  const std::optional<int> py = TruncatedPixel(y);
  if (!px || !py || *px < 0 || *py < 0 || *px >= b.width() || *py >= b.height()) {
    return std::nullopt;
  }
  return b.get_pixel(*px, *py);
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
      // A point off the background is no evidence either way: it counts as light, where an
      // unread pixel would otherwise read as transparent black.
      const auto colour = Sample(*bitmap, area.x + fx * area.width, area.y + fy * area.height);
      if (colour && IsDarkColor(*colour)) ++dark;
    }
  }
  return dark > 4;
}

}  // namespace directui
