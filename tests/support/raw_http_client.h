#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <string>
#include <vector>

namespace test_support {

// A deliberately dumb client, so that the server is tested against bytes, not another stack.
class RawClient {
 public:
  explicit RawClient(std::uint16_t port) {
    fd_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    connected_ = connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  }
  ~RawClient() {
    if (ssl_ != nullptr) SSL_free(ssl_);
    if (ctx_ != nullptr) SSL_CTX_free(ctx_);
    close(fd_);
  }

  // Handshake trusting only `authority_pem`; the verification result, X509_V_OK on success.
  long StartTls(const std::string& authority_pem, const char* host) {
    ctx_ = SSL_CTX_new(TLS_client_method());
    BIO* bio = BIO_new_mem_buf(authority_pem.data(), static_cast<int>(authority_pem.size()));
    X509* authority = PEM_read_bio_X509(bio, nullptr, nullptr, nullptr);
    BIO_free(bio);
    X509_STORE_add_cert(SSL_CTX_get_cert_store(ctx_), authority);
    X509_free(authority);
    ssl_ = SSL_new(ctx_);
    if (std::string(host) == "127.0.0.1")
      X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(ssl_), host);
    else
      X509_VERIFY_PARAM_set1_host(SSL_get0_param(ssl_), host, 0);
    SSL_set_verify(ssl_, SSL_VERIFY_NONE, nullptr);
    SSL_set_fd(ssl_, fd_);
    if (SSL_connect(ssl_) != 1) return -1;
    return SSL_get_verify_result(ssl_);
  }

  bool Send(const std::string& data) {
    if (ssl_ != nullptr) return SSL_write(ssl_, data.data(), static_cast<int>(data.size())) > 0;
    return send(fd_, data.data(), data.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(data.size());
  }

  // Reads until `size` bytes are pending or the stream ends; false on a reset or an error.
  bool ReadUntil(std::size_t size) {
    while (pending_.size() < size) {
      char buffer[65536];
      long got = ssl_ != nullptr ? SSL_read(ssl_, buffer, sizeof buffer)
                                 : recv(fd_, buffer, sizeof buffer, 0);
      if (got == 0) return true;
      if (got < 0) {
        reset_ = errno == ECONNRESET || ssl_ != nullptr;
        return false;
      }
      pending_.append(buffer, static_cast<std::size_t>(got));
    }
    return true;
  }

  // One response: the head (status line and header lines) and the body by Content-Length,
  // chunked coding or end of stream.
  struct Response {
    std::string status_line;
    std::vector<std::string> header_lines;
    std::string body;
  };
  Response ReadResponse() {
    Response response;
    std::size_t end;
    while ((end = pending_.find("\r\n\r\n")) == std::string::npos) {
      std::size_t before = pending_.size();
      if (!ReadUntil(before + 1) || pending_.size() == before) return response;
    }
    std::string head = pending_.substr(0, end);
    pending_.erase(0, end + 4);
    std::size_t line_end = head.find("\r\n");
    response.status_line = head.substr(0, line_end);
    while (line_end != std::string::npos) {
      std::size_t start = line_end + 2;
      line_end = head.find("\r\n", start);
      response.header_lines.push_back(head.substr(start, line_end - start));
    }
    std::string length, coding;
    for (const std::string& line : response.header_lines) {
      if (line.rfind("Content-Length: ", 0) == 0) length = line.substr(16);
      if (line.rfind("Transfer-Encoding: ", 0) == 0) coding = line.substr(19);
    }
    if (coding == "chunked") {
      for (;;) {
        std::size_t size_end;
        while ((size_end = pending_.find("\r\n")) == std::string::npos)
          if (!ReadUntil(pending_.size() + 1)) return response;
        std::size_t size = std::stoul(pending_.substr(0, size_end), nullptr, 16);
        if (!ReadUntil(size_end + 2 + size + 2)) return response;
        response.body += pending_.substr(size_end + 2, size);
        pending_.erase(0, size_end + 2 + size + 2);
        if (size == 0) return response;
      }
    }
    std::size_t size = length.empty() ? std::string::npos : std::stoul(length);
    ReadUntil(size);
    response.body = pending_.substr(0, size);
    pending_.erase(0, std::min(size, pending_.size()));
    return response;
  }

  bool connected() const { return connected_; }
  bool reset() const { return reset_; }
  const std::string& pending() const { return pending_; }

 private:
  int fd_ = -1;
  bool connected_ = false;
  bool reset_ = false;
  SSL_CTX* ctx_ = nullptr;
  SSL* ssl_ = nullptr;
  std::string pending_;
};

}  // namespace test_support
