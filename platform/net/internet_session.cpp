#include "platform/net/internet_session.h"

#include <algorithm>
#include <cstring>

#include "platform/net/cookie_store.h"
#include "platform/net/curl_runtime.h"
#include "platform/net/transfer_pool.h"
#include "platform/net/trusted_authorities.h"

namespace platform::net {
namespace {

constexpr int kMostRedirects = 20;

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return LowerAscii(x) == LowerAscii(y);
         });
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

std::string_view Trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

// Up to the first line break, so an agent can never add header lines of its own.
std::string FirstLine(std::string_view text) {
  return std::string(text.substr(0, text.find_first_of("\r\n")));
}

bool IsHostCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_';
}

// Bytes a request line cannot carry as they are go percent-encoded.
std::string EscapePath(std::string_view path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string escaped;
  for (const char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte >= 0x7F) {
      escaped += '%';
      escaped += kHex[byte >> 4];
      escaped += kHex[byte & 0x0F];
    } else {
      escaped += c;
    }
  }
  return escaped;
}

// The caller's header lines that can be sent: not empty, with a name before ":".
std::vector<std::string> SendableHeaderLines(std::string_view headers) {
  std::vector<std::string> lines;
  while (!headers.empty()) {
    const std::size_t end = headers.find_first_of("\r\n");
    const std::string_view line = headers.substr(0, end);
    headers = end == std::string_view::npos ? std::string_view{} : headers.substr(end + 1);
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos || Trim(line.substr(0, colon)).empty()) continue;
    lines.emplace_back(line);
  }
  return lines;
}

bool HasHeader(const std::vector<std::string>& lines, std::string_view name) {
  return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
    return EqualsIgnoringCase(Trim(std::string_view(line).substr(0, line.find(':'))), name);
  });
}

std::string SchemeOf(std::string_view url) {
  return StartsWithIgnoringCase(url, "https:") ? "https" : "http";
}

class HeaderList {
 public:
  ~HeaderList() { curl_slist_free_all(list_); }
  void Add(const std::string& line) {
    if (curl_slist* grown = curl_slist_append(list_, line.c_str())) list_ = grown;
  }
  curl_slist* get() const { return list_; }

 private:
  curl_slist* list_ = nullptr;
};

// What one exchange with a server brought back.
struct Exchange {
  std::string headers;
  std::vector<std::string> set_cookies;
  std::vector<std::uint8_t> body;
  long status = 0;
  std::string redirect_url;
  const std::stop_token* stop = nullptr;
  CURL* easy = nullptr;
};

size_t OnHeader(char* data, size_t size, size_t count, void* user) {
  auto& exchange = *static_cast<Exchange*>(user);
  std::string_view line(data, size * count);
  // Every status line starts a response; only the last one's headers and body are kept.
  if (line.substr(0, 5) == "HTTP/") {
    exchange.headers.clear();
    exchange.set_cookies.clear();
    exchange.body.clear();
  }
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
  exchange.headers.append(line);
  exchange.headers += "\r\n";
  if (StartsWithIgnoringCase(line, "Set-Cookie:")) {
    exchange.set_cookies.emplace_back(Trim(line.substr(11)));
  }
  return size * count;
}

size_t OnBody(char* data, size_t size, size_t count, void* user) {
  auto& exchange = *static_cast<Exchange*>(user);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(data);
  if (exchange.body.empty()) {
    // A declared length is room made once; a false one costs at most this much.
    constexpr curl_off_t kMostReserved = 16 << 20;
    curl_off_t length = -1;
    curl_easy_getinfo(exchange.easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    if (length > 0)
      exchange.body.reserve(static_cast<std::size_t>(std::min(length, kMostReserved)));
  }
  exchange.body.insert(exchange.body.end(), bytes, bytes + size * count);
  return size * count;
}

int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  const auto& exchange = *static_cast<Exchange*>(user);
  return exchange.stop->stop_requested() ? 1 : 0;
}

struct ExchangeRequest {
  std::string_view agent;
  std::string proxy;
  std::string_view url;
  std::string_view verb;
  std::string_view version;
  std::span<const std::uint8_t> body;
  const std::vector<std::string>* lines;
  std::string cookies;  // from the store, empty when none or not wanted
};

