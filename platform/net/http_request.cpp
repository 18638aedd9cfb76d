#include "platform/net/http_request.h"

#include <curl/curl.h>
#include <sys/socket.h>

#include <algorithm>
#include <chrono>
#include <cstring>

#include "platform/net/curl_runtime.h"

namespace platform::net {
namespace {

using Clock = std::chrono::steady_clock;

// Bigger bodies end the request as failed instead of exhausting memory.
constexpr std::size_t kMaxBodyBytes = std::size_t{256} << 20;
constexpr long kMaxRedirects = 10;
constexpr int kNoLimit = 0;

bool IsTokenChar(char c) {
  if (c >= '0' && c <= '9') return true;
  if ((c | 0x20) >= 'a' && (c | 0x20) <= 'z') return true;
  return c != '\0' && std::strchr("!#$%&'*+-.^_`|~", c) != nullptr;
}

bool IsToken(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), IsTokenChar);
}

bool IsSafeValue(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return LowerAscii(x) == LowerAscii(y);
         });
}

long long Limit(int ms) {
  return ms <= 0 ? kNoLimit : ms;
}

// libcurl's own connect limit covers resolving and connecting together: their sum, computed
// wide enough not to overflow.
long long ConnectLimit(const Timeouts& timeouts) {
  const long long resolve = Limit(timeouts.resolve_ms), connect = Limit(timeouts.connect_ms);
  return resolve == kNoLimit || connect == kNoLimit ? kNoLimit : resolve + connect;
}

// An http or https address with a host, as libcurl reads it.
bool IsUsableUrl(const std::string& url) {
  CURLU* parsed = curl_url();
  if (parsed == nullptr) return false;
  bool usable = false;
  if (curl_url_set(parsed, CURLUPART_URL, url.c_str(), 0) == CURLUE_OK) {
    char* scheme = nullptr;
    char* host = nullptr;
    if (curl_url_get(parsed, CURLUPART_SCHEME, &scheme, 0) == CURLUE_OK &&
        curl_url_get(parsed, CURLUPART_HOST, &host, 0) == CURLUE_OK)
      usable = (std::strcmp(scheme, "http") == 0 || std::strcmp(scheme, "https") == 0) &&
               host[0] != '\0';
    curl_free(scheme);
    curl_free(host);
  }
  curl_url_cleanup(parsed);
  return usable;
}

struct SlistDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using Slist = std::unique_ptr<curl_slist, SlistDeleter>;

}  // namespace

// The object's own libcurl handles; the multi handle keeps its connections alive between Sends.
struct HttpRequest::Handles {
  CURL* easy = nullptr;
  CURLM* multi = nullptr;
  ~Handles() {
    if (easy != nullptr) curl_easy_cleanup(easy);
    if (multi != nullptr) curl_multi_cleanup(multi);
  }
};

// What one Send collects while libcurl runs.
struct HttpRequest::Transfer {
  Slist headers;
  std::string status_line;
  std::string header_lines;
  std::vector<std::uint8_t> body;
  bool too_big = false;
  bool resolved = false;
  bool connected = false;
  Clock::time_point resolved_at;
  Clock::time_point last_activity;
  curl_off_t uploaded = 0;
  curl_off_t upload_size = 0;

  static size_t OnHeader(char* data, size_t size, size_t count, void* self) {
    auto& transfer = *static_cast<Transfer*>(self);
    std::string_view line(data, size * count);
    transfer.last_activity = Clock::now();
    if (line.starts_with("HTTP/")) {  // a new response: only the final one is kept
      while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
      transfer.status_line = line;
      transfer.header_lines.clear();
    } else if (line != "\r\n" && line != "\n") {
      transfer.header_lines.append(line);
      if (!transfer.header_lines.ends_with("\r\n")) {
        if (transfer.header_lines.ends_with("\n")) transfer.header_lines.pop_back();
        transfer.header_lines += "\r\n";
      }
    }
    return size * count;
  }

  static size_t OnBody(char* data, size_t size, size_t count, void* self) {
    auto& transfer = *static_cast<Transfer*>(self);
    transfer.last_activity = Clock::now();
    if (transfer.body.size() + size * count > kMaxBodyBytes) {
      transfer.too_big = true;
      return 0;
    }
    transfer.body.insert(transfer.body.end(), data, data + size * count);
    return size * count;
  }

