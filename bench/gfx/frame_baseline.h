#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "bench/support/thread_time.h"

namespace platform::gfx::bench {

constexpr int kFrameWidth = 383;
constexpr int kFrameHeight = 343;

using bench_support::ThreadSeconds;

// Seconds one memcpy of a whole 383 x 343 ARGB frame takes on this machine now: the best of a
// few batches, so that the figures below are ratios rather than absolute times.
inline double MemcpyFrameSeconds() {
  static const double seconds = [] {
    const std::size_t bytes = std::size_t{kFrameWidth} * kFrameHeight * 4;
    std::vector<std::uint8_t> from(bytes, 0x5A);
    std::vector<std::uint8_t> to(bytes);
    double best = 1e9;
    for (int batch = 0; batch < 7; ++batch) {
      constexpr int kCopies = 400;
      const double start = ThreadSeconds();
      for (int i = 0; i < kCopies; ++i) {
        from[static_cast<std::size_t>(i) % bytes] = static_cast<std::uint8_t>(i);
        std::memcpy(to.data(), from.data(), bytes);
        asm volatile("" : : "r"(to.data()) : "memory");
      }
      best = std::min(best, (ThreadSeconds() - start) / kCopies);
    }
    return best;
  }();
  return seconds;
}

}  // namespace platform::gfx::bench
