#include "directui/core/caption_elements.h"

namespace directui {

CaptionElementClasses& CaptionElementRegistry() {
  static CaptionElementClasses classes;
  return classes;
}

}  // namespace directui
