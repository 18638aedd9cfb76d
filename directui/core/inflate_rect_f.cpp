#include "directui/core/inflate_rect_f.h"

namespace directui {

void InflateRectF(float dx, float dy, float dw, float dh, RectF& rect) {
  rect.x += dx;
  rect.y += dy;
  rect.width += dw;
  rect.height += dh;
}

}  // namespace directui
