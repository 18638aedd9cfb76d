#pragma once

#include <cstdint>

#include "directui/core/host_record.h"
#include "directui/core/rect_f.h"
#include "platform/gfx/graphics.h"

namespace directui {

// How QueueRedraw takes an area.
inline constexpr int kRedrawAppend = 0;
inline constexpr int kRedrawAtOnce = 1;  // composed and presented at once, not queued
inline constexpr int kRedrawFirst = 2;

// The host's queue of invalidated areas, working on the record the host keeps. Areas are
// composed one by one; a layered window is updated once per flush, not once per area.
class Ex_RedrawQueue {
 public:
  explicit Ex_RedrawQueue(RedrawQueueRecord& record) : record_(record) {}

  void Init(const HostWindow& window, std::intptr_t host, platform::gfx::Graphics* graphics);
  void Clear();
  // Queues the area (or composes it at once for kRedrawAtOnce), then flushes unless a flush
  // is already running; areas added during a flush are taken by that flush.
  void Add(const RectF& area, int mode);
  bool IsIdle() const { return record_.busy == 0; }
  void Flush();

 private:
  RedrawQueueRecord& record_;
};

}  // namespace directui