  // Called once the name is resolved, to open the socket: the connect limit starts here.
  static curl_socket_t OnOpenSocket(void* self, curlsocktype, curl_sockaddr* address) {
    auto& transfer = *static_cast<Transfer*>(self);
    if (!transfer.resolved) {
      transfer.resolved = true;
      transfer.resolved_at = Clock::now();
    }
    int fd = socket(address->family, address->socktype | SOCK_CLOEXEC, address->protocol);
    return fd < 0 ? CURL_SOCKET_BAD : fd;
  }

  static int OnConnected(void* self, char*, char*, int, int) {
    auto& transfer = *static_cast<Transfer*>(self);
    transfer.connected = true;
    transfer.last_activity = Clock::now();
    return CURL_PREREQFUNC_OK;
  }
};

std::unique_ptr<HttpRequest> HttpRequest::Create() {
  if (!CurlRuntime::Get().Ready()) return nullptr;
  auto handles = std::make_unique<Handles>();
  handles->easy = curl_easy_init();
  handles->multi = curl_multi_init();
  if (handles->easy == nullptr || handles->multi == nullptr) return nullptr;
  return std::unique_ptr<HttpRequest>(new HttpRequest(std::move(handles)));
}

HttpRequest::HttpRequest(std::unique_ptr<Handles> handles) : handles_(std::move(handles)) {}

HttpRequest::~HttpRequest() = default;

bool HttpRequest::Open(std::string_view verb, std::string_view url, bool asynchronous) {
  std::lock_guard lock(mutex_);
  opened_ = false;
  headers_.clear();
  ClearResponse();
  aborted_ = false;
  std::string address(url);
  if (asynchronous || !IsToken(verb) || !IsSafeValue(address) || !IsUsableUrl(address))
    return false;
  verb_ = verb;
  url_ = std::move(address);
  opened_ = true;
  return true;
}

bool HttpRequest::SetTimeouts(int resolve_ms, int connect_ms, int send_ms, int receive_ms) {
  std::lock_guard lock(mutex_);
  if (std::min({resolve_ms, connect_ms, send_ms, receive_ms}) < -1) return false;
  timeouts_ = {resolve_ms, connect_ms, send_ms, receive_ms};
  return true;
}

Timeouts HttpRequest::GetTimeouts() const {
  std::lock_guard lock(mutex_);
  return timeouts_;
}

bool HttpRequest::SetProxy(ProxySetting setting, std::string_view server, std::string_view bypass) {
  std::lock_guard lock(mutex_);
  if (!IsSafeValue(server) || !IsSafeValue(bypass)) return false;
  if (setting == ProxySetting::kNamed && server.empty()) return false;
  proxy_setting_ = setting;
  proxy_server_ = setting == ProxySetting::kNamed ? std::string(server) : std::string();
  // Bypass lists separate hosts by ";"; libcurl wants ",".
  proxy_bypass_ = bypass;
  std::replace(proxy_bypass_.begin(), proxy_bypass_.end(), ';', ',');
  return true;
}

bool HttpRequest::SetCredentials(std::string_view user, std::string_view password, int target) {
  std::lock_guard lock(mutex_);
  if (target == static_cast<int>(CredentialTarget::kServer)) {
    server_user_ = user;
    server_password_ = password;
    server_credentials_ = true;
  } else if (target == static_cast<int>(CredentialTarget::kProxy)) {
    proxy_user_ = user;
    proxy_password_ = password;
    proxy_credentials_ = true;
  } else {
    return false;
  }
  return true;
}

bool HttpRequest::SetOption(int index, std::int64_t value) {
  std::lock_guard lock(mutex_);
  if (index == kOptionIgnoreCertificateErrors) {
    ignored_certificate_errors_ = value;
    return true;
  }
  if (index == kOptionEnableRedirects) {
    follow_redirects_ = value != 0;
    return true;
  }
  return false;
}

std::optional<std::int64_t> HttpRequest::GetOption(int index) const {
  std::lock_guard lock(mutex_);
  if (index == kOptionIgnoreCertificateErrors) return ignored_certificate_errors_;
  if (index == kOptionEnableRedirects) return follow_redirects_ ? 1 : 0;
  return std::nullopt;
}

bool HttpRequest::SetRequestHeader(std::string_view name, std::string_view value) {
  std::lock_guard lock(mutex_);
  if (!opened_ || !IsToken(name) || !IsSafeValue(value)) return false;
  auto same = std::find_if(headers_.begin(), headers_.end(),
                           [&](const auto& header) { return SameName(header.first, name); });
  if (same != headers_.end())
    same->second = value;
  else
    headers_.emplace_back(name, value);
  return true;
}

bool HttpRequest::Send(std::string_view text) {
  std::lock_guard lock(mutex_);
  return Perform(text);
}

