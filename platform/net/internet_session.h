#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

namespace platform::net {

// How a session reaches servers.
enum class InternetAccess { kDirect = 1, kProxy = 3 };

// Request flags, with the bit values callers already use.
inline constexpr std::uint32_t kInternetFlagReload = 0x80000000;  // no cache exists: always true
inline constexpr std::uint32_t kInternetFlagNeedFile = 0x10;      // bodies are kept in memory
inline constexpr std::uint32_t kInternetFlagNoCookies = 0x80000;
inline constexpr std::uint32_t kInternetFlagNoAutoRedirect = 0x200000;
inline constexpr std::uint32_t kInternetFlagSecure = 0x800000;
inline constexpr std::uint32_t kInternetFlagIgnoreRedirectToHttps = 0x4000;

// Port 0 asks for the scheme's own port.
inline constexpr int kInternetDefaultPort = 0;

class InternetConnection;
class InternetRequest;

// The root of a chain session → connection → request, each closed by its destruction. Later
// objects keep what they need of earlier ones, so the order of closing is free.
// Every request of the process shares one cookie store (CookieStore::Process()) and one cache
// of kept-alive connections.
class InternetSession {
 public:
  // `proxy` for kProxy is a list of "scheme=host:port" or "host:port" entries separated by
  // spaces or ";"; a plain entry serves every scheme. Null when kProxy has no entry.
  static std::unique_ptr<InternetSession> Open(std::string_view agent, InternetAccess access,
                                               std::string_view proxy = {});
  // Null for an empty host or one with characters no host name holds.
  std::unique_ptr<InternetConnection> Connect(std::string_view host, int port) const;

  const std::string& agent() const { return agent_; }
  // The proxy for a scheme ("http" or "https"), empty for a direct connection.
  std::string ProxyFor(std::string_view scheme) const;

 private:
  InternetSession() = default;
  std::string agent_;
  InternetAccess access_ = InternetAccess::kDirect;
  std::vector<std::pair<std::string, std::string>> proxies_;  // scheme ("" for all), server
};

class InternetConnection {
 public:
  // Null for an empty verb, a path not starting with "/" or holding line breaks, or a version
  // other than "HTTP/1.1" or "HTTP/1.0" (empty means "HTTP/1.1").
  std::unique_ptr<InternetRequest> OpenRequest(std::string_view verb, std::string_view path,
                                               std::string_view version, std::uint32_t flags) const;

 private:
  friend class InternetSession;
  InternetConnection(InternetSession session, std::string host, int port)
      : session_(std::move(session)), host_(std::move(host)), port_(port) {}
  InternetSession session_;
  std::string host_;
  int port_;
};

// One request: Send once, then Read the body in chunks and QueryRawHeaders.
class InternetRequest {
 public:
  ~InternetRequest();
  InternetRequest(const InternetRequest&) = delete;
  InternetRequest& operator=(const InternetRequest&) = delete;

  // `headers` are lines ending in CR LF, added after the request's own; empty lines and lines
  // without ":" are left out. A stop request ends the transfer at once and fails it.
  // False when no response arrived (refused, reset, certificate not trusted, stopped).
  bool Send(std::string_view headers, std::span<const std::uint8_t> body = {},
            std::stop_token stop = {});
  // Copies the next part of the body; 0 at its end (and before a successful Send).
  std::size_t Read(std::span<std::uint8_t> buffer);
  // How many body bytes the next reads can still give.
  std::size_t Available() const { return body_.size() - read_offset_; }
  // The final response's status line and header lines, each ending in CR LF, then an empty
  // line, zero-terminated into `buffer`. nullopt, with the buffer untouched, when nothing was
  // received or the text and its zero do not fit; else the text's length.
  std::optional<std::size_t> QueryRawHeaders(std::span<char> buffer) const;

 private:
  friend class InternetConnection;
  struct Target;
  InternetRequest(const InternetSession& session, std::string verb, std::string url,
                  std::string version, std::uint32_t flags);

  InternetSession session_;
  std::string verb_;
  std::string url_;
  std::string version_;
  std::uint32_t flags_;
  bool sent_ = false;
  std::string raw_headers_;
  std::vector<std::uint8_t> body_;
  std::size_t read_offset_ = 0;
};

// Stores a cookie for `url` as a response setting "name=data" would (data may carry
// attributes). An empty name takes "name=value" from the data. False when it is refused.
bool InternetSetCookie(std::string_view url, std::string_view name, std::string_view data);
// The cookies a request to `url` would send, "a=1; b=2".
std::string InternetGetCookie(std::string_view url);

// Makes the process-wide parts (libcurl, the connection cache, the cookie store) now, so that
// an object made after this call may still use them while it is destroyed at exit.
void PrepareInternetSessions();

// Adds an authority (PEM, one or more certificates) to the ones trusted for secure requests of
// every session. Trust is only ever added; verification is never turned off. False when the
// text holds no certificate.
bool AddTrustedAuthority(std::string_view pem);

}  // namespace platform::net
