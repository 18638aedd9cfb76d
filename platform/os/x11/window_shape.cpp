#include "platform/os/x11/window_shape.h"

#include <X11/extensions/shape.h>

#include <algorithm>
#include <limits>

namespace platform::os::x11 {

namespace {

struct Run {
  int begin;
  int end;
  friend bool operator==(const Run&, const Run&) = default;
};

void RowRuns(const PixelView& pixels, int y, std::vector<Run>& runs) {
  runs.clear();
  int x = 0;
  while (x < pixels.width) {
    while (x < pixels.width && (pixels.at(x, y) >> 24) == 0) ++x;
    const int begin = x;
    while (x < pixels.width && (pixels.at(x, y) >> 24) != 0) ++x;
    if (x > begin) runs.push_back({begin, x});
  }
}

short Coordinate(int value) {
  return static_cast<short>(
      std::clamp<int>(value, std::numeric_limits<short>::min(), std::numeric_limits<short>::max()));
}

}  // namespace

std::vector<Rect> RectsFromAlpha(const PixelView& pixels) {
  std::vector<Rect> rects;
  if (pixels.empty() || pixels.stride_bytes < pixels.width * 4) return rects;
  std::vector<Run> band;
  std::vector<Run> row;
  int band_top = 0;
  auto close_band = [&](int bottom) {
    for (const Run& run : band) rects.push_back({run.begin, band_top, run.end, bottom});
  };
  for (int y = 0; y < pixels.height; ++y) {
    RowRuns(pixels, y, row);
    if (y > 0 && row == band) continue;
    close_band(y);
    band.swap(row);
    band_top = y;
  }
  close_band(pixels.height);
  return rects;
}

void SetWindowShape(Display* display, XWindow window, std::span<const Rect> rects,
                    ShapeCombine combine) {
  std::vector<XRectangle> boxes;
  boxes.reserve(rects.size());
  for (const Rect& r : rects) {
    if (r.empty()) continue;
    boxes.push_back({Coordinate(r.left), Coordinate(r.top),
                     static_cast<unsigned short>(std::min(r.width(), 0xFFFF)),
                     static_cast<unsigned short>(std::min(r.height(), 0xFFFF))});
  }
  // The caller's rectangles need not be banded; the server sorts them.
  XShapeCombineRectangles(display, window, ShapeBounding, 0, 0, boxes.data(),
                          static_cast<int>(boxes.size()),
                          combine == ShapeCombine::replace ? ShapeSet : ShapeIntersect, Unsorted);
}

void ClearWindowShape(Display* display, XWindow window) {
  XShapeCombineMask(display, window, ShapeBounding, 0, 0, None, ShapeSet);
}

}  // namespace platform::os::x11