bool HttpRequest::Send(std::span<const std::uint8_t> bytes) {
  std::lock_guard lock(mutex_);
  return Perform(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void HttpRequest::Abort() {
  aborted_ = true;
  curl_multi_wakeup(handles_->multi);
}

std::vector<std::uint8_t> HttpRequest::ResponseBody() const {
  std::lock_guard lock(mutex_);
  return response_body_;
}

std::string HttpRequest::GetAllResponseHeaders() const {
  std::lock_guard lock(mutex_);
  return response_headers_;
}

int HttpRequest::Status() const {
  std::lock_guard lock(mutex_);
  return status_;
}

std::string HttpRequest::StatusText() const {
  std::lock_guard lock(mutex_);
  // "HTTP/1.1 200 OK": everything after the second space.
  std::size_t code = status_line_.find(' ');
  if (code == std::string::npos) return {};
  std::size_t text = status_line_.find(' ', code + 1);
  return text == std::string::npos ? std::string() : status_line_.substr(text + 1);
}

void HttpRequest::ClearResponse() {
  status_ = 0;
  status_line_.clear();
  response_headers_.clear();
  response_body_.clear();
}

bool HttpRequest::Perform(std::string_view body) {
  ClearResponse();
  if (!opened_ || aborted_) return false;
  Transfer transfer;
  if (!ConfigureTransfer(transfer, body)) return false;
  CURL* easy = handles_->easy;
  if (curl_multi_add_handle(handles_->multi, easy) != CURLM_OK) return false;
  bool done = Drive(transfer);
  curl_multi_remove_handle(handles_->multi, easy);
  long status = 0;
  curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
  if (!done || transfer.too_big || status <= 0) return false;
  status_ = static_cast<int>(status);
  status_line_ = std::move(transfer.status_line);
  response_headers_ = std::move(transfer.header_lines);
  response_body_ = std::move(transfer.body);
  return true;
}

bool HttpRequest::ConfigureTransfer(Transfer& transfer, std::string_view body) {
  CURL* easy = handles_->easy;
  curl_easy_reset(easy);
  curl_easy_setopt(easy, CURLOPT_SHARE, CurlRuntime::Get().Share());
  curl_easy_setopt(easy, CURLOPT_URL, url_.c_str());
  curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_1);
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, follow_redirects_ ? 1L : 0L);
  curl_easy_setopt(easy, CURLOPT_MAXREDIRS, kMaxRedirects);
  curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, Transfer::OnHeader);
  curl_easy_setopt(easy, CURLOPT_HEADERDATA, &transfer);
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, Transfer::OnBody);
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, &transfer);
  curl_easy_setopt(easy, CURLOPT_PREREQFUNCTION, Transfer::OnConnected);
  curl_easy_setopt(easy, CURLOPT_PREREQDATA, &transfer);
  curl_easy_setopt(easy, CURLOPT_OPENSOCKETFUNCTION, Transfer::OnOpenSocket);
  curl_easy_setopt(easy, CURLOPT_OPENSOCKETDATA, &transfer);
  curl_easy_setopt(easy, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
  ApplyVerbAndBody(transfer, body);
  if (!BuildHeaderList(transfer)) return false;
  ApplyProxyAndCredentials();
  ApplyCertificateChecks();
  // libcurl's own limit backs the phase limits up inside a stuck resolver.
  if (const long long limit = ConnectLimit(timeouts_); limit != kNoLimit)
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limit));
  return true;
}

// POST keeps libcurl's own redirect rules (a 302 turns it into a GET).
void HttpRequest::ApplyVerbAndBody(Transfer& transfer, std::string_view body) {
  CURL* easy = handles_->easy;
  if (verb_ == "HEAD") {
    curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
  } else if (verb_ == "GET" && body.empty()) {
    curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
  } else {
    curl_easy_setopt(easy, CURLOPT_POSTFIELDS, body.data());
    curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    if (verb_ != "POST") curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, verb_.c_str());
  }
  transfer.upload_size = verb_ == "HEAD" ? 0 : static_cast<curl_off_t>(body.size());
}

