#include "web/url_parts.h"

#include <algorithm>
#include <charconv>

namespace web {
namespace {

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string RemoveEvery(std::string text, std::string_view part) {
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at)) {
    text.erase(at, part.size());
  }
  return text;
}

std::size_t FindIgnoringCase(std::string_view text, std::string_view part) {
  const auto found = std::search(text.begin(), text.end(), part.begin(), part.end(),
                                 [](char a, char b) { return LowerAscii(a) == LowerAscii(b); });
  return found == text.end() && !part.empty() ? std::string_view::npos
                                              : static_cast<std::size_t>(found - text.begin());
}

}  // namespace

std::string UrlHost(std::string_view url) {
  std::string host = RemoveEvery(RemoveEvery(std::string(url), "https://"), "http://");
  host = host.substr(0, host.find('/'));
  host = host.substr(0, host.find(':'));
  std::transform(host.begin(), host.end(), host.begin(), LowerAscii);
  return host;
}

std::string UrlPath(std::string_view url) {
  const std::string host = UrlHost(url);
  const std::size_t host_at = FindIgnoringCase(url, host);
  if (host_at == std::string_view::npos) return "/";
  const std::size_t slash = url.find('/', host_at);
  if (slash == std::string_view::npos) return "/";
  return std::string(url.substr(slash));
}

int UrlPort(std::string_view url) {
  std::string_view authority;
  if (url.size() >= 7 && FindIgnoringCase(url.substr(0, 7), "http://") == 0) {
    const std::string_view rest = url.substr(7);
    authority = rest.substr(0, rest.find('/'));
  } else {
    authority = url.substr(0, url.find('/'));
  }
  const std::size_t colon = authority.find(':');
  if (colon == std::string_view::npos) return 80;
  const std::string_view digits = authority.substr(colon + 1);
  if (digits.empty() || digits.front() < '0' || digits.front() > '9') return 0;
  int port = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), port);
  if (error != std::errc() || end != digits.data() + digits.size()) return 0;
  return port;
}

}  // namespace web
