// Runs the real program on the X display of the test run and looks at it as another X client
// would: where its window is mapped, its title and icon, and what a close request does.
// GoogleTest first: Xlib defines None and other short names as macros.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

// Waits for what the program does, polling; never asserts how long it took. The bound only
// keeps a broken program from hanging the run.
constexpr int kPolls = 400;
constexpr auto kPollInterval = std::chrono::milliseconds(25);

class Program {
 public:
  Program() {
    char* argv[] = {const_cast<char*>(SHOULU_BINARY), nullptr};
    started_ = posix_spawn(&pid_, SHOULU_BINARY, nullptr, nullptr, argv, environ) == 0;
  }
  ~Program() {
    if (started_ && !status_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }
  bool started() const { return started_; }
  pid_t pid() const { return pid_; }

  // The exit status once the program has ended; none while it still runs.
  std::optional<int> Wait() {
    for (int i = 0; i < kPolls && !status_; ++i) {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      } else {
        std::this_thread::sleep_for(kPollInterval);
      }
    }
    return status_;
  }

 private:
  pid_t pid_ = 0;
  bool started_ = false;
  std::optional<int> status_;
};

class X11ShouluTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || *name == 0) GTEST_SKIP() << "DISPLAY is not set";
    // A server that resets once its last client has gone refuses connections for a moment.
    for (int i = 0; i < kPolls && display_ == nullptr; ++i) {
      display_ = XOpenDisplay(nullptr);
      if (display_ == nullptr) std::this_thread::sleep_for(kPollInterval);
    }
    ASSERT_NE(display_, nullptr) << "cannot open display " << name;
  }
  void TearDown() override {
    if (display_ != nullptr) XCloseDisplay(display_);
  }

  Atom atom(const char* name) { return XInternAtom(display_, name, False); }

  std::vector<unsigned long> CardinalProperty(Window w, const char* name) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<unsigned long> values;
    if (XGetWindowProperty(display_, w, atom(name), 0, 1 << 20, False, XA_CARDINAL, &type, &format,
                           &count, &after, &data) == Success &&
        data != nullptr) {
      if (format == 32) {
        const auto* longs = reinterpret_cast<const unsigned long*>(data);
        values.assign(longs, longs + count);
      }
      XFree(data);
    }
    return values;
  }

  std::string Utf8Property(Window w, const char* name) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::string text;
    if (XGetWindowProperty(display_, w, atom(name), 0, 1024, False, atom("UTF8_STRING"), &type,
                           &format, &count, &after, &data) == Success &&
        data != nullptr) {
      if (format == 8) text.assign(reinterpret_cast<const char*>(data), count);
      XFree(data);
    }
    return text;
  }

  // The program's mapped top-level window: found by the process id it carries.
  Window FindMappedWindow(pid_t pid) {
    for (int i = 0; i < kPolls; ++i) {
      Window root_return = None, parent = None;
      Window* children = nullptr;
      unsigned count = 0;
      Window found = None;
      if (XQueryTree(display_, DefaultRootWindow(display_), &root_return, &parent, &children,
                     &count)) {
        for (unsigned c = 0; c < count && found == None; ++c) {
          const auto owner = CardinalProperty(children[c], "_NET_WM_PID");
          XWindowAttributes attributes;
          if (owner.size() == 1 && owner[0] == static_cast<unsigned long>(pid) &&
              XGetWindowAttributes(display_, children[c], &attributes) &&
              attributes.map_state == IsViewable) {
            found = children[c];
          }
        }
        if (children != nullptr) XFree(children);
      }
      if (found != None) return found;
      std::this_thread::sleep_for(kPollInterval);
    }
    return None;
  }

  // The colour (0xRRGGBB) shown at a point of the window, once it is no longer black.
  unsigned long PresentedColour(Window w, int x, int y) {
    unsigned long colour = 0;
    for (int i = 0; i < kPolls && colour == 0; ++i) {
      if (XImage* image = XGetImage(display_, w, x, y, 1, 1, AllPlanes, ZPixmap)) {
        colour = XGetPixel(image, 0, 0) & 0xFFFFFF;
        XDestroyImage(image);
      }
      if (colour == 0) std::this_thread::sleep_for(kPollInterval);
    }
    return colour;
  }

  void SendDeleteWindow(Window w) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = w;
    event.xclient.message_type = atom("WM_PROTOCOLS");
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(atom("WM_DELETE_WINDOW"));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, w, False, NoEventMask, &event);
    XFlush(display_);
  }

  Display* display_ = nullptr;
};

