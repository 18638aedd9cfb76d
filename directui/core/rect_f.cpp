#include "directui/core/rect_f.h"

#include <cstring>

namespace directui {

RectF MakeRectF(int x, int y, int width, int height) {
  return RectF{static_cast<float>(x), static_cast<float>(y), static_cast<float>(width),
               static_cast<float>(height)};
}

RectF ReadRectF(const void* address) {
  RectF r;
  if (address != nullptr) std::memcpy(&r, address, sizeof r);
  return r;
}

}  // namespace directui
