#pragma once

#include <sys/types.h>

#include <string>

namespace x11_testing {

// An Xvfb of the test program's own, on a display number the server picks itself, so that
// tests running side by side never see each other's windows or pointer.
class PrivateXServer {
 public:
  PrivateXServer();
  ~PrivateXServer();
  PrivateXServer(const PrivateXServer&) = delete;
  PrivateXServer& operator=(const PrivateXServer&) = delete;

  // ":N", or empty when the server could not be started.
  const std::string& name() const { return name_; }

 private:
  pid_t pid_ = -1;
  std::string name_;
};

// The program's server, started on first use and stopped when the program ends.
const PrivateXServer& SharedServer();

}  // namespace x11_testing
