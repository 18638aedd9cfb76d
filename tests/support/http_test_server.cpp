#include "support/http_test_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <csignal>

namespace test_support {
namespace {

constexpr std::size_t kMaxHeaderBytes = 4 << 20;
constexpr std::size_t kMaxBodyBytes = 64 << 20;
constexpr std::size_t kWriteChunk = 64 << 10;

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

const char* ReasonFor(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 204:
      return "No Content";
    case 301:
      return "Moved Permanently";
    case 302:
      return "Found";
    case 303:
      return "See Other";
    case 307:
      return "Temporary Redirect";
    case 400:
      return "Bad Request";
    case 403:
      return "Forbidden";
    case 404:
      return "Not Found";
    case 500:
      return "Internal Server Error";
    default:
      return "Status";
  }
}

bool HasHeader(const std::vector<std::string>& lines, std::string_view name) {
  const std::string wanted = Lower(name) + ":";
  return std::any_of(lines.begin(), lines.end(),
                     [&](const std::string& line) { return Lower(line).rfind(wanted, 0) == 0; });
}

SSL_CTX* MakeServerContext(const TestCertificates& certificates) {
  if (certificates.server_certificate_pem.empty()) return nullptr;
  SSL_CTX* ctx = SSL_CTX_new(TLS_server_method());
  if (ctx == nullptr) return nullptr;
  BIO* cert_bio = BIO_new_mem_buf(certificates.server_certificate_pem.data(),
                                  static_cast<int>(certificates.server_certificate_pem.size()));
  BIO* key_bio = BIO_new_mem_buf(certificates.server_key_pem.data(),
                                 static_cast<int>(certificates.server_key_pem.size()));
  X509* cert = cert_bio ? PEM_read_bio_X509(cert_bio, nullptr, nullptr, nullptr) : nullptr;
  EVP_PKEY* key = key_bio ? PEM_read_bio_PrivateKey(key_bio, nullptr, nullptr, nullptr) : nullptr;
  bool ok = cert != nullptr && key != nullptr && SSL_CTX_use_certificate(ctx, cert) == 1 &&
            SSL_CTX_use_PrivateKey(ctx, key) == 1;
  X509_free(cert);
  EVP_PKEY_free(key);
  BIO_free(cert_bio);
  BIO_free(key_bio);
  if (!ok) {
    SSL_CTX_free(ctx);
    return nullptr;
  }
  return ctx;
}

}  // namespace

char PatternByte(std::size_t i) {
  return static_cast<char>('a' + (i * 7 + i / 26) % 26);
}

std::string PatternBody(std::size_t size) {
  std::string body(size, '\0');
  for (std::size_t i = 0; i < size; ++i) body[i] = PatternByte(i);
  return body;
}

std::string RecordedRequest::Method() const {
  return request_line.substr(0, request_line.find(' '));
}

std::string RecordedRequest::Target() const {
  std::size_t start = request_line.find(' ');
  if (start == std::string::npos) return {};
  std::size_t end = request_line.find(' ', start + 1);
  return request_line.substr(start + 1, end == std::string::npos ? end : end - start - 1);
}

std::string RecordedRequest::Path() const {
  std::string target = Target();
  return target.substr(0, target.find('?'));
}

std::optional<std::string> RecordedRequest::Header(std::string_view name) const {
  const std::string wanted = Lower(name);
  for (const std::string& line : header_lines) {
    std::size_t colon = line.find(':');
    if (colon != std::string::npos && Lower(Trim(line.substr(0, colon))) == wanted)
      return std::string(Trim(std::string_view(line).substr(colon + 1)));
  }
  return std::nullopt;
}

ScriptedResponse ScriptedResponse::Text(std::string body, int status) {
  ScriptedResponse response;
  response.status = status;
  response.header_lines = {"Content-Type: text/html"};
  response.body = std::move(body);
  return response;
}

ScriptedResponse ScriptedResponse::Redirect(std::string location, int status) {
  ScriptedResponse response;
  response.status = status;
  response.header_lines = {"Location: " + std::move(location)};
  return response;
}

// A plain or TLS stream over one accepted socket.
class HttpTestServer::Connection {
 public:
  Connection(int fd, SSL* ssl) : fd_(fd), ssl_(ssl) {}
  ~Connection() { SSL_free(ssl_); }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // Bytes read, 0 at the end of the stream or on an error.
  std::size_t Read(char* buffer, std::size_t size) {
    if (ssl_ != nullptr) {
      int got = SSL_read(ssl_, buffer, static_cast<int>(std::min<std::size_t>(size, 1 << 30)));
      return got > 0 ? static_cast<std::size_t>(got) : 0;
    }
    ssize_t got = recv(fd_, buffer, size, 0);
    return got > 0 ? static_cast<std::size_t>(got) : 0;
  }

