// Which element the mouse is over.
#include "directui/core/host.h"

namespace directui {

namespace {

constexpr float kTolerance = 1e-7f;

bool Contains(const RectF& r, float x, float y) {
  return x >= r.x - kTolerance && y >= r.y - kTolerance && x < r.x + r.width - kTolerance &&
         y < r.y + r.height - kTolerance;
}

// Walks one sibling list from its last element (painted on top) backwards; the first element
// that takes the point answers with its deepest child under it.
Ex_Element* HitTestList(Ex_Element* last, float x, float y) {
  for (Ex_Element* element = last; element != nullptr; element = element->previous_sibling) {
    if (element->visible == 0 || element->disabled != 0 || !Contains(element->bounds, x, y)) {
      continue;
    }
    Ex_Element* inner = HitTestList(element->last_child, x, y);
    return inner != nullptr ? inner : element;
  }
  return nullptr;
}

}  // namespace

Ex_Element* Ex_Host::HitTest(int x, int y) const {
  return HitTestList(last_root, static_cast<float>(x), static_cast<float>(y));
}

}  // namespace directui
