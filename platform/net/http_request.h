#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace platform::net {

// Certificate errors a request can be told to ignore ("Option" 4), as bit flags.
inline constexpr std::int64_t kIgnoreUnknownAuthority = 0x0100;
inline constexpr std::int64_t kIgnoreWrongUsage = 0x0200;
inline constexpr std::int64_t kIgnoreNameMismatch = 0x1000;
inline constexpr std::int64_t kIgnoreInvalidDate = 0x2000;
inline constexpr std::int64_t kIgnoreAllCertificateErrors = 0x3300;

// The option indexes a request understands.
inline constexpr int kOptionIgnoreCertificateErrors = 4;
inline constexpr int kOptionEnableRedirects = 6;

enum class ProxySetting { kDefault = 0, kDirect = 1, kNamed = 2 };
enum class CredentialTarget { kServer = 0, kProxy = 1 };

// Time-outs in milliseconds; 0 or -1 waits without limit. Resolving is limited from the start,
// connecting (TLS handshake included) from the end of resolving; send and receive limit the
// silence between two pieces of progress in each direction.
struct Timeouts {
  int resolve_ms = 0;
  int connect_ms = 60'000;
  int send_ms = 30'000;
  int receive_ms = 30'000;
  bool operator==(const Timeouts&) const = default;
};

// One synchronous HTTP request, reusable for several Open/Send rounds: Open, set time-outs,
// proxy, options and headers, Send, then read Status, GetAllResponseHeaders and ResponseBody.
// Every call answers whether it worked; after a failed Send all reads are empty (status 0).
// Calls on one object are serialised; Abort may come from any thread and ends a Send at once.
// Connections of one object are kept alive and reused by its next Send.
class HttpRequest {
 public:
  // Null when the transfer library cannot give a handle.
  static std::unique_ptr<HttpRequest> Create();
  ~HttpRequest();
  HttpRequest(const HttpRequest&) = delete;
  HttpRequest& operator=(const HttpRequest&) = delete;

  // Only synchronous requests exist; an http or https address with a host is required.
  // Clears the request headers and the previous response.
  bool Open(std::string_view verb, std::string_view url, bool asynchronous = false);
  // Values below -1 are refused and change nothing.
  bool SetTimeouts(int resolve_ms, int connect_ms, int send_ms, int receive_ms);
  Timeouts GetTimeouts() const;
  bool SetProxy(ProxySetting setting, std::string_view server = {}, std::string_view bypass = {});
  bool SetCredentials(std::string_view user, std::string_view password, int target);
  // Index 4: certificate errors to ignore (kIgnore... flags); index 6: 0 stops following
  // redirects, anything else follows them. Other indexes are refused.
  bool SetOption(int index, std::int64_t value);
  std::optional<std::int64_t> GetOption(int index) const;
  // Replaces a header of the same name (any letter case) or adds one after the others. Names
  // must be tokens; names and values with CR, LF or zero bytes are refused.
  bool SetRequestHeader(std::string_view name, std::string_view value);
  bool Send(std::string_view text = {});
  bool Send(std::span<const std::uint8_t> bytes);
  void Abort();

  std::vector<std::uint8_t> ResponseBody() const;
  // The final response's header lines without the status line, each ending in CR LF.
  std::string GetAllResponseHeaders() const;
  int Status() const;
  std::string StatusText() const;

 private:
  struct Handles;
  struct Transfer;

  explicit HttpRequest(std::unique_ptr<Handles> handles);
  bool Perform(std::string_view body);
  bool ConfigureTransfer(Transfer& transfer, std::string_view body);
  void ApplyVerbAndBody(Transfer& transfer, std::string_view body);
  bool BuildHeaderList(Transfer& transfer);
  void ApplyProxyAndCredentials();
  void ApplyCertificateChecks();
  bool Drive(Transfer& transfer);
  void ClearResponse();

  std::unique_ptr<Handles> handles_;
  mutable std::mutex mutex_;
  std::atomic<bool> aborted_{false};

  bool opened_ = false;
  std::string verb_;
  std::string url_;
  Timeouts timeouts_;
  ProxySetting proxy_setting_ = ProxySetting::kDefault;
  std::string proxy_server_;
  std::string proxy_bypass_;
  std::string server_user_, server_password_;
  std::string proxy_user_, proxy_password_;
  bool server_credentials_ = false, proxy_credentials_ = false;
  std::int64_t ignored_certificate_errors_ = 0;
  bool follow_redirects_ = true;
  std::vector<std::pair<std::string, std::string>> headers_;

  int status_ = 0;
  std::string status_line_;
  std::string response_headers_;
  std::vector<std::uint8_t> response_body_;
};

}  // namespace platform::net
