#include "platform/os/thread_waker.h"

#include <sys/eventfd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace platform::os {

ThreadWaker::ThreadWaker() : fd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
  if (!fd_.valid()) {
    // Without it no thread could ever wait; nothing sensible can go on.
    std::perror("eventfd");
    std::abort();
  }
}

void ThreadWaker::wake() {
  if (!sleeping_.exchange(false)) return;
  std::uint64_t one = 1;
  ssize_t n;
  do {
    n = ::write(fd_.get(), &one, sizeof one);
  } while (n < 0 && errno == EINTR);
}

void ThreadWaker::clear() {
  std::uint64_t value;
  ssize_t n;
  do {
    n = ::read(fd_.get(), &value, sizeof value);
  } while (n < 0 && errno == EINTR);
}

const std::shared_ptr<ThreadWaker>& ThreadWaker::current() {
  thread_local const std::shared_ptr<ThreadWaker> waker = std::make_shared<ThreadWaker>();
  return waker;
}

}  // namespace platform::os