void ApplyVerbAndBody(CURL* easy, const ExchangeRequest& request) {
  if (!request.body.empty()) {
    curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE,
                     static_cast<curl_off_t>(request.body.size()));
    curl_easy_setopt(easy, CURLOPT_POSTFIELDS, request.body.data());
    if (request.verb != "POST") {
      curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, std::string(request.verb).c_str());
    }
  } else if (request.verb == "HEAD") {
    curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
  } else if (request.verb != "GET") {
    curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, std::string(request.verb).c_str());
  }
}

// The request's own cookie line, then the caller's lines; libcurl's default Accept, Expect and
// form Content-Type are left out unless the caller sends them.
void BuildHeaders(HeaderList& list, const ExchangeRequest& request) {
  if (!request.cookies.empty()) list.Add("Cookie: " + request.cookies);
  for (const std::string& line : *request.lines) list.Add(line);
  if (!HasHeader(*request.lines, "Accept")) list.Add("Accept:");
  if (!HasHeader(*request.lines, "Expect")) list.Add("Expect:");
  if (!request.body.empty() && !HasHeader(*request.lines, "Content-Type")) {
    list.Add("Content-Type:");
  }
}

bool Configure(CURL* easy, const ExchangeRequest& request, HeaderList& list, Exchange& exchange) {
  curl_easy_reset(easy);
  const std::string url(request.url);
  const std::string agent(request.agent);
  const std::string verb(request.verb);
  if (curl_easy_setopt(easy, CURLOPT_URL, url.c_str()) != CURLE_OK) return false;
  curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_SHARE, CurlRuntime::Get().Share());
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy, CURLOPT_USERAGENT, agent.c_str());
  curl_easy_setopt(easy, CURLOPT_PROXY, request.proxy.c_str());
  curl_easy_setopt(easy, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
  curl_easy_setopt(easy, CURLOPT_HTTP_VERSION,
                   request.version == "HTTP/1.0" ? CURL_HTTP_VERSION_1_0 : CURL_HTTP_VERSION_1_1);
  curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L);
  curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, OnHeader);
  curl_easy_setopt(easy, CURLOPT_HEADERDATA, &exchange);
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, OnBody);
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, &exchange);
  curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, OnProgress);
  curl_easy_setopt(easy, CURLOPT_XFERINFODATA, &exchange);
  UseTrustedAuthorities(easy);
  ApplyVerbAndBody(easy, request);
  BuildHeaders(list, request);
  curl_easy_setopt(easy, CURLOPT_HTTPHEADER, list.get());
  return true;
}

// Runs the transfer on the pair's multi handle, so a stop request wakes it at once.
bool Drive(const TransferPool::Lease& lease, const std::stop_token& stop) {
  std::stop_callback wake(stop, [multi = lease.multi()] { curl_multi_wakeup(multi); });
  if (curl_multi_add_handle(lease.multi(), lease.easy()) != CURLM_OK) return false;
  CURLcode result = CURLE_ABORTED_BY_CALLBACK;
  for (;;) {
    if (stop.stop_requested()) break;
    int running = 0;
    if (curl_multi_perform(lease.multi(), &running) != CURLM_OK) break;
    int queued = 0;
    if (CURLMsg* message = curl_multi_info_read(lease.multi(), &queued);
        message != nullptr && message->msg == CURLMSG_DONE) {
      result = message->data.result;
      break;
    }
    if (running == 0) break;
    curl_multi_poll(lease.multi(), nullptr, 0, 1000, nullptr);
  }
  curl_multi_remove_handle(lease.multi(), lease.easy());
  return result == CURLE_OK;
}

