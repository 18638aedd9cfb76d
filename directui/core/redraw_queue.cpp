#include "directui/core/redraw_queue.h"

#include "directui/core/compose.h"
#include "directui/core/host_surfaces.h"

namespace directui {

namespace {

HostRecord* HostOf(const RedrawQueueRecord& record) {
  return reinterpret_cast<HostRecord*>(record.host);
}

}  // namespace

void Ex_RedrawQueue::Init(const HostWindow& window, std::intptr_t host,
                          platform::gfx::Graphics* graphics) {
  record_.window = window;
  record_.host = host;
  record_.graphics = graphics;
}

void Ex_RedrawQueue::Clear() {
  record_.pending.clear();
}

void Ex_RedrawQueue::Add(const RectF& area, int mode) {
  if (mode == kRedrawAtOnce) {
    ComposeArea(HostOf(record_), area, record_.graphics, true);
  } else if (mode == kRedrawFirst) {
    record_.pending.insert(record_.pending.begin(), area);
  } else {
    record_.pending.push_back(area);
  }
  if (IsIdle()) Flush();
}

void Ex_RedrawQueue::Flush() {
  HostRecord* host = HostOf(record_);
  record_.busy = 1;
  const bool layered = host != nullptr && host->layered();
  // Composition may queue more areas; they are taken in this same pass. Each area is copied
  // out before composing, since composing may grow the list.
  while (!record_.pending.empty()) {
    const RectF area = record_.pending.front();
    record_.pending.erase(record_.pending.begin());
    ComposeArea(host, area, record_.graphics, !layered);
  }
  if (layered && host->busy == 0 && record_.window && !host->offscreen.empty()) {
    record_.window.desktop->update_layered_window(record_.window.window,
                                                  SurfaceView(host->offscreen), std::nullopt, 255);
  }
  record_.busy = 0;
}

}  // namespace directui
