// Serves a scripted set of pages on 127.0.0.1 for shell-driven tests of the program:
//
//   shoulu_test_http_serve [--tls] [--authority-out FILE] [--log FILE] SCRIPT
//
// Prints the port on the first line of stdout, then serves until stdin ends or SIGTERM/SIGINT.
// With --tls, the throw-away authority that signed the certificate is written to FILE, so a
// client can be told to trust it (for example through SSL_CERT_FILE).
#include <csignal>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <mutex>
#include <sstream>
#include <string>

#include <poll.h>
#include <unistd.h>

#include "support/http_serve_script.h"
#include "support/http_test_server.h"

namespace {

volatile std::sig_atomic_t stop_requested = 0;
void RequestStop(int) {
  stop_requested = 1;
}

int Usage() {
  std::cerr << "usage: shoulu_test_http_serve [--tls] [--authority-out FILE] [--log FILE] SCRIPT\n";
  return 2;
}

// Waits for the end of stdin or a stop signal.
void WaitForStop() {
  while (!stop_requested) {
    pollfd input{STDIN_FILENO, POLLIN, 0};
    int ready = poll(&input, 1, 200);
    if (ready > 0) {
      char buffer[256];
      if (read(STDIN_FILENO, buffer, sizeof buffer) <= 0) return;
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  bool tls = false;
  std::string authority_out, log_path, script_path;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--tls") {
      tls = true;
    } else if ((arg == "--authority-out" || arg == "--log") && i + 1 < argc) {
      (arg == "--log" ? log_path : authority_out) = argv[++i];
    } else if (script_path.empty() && !arg.starts_with("--")) {
      script_path = arg;
    } else {
      return Usage();
    }
  }
  if (script_path.empty()) return Usage();

  std::ifstream file(script_path, std::ios::binary);
  if (!file) {
    std::cerr << "cannot read " << script_path << "\n";
    return 1;
  }
  std::ostringstream text;
  text << file.rdbuf();
  test_support::ScriptResult parsed = test_support::ParseServeScript(text.str());
  if (!parsed.script) {
    std::cerr << script_path << ": " << parsed.error << "\n";
    return 1;
  }

  std::signal(SIGTERM, RequestStop);
  std::signal(SIGINT, RequestStop);
  test_support::HttpTestServer server({.tls = tls});
  if (!server.Running()) {
    std::cerr << "cannot start the server\n";
    return 1;
  }
  for (auto& [path, page] : parsed.script->pages) server.On(path, page);
  if (parsed.script->fallback) {
    test_support::ScriptedResponse fallback = *parsed.script->fallback;
    server.SetFallback([fallback](const test_support::RecordedRequest&) { return fallback; });
  }
  if (!authority_out.empty()) {
    std::ofstream out(authority_out, std::ios::binary | std::ios::trunc);
    out << server.AuthorityPem();
    if (!out) {
      std::cerr << "cannot write " << authority_out << "\n";
      return 1;
    }
  }
  std::mutex log_mutex;
  std::ofstream log;
  if (!log_path.empty()) {
    log.open(log_path, std::ios::binary | std::ios::app);
    server.SetRequestObserver([&](const test_support::RecordedRequest& request) {
      std::lock_guard lock(log_mutex);
      log << test_support::LogEntry(request) << std::flush;
    });
  }

  std::cout << server.Port() << std::endl;
  WaitForStop();
  server.Stop();
  return 0;
}
