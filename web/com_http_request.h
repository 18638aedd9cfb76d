#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/net/http_request.h"
#include "web/byte_block.h"

namespace web {

// The optional parameters of ComHttpRequest, in their order; each is given or not. Outputs are
// variables of the caller (null: not asked for).
struct ComHttpRequestOptions {
  std::optional<int> method{};            // 0 GET, 1 POST, 2 HEAD; anything else GET
  std::optional<std::string> bodyText{};  // sent when bodyBytes is empty
  std::string* cookies = nullptr;         // in/out: sent as "Cookie", then merged with the answer's
  std::string* returnedCookies = nullptr;  // out: "name=value" items the response set, ";"-joined
  std::string* headers = nullptr;          // in/out: extra header lines; then the lines sent
  std::string* returnedHeaders = nullptr;  // out
  int* status = nullptr;                   // out
  std::optional<bool> noRedirect{};
  std::optional<ByteBlock> bodyBytes{};  // sent instead of the text when not empty
  std::optional<std::string> proxy{};
  // -1 keeps the request object's own time-outs; above 0 that many seconds for every phase;
  // otherwise 15 seconds.
  std::optional<int> timeoutSeconds{};
  std::optional<std::string> proxyUser{};
  std::optional<std::string> proxyPassword{};
  std::optional<int> credentialTarget{};                // default 1, the proxy
  platform::net::HttpRequest* requestObject = nullptr;  // used instead of a new one
};

// One synchronous request with browser-like default headers and a caller-kept cookie text.
// The result is the response body; a failed request gives an empty body, status 0 and empty
// returned headers and cookies. When no request object can be had, nothing is touched.
ByteBlock ComHttpRequest(std::string_view url, const ComHttpRequestOptions& options = {});

}  // namespace web
