#include "platform/os/x11/private_x_server.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

namespace x11_testing {

PrivateXServer::PrivateXServer() {
  int pipe_fds[2];
  if (pipe(pipe_fds) != 0) return;
  pid_ = fork();
  if (pid_ == 0) {
    close(pipe_fds[0]);
    const std::string fd = std::to_string(pipe_fds[1]);
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1920x1080x24", "-nolisten",
           "tcp", "-noreset", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(pipe_fds[1]);
  if (pid_ < 0) {
    close(pipe_fds[0]);
    return;
  }
  // The server writes its display number once it accepts connections.
  std::string number;
  pollfd ready{pipe_fds[0], POLLIN, 0};
  while (poll(&ready, 1, 20000) == 1) {
    char c = 0;
    if (read(pipe_fds[0], &c, 1) != 1 || c == '\n') break;
    number += c;
  }
  close(pipe_fds[0]);
  if (!number.empty()) name_ = ":" + number;
}

PrivateXServer::~PrivateXServer() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  int status = 0;
  waitpid(pid_, &status, 0);
}

const PrivateXServer& SharedServer() {
  static const PrivateXServer server;
  return server;
}

}  // namespace x11_testing
