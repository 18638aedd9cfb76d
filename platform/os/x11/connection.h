#pragma once

#include "platform/os/x11/xlib.h"

#include <memory>
#include <optional>
#include <string>

#include "platform/os/x11/atoms.h"

namespace platform::os::x11 {

// Extensions the backend uses when the server offers them.
struct ServerFeatures {
  bool shape = false;          // window regions
  bool shared_memory = false;  // MIT-SHM presentation
  bool shared_pixmaps = false;
};

// One Xlib connection, used from the user-interface thread only.
class Connection {
 public:
  explicit Connection(Display* display);
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  Display* display() const { return display_; }
  int screen() const { return screen_; }
  XWindow root() const { return root_; }
  const Atoms& atoms() const { return atoms_; }
  const ServerFeatures& features() const { return features_; }
  int fd() const { return ConnectionNumber(display_); }

  // Tests switch presentation to the plain path on a server that has shared memory.
  void DisableSharedMemory() { features_.shared_memory = false; }

 private:
  Display* display_;
  int screen_;
  XWindow root_;
  Atoms atoms_;
  ServerFeatures features_;
};

struct DisplayOpenResult {
  std::unique_ptr<Connection> connection;  // null on failure
  std::string error;                       // one line saying why, when there is no connection
};

// Opens the named display, or the one DISPLAY names when no name is given.
DisplayOpenResult OpenDisplay(std::optional<std::string> name = std::nullopt);

}  // namespace platform::os::x11