  bool Write(std::string_view data) {
    while (!data.empty()) {
      std::size_t piece = std::min(data.size(), kWriteChunk);
      long sent = ssl_ != nullptr ? SSL_write(ssl_, data.data(), static_cast<int>(piece))
                                  : send(fd_, data.data(), piece, MSG_NOSIGNAL);
      if (sent <= 0) return false;
      data.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
  }

  // Reads one request; false when the peer closed or sent something unreadable.
  bool ReadRequest(RecordedRequest& request) {
    std::size_t header_end;
    while ((header_end = pending_.find("\r\n\r\n")) == std::string::npos) {
      if (pending_.size() > kMaxHeaderBytes || !Fill()) return false;
    }
    std::string head = pending_.substr(0, header_end);
    pending_.erase(0, header_end + 4);
    std::size_t line_end = head.find("\r\n");
    request.request_line = head.substr(0, line_end);
    while (line_end != std::string::npos) {
      std::size_t start = line_end + 2;
      line_end = head.find("\r\n", start);
      request.header_lines.push_back(head.substr(start, line_end - start));
    }
    std::size_t length = 0;
    if (auto value = request.Header("Content-Length")) {
      length = std::strtoull(value->c_str(), nullptr, 10);
      if (length > kMaxBodyBytes) return false;
    }
    if (Lower(request.Header("Expect").value_or("")) == "100-continue" &&
        !Write("HTTP/1.1 100 Continue\r\n\r\n"))
      return false;
    while (pending_.size() < length) {
      if (!Fill()) return false;
    }
    request.body = pending_.substr(0, length);
    pending_.erase(0, length);
    return true;
  }

  // Drops the connection with a TCP reset instead of an orderly close.
  void Reset() {
    linger hard{1, 0};
    setsockopt(fd_, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
  }

 private:
  bool Fill() {
    char buffer[16384];
    std::size_t got = Read(buffer, sizeof buffer);
    if (got == 0) return false;
    pending_.append(buffer, got);
    return true;
  }

  int fd_;
  SSL* ssl_;
  std::string pending_;
};

void HttpTestServer::SslContextDeleter::operator()(void* ctx) const {
  SSL_CTX_free(static_cast<SSL_CTX*>(ctx));
}

HttpTestServer::HttpTestServer() : HttpTestServer(Options{}) {}

HttpTestServer::HttpTestServer(Options options) : options_(options) {
  // A client that drops a connection must not kill the test process through SIGPIPE.
  std::signal(SIGPIPE, SIG_IGN);
  if (options_.tls) {
    certificates_ = MakeTestCertificates(options_.certificate_flaw);
    ssl_context_.reset(MakeServerContext(certificates_));
    if (!ssl_context_) return;
  }
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof address;
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(fd, 64) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    close(fd);
    return;
  }
  wake_fd_ = eventfd(0, EFD_CLOEXEC);
  if (wake_fd_ < 0) {
    close(fd);
    return;
  }
  listen_fd_ = fd;
  port_ = ntohs(address.sin_port);
  accept_thread_ = std::thread([this] { AcceptLoop(); });
}

HttpTestServer::~HttpTestServer() {
  Stop();
  if (listen_fd_ >= 0) close(listen_fd_);
  if (wake_fd_ >= 0) close(wake_fd_);
}

std::string HttpTestServer::BaseUrl() const {
  return std::string(options_.tls ? "https" : "http") + "://127.0.0.1:" + std::to_string(port_);
}

void HttpTestServer::On(std::string path, ScriptedResponse response) {
  std::lock_guard lock(mutex_);
  routes_[std::move(path)] = std::move(response);
}

void HttpTestServer::SetFallback(Handler handler) {
  std::lock_guard lock(mutex_);
  fallback_ = std::move(handler);
}

void HttpTestServer::SetRequestObserver(std::function<void(const RecordedRequest&)> on_request) {
  std::lock_guard lock(mutex_);
  observer_ = std::move(on_request);
}

std::vector<RecordedRequest> HttpTestServer::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

std::size_t HttpTestServer::RequestCount() const {
  std::lock_guard lock(mutex_);
  return requests_.size();
}

int HttpTestServer::ConnectionCount() const {
  std::lock_guard lock(mutex_);
  return connections_;
}

void HttpTestServer::Stop() {
  std::vector<ConnectionThread> threads;
  {
    std::lock_guard lock(mutex_);
    if (stopping_) return;
    stopping_ = true;
    for (int fd : open_fds_) shutdown(fd, SHUT_RDWR);
  }
  stop_signal_.notify_all();
  if (wake_fd_ >= 0) {
    std::uint64_t one = 1;
    [[maybe_unused]] ssize_t written = write(wake_fd_, &one, sizeof one);
  }
  if (accept_thread_.joinable()) accept_thread_.join();
  {
    std::lock_guard lock(mutex_);
    threads.swap(connection_threads_);
  }
  for (ConnectionThread& connection : threads) connection.thread.join();
}

void HttpTestServer::AcceptLoop() {
  for (;;) {
    pollfd fds[2] = {{listen_fd_, POLLIN, 0}, {wake_fd_, POLLIN, 0}};
    if (poll(fds, 2, -1) < 0) continue;
    if (fds[1].revents != 0) return;
    int fd = accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) continue;
    int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    std::lock_guard lock(mutex_);
    if (stopping_) {
      close(fd);
      return;
    }
    std::erase_if(connection_threads_, [](ConnectionThread& connection) {
      if (!connection.done->load()) return false;
      connection.thread.join();
      return true;
    });
    open_fds_.push_back(fd);
    int serial = ++connections_;
    auto done = std::make_shared<std::atomic<bool>>(false);
    connection_threads_.push_back({std::thread([this, fd, serial, done] {
                                     Serve(fd, serial);
                                     done->store(true);
                                   }),
                                   done});
  }
}