bool Perform(const TransferPool::Lease& lease, const ExchangeRequest& request,
             const std::stop_token& stop, Exchange& exchange) {
  HeaderList list;
  exchange.stop = &stop;
  exchange.easy = lease.easy();
  if (!Configure(lease.easy(), request, list, exchange)) return false;
  if (!Drive(lease, stop)) return false;
  curl_easy_getinfo(lease.easy(), CURLINFO_RESPONSE_CODE, &exchange.status);
  char* redirect = nullptr;
  if (curl_easy_getinfo(lease.easy(), CURLINFO_REDIRECT_URL, &redirect) == CURLE_OK &&
      redirect != nullptr) {
    exchange.redirect_url = redirect;
  }
  return exchange.status != 0;
}

bool IsRedirect(long status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

}  // namespace

std::unique_ptr<InternetSession> InternetSession::Open(std::string_view agent,
                                                       InternetAccess access,
                                                       std::string_view proxy) {
  std::unique_ptr<InternetSession> session(new InternetSession());
  session->agent_ = FirstLine(agent);
  session->access_ = access;
  if (access != InternetAccess::kProxy) return session;
  while (!proxy.empty()) {
    const std::size_t end = proxy.find_first_of(" ;");
    const std::string_view entry = proxy.substr(0, end);
    proxy = end == std::string_view::npos ? std::string_view{} : proxy.substr(end + 1);
    if (entry.empty()) continue;
    const std::size_t equals = entry.find('=');
    std::string scheme;
    std::string server(entry);
    if (equals != std::string_view::npos) {
      scheme.assign(entry.substr(0, equals));
      std::transform(scheme.begin(), scheme.end(), scheme.begin(), LowerAscii);
      server.assign(entry.substr(equals + 1));
    }
    if (server.empty() || server.find_first_of("\r\n") != std::string::npos) continue;
    session->proxies_.emplace_back(std::move(scheme), std::move(server));
  }
  if (session->proxies_.empty()) return nullptr;
  return session;
}

std::string InternetSession::ProxyFor(std::string_view scheme) const {
  if (access_ != InternetAccess::kProxy) return {};
  const std::string* plain = nullptr;
  for (const auto& [entry_scheme, server] : proxies_) {
    if (entry_scheme == scheme)
      return server.find("://") == std::string::npos ? "http://" + server : server;
    if (entry_scheme.empty() && plain == nullptr) plain = &server;
  }
  if (plain == nullptr) return {};
  return plain->find("://") == std::string::npos ? "http://" + *plain : *plain;
}

std::unique_ptr<InternetConnection> InternetSession::Connect(std::string_view host,
                                                             int port) const {
  if (host.empty() || !std::all_of(host.begin(), host.end(), IsHostCharacter)) return nullptr;
  if (port < 0 || port > 65535) return nullptr;
  std::string lower(host);
  std::transform(lower.begin(), lower.end(), lower.begin(), LowerAscii);
  return std::unique_ptr<InternetConnection>(new InternetConnection(*this, std::move(lower), port));
}

std::unique_ptr<InternetRequest> InternetConnection::OpenRequest(std::string_view verb,
                                                                 std::string_view path,
                                                                 std::string_view version,
                                                                 std::uint32_t flags) const {
  const bool token_verb = !verb.empty() && std::all_of(verb.begin(), verb.end(), [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_';
  });
  if (!token_verb) return nullptr;
  if (path.empty() || path.front() != '/' || path.find_first_of("\r\n") != std::string_view::npos) {
    return nullptr;
  }
  if (version.empty()) version = "HTTP/1.1";
  if (version != "HTTP/1.1" && version != "HTTP/1.0") return nullptr;
  const bool secure = (flags & kInternetFlagSecure) != 0;
  const int port = port_ == kInternetDefaultPort ? (secure ? 443 : 80) : port_;
  std::string url = secure ? "https://" : "http://";
  url += host_ + ":" + std::to_string(port) + EscapePath(path);
  return std::unique_ptr<InternetRequest>(new InternetRequest(
      session_, std::string(verb), std::move(url), std::string(version), flags));
}

InternetRequest::InternetRequest(const InternetSession& session, std::string verb, std::string url,
                                 std::string version, std::uint32_t flags)
    : session_(session),
      verb_(std::move(verb)),
      url_(std::move(url)),
      version_(std::move(version)),
      flags_(flags) {}

InternetRequest::~InternetRequest() = default;

