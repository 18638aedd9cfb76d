#include "platform/net/cookie_store.h"

#include <curl/curl.h>

#include <algorithm>
#include <charconv>
#include <cstdint>

namespace platform::net {
namespace {

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), LowerAscii);
  return lower;
}

std::string_view Trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

bool IsIpAddress(std::string_view host) {
  return !host.empty() && host.find_first_not_of("0123456789.") == std::string_view::npos;
}

bool DomainMatches(std::string_view host, std::string_view domain) {
  if (host == domain) return true;
  return !IsIpAddress(host) && host.size() > domain.size() &&
         host.substr(host.size() - domain.size()) == domain &&
         host[host.size() - domain.size() - 1] == '.';
}

bool PathMatches(std::string_view request_path, std::string_view cookie_path) {
  if (request_path.substr(0, cookie_path.size()) != cookie_path) return false;
  return request_path.size() == cookie_path.size() || cookie_path.back() == '/' ||
         request_path[cookie_path.size()] == '/';
}

// The directory of the request path: what a cookie without a Path attribute belongs to.
std::string DefaultPath(std::string_view request_path) {
  const std::size_t query = request_path.find_first_of("?#");
  request_path = request_path.substr(0, query);
  if (request_path.empty() || request_path.front() != '/') return "/";
  const std::size_t last_slash = request_path.rfind('/');
  if (last_slash == 0) return "/";
  return std::string(request_path.substr(0, last_slash));
}

std::optional<std::chrono::system_clock::time_point> ParseExpires(std::string_view text) {
  const std::string date(text);
  const time_t when = curl_getdate(date.c_str(), nullptr);
  if (when == -1) return std::nullopt;
  return std::chrono::system_clock::from_time_t(when);
}

std::optional<std::chrono::system_clock::time_point> ParseMaxAge(std::string_view text) {
  std::int64_t seconds = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  const auto now = std::chrono::system_clock::now();
  if (seconds <= 0) return std::chrono::system_clock::time_point::min();
  constexpr std::int64_t kTenThousandYears = 10'000LL * 366 * 24 * 3600;
  return now + std::chrono::seconds(std::min(seconds, kTenThousandYears));
}

}  // namespace

CookieStore& CookieStore::Process() {
  static CookieStore store;
  return store;
}

bool CookieStore::Receive(const CookieOrigin& origin, std::string_view set_cookie) {
  std::string_view rest = set_cookie;
  const std::size_t first_semicolon = rest.find(';');
  const std::string_view pair = Trim(rest.substr(0, first_semicolon));
  rest = first_semicolon == std::string_view::npos ? std::string_view{}
                                                   : rest.substr(first_semicolon + 1);
  if (pair.empty()) return false;
  const std::size_t equals = pair.find('=');
  Cookie cookie;
  if (equals == std::string_view::npos) {
    cookie.value = std::string(pair);  // a bare value, sent back as it came
  } else {
    cookie.name = std::string(Trim(pair.substr(0, equals)));
    cookie.value = std::string(Trim(pair.substr(equals + 1)));
  }
  cookie.domain = Lower(origin.host);
  cookie.path = DefaultPath(origin.path);

  std::optional<std::chrono::system_clock::time_point> max_age;
  while (!rest.empty()) {
    const std::size_t semicolon = rest.find(';');
    const std::string_view attribute = Trim(rest.substr(0, semicolon));
    rest = semicolon == std::string_view::npos ? std::string_view{} : rest.substr(semicolon + 1);
    const std::size_t eq = attribute.find('=');
    const std::string key = Lower(Trim(attribute.substr(0, eq)));
    const std::string_view value =
        eq == std::string_view::npos ? std::string_view{} : Trim(attribute.substr(eq + 1));
    if (key == "domain" && !value.empty()) {
      std::string domain = Lower(value.front() == '.' ? value.substr(1) : value);
      if (domain.empty() || !DomainMatches(cookie.domain, domain)) return false;
      // An address cannot cover other hosts, so its Domain attribute changes nothing.
      cookie.host_only = IsIpAddress(domain);
      cookie.domain = std::move(domain);
    } else if (key == "path") {
      if (!value.empty() && value.front() == '/') cookie.path = std::string(value);
    } else if (key == "expires") {
      if (!cookie.expires) cookie.expires = ParseExpires(value);
    } else if (key == "max-age") {
      if (auto parsed = ParseMaxAge(value)) max_age = parsed;
    } else if (key == "secure") {
      cookie.secure = true;
    }
  }
  if (max_age) cookie.expires = max_age;

  std::lock_guard lock(mutex_);
  auto same = std::find_if(cookies_.begin(), cookies_.end(), [&](const Cookie& c) {
    return c.name == cookie.name && c.domain == cookie.domain && c.path == cookie.path &&
           c.host_only == cookie.host_only;
  });
  const bool expired = cookie.expires && *cookie.expires <= std::chrono::system_clock::now();
  if (same != cookies_.end()) {
    if (expired) {
      cookies_.erase(same);
      return true;
    }
    cookie.serial = same->serial;
    *same = std::move(cookie);
    return true;
  }
  if (expired) return true;
  cookie.serial = next_serial_++;
  cookies_.push_back(std::move(cookie));
  return true;
}

