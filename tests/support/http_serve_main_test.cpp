// The standalone server as a shell script uses it: started with a script, port on stdout,
// requests logged, ended by closing its stdin.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "support/raw_http_client.h"

extern char** environ;

namespace test_support {
namespace {

std::string ReadAll(const std::string& path) {
  std::ostringstream content;
  content << std::ifstream(path, std::ios::binary).rdbuf();
  return content.str();
}

class TempDir {
 public:
  TempDir() {
    char pattern[] = "/tmp/shoulu-serve-XXXXXX";
    path_ = mkdtemp(pattern);
  }
  ~TempDir() {
    for (const char* name : {"script", "log", "authority.pem"})
      unlink((path_ + "/" + name).c_str());
    rmdir(path_.c_str());
  }
  std::string File(const char* name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Runs the server with `args`; its stdin and stdout are pipes held by the test.
class ServeProcess {
 public:
  explicit ServeProcess(std::vector<std::string> args) {
    int in[2], out[2];
    if (pipe(in) != 0 || pipe(out) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, in[1]);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    args.insert(args.begin(), SHOULU_TEST_HTTP_SERVE);
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, SHOULU_TEST_HTTP_SERVE, &actions, nullptr, argv.data(), environ) != 0)
      pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    close(out[1]);
    stdin_ = in[1];
    stdout_ = out[0];
  }
  ~ServeProcess() {
    if (stdin_ >= 0) close(stdin_);
    if (pid_ > 0) waitpid(pid_, nullptr, 0);
    if (stdout_ >= 0) close(stdout_);
  }

  // The first line of its stdout, or empty when it ends without one.
  std::string FirstLine() {
    std::string line;
    char c;
    while (read(stdout_, &c, 1) == 1 && c != '\n') line += c;
    return line;
  }

  // Closes its stdin and answers its exit status.
  int End() {
    close(stdin_);
    stdin_ = -1;
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  pid_t pid_ = -1;
  int stdin_ = -1, stdout_ = -1;
};

TEST(HttpServeProgram, ServesTheScriptLogsRequestsAndEndsWithItsInput) {
  TempDir dir;
  std::ofstream(dir.File("script")) << "page /\nheader Set-Cookie: BAIDUID=X:FG=1\nbody home\n"
                                    << "page *\nstatus 404\nbody none\n";
  ServeProcess serve({"--tls", "--authority-out", dir.File("authority.pem"), "--log",
                      dir.File("log"), dir.File("script")});
  const std::string port = serve.FirstLine();
  ASSERT_FALSE(port.empty());

  RawClient client(static_cast<std::uint16_t>(std::stoi(port)));
  ASSERT_EQ(client.StartTls(ReadAll(dir.File("authority.pem")), "127.0.0.1"), X509_V_OK);
  ASSERT_TRUE(client.Send("GET / HTTP/1.1\r\nHost: h\r\n\r\n"));
  RawClient::Response home = client.ReadResponse();
  EXPECT_EQ(home.body, "home");
  EXPECT_EQ(home.header_lines.at(0), "Set-Cookie: BAIDUID=X:FG=1");
  ASSERT_TRUE(client.Send("GET /other HTTP/1.1\r\nHost: h\r\n\r\n"));
  EXPECT_EQ(client.ReadResponse().status_line, "HTTP/1.1 404 Not Found");

  EXPECT_EQ(serve.End(), 0);
  EXPECT_EQ(
      ReadAll(dir.File("log")),
      "GET / HTTP/1.1\nHost: h\nbody-length 0\n\nGET /other HTTP/1.1\nHost: h\nbody-length 0\n\n");
}

TEST(HttpServeProgram, RefusesABadScript) {
  TempDir dir;
  std::ofstream(dir.File("script")) << "page /\nstatus many\n";
  ServeProcess serve({dir.File("script")});
  EXPECT_EQ(serve.FirstLine(), "");
  EXPECT_EQ(serve.End(), 1);
}

}  // namespace
}  // namespace test_support
