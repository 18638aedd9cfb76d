#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "support/test_certificates.h"

namespace test_support {

// One request exactly as it arrived on the wire.
struct RecordedRequest {
  std::string request_line;               // "GET /x?y HTTP/1.1", without CR LF
  std::vector<std::string> header_lines;  // in arrival order, without CR LF
  std::string body;
  int connection = 0;  // serial number of the connection (from 1), shows keep-alive reuse

  std::string Method() const;
  std::string Target() const;  // as written on the request line, query included
  std::string Path() const;    // the target without its query
  // The value of the first header of that name (case-insensitive), trimmed.
  std::optional<std::string> Header(std::string_view name) const;
};

// What the server answers to one request.
struct ScriptedResponse {
  int status = 200;
  std::string reason;                     // empty: a phrase fitting the status
  std::vector<std::string> header_lines;  // sent as given, in this order, any letter case
  std::string body;
  // When not zero, the body is that many bytes of PatternByte instead of `body`.
  std::size_t generated_body_size = 0;
  bool chunked = false;  // Transfer-Encoding: chunked instead of Content-Length
  // Waits before the status line; the wait ends early when the server stops.
  std::chrono::milliseconds delay{0};
  // Send the headers and this many body bytes, then reset the connection.
  std::optional<std::size_t> reset_after_body_bytes;
  bool never_answer = false;      // keep the connection open and silent until the server stops
  bool close_connection = false;  // "Connection: close", then close

  static ScriptedResponse Text(std::string body, int status = 200);
  static ScriptedResponse Redirect(std::string location, int status = 302);
};

// The body byte at offset i of a generated body.
char PatternByte(std::size_t i);
std::string PatternBody(std::size_t size);

// A local HTTP or HTTPS server for tests: 127.0.0.1, an ephemeral port, one thread per
// connection, keep-alive, scripted answers, every request recorded. Stop() (or destruction)
// ends every connection, including delayed and silent ones, and joins all threads.
class HttpTestServer {
 public:
  struct Options {
    bool tls = false;
    CertificateFlaw certificate_flaw = CertificateFlaw::kNone;
  };
  using Handler = std::function<ScriptedResponse(const RecordedRequest&)>;

  HttpTestServer();
  explicit HttpTestServer(Options options);
  ~HttpTestServer();
  HttpTestServer(const HttpTestServer&) = delete;
  HttpTestServer& operator=(const HttpTestServer&) = delete;

  // False when the socket, the certificates or the TLS context could not be set up.
  bool Running() const { return listen_fd_ >= 0; }
  std::uint16_t Port() const { return port_; }
  // "http://127.0.0.1:PORT" or "https://127.0.0.1:PORT", no trailing slash.
  std::string BaseUrl() const;
  std::string Url(std::string_view path) const { return BaseUrl() + std::string(path); }
  // The throw-away authority that signed the server certificate (empty without TLS).
  const std::string& AuthorityPem() const { return certificates_.authority_pem; }

  // Answers for a path (the target without its query); later calls replace earlier ones.
  void On(std::string path, ScriptedResponse response);
  // Answers for requests no path matched; the default is a 404.
  void SetFallback(Handler handler);

  std::vector<RecordedRequest> Requests() const;
  std::size_t RequestCount() const;
  int ConnectionCount() const;  // connections accepted so far
  // Runs `on_request` on the connection's thread after each request has been recorded.
  void SetRequestObserver(std::function<void(const RecordedRequest&)> on_request);

  void Stop();

 private:
  class Connection;

  void AcceptLoop();
  void Serve(int fd, int serial);
  ScriptedResponse Answer(const RecordedRequest& request);
  bool WaitUnlessStopping(std::chrono::milliseconds delay);  // false when stopping
  void Forget(int fd);

  Options options_;
  TestCertificates certificates_;
  struct SslContextDeleter {
    void operator()(void* ctx) const;
  };
  std::unique_ptr<void, SslContextDeleter> ssl_context_;
  int listen_fd_ = -1;
  int wake_fd_ = -1;
  std::uint16_t port_ = 0;

  mutable std::mutex mutex_;
  std::condition_variable stop_signal_;
  bool stopping_ = false;
  std::map<std::string, ScriptedResponse> routes_;
  Handler fallback_;
  std::function<void(const RecordedRequest&)> observer_;
  std::vector<RecordedRequest> requests_;
  std::vector<int> open_fds_;
  int connections_ = 0;
  struct ConnectionThread {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> done;
  };
  // Finished ones are joined at the next accept, so a long-running server does not pile up.
  std::vector<ConnectionThread> connection_threads_;
  std::thread accept_thread_;
};

}  // namespace test_support
