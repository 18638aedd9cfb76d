#include "directui/core/host_record.h"

#include "directui/core/element.h"
#include "directui/core/window_host_lookup.h"

namespace directui {

HostRecord::HostRecord() = default;
HostRecord::~HostRecord() = default;

void HostRecord::SetElementToolTip(Ex_Element*, const std::string*) {}

HostRecord* GetHostRecord(const HostWindow& window) {
  if (!window) return nullptr;
  return GetWindowHostObject<HostRecord>(*window.desktop, window.window);
}

}  // namespace directui
