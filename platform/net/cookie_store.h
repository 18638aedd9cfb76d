#pragma once

#include <chrono>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::net {

// Where a cookie is received or sent: the request's scheme, lower-case host and path.
struct CookieOrigin {
  bool secure = false;
  std::string host;
  std::string path = "/";
};

// The cookies of the process, shared by every internet session: what responses set and what
// SetCookie stores, sent back to the hosts and paths they belong to until they expire.
class CookieStore {
 public:
  static CookieStore& Process();

  // A Set-Cookie value ("name=value; Path=/; Domain=...; Expires=...; Max-Age=...; Secure")
  // received from `origin`. False when it is refused (no name and no value, a domain the host
  // does not belong to); an expired one removes its namesake.
  bool Receive(const CookieOrigin& origin, std::string_view set_cookie);
  // The Cookie header value for a request to `origin` ("a=1; b=2"), empty when none applies.
  std::string CookiesFor(const CookieOrigin& origin) const;
  void Clear();

 private:
  struct Cookie {
    std::string name;
    std::string value;
    std::string domain;  // lower-case, no leading dot
    bool host_only = true;
    std::string path;
    bool secure = false;
    std::optional<std::chrono::system_clock::time_point> expires;
    unsigned long long serial = 0;  // creation order
  };

  mutable std::mutex mutex_;
  std::vector<Cookie> cookies_;
  unsigned long long next_serial_ = 1;
};

// Splits "http://host:port/path?query" into a cookie origin; nullopt for anything else.
std::optional<CookieOrigin> CookieOriginOf(std::string_view url);

}  // namespace platform::net