bool InternetRequest::Send(std::string_view headers, std::span<const std::uint8_t> body,
                           std::stop_token stop) {
  sent_ = false;
  raw_headers_.clear();
  body_.clear();
  read_offset_ = 0;
  auto lease = TransferPool::Process().Take();
  if (!lease) return false;
  const bool use_store = (flags_ & kInternetFlagNoCookies) == 0;
  std::vector<std::string> lines = SendableHeaderLines(headers);
  std::string url = url_;
  std::string verb = verb_;
  std::span<const std::uint8_t> payload = body;
  Exchange exchange;
  for (int hop = 0;; ++hop) {
    const std::optional<CookieOrigin> origin = CookieOriginOf(url);
    if (!origin) return false;
    const std::string scheme = SchemeOf(url);
    const ExchangeRequest request{
        .agent = session_.agent(),
        .proxy = session_.ProxyFor(scheme),
        .url = url,
        .verb = verb,
        .version = version_,
        .body = payload,
        .lines = &lines,
        .cookies = use_store ? CookieStore::Process().CookiesFor(*origin) : std::string(),
    };
    exchange = Exchange{};
    if (!Perform(*lease, request, stop, exchange)) return false;
    if (use_store) {
      for (const std::string& set_cookie : exchange.set_cookies) {
        CookieStore::Process().Receive(*origin, set_cookie);
      }
    }
    if ((flags_ & kInternetFlagNoAutoRedirect) != 0 || !IsRedirect(exchange.status) ||
        exchange.redirect_url.empty() || hop == kMostRedirects) {
      break;
    }
    const std::string next_scheme = SchemeOf(exchange.redirect_url);
    // A secure request never falls back to plain text; plain to secure only when allowed.
    if (scheme == "https" && next_scheme == "http") break;
    if (scheme == "http" && next_scheme == "https" &&
        (flags_ & kInternetFlagIgnoreRedirectToHttps) == 0) {
      break;
    }
    if (exchange.status == 303 ||
        ((exchange.status == 301 || exchange.status == 302) && verb == "POST")) {
      verb = "GET";
      payload = {};
      // The body is left behind, and so are the lines describing it.
      std::erase_if(lines, [](const std::string& line) {
        const std::string_view name = Trim(std::string_view(line).substr(0, line.find(':')));
        return EqualsIgnoringCase(name, "Content-Length") ||
               EqualsIgnoringCase(name, "Content-Type");
      });
    }
    url = exchange.redirect_url;
  }
  raw_headers_ = std::move(exchange.headers);
  body_ = std::move(exchange.body);
  sent_ = true;
  return true;
}

std::size_t InternetRequest::Read(std::span<std::uint8_t> buffer) {
  const std::size_t count = std::min(buffer.size(), body_.size() - read_offset_);
  std::copy_n(body_.begin() + static_cast<std::ptrdiff_t>(read_offset_), count, buffer.begin());
  read_offset_ += count;
  return count;
}

std::optional<std::size_t> InternetRequest::QueryRawHeaders(std::span<char> buffer) const {
  if (!sent_ || raw_headers_.size() + 1 > buffer.size()) return std::nullopt;
  std::memcpy(buffer.data(), raw_headers_.data(), raw_headers_.size());
  buffer[raw_headers_.size()] = '\0';
  return raw_headers_.size();
}

void PrepareInternetSessions() {
  TransferPool::Process();
  CookieStore::Process();
}

bool InternetSetCookie(std::string_view url, std::string_view name, std::string_view data) {
  const std::optional<CookieOrigin> origin = CookieOriginOf(url);
  if (!origin) return false;
  if (name.empty()) return CookieStore::Process().Receive(*origin, data);
  std::string set_cookie(name);
  set_cookie += '=';
  set_cookie.append(data);
  return CookieStore::Process().Receive(*origin, set_cookie);
}

std::string InternetGetCookie(std::string_view url) {
  const std::optional<CookieOrigin> origin = CookieOriginOf(url);
  if (!origin) return {};
  return CookieStore::Process().CookiesFor(*origin);
}

}  // namespace platform::net