// Headers in the caller's order; libcurl's own Accept, Expect and form Content-Type are
// withheld, so that only what the caller set goes out.
bool HttpRequest::BuildHeaderList(Transfer& transfer) {
  auto append = [&](const std::string& line) {
    curl_slist* grown = curl_slist_append(transfer.headers.get(), line.c_str());
    if (grown == nullptr) return false;
    static_cast<void>(transfer.headers.release());
    transfer.headers.reset(grown);
    return true;
  };
  auto has = [&](std::string_view wanted) {
    return std::any_of(headers_.begin(), headers_.end(),
                       [&](const auto& header) { return SameName(header.first, wanted); });
  };
  for (const auto& [name, value] : headers_) {
    // "Name;" is libcurl's spelling of a header with an empty value.
    if (!append(value.empty() ? name + ";" : name + ": " + value)) return false;
  }
  for (const char* withheld : {"Accept", "Expect", "Content-Type"}) {
    if (!has(withheld) && !append(std::string(withheld) + ":")) return false;
  }
  curl_easy_setopt(handles_->easy, CURLOPT_HTTPHEADER, transfer.headers.get());
  return true;
}

// Without a named proxy the connection is direct; proxies from the environment never apply.
void HttpRequest::ApplyProxyAndCredentials() {
  CURL* easy = handles_->easy;
  curl_easy_setopt(easy, CURLOPT_PROXY, proxy_server_.c_str());
  if (!proxy_bypass_.empty()) curl_easy_setopt(easy, CURLOPT_NOPROXY, proxy_bypass_.c_str());
  if (proxy_credentials_) {
    curl_easy_setopt(easy, CURLOPT_PROXYUSERNAME, proxy_user_.c_str());
    curl_easy_setopt(easy, CURLOPT_PROXYPASSWORD, proxy_password_.c_str());
    curl_easy_setopt(easy, CURLOPT_PROXYAUTH, CURLAUTH_ANY);
  }
  if (server_credentials_) {
    curl_easy_setopt(easy, CURLOPT_USERNAME, server_user_.c_str());
    curl_easy_setopt(easy, CURLOPT_PASSWORD, server_password_.c_str());
    curl_easy_setopt(easy, CURLOPT_HTTPAUTH, CURLAUTH_ANY);
  }
}

// libcurl checks the chain (authority, usage, dates) as one; the check is skipped only when
// every error it can report is to be ignored, so asking for less never ignores more. libcurl
// keys kept connections and cached sessions by these settings, so a lenient request never
// lends its connection or session to a strict one.
void HttpRequest::ApplyCertificateChecks() {
  CURL* easy = handles_->easy;
  const std::int64_t chain = kIgnoreUnknownAuthority | kIgnoreWrongUsage | kIgnoreInvalidDate;
  const bool ignore_chain = (ignored_certificate_errors_ & chain) == chain;
  const bool ignore_name = (ignored_certificate_errors_ & kIgnoreNameMismatch) != 0;
  curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, ignore_chain ? 0L : 1L);
  curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, ignore_name ? 0L : 2L);
  CurlRuntime::Get().UseSharedAuthorities(easy);
}

// Runs the transfer on the object's multi handle, so that the send and receive limits can
// watch the silence between pieces of progress and Abort can wake the wait.
bool HttpRequest::Drive(Transfer& transfer) {
  CURLM* multi = handles_->multi;
  const Clock::time_point start = Clock::now();
  transfer.last_activity = start;

  for (;;) {
    int running = 0;
    if (curl_multi_perform(multi, &running) != CURLM_OK) return false;
    if (running == 0) break;
    if (aborted_) return false;

    curl_off_t uploaded = 0;
    curl_easy_getinfo(handles_->easy, CURLINFO_SIZE_UPLOAD_T, &uploaded);
    if (uploaded != transfer.uploaded) {
      transfer.uploaded = uploaded;
      transfer.last_activity = Clock::now();
    }
    Clock::time_point from = start;
    long long limit = Limit(timeouts_.resolve_ms);
    if (transfer.resolved && !transfer.connected) {
      from = transfer.resolved_at;
      limit = Limit(timeouts_.connect_ms);
    } else if (transfer.connected) {
      from = transfer.last_activity;
      limit = Limit(transfer.uploaded < transfer.upload_size ? timeouts_.send_ms
                                                             : timeouts_.receive_ms);
    }
    int wait_ms = 1000;
    if (limit != kNoLimit) {
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                      from + std::chrono::milliseconds(limit) - Clock::now())
                      .count();
      if (left <= 0) return false;
      wait_ms = static_cast<int>(std::min<long long>(left, wait_ms));
    }
    if (curl_multi_poll(multi, nullptr, 0, wait_ms, nullptr) != CURLM_OK) return false;
  }

  int queued = 0;
  while (CURLMsg* message = curl_multi_info_read(multi, &queued)) {
    if (message->msg == CURLMSG_DONE && message->easy_handle == handles_->easy)
      return message->data.result == CURLE_OK;
  }
  return false;
}

}  // namespace platform::net
