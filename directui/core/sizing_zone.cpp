#include "directui/core/sizing_zone.h"

#include "platform/os/messages.h"

namespace directui {

namespace os = platform::os;
using os::CursorShape;

namespace {

constexpr int kTopBand = 8;
constexpr int kLeftBand = 8;
constexpr int kCornerReach = 10;
constexpr int kFarBand = 10;  // right and bottom

SizingZone Zone(os::WPARAM code, CursorShape cursor) {
  return {static_cast<int>(code), cursor};
}

}  // namespace

SizingZone ClassifySizingZone(int x, int y, int width, int height) {
  // Whole pixels: the distances to the far edges need no tolerance.
  const bool near_right = width - x < kFarBand;
  if (y < kTopBand) {
    if (x < kCornerReach) return Zone(os::WMSZ_TOPLEFT, CursorShape::size_nwse);
    if (near_right) return Zone(os::WMSZ_TOPRIGHT, CursorShape::size_nesw);
    return Zone(os::WMSZ_TOP, CursorShape::size_ns);
  }
  if (height - y < kFarBand) {
    if (x < kCornerReach) return Zone(os::WMSZ_BOTTOMLEFT, CursorShape::size_nesw);
    if (near_right) return Zone(os::WMSZ_BOTTOMRIGHT, CursorShape::size_nwse);
    return Zone(os::WMSZ_BOTTOM, CursorShape::size_ns);
  }
  if (x < kLeftBand) return Zone(os::WMSZ_LEFT, CursorShape::size_we);
  if (near_right) return Zone(os::WMSZ_RIGHT, CursorShape::size_we);
  return {};
}

}  // namespace directui