void HttpTestServer::Forget(int fd) {
  std::lock_guard lock(mutex_);
  open_fds_.erase(std::remove(open_fds_.begin(), open_fds_.end(), fd), open_fds_.end());
  close(fd);
}

bool HttpTestServer::WaitUnlessStopping(std::chrono::milliseconds delay) {
  std::unique_lock lock(mutex_);
  if (delay == std::chrono::milliseconds::max()) {
    stop_signal_.wait(lock, [this] { return stopping_; });
    return false;
  }
  return !stop_signal_.wait_for(lock, delay, [this] { return stopping_; });
}

ScriptedResponse HttpTestServer::Answer(const RecordedRequest& request) {
  Handler fallback;
  {
    std::lock_guard lock(mutex_);
    auto route = routes_.find(request.Path());
    if (route != routes_.end()) return route->second;
    fallback = fallback_;
  }
  if (fallback) return fallback(request);
  return ScriptedResponse::Text("not found", 404);
}

void HttpTestServer::Serve(int fd, int serial) {
  SSL* ssl = nullptr;
  if (ssl_context_) {
    ssl = SSL_new(static_cast<SSL_CTX*>(ssl_context_.get()));
    if (ssl == nullptr || SSL_set_fd(ssl, fd) != 1 || SSL_accept(ssl) != 1) {
      SSL_free(ssl);
      ERR_clear_error();
      Forget(fd);
      return;
    }
  }
  Connection connection(fd, ssl);
  for (;;) {
    RecordedRequest request;
    request.connection = serial;
    if (!connection.ReadRequest(request)) break;
    std::function<void(const RecordedRequest&)> observer;
    {
      std::lock_guard lock(mutex_);
      requests_.push_back(request);
      observer = observer_;
    }
    if (observer) observer(request);

    ScriptedResponse response = Answer(request);
    if (response.never_answer) {
      WaitUnlessStopping(std::chrono::milliseconds::max());
      break;
    }
    if (response.delay.count() > 0 && !WaitUnlessStopping(response.delay)) break;

    const bool client_closes = Lower(request.Header("Connection").value_or("")) == "close" ||
                               request.request_line.ends_with("HTTP/1.0");
    const bool closes = response.close_connection || client_closes;
    const std::size_t body_size =
        response.generated_body_size > 0 ? response.generated_body_size : response.body.size();
    std::string head = "HTTP/1.1 " + std::to_string(response.status) + " " +
                       (response.reason.empty() ? ReasonFor(response.status) : response.reason) +
                       "\r\n";
    for (const std::string& line : response.header_lines) head += line + "\r\n";
    if (response.chunked)
      head += "Transfer-Encoding: chunked\r\n";
    else if (!HasHeader(response.header_lines, "Content-Length"))
      head += "Content-Length: " + std::to_string(body_size) + "\r\n";
    if (closes) head += "Connection: close\r\n";
    head += "\r\n";
    if (!connection.Write(head)) break;

    const bool head_only =
        request.Method() == "HEAD" || response.status == 204 || response.status == 304;
    const std::size_t limit =
        head_only ? 0 : std::min(body_size, response.reset_after_body_bytes.value_or(body_size));
    bool written = true;
    std::string chunk;
    for (std::size_t offset = 0; written && offset < limit; offset += chunk.size()) {
      std::size_t size = std::min(kWriteChunk, limit - offset);
      if (response.generated_body_size > 0) {
        chunk.resize(size);
        for (std::size_t i = 0; i < size; ++i) chunk[i] = PatternByte(offset + i);
      } else {
        chunk = response.body.substr(offset, size);
      }
      if (response.chunked) {
        char size_line[32];
        std::snprintf(size_line, sizeof size_line, "%zx\r\n", size);
        written =
            connection.Write(size_line) && connection.Write(chunk) && connection.Write("\r\n");
      } else {
        written = connection.Write(chunk);
      }
    }
    if (!written) break;
    if (response.reset_after_body_bytes) {
      connection.Reset();
      break;
    }
    if (response.chunked && !head_only && !connection.Write("0\r\n\r\n")) break;
    if (closes) break;
  }
  Forget(fd);
}

}  // namespace test_support
