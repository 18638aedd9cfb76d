#include "directui/core/work_area.h"

namespace directui {

WorkArea GetWorkArea(platform::os::Desktop& desktop) {
  const platform::os::Rect r = desktop.work_area();
  if (r.empty()) return {};
  return {r.left, r.top, r.width(), r.height()};
}

}  // namespace directui
