#pragma once

#include <cstdint>

namespace test_support {

// A 127.0.0.1 port nobody listens on (bound once, closed again), so a connection is refused.
std::uint16_t RefusedLoopbackPort();

// A 127.0.0.1 socket that listens but never accepts or reads: connections complete in the
// kernel, then every byte sent to it piles up until the buffers are full.
class SilentListener {
 public:
  SilentListener();
  ~SilentListener();
  SilentListener(const SilentListener&) = delete;
  SilentListener& operator=(const SilentListener&) = delete;

  std::uint16_t Port() const { return port_; }

 private:
  int fd_ = -1;
  std::uint16_t port_ = 0;
};

}  // namespace test_support