TEST_F(X11ShouluTest, MapsItsWindowAndEndsAtOnceOnACloseRequest) {
  Program program;
  ASSERT_TRUE(program.started());
  const Window window = FindMappedWindow(program.pid());
  ASSERT_NE(window, None) << "no mapped window of the program";

  XWindowAttributes attributes;
  ASSERT_TRUE(XGetWindowAttributes(display_, window, &attributes));
  int x = 0, y = 0;
  Window child = None;
  XTranslateCoordinates(display_, window, DefaultRootWindow(display_), 0, 0, &x, &y, &child);
  EXPECT_EQ(x, 50);
  EXPECT_EQ(y, 50);
  EXPECT_EQ(attributes.width, 383);
  EXPECT_EQ(attributes.height, 343);

  EXPECT_EQ(Utf8Property(window, "_NET_WM_NAME"), "Tarnel软件");

  // _NET_WM_ICON: width, height, then that many pixels, for each icon in turn.
  const auto icon = CardinalProperty(window, "_NET_WM_ICON");
  std::vector<std::pair<unsigned long, unsigned long>> sizes;
  int opaque_pixels_of_big = 0;
  for (std::size_t i = 0; i + 2 <= icon.size();) {
    const unsigned long w = icon[i], h = icon[i + 1];
    sizes.emplace_back(w, h);
    ASSERT_LE(i + 2 + w * h, icon.size()) << "an icon cut short";
    if (w == 48 && h == 48) {
      for (std::size_t p = i + 2; p < i + 2 + w * h; ++p) {
        opaque_pixels_of_big += ((icon[p] >> 24) & 0xFF) == 0xFF;
      }
    }
    i += 2 + w * h;
  }
  EXPECT_NE(std::find(sizes.begin(), sizes.end(), std::pair{48ul, 48ul}), sizes.end());
  EXPECT_GT(opaque_pixels_of_big, 48 * 48 / 10) << "the big icon has a picture in it";

  // Something is drawn: the plain face with a darker frame around it.
  EXPECT_EQ(PresentedColour(window, 191, 171), 0xF0F0F0ul);
  const unsigned long frame = PresentedColour(window, 0, 0);
  EXPECT_NE(frame, 0xF0F0F0ul);
  EXPECT_EQ(PresentedColour(window, 382, 342), frame);

  SendDeleteWindow(window);
  EXPECT_EQ(program.Wait(), std::optional<int>(0));
}

TEST(ShouluWithoutDisplayTest, SaysSoInOneLineAndEndsWithStatusOne) {
  int pipe_fds[2];
  ASSERT_EQ(pipe(pipe_fds), 0);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], STDERR_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipe_fds[0]);
  std::vector<std::string> env_strings;
  for (char** e = environ; *e != nullptr; ++e) {
    if (std::string(*e).rfind("DISPLAY=", 0) != 0) env_strings.emplace_back(*e);
  }
  std::vector<char*> env;
  for (auto& s : env_strings) env.push_back(s.data());
  env.push_back(nullptr);
  char* argv[] = {const_cast<char*>(SHOULU_BINARY), nullptr};
  pid_t pid = 0;
  ASSERT_EQ(posix_spawn(&pid, SHOULU_BINARY, &actions, nullptr, argv, env.data()), 0);
  posix_spawn_file_actions_destroy(&actions);
  close(pipe_fds[1]);
  std::string said;
  char buffer[256];
  for (ssize_t n; (n = read(pipe_fds[0], buffer, sizeof buffer)) > 0;) said.append(buffer, n);
  close(pipe_fds[0]);
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_NE(said.find("DISPLAY"), std::string::npos) << said;
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << "one line: " << said;
}

}  // namespace
