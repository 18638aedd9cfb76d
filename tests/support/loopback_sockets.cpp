#include "support/loopback_sockets.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace test_support {
namespace {

// Binds a socket to an ephemeral 127.0.0.1 port; -1 on failure.
int BindLoopback(std::uint16_t& port) {
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    close(fd);
    return -1;
  }
  port = ntohs(address.sin_port);
  return fd;
}

}  // namespace

std::uint16_t RefusedLoopbackPort() {
  std::uint16_t port = 0;
  int fd = BindLoopback(port);
  if (fd >= 0) close(fd);
  return port;
}

SilentListener::SilentListener() {
  fd_ = BindLoopback(port_);
  if (fd_ >= 0 && listen(fd_, 4) != 0) {
    close(fd_);
    fd_ = -1;
    port_ = 0;
  }
}

SilentListener::~SilentListener() {
  if (fd_ >= 0) close(fd_);
}

}  // namespace test_support
