#include "web/com_http_request.h"

#include <climits>
#include <memory>

#include "web/cookie_merge.h"
#include "web/header_line.h"
#include "web/text_between.h"

namespace web {
namespace {

using platform::net::HttpRequest;

constexpr int kDefaultTimeoutMs = 15'000;
constexpr std::string_view kUserAgent = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

const char* VerbOf(std::optional<int> method) {
  switch (method.value_or(0)) {
    case 1:
      return "POST";
    case 2:
      return "HEAD";
    default:
      return "GET";
  }
}

int TimeoutMs(int seconds) {
  if (seconds <= 0) return kDefaultTimeoutMs;
  return seconds > INT_MAX / 1000 ? INT_MAX : seconds * 1000;
}

std::string_view TrimSpaces(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

// Replaces every `word` in any ASCII letter case by `word` as written.
std::string NormaliseCase(std::string_view text, std::string_view word) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    bool match = i + word.size() <= text.size();
    for (std::size_t k = 0; match && k < word.size(); ++k)
      match = LowerAscii(text[i + k]) == LowerAscii(word[k]);
    if (match) {
      out += word;
      i += word.size();
    } else {
      out += text[i++];
    }
  }
  return out;
}

std::string RemoveAll(std::string_view text, std::string_view word) {
  std::string out;
  for (std::size_t start = 0;;) {
    std::size_t found = text.find(word, start);
    out += text.substr(start, found == std::string_view::npos ? found : found - start);
    if (found == std::string_view::npos) return out;
    start = found + word.size();
  }
}

// The browser-like defaults appended to the caller's header lines, each only when missing.
std::string CompleteHeaders(std::string headers, std::string_view url) {
  if (headers.empty())
    headers = "Accept: */*";
  else if (headers.find("Accept:") == std::string::npos)
    headers += "\r\nAccept: */*";
  if (headers.find("Referer:") == std::string::npos) headers += "\r\nReferer: " + std::string(url);
  if (headers.find("Accept-Language:") == std::string::npos)
    headers += "\r\nAccept-Language: zh-cn";
  if (headers.find("User-Agent:") == std::string::npos)
    headers += "\r\nUser-Agent: " + std::string(kUserAgent);
  if (headers.find("Content-Type:") == std::string::npos)
    headers += "\r\nContent-Type: application/x-www-form-urlencoded";
  return headers;
}

void SetHeaderLines(HttpRequest& request, std::string_view headers) {
  if (headers.find("\r\n") == std::string_view::npos) {
    request.SetRequestHeader(HeaderName(headers), HeaderValue(headers));
    return;
  }
  for (std::size_t start = 0; start <= headers.size();) {
    std::size_t end = std::min(headers.find("\r\n", start), headers.size());
    std::string_view line = headers.substr(start, end - start);
    if (!line.empty()) request.SetRequestHeader(HeaderName(line), HeaderValue(line));
    start = end + 2;
  }
}

// "name=value" of every Set-Cookie line (already spelled so), joined by "; ".
std::string CookiesOf(std::string_view response_headers) {
  std::string cookies;
  for (std::size_t start = 0; start < response_headers.size();) {
    std::size_t end = std::min(response_headers.find("\r\n", start), response_headers.size());
    std::string_view line = response_headers.substr(start, end - start);
    start = end + 2;
    if (line.find("Set-Cookie") == std::string_view::npos) continue;
    std::string item = line.find(';') == std::string_view::npos
                           ? RemoveAll(line, "Set-Cookie:")
                           : TextBetween(line, "Set-Cookie:", ";");
    cookies += TrimSpaces(item);
    cookies += "; ";
  }
  if (!cookies.empty()) cookies.resize(cookies.size() - 2);
  return cookies;
}

}  // namespace

ByteBlock ComHttpRequest(std::string_view url, const ComHttpRequestOptions& options) {
  std::unique_ptr<HttpRequest> own;
  HttpRequest* request = options.requestObject;
  if (request == nullptr) {
    own = HttpRequest::Create();
    request = own.get();
  }
  if (request == nullptr) return {};

  const int timeout = options.timeoutSeconds.value_or(0);
  if (timeout != -1) {
    const int ms = TimeoutMs(timeout);
    request->SetTimeouts(ms, ms, ms, ms);
  }
  const std::string proxy = options.proxy.value_or("");
  if (!proxy.empty()) {
    request->SetProxy(platform::net::ProxySetting::kNamed, proxy);
    const std::string user = options.proxyUser.value_or("");
    if (!user.empty())
      request->SetCredentials(user, options.proxyPassword.value_or(""),
                              options.credentialTarget.value_or(1));
  }
  request->Open(VerbOf(options.method), url, false);
  if (options.noRedirect.value_or(false))
    request->SetOption(platform::net::kOptionEnableRedirects, 0);
  request->SetOption(platform::net::kOptionIgnoreCertificateErrors,
                     platform::net::kIgnoreAllCertificateErrors);

  const std::string headers =
      CompleteHeaders(options.headers != nullptr ? *options.headers : std::string(), url);
  if (options.headers != nullptr) *options.headers = headers;
  std::string cookies = options.cookies != nullptr ? *options.cookies : std::string();
  if (!cookies.empty()) request->SetRequestHeader("Cookie", cookies);
  SetHeaderLines(*request, headers);

  if (options.bodyBytes && !options.bodyBytes->empty())
    request->Send(std::span<const std::uint8_t>(*options.bodyBytes));
  else
    request->Send(options.bodyText.value_or(""));

  ByteBlock body = request->ResponseBody();
  const std::string response_headers =
      NormaliseCase(request->GetAllResponseHeaders(), "Set-Cookie");
  if (options.returnedHeaders != nullptr) *options.returnedHeaders = response_headers;
  if (options.status != nullptr) *options.status = request->Status();
  std::string returned = CookiesOf(response_headers);
  MergeCookies(cookies, returned);
  if (options.returnedCookies != nullptr) *options.returnedCookies = returned;
  if (options.cookies != nullptr) *options.cookies = cookies;
  return body;
}

}  // namespace web