std::string CookieStore::CookiesFor(const CookieOrigin& origin) const {
  const std::string host = Lower(origin.host);
  const std::string_view path =
      std::string_view(origin.path).substr(0, origin.path.find_first_of("?#"));
  const auto now = std::chrono::system_clock::now();
  std::vector<const Cookie*> matching;
  std::lock_guard lock(mutex_);
  for (const Cookie& cookie : cookies_) {
    if (cookie.expires && *cookie.expires <= now) continue;
    if (cookie.secure && !origin.secure) continue;
    if (cookie.host_only ? host != cookie.domain : !DomainMatches(host, cookie.domain)) continue;
    if (!PathMatches(path.empty() ? "/" : path, cookie.path)) continue;
    matching.push_back(&cookie);
  }
  // Longer paths first, then older cookies first.
  std::sort(matching.begin(), matching.end(), [](const Cookie* a, const Cookie* b) {
    if (a->path.size() != b->path.size()) return a->path.size() > b->path.size();
    return a->serial < b->serial;
  });
  std::string header;
  for (const Cookie* cookie : matching) {
    if (!header.empty()) header += "; ";
    header += cookie->name.empty() ? cookie->value : cookie->name + "=" + cookie->value;
  }
  return header;
}

void CookieStore::Clear() {
  std::lock_guard lock(mutex_);
  cookies_.clear();
}

std::optional<CookieOrigin> CookieOriginOf(std::string_view url) {
  CURLU* parsed = curl_url();
  if (parsed == nullptr) return std::nullopt;
  const std::string text(url);
  std::optional<CookieOrigin> origin;
  char* scheme = nullptr;
  char* host = nullptr;
  char* path = nullptr;
  if (curl_url_set(parsed, CURLUPART_URL, text.c_str(), 0) == CURLUE_OK &&
      curl_url_get(parsed, CURLUPART_SCHEME, &scheme, 0) == CURLUE_OK &&
      curl_url_get(parsed, CURLUPART_HOST, &host, 0) == CURLUE_OK &&
      curl_url_get(parsed, CURLUPART_PATH, &path, 0) == CURLUE_OK) {
    const std::string lower_scheme = Lower(scheme);
    if (lower_scheme == "http" || lower_scheme == "https") {
      origin = CookieOrigin{.secure = lower_scheme == "https", .host = Lower(host), .path = path};
    }
  }
  curl_free(scheme);
  curl_free(host);
  curl_free(path);
  curl_url_cleanup(parsed);
  return origin;
}

}  // namespace platform::net
